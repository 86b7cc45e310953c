// Starting a program and waiting for it to end, as the runner does for each case.
#pragma once

#include <string>

namespace zelkova::platform {

struct LaunchResult {
    bool started = false; // false when the program could not be started at all
    int exitCode = 0;     // meaningful only when started
};

class ProcessLauncher {
public:
    virtual ~ProcessLauncher();
    // Starts `program` (a native path; no shell, no arguments, the program path alone as its
    // command line) with `workingFolder` as its current directory (empty: Zelkova's own) and
    // Zelkova's environment, standard input and output, and waits for it to end, with no time-out.
    virtual LaunchResult runAndWait(const std::string& program, const std::string& workingFolder) = 0;
};

} // namespace zelkova::platform
