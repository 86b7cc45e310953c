// The one exception of the filter: a failure whose text is the report shown to the user.
#pragma once

#include <stdexcept>
#include <string>

namespace zelkova::filter {

class FilterFailure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// "<what> <name>: <the system's reason for errno>", for a file operation that failed.
std::string fileFailureText(const std::string& what, const std::string& name, int error);

} // namespace zelkova::filter
