/* A program that finds an error in its data, says so on its console and ends with status 3. */
#include <stdio.h>

int main(void) {
    fprintf(stderr, "DATA ERROR IN CARD 17\n");
    return 3;
}
