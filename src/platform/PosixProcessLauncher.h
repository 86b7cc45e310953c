// Process start on Linux: posix_spawn of the program path alone, no shell, no arguments beyond the
// program name, the working folder as current directory, Zelkova's environment and standard
// streams, no other descriptor of ours; then waitpid with no time-out.
#pragma once

#include "platform/ProcessLauncher.h"

#ifndef _WIN32

namespace zelkova::platform {

class PosixProcessLauncher final : public ProcessLauncher {
public:
    LaunchResult runAndWait(const std::string& program, const std::string& workingFolder) override;
};

} // namespace zelkova::platform

#endif // _WIN32
