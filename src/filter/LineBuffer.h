// The filter's view of one exchange line: a buffer of 254 characters (bytes of code page 932),
// padded with blanks, with the two questions the filter asks of it, its trimmed length and its
// n-th field. The buffer counts bytes: a line is cut after its 254th byte even when that byte
// opens a double-byte character, exactly as a fixed 254-byte record buffer reads it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zelkova::filter {

inline constexpr std::size_t kLineLength = 254;

// One exchange line as the buffer holds it. Only its first kLineLength bytes are stored (as a
// view, valid while the line read is); every position after them counts as a blank.
class LineBuffer {
public:
    // `line` is the line as read, or at least its first kLineLength bytes.
    explicit LineBuffer(std::string_view line) : m_text(line.substr(0, kLineLength)) {}

    // The bytes held, without padding.
    std::string_view text() const { return m_text; }

    bool startsWith(std::string_view prefix) const { return m_text.starts_with(prefix); }

    // The position (1..254) of the last character that is not a blank, or 0 for a line of blanks.
    std::size_t trimmedLength() const;
    // The line as the filter writes it: its first trimmedLength() bytes.
    std::string_view trimmed() const { return m_text.substr(0, trimmedLength()); }

    // The first `count` bytes, padded with blanks.
    std::string head(std::size_t count) const;

    // Field n (from 1): fields are runs of characters other than blanks and commas. The result is
    // padded with blanks to 254 characters; a line with fewer than n fields gives the whole line up
    // to its trimmed length, padded the same way.
    std::string field(int n) const;

private:
    std::string_view m_text;
};

} // namespace zelkova::filter
