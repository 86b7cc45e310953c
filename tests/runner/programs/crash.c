/* A program that crashes: it says it starts, then ends by SIGSEGV, leaving no core file. */
#include <signal.h>
#include <stdio.h>
#include <sys/resource.h>

int main(void) {
    const struct rlimit none = {0, 0};
    setrlimit(RLIMIT_CORE, &none);
    printf("starting\n");
    fflush(stdout);
    raise(SIGSEGV);
    return 0;
}
