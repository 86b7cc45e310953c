// The one exception of the filter: a failure whose text is the report shown to the user.
#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>

namespace zelkova::filter {

class FilterFailure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// "<what> <name>: <the system's reason for errno>", for a file operation that failed.
std::string fileFailureText(const std::string& what, const std::string& name, int error);

// A file's name as the reports show it: UTF-8 on every system.
std::string displayName(const std::filesystem::path& path);

} // namespace zelkova::filter
