// The byte-level ways of reading a plot file's fields: numbers and integers (which may continue on
// the following lines), characters of the current line, the rest of a line, skipping a line, and the
// token lists that some records end with.
//
// Hand-written rather than built on text::LineReader, because number fields cross line ends and the
// reader must stop in the middle of a line and carry on from there at the next figure. A line ends
// at CR LF, a lone CR or a lone LF; a Ctrl-Z byte ends the file.
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zelkova::plot {

// The token syntax of number fields and token lists: optional sign, digits with an optional fraction
// after a full stop, an optional exponent ("E" or "e", optional sign, digits). Nothing else.
std::optional<double> parseNumberToken(std::string_view token);

// The tokens of `text`, which is first trimmed of blanks and control characters; only blanks
// separate tokens.
std::vector<std::string_view> splitTokens(std::string_view text);

// `text` without leading and trailing blanks and control characters.
std::string_view trimmed(std::string_view text);

class Lexer {
public:
    // Reads `bytes` (tests and the fuzzer read from memory).
    explicit Lexer(std::string bytes);
    // Reads the open `file`, which the lexer owns and closes.
    explicit Lexer(std::FILE* file, std::size_t bufferSize = 1 << 20);
    ~Lexer();
    Lexer(Lexer&& other) noexcept;
    Lexer& operator=(Lexer&& other) noexcept;
    Lexer(const Lexer&) = delete;
    Lexer& operator=(const Lexer&) = delete;

    // Closes the file now (nothing happens for a memory lexer or a second time). Throws Failure
    // when the system reports an error.
    void close();

    // True when no byte is left: the end of the data, or a Ctrl-Z.
    bool atEnd() { return peek() < 0; }

    // The next byte (0 to 255), or -1 at the end. Throws Failure when the file cannot be read.
    int peek() {
        if (m_pos < m_end) {
            const auto c = static_cast<unsigned char>(m_data[m_pos]);
            if (c != 0x1A)
                return c;
        }
        return peekSlow();
    }
    // Consumes the byte peek() returned (nothing at the end).
    void advance() {
        if (peek() >= 0)
            ++m_pos;
    }
    // The next byte of the current line, or -1 at a line end or the end of the file.
    int peekInLine() {
        const int c = peek();
        return c == '\r' || c == '\n' ? -1 : c;
    }

    // Up to `k` bytes of the current line; stops early at the line end, which it leaves.
    std::string characters(std::size_t k);
    // The bytes up to the line end, which it leaves.
    std::string restOfLine();
    // Discards the rest of the current line and its line end.
    void skipLine();

    // A number field: skips blanks, control characters and line ends, then reads a token of at most
    // 64 bytes. 0 at the end of the file. Throws Failure ("入力値が数値ではありません") for a token
    // that is not a number.
    double number();
    // An integer field: as number(), with a token of at most 32 bytes holding a decimal integer that
    // fits 32 bits.
    std::int32_t integer();

    // The usual line segment lines, read in one pass where they stand in the block read: a blank,
    // four numbers of an optional sign and at most 7 digits before and 7 after an optional point,
    // separated by blanks, then blanks and the line end. Reads such lines, each with its line end,
    // into `out` until it is full or the next line is anything else, of which it reads nothing, and
    // returns how many it read. Each gives the values that reading the blank, four number fields
    // and skipping the line would give, and leaves the lexer where they would.
    std::size_t shortNumberLines(std::span<std::array<double, 4>> out);

private:
    int peekSlow();
    bool fill();
    // Skips separators and reads the next token into m_token; false at the end of the file. A token
    // longer than `limit` is refused.
    bool token(std::size_t limit);
    // The same, with the token where it stands in the block read when it lies whole in it (else in
    // m_token); valid until the next read.
    bool token(std::size_t limit, std::string_view& out);

    // Zero bytes kept after the data: a number is read eight bytes at a time, up to seven past its
    // end, and the first of them stops every field.
    static constexpr std::size_t kPadding = 16;

    std::FILE* m_file = nullptr;
    std::string m_data; // the whole input (memory) or the read buffer (file), then the padding
    std::size_t m_pos = 0;
    std::size_t m_end = 0;
    bool m_ended = false;
    std::string m_token;
};

} // namespace zelkova::plot
