// zelkova-batch render (placeholder until its engine arrives).
#include "batch/Commands.h"

namespace zelkova::batch {

int renderCommand(const Arguments&, std::ostream&, std::ostream& err) {
    err << "zelkova-batch: 'render' is not available yet\n";
    return 2;
}

} // namespace zelkova::batch
