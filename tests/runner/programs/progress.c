/* A program that shows its progress on its console and ends with status 0: a counter that one CR
 * after another overwrites in place, a line in code page 932, and OUT.DAT as its output. In
 * TTY.DAT it records what it was started on: whether its three standard streams are terminals,
 * whether it leads a session of its own and whether that terminal is its controlling terminal. */
#include <fcntl.h>
#include <stdio.h>
#include <termios.h>
#include <unistd.h>

int main(void) {
    for (int step = 1; step <= 3; ++step)
        printf("\rstep %d of 3", step);
    printf("\r\n");
    /* "計算終了" in code page 932 */
    printf("\x8C\x76\x8E\x5A\x8F\x49\x97\xB9\n");
    FILE* out = fopen("OUT.DAT", "wb");
    if (!out)
        return 4;
    fputs("progress done\n", out);
    fclose(out);
    FILE* info = fopen("TTY.DAT", "wb");
    if (!info)
        return 4;
    const int terminal = open("/dev/tty", O_RDWR | O_NOCTTY);
    fprintf(info, "terminals=%d%d%d\n", isatty(0), isatty(1), isatty(2));
    fprintf(info, "session-leader=%d\n", getsid(0) == getpid());
    fprintf(info, "controlling-terminal=%d\n", terminal >= 0 && tcgetsid(0) == getpid());
    fclose(info);
    return 0;
}
