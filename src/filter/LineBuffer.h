// The filter's view of one exchange line: a buffer of 254 characters (bytes of code page 932),
// padded with blanks, with the two questions the filter asks of it, its trimmed length and its
// n-th field.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zelkova::filter {

inline constexpr std::size_t kLineLength = 254;

// Whether `byte` opens a double-byte character of code page 932. Quillon shares no code with
// Zelkova, so it carries this one rule of the code page itself.
constexpr bool isLeadByte(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// How many of the first `limit` bytes of `line` can be kept without splitting a character: all of
// them when the line is no longer, else `limit`, or one less when the last of them is the lead byte
// of a character whose trail byte lies beyond the cut. A lone lead byte that really ends the line
// is kept as read.
std::size_t keptLength(std::string_view line, std::size_t limit);

// One exchange line as the buffer holds it. Only the kept bytes are stored (as a view, valid while
// the line read is); every position after them counts as a blank.
class LineBuffer {
public:
    // `line` is the line as read, or at least its first kLineLength + 1 bytes, so that a line that
    // is longer than the buffer can be told from one that just fills it.
    explicit LineBuffer(std::string_view line) : m_text(line.substr(0, keptLength(line, kLineLength))) {}

    // The kept bytes, without padding.
    std::string_view text() const { return m_text; }

    bool startsWith(std::string_view prefix) const { return m_text.starts_with(prefix); }

    // The position (1..254) of the last character that is not a blank, or 0 for a line of blanks.
    std::size_t trimmedLength() const;
    // The line as the filter writes it: its first trimmedLength() bytes.
    std::string_view trimmed() const { return m_text.substr(0, trimmedLength()); }

    // The first `count` characters, padded with blanks; a double-byte character that the count
    // would cut in two is left out and its place padded.
    std::string head(std::size_t count) const;

    // Field n (from 1): fields are runs of characters other than blanks and commas. The result is
    // padded with blanks to 254 characters; a line with fewer than n fields gives the whole line up
    // to its trimmed length, padded the same way.
    std::string field(int n) const;

private:
    std::string_view m_text;
};

} // namespace zelkova::filter
