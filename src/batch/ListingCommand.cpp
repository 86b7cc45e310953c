// zelkova-batch listing (placeholder until its engine arrives).
#include "batch/Commands.h"

namespace zelkova::batch {

int listingCommand(const Arguments&, std::ostream&, std::ostream& err) {
    err << "zelkova-batch: 'listing' is not available yet\n";
    return 2;
}

} // namespace zelkova::batch
