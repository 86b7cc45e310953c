// QString edge conversions.
#include "platform/qt/QtText.h"

#include "text/Cp932.h"

namespace zelkova::platform {

QString fromCp932(std::string_view bytes) {
    const std::u16string wide = text::decodeCp932(bytes);
    return QString::fromUtf16(wide.data(), static_cast<qsizetype>(wide.size()));
}

std::string toCp932(const QString& s) {
    return text::encodeCp932(std::u16string_view(reinterpret_cast<const char16_t*>(s.utf16()),
                                                 static_cast<std::size_t>(s.size())));
}

QString fromUtf8(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string toUtf8(const QString& s) {
    return s.toStdString();
}

} // namespace zelkova::platform
