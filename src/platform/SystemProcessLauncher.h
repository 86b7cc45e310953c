// The process launcher of the platform Zelkova is built for, for main() and the batch tool.
#pragma once

#ifdef _WIN32
#include "platform/WindowsProcessLauncher.h"
#else
#include "platform/PosixProcessLauncher.h"
#endif

namespace zelkova::platform {

#ifdef _WIN32
using SystemProcessLauncher = WindowsProcessLauncher;
#else
using SystemProcessLauncher = PosixProcessLauncher;
#endif

} // namespace zelkova::platform
