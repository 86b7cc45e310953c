// Line reading with the three line ends and Ctrl-Z.
#include "text/Lines.h"

#include "text/Failure.h"

#include <cerrno>
#include <cstring>

namespace zelkova::text {

std::vector<std::string_view> splitLines(std::string_view data) {
    if (auto z = data.find(kCtrlZ); z != std::string_view::npos)
        data = data.substr(0, z);
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    const std::size_t n = data.size();
    for (std::size_t i = 0; i < n; ++i) {
        const char c = data[i];
        if (c != '\r' && c != '\n')
            continue;
        lines.push_back(data.substr(start, i - start));
        if (c == '\r' && i + 1 < n && data[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines.push_back(data.substr(start));
    return lines;
}

LineEnds lineEndsOf(std::string_view data) {
    if (auto z = data.find(kCtrlZ); z != std::string_view::npos)
        data = data.substr(0, z);
    std::size_t crlf = 0, lf = 0, cr = 0;
    for (std::size_t i = 0; i < data.size(); ++i) {
        if (data[i] == '\r') {
            if (i + 1 < data.size() && data[i + 1] == '\n') {
                ++crlf;
                ++i;
            } else {
                ++cr;
            }
        } else if (data[i] == '\n') {
            ++lf;
        }
    }
    const int kinds = (crlf > 0) + (lf > 0) + (cr > 0);
    if (kinds == 0)
        return LineEnds::None;
    if (kinds > 1)
        return LineEnds::Mixed;
    return crlf ? LineEnds::CrLf : lf ? LineEnds::Lf : LineEnds::Cr;
}

LineReader::LineReader(std::FILE* file, std::size_t bufferSize, std::size_t maxLineLength)
    : m_file(file), m_buffer(bufferSize), m_maxLineLength(maxLineLength) {}

bool LineReader::fill() {
    if (m_eof)
        return false;
    const std::size_t got = std::fread(m_buffer.data(), 1, m_buffer.size(), m_file);
    if (got < m_buffer.size()) {
        if (std::ferror(m_file))
            throw ioFailure(errno ? errno : EIO);
        m_eof = true;
    }
    m_pos = 0;
    m_end = got;
    return got > 0;
}

bool LineReader::next(std::string& line) {
    line.clear();
    if (m_stopped)
        return false;
    bool any = false;
    for (;;) {
        if (m_pos == m_end && !fill()) {
            return any; // end of file: a last line without a line end still counts
        }
        const char* begin = m_buffer.data() + m_pos;
        const std::size_t avail = m_end - m_pos;
        std::size_t i = 0;
        while (i < avail) {
            const char c = begin[i];
            if (c == '\r' || c == '\n' || c == kCtrlZ)
                break;
            ++i;
        }
        if (i > m_maxLineLength - line.size())
            throw Failure(std::string(kLineTooLongText));
        line.append(begin, i);
        m_pos += i;
        if (i == avail) {
            any = any || i > 0;
            continue;
        }
        const char c = begin[i];
        if (c == kCtrlZ) {
            m_stopped = true;
            return any || i > 0;
        }
        ++m_pos;
        if (c == '\r') {
            if (m_pos == m_end)
                fill();
            if (m_pos < m_end && m_buffer[m_pos] == '\n')
                ++m_pos;
        }
        return true;
    }
}

} // namespace zelkova::text
