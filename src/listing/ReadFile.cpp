// Opening listings.
#include "listing/ReadFile.h"

#include "text/Failure.h"

#include <cerrno>

#ifdef _WIN32
#include "text/Cp932.h"
#endif

namespace zelkova::listing {

OpenFile openForReading(const std::string& fileName) {
    errno = 0;
#ifdef _WIN32
    const std::u16string wide = text::utf8ToUtf16(fileName);
    std::FILE* file = _wfopen(reinterpret_cast<const wchar_t*>(wide.c_str()), L"rb");
#else
    std::FILE* file = std::fopen(fileName.c_str(), "rb");
#endif
    if (!file)
        throw text::ioFailure(errno ? errno : ENOENT);
    return OpenFile(file);
}

} // namespace zelkova::listing
