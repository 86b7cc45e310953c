// Line reading of the exchange file. Written for speed, since the file can be large and is read
// twice: a block is scanned for the next line end a word at a time, and only a line's first bytes
// are copied.
#include "filter/ExchangeReader.h"

#include "filter/Failure.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>

namespace zelkova::filter {

namespace {

constexpr char kCtrlZ = '\x1A';
constexpr std::size_t kHeadLength = kLineLength + 1;

// CR, LF and Ctrl-Z are the only bytes that stop a line; all three sort at or below Ctrl-Z, so
// most bytes are passed with one comparison.
inline bool stopsLine(char c) {
    return static_cast<unsigned char>(c) <= 0x1A && (c == '\r' || c == '\n' || c == kCtrlZ);
}

// The first byte in [from, end) that stops a line, or end. Eight bytes at a time are passed over
// while none of them sorts at or below Ctrl-Z; a word that may hold one is looked at byte by byte,
// so a tab or another control byte costs only that word.
const char* findLineStop(const char* from, const char* end) {
    constexpr std::uint64_t kOnes = 0x0101010101010101u;
    constexpr std::uint64_t kHighBits = 0x8080808080808080u;
    const char* p = from;
    for (;;) {
        while (end - p >= 8) {
            std::uint64_t word;
            std::memcpy(&word, p, sizeof word);
            if (((word - kOnes * 0x1B) & ~word & kHighBits) != 0)
                break;
            p += 8;
        }
        const char* const wordEnd = end - p >= 8 ? p + 8 : end;
        for (; p != wordEnd; ++p)
            if (stopsLine(*p))
                return p;
        if (p == end)
            return end;
    }
}

} // namespace

ExchangeReader::ExchangeReader(std::FILE* file, std::string name, std::size_t blockSize)
    : m_file(file), m_name(std::move(name)), m_block(std::max<std::size_t>(blockSize, 1)) {
    m_head.reserve(kHeadLength);
}

bool ExchangeReader::fill() {
    m_pos = 0;
    m_end = std::fread(m_block.data(), 1, m_block.size(), m_file);
    if (m_end == 0 && std::ferror(m_file))
        throw FilterFailure(fileFailureText("Cannot read", m_name, errno));
    return m_end > 0;
}

bool ExchangeReader::next(std::string_view& head) {
    if (m_atEnd)
        return false;
    m_head.clear();
    std::size_t length = 0;
    for (;;) {
        if (m_pos == m_end && !fill()) {
            // The last line of a file that does not end with a line end.
            m_atEnd = true;
            head = m_head;
            return length > 0;
        }
        const char* const start = m_block.data() + m_pos;
        const char* const end = m_block.data() + m_end;
        const char* const stop = findLineStop(start, end);
        const std::size_t run = static_cast<std::size_t>(stop - start);
        if (m_head.size() < kHeadLength)
            m_head.append(start, std::min(run, kHeadLength - m_head.size()));
        length += run;
        m_pos += run;
        if (stop == end)
            continue;
        ++m_pos;
        head = m_head;
        if (*stop == kCtrlZ) {
            m_atEnd = true;
            return length > 0;
        }
        if (*stop == '\r') {
            // A CR LF pair is one line end, even when the pair straddles two blocks.
            if (m_pos == m_end && !fill())
                return true;
            if (m_block[m_pos] == '\n')
                ++m_pos;
        }
        return true;
    }
}

void ExchangeReader::rewind() {
    if (std::fseek(m_file, 0, SEEK_SET) != 0)
        throw FilterFailure(fileFailureText("Cannot go back to the start of", m_name, errno));
    std::clearerr(m_file);
    m_pos = m_end = 0;
    m_atEnd = false;
}

} // namespace zelkova::filter
