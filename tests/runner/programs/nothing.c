/* A program that does nothing at all: writes no file and ends at once with status 0. */
int main(void) {
    return 0;
}
