// The line buffer's cut, trimmed length and fields.
#include "filter/LineBuffer.h"

namespace zelkova::filter {

namespace {

bool isSeparator(char c) {
    return c == ' ' || c == ',';
}

// The number of bytes of the character that starts at `pos`; a lead byte at the very end counts as
// a character of its own.
std::size_t characterLength(std::string_view text, std::size_t pos) {
    return isLeadByte(static_cast<unsigned char>(text[pos])) && pos + 1 < text.size() ? 2 : 1;
}

} // namespace

std::size_t keptLength(std::string_view line, std::size_t limit) {
    if (line.size() <= limit)
        return line.size();
    std::size_t pos = 0;
    while (pos < limit) {
        const std::size_t next = pos + characterLength(line, pos);
        if (next > limit)
            return pos;
        pos = next;
    }
    return limit;
}

std::size_t LineBuffer::trimmedLength() const {
    const std::size_t last = m_text.find_last_not_of(' ');
    return last == std::string_view::npos ? 0 : last + 1;
}

std::string LineBuffer::head(std::size_t count) const {
    std::string result(m_text.substr(0, keptLength(m_text, count)));
    result.resize(count, ' ');
    return result;
}

std::string LineBuffer::field(int n) const {
    std::string_view found;
    bool enough = false;
    std::size_t pos = 0;
    for (int index = 1; index <= n; ++index) {
        while (pos < m_text.size() && isSeparator(m_text[pos]))
            ++pos;
        if (pos == m_text.size())
            break;
        const std::size_t start = pos;
        while (pos < m_text.size() && !isSeparator(m_text[pos]))
            ++pos;
        if (index == n) {
            found = m_text.substr(start, pos - start);
            enough = true;
        }
    }
    std::string result(enough ? found : trimmed());
    result.resize(kLineLength, ' ');
    return result;
}

} // namespace zelkova::filter
