/* A program that asks for a number on its console, as an old batch program asks for a value the
 * input file lacks, and writes the number it read into ANSWER.DAT. The prompt ends without a line
 * end and is not flushed by the program: on a terminal the C library shows it before it reads. It
 * gives up after 20 seconds, so an answer that never comes fails a test instead of hanging it. */
#include <stdio.h>
#include <unistd.h>

int main(void) {
    alarm(20);
    /* "荷重 P (kN) = " in code page 932 */
    printf("\x89\xD7\x8F\x64 P (kN) = ");
    double load = 0;
    if (scanf("%lf", &load) != 1)
        return 2;
    FILE* out = fopen("ANSWER.DAT", "wb");
    if (!out)
        return 4;
    fprintf(out, "P=%g\n", load);
    fclose(out);
    printf("P = %g kN\n", load);
    return 0;
}
