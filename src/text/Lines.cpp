// Line reading with the three line ends and Ctrl-Z.
#include "text/Lines.h"

#include "text/Failure.h"

#include <algorithm>
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

// Reads the next block. A Ctrl-Z in it ends the data there for good.
bool LineReader::fill() {
    if (m_eof || m_ctrlZ)
        return false;
    const std::size_t got = std::fread(m_buffer.data(), 1, m_buffer.size(), m_file);
    if (got < m_buffer.size()) {
        if (std::ferror(m_file))
            throw ioFailure(errno ? errno : EIO);
        m_eof = true;
    }
    m_pos = 0;
    m_end = got;
    if (const void* z = std::memchr(m_buffer.data(), kCtrlZ, got)) {
        m_end = static_cast<std::size_t>(static_cast<const char*>(z) - m_buffer.data());
        m_ctrlZ = true;
    }
    m_nextCr = m_nextLf = kUnknown;
    return m_end > 0;
}

// The first CR or LF from m_pos on, or m_end. The next CR and the next LF are each looked for once
// and kept, so that a file of CR-only or LF-only lines is not searched again for the other to the
// end of the block at every line.
std::size_t LineReader::lineEnd() {
    const auto find = [this](char c) {
        const void* hit = std::memchr(m_buffer.data() + m_pos, c, m_end - m_pos);
        return hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - m_buffer.data()) : m_end;
    };
    if (m_nextCr == kUnknown || m_nextCr < m_pos)
        m_nextCr = find('\r');
    if (m_nextLf == kUnknown || m_nextLf < m_pos)
        m_nextLf = find('\n');
    return std::min(m_nextCr, m_nextLf);
}

bool LineReader::next(std::string& line) {
    line.clear();
    if (m_stopped)
        return false;
    bool any = false;
    for (;;) {
        if (m_pos == m_end && !fill()) {
            // The end of the file or a Ctrl-Z: a last line without a line end still counts.
            m_stopped = m_ctrlZ;
            return any;
        }
        const std::size_t end = lineEnd();
        if (end - m_pos > m_maxLineLength - line.size())
            throw Failure(std::string(kLineTooLongText));
        line.append(m_buffer.data() + m_pos, end - m_pos);
        any = any || end > m_pos;
        m_pos = end;
        if (end == m_end)
            continue;
        const char c = m_buffer[m_pos++];
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
