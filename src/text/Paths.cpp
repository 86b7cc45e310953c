// Path parts and file existence.
#include "text/Paths.h"

#include "text/SystemFiles.h"

namespace zelkova::text {

bool isFolderSeparator(char c) {
#ifdef _WIN32
    return c == '\\' || c == '/' || c == ':';
#else
    return c == '/';
#endif
}

namespace {
std::size_t lastSeparator(std::string_view path) {
    for (std::size_t i = path.size(); i > 0; --i)
        if (isFolderSeparator(path[i - 1]))
            return i - 1;
    return std::string_view::npos;
}
} // namespace

std::string folderPart(std::string_view path) {
    const std::size_t at = lastSeparator(path);
    return at == std::string_view::npos ? std::string() : std::string(path.substr(0, at + 1));
}

std::string fileNamePart(std::string_view path) {
    const std::size_t at = lastSeparator(path);
    return std::string(at == std::string_view::npos ? path : path.substr(at + 1));
}

bool hasFolderPart(std::string_view path) {
    return lastSeparator(path) != std::string_view::npos;
}

bool holdsNulByte(std::string_view name) {
    return name.find('\0') != std::string_view::npos;
}

bool existsAsFile(const std::string& path) {
    return !holdsNulByte(path) && fileKind(path) == FileKind::File;
}

std::string executableFolder() {
    return folderPart(executablePath());
}

} // namespace zelkova::text
