// zelkova-batch pages (placeholder until its engine arrives).
#include "batch/Commands.h"

namespace zelkova::batch {

int pagesCommand(const Arguments&, std::ostream&, std::ostream& err) {
    err << "zelkova-batch: 'pages' is not available yet\n";
    return 2;
}

} // namespace zelkova::batch
