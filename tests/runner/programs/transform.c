/* A stand-in for a batch Fortran program: reads IN.DAT (and IN2.DAT when present) in its current
 * folder and writes OUT.DAT (and OUT2.DAT) in upper case with LF line ends, as gfortran does; it
 * records in INFO.DAT its folder, how it was called and the variable ZK_PROBE, and ends with status
 * 0. Without IN.DAT it writes nothing and ends with status 1, as a program failing on its input.
 *
 * How it was called: on Linux its arguments and the descriptors beyond the standard three that
 * reached it; on Windows its command line as the system handed it over. Names are written in UTF-8
 * on both systems. */
#include <ctype.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

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
#ifdef _WIN32
    /* UTF-16 from the system, UTF-8 into the file. */
    static wchar_t wide[32768];
    static char utf8[3 * 32768];
    const DWORD n = GetCurrentDirectoryW(32768, wide);
    if (n == 0 || n >= 32768 || !WideCharToMultiByte(CP_UTF8, 0, wide, -1, utf8, sizeof utf8, NULL, NULL))
        strcpy(utf8, "?");
    fprintf(info, "cwd=%s\n", utf8);
    if (!WideCharToMultiByte(CP_UTF8, 0, GetCommandLineW(), -1, utf8, sizeof utf8, NULL, NULL))
        strcpy(utf8, "?");
    fprintf(info, "commandline=%s\n", utf8);
    (void)argc;
    (void)argv;
#else
    char cwd[4096];
    fprintf(info, "cwd=%s\n", getcwd(cwd, sizeof cwd) ? cwd : "?");
    fprintf(info, "argc=%d\n", argc);
    for (int i = 0; i < argc; ++i)
        fprintf(info, "argv%d=%s\n", i, argv[i]);
#endif
    const char* probe = getenv("ZK_PROBE");
    fprintf(info, "probe=%s\n", probe ? probe : "");
#ifndef _WIN32
    /* Descriptors beyond the standard three that reached the program. */
    int extra = 0;
    for (int fd = 3; fd < 256; ++fd)
        if (fd != fileno(info) && fcntl(fd, F_GETFD) != -1)
            ++extra;
    fprintf(info, "extra-descriptors=%d\n", extra);
#endif
    fclose(info);
    return 0;
}
