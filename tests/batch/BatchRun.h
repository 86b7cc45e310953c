// Runs zelkova-batch in process and keeps what it wrote.
#pragma once

#include "batch/Commands.h"

#include <sstream>
#include <string>

namespace zelkova::testing {

struct Result {
    int status;
    std::string out;
    std::string err;
};

inline Result batch(const batch::Arguments& args) {
    std::ostringstream out;
    std::ostringstream err;
    const int status = batch::runBatch(args, out, err);
    return {status, out.str(), err.str()};
}

} // namespace zelkova::testing
