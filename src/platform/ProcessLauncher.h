// Starting a program and waiting for it to end, as the runner does for each case.
#pragma once

#include <string>

namespace zelkova::platform {

struct LaunchResult {
    bool started = false; // false when the program could not be started at all
    int exitCode = 0;     // its exit status, when it started and no signal ended it
    int signal = 0;       // the signal that ended it (POSIX systems); 0 when it ended by itself
    int startError = 0;   // why it could not be started (an errno value), when that is known
};

class ProcessLauncher {
public:
    virtual ~ProcessLauncher();
    // Starts `program` (a native path; no shell, no arguments, the program path alone as its
    // command line) with `workingFolder` as its current directory (empty: Zelkova's own) and
    // Zelkova's environment, and waits for it to end, with no time-out. Where its standard
    // streams lead is the launcher's: Zelkova's own, or a window of the program's own.
    virtual LaunchResult runAndWait(const std::string& program, const std::string& workingFolder) = 0;
};

} // namespace zelkova::platform
