// Lossless code page 932 codec; see Cp932.h for why it is our own.
#include "text/Cp932.h"

#include "text/Dbcs.h"

#include <array>
#include <cstdint>
#include <memory>

namespace zelkova::text {
namespace {

#include "text/Cp932Table.inc"

int leadIndex(unsigned char lead) {
    return lead <= 0x9F ? lead - 0x81 : lead - 0xE0 + 31;
}
int trailIndex(unsigned char trail) {
    return trail <= 0x7E ? trail - 0x40 : trail - 0x80 + 63;
}

bool isTrailByte(unsigned char b) {
    return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC);
}

char16_t doubleByteChar(unsigned char lead, unsigned char trail) {
    return kDoubleByte[leadIndex(lead)][trailIndex(trail)];
}

// Which of several codes of one character Windows writes: lower rank wins, then the lower code.
int encodingRank(unsigned lead) {
    if (lead == 0x87)
        return 1; // NEC row 13
    if (lead >= 0xFA && lead <= 0xFC)
        return 2; // IBM extension
    if (lead == 0xED || lead == 0xEE)
        return 3; // NEC-selected IBM extension
    return 0;
}

// Unicode -> code: 0 for none, a byte value below 0x100, or lead << 8 | trail.
struct EncodeTable {
    std::array<std::uint16_t, 0x10000> code{};
    EncodeTable() {
        for (unsigned b = 0x01; b < 0x80; ++b)
            code[b] = static_cast<std::uint16_t>(b);
        for (unsigned b = 0xA1; b <= 0xDF; ++b)
            code[kSingleByte[b]] = static_cast<std::uint16_t>(b);
        for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
            if (!isLeadByte(static_cast<unsigned char>(lead)))
                continue;
            for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
                if (!isTrailByte(static_cast<unsigned char>(trail)))
                    continue;
                char16_t ch =
                    doubleByteChar(static_cast<unsigned char>(lead), static_cast<unsigned char>(trail));
                if (ch == 0)
                    continue;
                std::uint16_t& slot = code[ch];
                auto candidate = static_cast<std::uint16_t>(lead << 8 | trail);
                if (slot == 0 || (slot >= 0x100 && encodingRank(candidate >> 8) < encodingRank(slot >> 8)))
                    slot = candidate;
            }
        }
    }
};

const EncodeTable& encodeTable() {
    static const auto table = std::make_unique<EncodeTable>();
    return *table;
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

} // namespace

std::u16string decodeCp932(std::string_view bytes) {
    std::u16string out;
    out.reserve(bytes.size());
    const std::size_t n = bytes.size();
    for (std::size_t i = 0; i < n; ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80) {
            out += static_cast<char16_t>(b);
            continue;
        }
        if (isLeadByte(b)) {
            if (i + 1 < n && isTrailByte(static_cast<unsigned char>(bytes[i + 1]))) {
                const auto t = static_cast<unsigned char>(bytes[i + 1]);
                if (char16_t ch = doubleByteChar(b, t)) {
                    out += ch;
                } else { // unassigned pair: keep both bytes together as placeholders
                    out += static_cast<char16_t>(kRawBytePlaceholderBase + b);
                    out += static_cast<char16_t>(kRawBytePlaceholderBase + t);
                }
                ++i;
                continue;
            }
            out += static_cast<char16_t>(kRawBytePlaceholderBase + b); // lone lead byte
            continue;
        }
        if (char16_t ch = kSingleByte[b])
            out += ch;
        else
            out += static_cast<char16_t>(kRawBytePlaceholderBase + b);
    }
    return out;
}

std::string encodeCp932(std::u16string_view text) {
    const EncodeTable& table = encodeTable();
    std::string out;
    out.reserve(text.size() * 2);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t ch = text[i];
        if (ch < 0x80) {
            out += static_cast<char>(ch);
            continue;
        }
        if (ch >= kRawBytePlaceholderBase + 0x40 && ch <= kRawBytePlaceholderBase + 0xFF) {
            out += static_cast<char>(ch - kRawBytePlaceholderBase);
            continue;
        }
        const std::uint16_t code = table.code[ch];
        if (code == 0) {
            out += '?'; // one "?" for a surrogate pair too
            if (ch >= 0xD800 && ch <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
                text[i + 1] <= 0xDFFF)
                ++i;
        } else if (code < 0x100) {
            out += static_cast<char>(code);
        } else {
            out += static_cast<char>(code >> 8);
            out += static_cast<char>(code & 0xFF);
        }
    }
    return out;
}

std::string cp932ToUtf8(std::string_view bytes) {
    return utf16ToUtf8(decodeCp932(bytes));
}

std::string utf8ToCp932(std::string_view utf8) {
    return encodeCp932(utf8ToUtf16(utf8));
}

std::u16string utf8ToUtf16(std::string_view s) {
    std::u16string out;
    out.reserve(s.size());
    std::size_t i = 0;
    const std::size_t n = s.size();
    while (i < n) {
        const auto b = static_cast<unsigned char>(s[i]);
        char32_t c = 0xFFFD;
        std::size_t len = 1;
        auto cont = [&](std::size_t k) {
            return i + k < n && (static_cast<unsigned char>(s[i + k]) & 0xC0) == 0x80;
        };
        if (b < 0x80) {
            c = b;
        } else if ((b & 0xE0) == 0xC0 && cont(1)) {
            c = (b & 0x1F) << 6 | (s[i + 1] & 0x3F);
            len = 2;
            if (c < 0x80)
                c = 0xFFFD;
        } else if ((b & 0xF0) == 0xE0 && cont(1) && cont(2)) {
            c = (b & 0x0F) << 12 | (s[i + 1] & 0x3F) << 6 | (s[i + 2] & 0x3F);
            len = 3;
            if (c < 0x800 || (c >= 0xD800 && c <= 0xDFFF))
                c = 0xFFFD;
        } else if ((b & 0xF8) == 0xF0 && cont(1) && cont(2) && cont(3)) {
            c = (b & 0x07) << 18 | (s[i + 1] & 0x3F) << 12 | (s[i + 2] & 0x3F) << 6 | (s[i + 3] & 0x3F);
            len = 4;
            if (c < 0x10000 || c > 0x10FFFF)
                c = 0xFFFD;
        }
        if (c >= 0x10000) {
            c -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (c >> 10));
            out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
        } else {
            out += static_cast<char16_t>(c);
        }
        i += len;
    }
    return out;
}

std::string utf16ToUtf8(std::u16string_view s) {
    std::string out;
    out.reserve(s.size() * 3);
    for (std::size_t i = 0; i < s.size(); ++i) {
        char32_t c = s[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (s[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        appendUtf8(out, c);
    }
    return out;
}

} // namespace zelkova::text
