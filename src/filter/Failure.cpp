// Failure texts of file operations.
#include "filter/Failure.h"

#include <system_error>

namespace zelkova::filter {

std::string fileFailureText(const std::string& what, const std::string& name, int error) {
    return what + " " + name + ": " + std::generic_category().message(error);
}

} // namespace zelkova::filter
