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

// The whole command line after the program name.
int runBatch(const Arguments& args, std::ostream& out, std::ostream& err);

} // namespace zelkova::batch
