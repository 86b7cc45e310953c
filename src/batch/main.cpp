// zelkova-batch: main() only hands the command line on. The commands that draw run in the drawing
// program, so that this one starts without the toolkit.
#include "batch/Commands.h"

#include <iostream>

int main(int argc, char** argv) {
    const zelkova::batch::Arguments args(argv + 1, argv + argc);
    return zelkova::batch::runBatchWith(args, std::cout, std::cerr, zelkova::batch::runDrawingProgram);
}
