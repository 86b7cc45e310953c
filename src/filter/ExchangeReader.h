// Reads the exchange file as text lines: CR LF, a lone CR and a lone LF each end a line, and a
// Ctrl-Z byte (0x1A) ends the file. Only the first bytes of each line are kept, since the filter
// never looks past its 254-character buffer.
#pragma once

#include "filter/LineBuffer.h"

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace zelkova::filter {

class ExchangeReader {
public:
    // The file stays the caller's; `name` is used in failure reports only. The file is read in
    // blocks of `blockSize` bytes, so a line may run across blocks.
    ExchangeReader(std::FILE* file, std::string name, std::size_t blockSize = 1 << 20);
    ExchangeReader(const ExchangeReader&) = delete;
    ExchangeReader& operator=(const ExchangeReader&) = delete;

    // The first bytes of the next line (at most kLineLength + 1 of them, enough to tell a line that
    // is cut), valid until the next call; false at the end of the file or at a Ctrl-Z. Throws
    // FilterFailure when the file cannot be read.
    [[nodiscard]] bool next(std::string_view& head);

    // Goes back to the start of the file.
    void rewind();

private:
    bool fill();

    std::FILE* m_file;
    std::string m_name;
    std::vector<char> m_block;
    std::size_t m_pos = 0;
    std::size_t m_end = 0;
    bool m_atEnd = false;
    std::string m_head;
};

} // namespace zelkova::filter
