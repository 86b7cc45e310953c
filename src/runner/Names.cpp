// Name resolution and name comparisons of the runner.
#include "runner/Names.h"

#include "text/Cp932.h"
#include "text/Paths.h"

#include <sys/stat.h>

namespace zelkova::runner {

std::string resolvedName(std::string_view name, std::string_view folder) {
    if (text::hasFolderPart(name))
        return std::string(name);
    return std::string(folder) + std::string(name);
}

bool sameFile(const std::string& a, const std::string& b) {
    if (a.empty() || b.empty() || text::holdsNulByte(a) || text::holdsNulByte(b))
        return false;
    struct stat sa {};
    struct stat sb {};
    if (::stat(a.c_str(), &sa) != 0 || ::stat(b.c_str(), &sb) != 0)
        return false;
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

bool inMissingFolder(std::string_view name) {
    const std::string folder = text::folderPart(name);
    struct stat st {};
    return !folder.empty() && (::stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode));
}

namespace {

char16_t folded(char16_t c) {
    if (c >= u'A' && c <= u'Z')
        return c + 0x20;
    if (c >= u'Ａ' && c <= u'Ｚ')
        return c + 0x20;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7)
        return c + 0x20;
    if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2)
        return c + 0x20;
    if (c >= 0x410 && c <= 0x42F)
        return c + 0x20;
    if (c >= 0x400 && c <= 0x40F)
        return c + 0x50;
    return c;
}

} // namespace

bool equalIgnoringCase(std::string_view a, std::string_view b) {
    if (a == b)
        return true;
    const std::u16string wa = text::utf8ToUtf16(a);
    const std::u16string wb = text::utf8ToUtf16(b);
    if (wa.size() != wb.size())
        return false;
    for (std::size_t i = 0; i < wa.size(); ++i)
        if (folded(wa[i]) != folded(wb[i]))
            return false;
    return true;
}

} // namespace zelkova::runner
