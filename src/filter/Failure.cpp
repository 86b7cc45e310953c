// Failure texts of file operations.
#include "filter/Failure.h"

#include <system_error>

namespace zelkova::filter {

std::string fileFailureText(const std::string& what, const std::string& name, int error) {
    return what + " " + name + ": " + std::generic_category().message(error);
}

std::string displayName(const std::filesystem::path& path) {
    const std::u8string name = path.u8string();
    return std::string(name.begin(), name.end());
}

} // namespace zelkova::filter
