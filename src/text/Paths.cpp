// Path parts and file existence.
#include "text/Paths.h"

#include <sys/stat.h>
#include <unistd.h>

#include <array>

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
    if (path.empty() || holdsNulByte(path))
        return false;
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string executableFolder() {
    std::array<char, 4096> buffer{};
    const ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    if (n <= 0)
        return {};
    return folderPart(std::string_view(buffer.data(), static_cast<std::size_t>(n)));
}

} // namespace zelkova::text
