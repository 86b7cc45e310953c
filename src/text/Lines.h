// Reading text line by line: CR LF, a lone CR and a lone LF each end a line (Fortran programs on
// Linux write LF alone), and a Ctrl-Z byte (0x1A) ends the file.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace zelkova::text {

inline constexpr char kCtrlZ = '\x1A';

// How the lines of a text end, as far as they end at all.
enum class LineEnds { None, CrLf, Lf, Cr, Mixed };

// The lines of `data` (without their line ends), up to a Ctrl-Z. "a\r\n" and "a" are one line,
// "" is none, "a\n\n" two ("a" and "").
std::vector<std::string_view> splitLines(std::string_view data);

// The line-end convention of `data` (before any Ctrl-Z).
LineEnds lineEndsOf(std::string_view data);

// The longest line a reader keeps: 64 MiB. Listings, run files and plot files have lines of a few
// hundred bytes; a longer line means the input is no text (an endless device or a binary file),
// and reading it on would only grow one line until memory runs out.
inline constexpr std::size_t kMaxLineLength = std::size_t{64} << 20;

// Streams the lines of an open file; the file stays the caller's. Large files are read through a
// buffer, so a CR at the end of one buffer and an LF at the start of the next make one line end.
class LineReader {
public:
    explicit LineReader(std::FILE* file, std::size_t bufferSize = 1 << 20,
                        std::size_t maxLineLength = kMaxLineLength);
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

    // Reads the next line into `line` (without its line end). Returns false at the end of the file
    // or at a Ctrl-Z. Throws Failure when the file cannot be read or the line is longer than the
    // reader keeps (kLineTooLongText).
    [[nodiscard]] bool next(std::string& line);

private:
    static constexpr std::size_t kUnknown = static_cast<std::size_t>(-1);
    bool fill();
    std::size_t lineEnd();
    std::FILE* m_file;
    std::vector<char> m_buffer;
    std::size_t m_maxLineLength;
    std::size_t m_pos = 0;
    std::size_t m_end = 0;           // the end of the data in the buffer (a Ctrl-Z's place)
    std::size_t m_nextCr = kUnknown; // the next CR from m_pos on, m_end when none
    std::size_t m_nextLf = kUnknown;
    bool m_eof = false;
    bool m_ctrlZ = false; // the data ended at a Ctrl-Z
    bool m_stopped = false;
};

} // namespace zelkova::text
