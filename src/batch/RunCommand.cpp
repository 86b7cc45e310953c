// zelkova-batch run (placeholder until its engine arrives).
#include "batch/Commands.h"

namespace zelkova::batch {

int runCommand(const Arguments&, std::ostream&, std::ostream& err) {
    err << "zelkova-batch: 'run' is not available yet\n";
    return 2;
}

} // namespace zelkova::batch
