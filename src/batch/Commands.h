// The subcommands of zelkova-batch. Each takes the arguments after its name and returns the exit
// status: 0 on success, 1 when the work stopped with a message, 2 on a usage error.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace zelkova::batch {

using Arguments = std::vector<std::string>;

int runCommand(const Arguments& args, std::ostream& out, std::ostream& err);
int pagesCommand(const Arguments& args, std::ostream& out, std::ostream& err);
int listingCommand(const Arguments& args, std::ostream& out, std::ostream& err);
int renderCommand(const Arguments& args, std::ostream& out, std::ostream& err);

// Runs one of the commands that draw ("listing", "render") with the arguments after its name.
using DrawingRunner = int (*)(const std::string& command, const Arguments& args, std::ostream& out,
                              std::ostream& err);

// The whole command line after the program name. `drawing` runs the commands that draw; the others
// (run, pages, --help, --version) need no toolkit and run here.
int runBatchWith(const Arguments& args, std::ostream& out, std::ostream& err, DrawingRunner drawing);

// The whole command line after the program name, every command in this process (the drawing
// program and the tests).
int runBatch(const Arguments& args, std::ostream& out, std::ostream& err);

// Runs a drawing command in the drawing program, which is started in place of this process: the
// zelkova-batch program itself links no toolkit, so that run and pages start at once. Returns only
// when the drawing program cannot be started, with status 1 after a message on `err`.
int runDrawingProgram(const std::string& command, const Arguments& args, std::ostream& out,
                      std::ostream& err);

} // namespace zelkova::batch
