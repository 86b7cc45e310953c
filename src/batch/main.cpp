// zelkova-batch: main() only hands the command line to runBatch.
#include "batch/Commands.h"

#include <iostream>

int main(int argc, char** argv) {
    const zelkova::batch::Arguments args(argv + 1, argv + argc);
    return zelkova::batch::runBatch(args, std::cout, std::cerr);
}
