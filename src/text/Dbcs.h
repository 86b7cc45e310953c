// Double-byte character rules of code page 932: the lead-byte test and cuts that never split a
// double-byte character.
#pragma once

#include <cstddef>
#include <string_view>

namespace zelkova::text {

// True for the lead bytes of code page 932: 0x81-0x9F and 0xE0-0xFC.
constexpr bool isLeadByte(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// Length in bytes of the character that starts at `pos`: 2 for a lead byte with a byte after it,
// else 1 (a lead byte at the end of the text stands alone).
constexpr std::size_t charLengthAt(std::string_view s, std::size_t pos) {
    return isLeadByte(static_cast<unsigned char>(s[pos])) && pos + 1 < s.size() ? 2 : 1;
}

// The number of bytes of the first piece of `s` that holds at least `k` bytes and ends on a
// character boundary found by walking the characters from the start: k bytes, or k + 1 when byte k
// (counting from 1) is the lead byte of a double-byte character; never more than s.size(). Walking
// keeps a trail byte whose value lies in the lead-byte range from being taken for a lead byte.
constexpr std::size_t pieceLength(std::string_view s, std::size_t k) {
    if (s.size() <= k) // the walk cannot stop before the end
        return s.size();
    std::size_t i = 0;
    while (i < k && i < s.size())
        i += charLengthAt(s, i);
    return i;
}

// The longest prefix of `s` of at most `maxBytes` bytes that does not cut a double-byte character.
constexpr std::size_t prefixWithin(std::string_view s, std::size_t maxBytes) {
    std::size_t i = 0;
    while (i < s.size()) {
        const std::size_t len = charLengthAt(s, i);
        if (i + len > maxBytes)
            break;
        i += len;
    }
    return i;
}

} // namespace zelkova::text
