// Placeholder of the runner until the run-file rules arrive.
#include "runner/Runner.h"

namespace zelkova::runner {

RunOutcome runRunFile(const RunRequest&, platform::MessageBoxes&, platform::ProcessLauncher&) {
    return RunOutcome::Finished;
}

} // namespace zelkova::runner
