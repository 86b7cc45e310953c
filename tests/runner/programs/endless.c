/* A program that runs until it is ended: it says so once and waits. SIGALRM ends it after 30
 * seconds, so a test that fails to end it fails instead of hanging. */
#include <stdio.h>
#include <unistd.h>

int main(void) {
    alarm(30);
    printf("running until ended\n");
    fflush(stdout);
    for (;;)
        pause();
}
