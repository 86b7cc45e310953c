// Process start on Windows: CreateProcessA with the program path alone as the command line, no
// inherited handles, CREATE_DEFAULT_ERROR_MODE, Zelkova's environment and start-up information,
// the working folder as current directory; then an infinite WaitForSingleObject.
#pragma once

#include "platform/ProcessLauncher.h"

#ifdef _WIN32

namespace zelkova::platform {

class WindowsProcessLauncher final : public ProcessLauncher {
public:
    LaunchResult runAndWait(const std::string& program, const std::string& workingFolder) override;
};

} // namespace zelkova::platform

#endif // _WIN32
