/* A program that writes only the first of its two outputs (OUT1.DAT, never OUT2.DAT) and ends with
 * a failure status, as a program that stops halfway through. */
#include <stdio.h>

int main(void) {
    FILE* out = fopen("OUT1.DAT", "wb");
    if (!out)
        return 3;
    fputs("first output\n", out);
    fclose(out);
    return 2;
}
