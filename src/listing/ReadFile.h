// Opening a listing for reading by its native name, closed when the handle goes.
#pragma once

#include <cstdio>
#include <memory>
#include <string>

namespace zelkova::listing {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using OpenFile = std::unique_ptr<std::FILE, FileCloser>;

// Throws text::Failure with the general error report's text when the file cannot be opened.
OpenFile openForReading(const std::string& fileName);

} // namespace zelkova::listing
