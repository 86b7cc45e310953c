// Out-of-line anchor of the process launcher interface.
#include "platform/ProcessLauncher.h"

namespace zelkova::platform {
ProcessLauncher::~ProcessLauncher() = default;
} // namespace zelkova::platform
