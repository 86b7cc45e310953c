// The commands that draw, in this process: the drawing program and the tests run every command
// here.
#include "batch/Commands.h"

namespace zelkova::batch {

namespace {
int drawHere(const std::string& command, const Arguments& args, std::ostream& out, std::ostream& err) {
    return command == "listing" ? listingCommand(args, out, err) : renderCommand(args, out, err);
}
} // namespace

int runBatch(const Arguments& args, std::ostream& out, std::ostream& err) {
    return runBatchWith(args, out, err, drawHere);
}

} // namespace zelkova::batch
