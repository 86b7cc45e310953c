// The plot file's field readers.
#include "plot/Lexer.h"

#include "text/Failure.h"
#include "text/Numbers.h"

#include <cerrno>
#include <utility>

namespace zelkova::plot {

namespace {
// Blanks, tabs, other control characters and line ends separate number fields.
constexpr bool isSeparator(int c) {
    return c >= 0 && c <= 0x20;
}
constexpr bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

constexpr std::size_t kNumberTokenLimit = 64;
constexpr std::size_t kIntegerTokenLimit = 32;

[[noreturn]] void notANumber() {
    throw text::Failure(text::ioErrorText(text::error::NotANumber));
}
} // namespace

std::optional<double> parseNumberToken(std::string_view s) {
    return text::parseDecimal(s);
}

std::string_view trimmed(std::string_view text) {
    std::size_t b = 0;
    std::size_t e = text.size();
    while (b < e && isSeparator(static_cast<unsigned char>(text[b])))
        ++b;
    while (e > b && isSeparator(static_cast<unsigned char>(text[e - 1])))
        --e;
    return text.substr(b, e - b);
}

std::vector<std::string_view> splitTokens(std::string_view text) {
    std::vector<std::string_view> tokens;
    const std::string_view t = trimmed(text);
    std::size_t i = 0;
    // Inside the trimmed text only blanks separate: a tab or another control character is part of
    // its token (which is then no number).
    while (i < t.size()) {
        while (i < t.size() && t[i] == ' ')
            ++i;
        const std::size_t start = i;
        while (i < t.size() && t[i] != ' ')
            ++i;
        if (i > start)
            tokens.push_back(t.substr(start, i - start));
    }
    return tokens;
}

Lexer::Lexer(std::string bytes) : m_data(std::move(bytes)), m_end(m_data.size()) {}

Lexer::Lexer(std::FILE* file, std::size_t bufferSize) : m_file(file) {
    m_data.resize(bufferSize > 0 ? bufferSize : 1);
}

Lexer::~Lexer() {
    if (m_file)
        std::fclose(m_file);
}

Lexer::Lexer(Lexer&& other) noexcept
    : m_file(std::exchange(other.m_file, nullptr)), m_data(std::move(other.m_data)), m_pos(other.m_pos),
      m_end(other.m_end), m_ended(other.m_ended) {
    other.m_pos = other.m_end = 0;
    other.m_ended = true;
}

Lexer& Lexer::operator=(Lexer&& other) noexcept {
    if (this != &other) {
        if (m_file)
            std::fclose(m_file);
        m_file = std::exchange(other.m_file, nullptr);
        m_data = std::move(other.m_data);
        m_pos = other.m_pos;
        m_end = other.m_end;
        m_ended = other.m_ended;
        other.m_pos = other.m_end = 0;
        other.m_ended = true;
    }
    return *this;
}

void Lexer::close() {
    m_ended = true;
    m_pos = m_end = 0;
    if (!m_file)
        return;
    std::FILE* file = std::exchange(m_file, nullptr);
    if (std::fclose(file) != 0)
        throw text::ioFailure(errno);
}

int Lexer::peekSlow() {
    if (m_ended)
        return -1;
    if (m_pos >= m_end && !fill()) {
        m_ended = true;
        return -1;
    }
    const auto c = static_cast<unsigned char>(m_data[m_pos]);
    if (c == 0x1A) { // Ctrl-Z ends the file for good
        m_ended = true;
        m_pos = m_end;
        return -1;
    }
    return c;
}

bool Lexer::fill() {
    if (!m_file)
        return false;
    m_pos = 0;
    m_end = std::fread(m_data.data(), 1, m_data.size(), m_file);
    if (m_end == 0 && std::ferror(m_file)) {
        const int code = errno;
        throw text::ioFailure(code != 0 ? code : EIO);
    }
    return m_end > 0;
}

std::string Lexer::characters(std::size_t k) {
    std::string out;
    while (out.size() < k) {
        const int c = peekInLine();
        if (c < 0)
            break;
        out.push_back(static_cast<char>(c));
        ++m_pos;
    }
    return out;
}

std::string Lexer::restOfLine() {
    std::string out;
    for (int c = peekInLine(); c >= 0; c = peekInLine()) {
        out.push_back(static_cast<char>(c));
        ++m_pos;
    }
    return out;
}

void Lexer::skipLine() {
    for (;;) {
        const int c = peek();
        if (c < 0)
            return;
        ++m_pos;
        if (c == '\n')
            return;
        if (c == '\r') {
            if (peek() == '\n')
                ++m_pos;
            return;
        }
    }
}

bool Lexer::token(std::size_t limit) {
    int c = peek();
    while (isSeparator(c)) {
        ++m_pos;
        c = peek();
    }
    if (c < 0)
        return false;
    m_token.clear();
    while (c >= 0 && !isSeparator(c)) {
        if (m_token.size() == limit)
            notANumber();
        m_token.push_back(static_cast<char>(c));
        ++m_pos;
        c = peek();
    }
    return true;
}

double Lexer::number() {
    if (!token(kNumberTokenLimit))
        return 0.0;
    if (auto value = parseNumberToken(m_token))
        return *value;
    notANumber();
}

std::int32_t Lexer::integer() {
    if (!token(kIntegerTokenLimit))
        return 0;
    std::size_t i = 0;
    const bool negative = m_token[0] == '-';
    if (m_token[0] == '+' || m_token[0] == '-')
        i = 1;
    if (i == m_token.size())
        notANumber();
    std::int64_t value = 0;
    for (; i < m_token.size(); ++i) {
        if (!isDigit(m_token[i]))
            notANumber();
        value = value * 10 + (m_token[i] - '0');
        if (value > 0x80000000LL)
            notANumber();
    }
    if (negative)
        value = -value;
    if (value > INT32_MAX)
        notANumber();
    return static_cast<std::int32_t>(value);
}

} // namespace zelkova::plot
