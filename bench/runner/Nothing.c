/* The program of an empty case: it writes nothing and ends at once. */
int main(void) {
    return 0;
}
