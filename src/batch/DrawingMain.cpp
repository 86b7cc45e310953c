// zelkova-batch-draw: the drawing program that zelkova-batch starts for its listing and render
// commands. It takes the same command line as zelkova-batch and runs every command itself.
#include "batch/Commands.h"

#include <iostream>

int main(int argc, char** argv) {
    const zelkova::batch::Arguments args(argv + 1, argv + argc);
    return zelkova::batch::runBatch(args, std::cout, std::cerr);
}
