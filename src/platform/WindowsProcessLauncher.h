// Process start on Windows: CreateProcessA with the program path alone as the command line (and as
// the application name, so that exactly that file runs), no inherited handles,
// CREATE_DEFAULT_ERROR_MODE, Zelkova's environment and start-up information, the working folder as
// current directory; then an infinite WaitForSingleObject. A program that cannot be started
// reports why as an errno value (text::errnoFromSystemError).
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
