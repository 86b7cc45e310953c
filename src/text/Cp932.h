// Code page 932 (Shift-JIS as Windows writes it) to Unicode and back, without loss.
//
// Hand-written and table-driven, because no codec at hand round-trips a file: Qt's codecs turn
// 0x80, 0xA0 and 0xFD-0xFF into 0x7F, swap 0x1A and 0x1C, drop a lone lead byte at the end of a
// file and save unassigned pairs as FC FC; iconv stops at the first invalid byte. The table of
// valid codes (NEC and IBM extensions and the user-defined area included) was generated once from
// glibc's iconv CP932, which maps each code to the character Windows maps it to.
//
// Bytes that are not CP932 (0x80, 0xA0, 0xFD-0xFF, a lead byte without a trail byte, both bytes of
// an unassigned pair) decode to the placeholders U+F700 + byte, which encode back to the byte, so
// any byte sequence decodes and encodes back unchanged. A lead byte followed by CR, LF or any
// other byte that cannot be a trail byte is a lone lead byte: it never swallows a line end.
//
// 396 characters have more than one code (398 codes in all). Encoding writes the code Windows
// writes: JIS X 0208 first, then the NEC row 13, then the IBM extension (FA-FC), never the
// NEC-selected IBM block (ED/EE). Characters with no CP932 code encode as "?".
#pragma once

#include <string>
#include <string_view>

namespace zelkova::text {

inline constexpr char16_t kRawBytePlaceholderBase = 0xF700;

std::u16string decodeCp932(std::string_view bytes);
std::string encodeCp932(std::u16string_view text);

// The same through UTF-8, for messages, file names and the batch tool.
std::string cp932ToUtf8(std::string_view bytes);
std::string utf8ToCp932(std::string_view utf8);

// UTF-8 and UTF-16 conversions (malformed UTF-8 becomes U+FFFD).
std::u16string utf8ToUtf16(std::string_view utf8);
std::string utf16ToUtf8(std::u16string_view utf16);

} // namespace zelkova::text
