// Whole-file reads and atomic writes by native name (UTF-8 on Linux).
#pragma once

#include <string>
#include <string_view>

namespace zelkova::text {

// The bytes of the file; throws Failure (the general error report's texts) when it cannot be read.
std::string readFile(const std::string& path);

// Writes `bytes` to a temporary file beside `path`, flushes it to disk and renames it over `path`:
// a failed write leaves the old file whole. Keeps the old file's permission bits. Throws Failure.
void writeFileAtomically(const std::string& path, std::string_view bytes);

} // namespace zelkova::text
