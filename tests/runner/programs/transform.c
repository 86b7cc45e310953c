/* A stand-in for a batch Fortran program: reads IN.DAT (and IN2.DAT when present) in its current
 * folder and writes OUT.DAT (and OUT2.DAT) in upper case with LF line ends, as gfortran does; it
 * records in INFO.DAT its folder, its arguments and the variable ZK_PROBE, and ends with status 0.
 * Without IN.DAT it writes nothing and ends with status 1, as a program failing on its input. */
#include <ctype.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

static int upcase(const char* from, const char* to) {
    FILE* in = fopen(from, "rb");
    if (!in)
        return 0;
    FILE* out = fopen(to, "wb");
    if (!out)
        exit(3);
    int c;
    int trail = 0; /* the next byte is the second byte of a code page 932 character */
    while ((c = fgetc(in)) != EOF) {
        if (c == '\r' && !trail)
            continue; /* CR LF input read as gfortran reads it; lines written with LF */
        fputc(trail ? c : toupper(c), out);
        trail = !trail && ((c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC));
    }
    fclose(in);
    fclose(out);
    return 1;
}

int main(int argc, char** argv) {
    if (!upcase("IN.DAT", "OUT.DAT"))
        return 1;
    upcase("IN2.DAT", "OUT2.DAT");
    FILE* info = fopen("INFO.DAT", "wb");
    if (!info)
        return 3;
    char cwd[4096];
    fprintf(info, "cwd=%s\n", getcwd(cwd, sizeof cwd) ? cwd : "?");
    fprintf(info, "argc=%d\n", argc);
    for (int i = 0; i < argc; ++i)
        fprintf(info, "argv%d=%s\n", i, argv[i]);
    const char* probe = getenv("ZK_PROBE");
    fprintf(info, "probe=%s\n", probe ? probe : "");
    /* Descriptors beyond the standard three that reached the program. */
    int extra = 0;
    for (int fd = 3; fd < 256; ++fd)
        if (fd != fileno(info) && fcntl(fd, F_GETFD) != -1)
            ++extra;
    fprintf(info, "extra-descriptors=%d\n", extra);
    fclose(info);
    return 0;
}
