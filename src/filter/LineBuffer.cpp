// The line buffer's trimmed length, head and fields.
#include "filter/LineBuffer.h"

namespace zelkova::filter {

namespace {

bool isSeparator(char c) {
    return c == ' ' || c == ',';
}

} // namespace

std::size_t LineBuffer::trimmedLength() const {
    const std::size_t last = m_text.find_last_not_of(' ');
    return last == std::string_view::npos ? 0 : last + 1;
}

std::string LineBuffer::head(std::size_t count) const {
    std::string result(m_text.substr(0, count));
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
