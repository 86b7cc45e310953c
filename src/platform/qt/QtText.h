// Conversions at the edge between the core's byte strings and Qt's strings.
#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace zelkova::platform {

// Code page 932 bytes to and from QString, through the lossless codec.
QString fromCp932(std::string_view bytes);
std::string toCp932(const QString& text);

// UTF-8 (messages, native file names) to and from QString.
QString fromUtf8(std::string_view utf8);
std::string toUtf8(const QString& text);

} // namespace zelkova::platform
