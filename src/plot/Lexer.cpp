// The plot file's field readers.
#include "plot/Lexer.h"

#include "text/Failure.h"
#include "text/Numbers.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstring>
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

// Powers of ten that a double holds exactly.
constexpr double kExactPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                        1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// The usual plot number at `p`: an optional sign and at most 15 digits with an optional fraction,
// up to the first byte that is not part of it, which must come before `end` (the byte at `end`
// must be readable: the data's terminator or a byte of the buffer) and be a separator. Its digits
// make an integer below 2^53, which a double holds exactly, and the value is that integer divided
// by a power of ten that a double also holds exactly: one correctly rounded division gives the
// double nearest to the decimal, as the full conversion does (Clinger's fast path). Returns the
// end of the number, or null when the text there is no such number (the full conversion then
// reads the token).
inline const char* exactShortDecimal(const char* p, const char* end, double& value) {
    const bool negative = *p == '-';
    p += negative || *p == '+';
    std::uint64_t mantissa = 0;
    const char* const whole = p;
    for (unsigned digit; (digit = static_cast<unsigned char>(*p) - unsigned{'0'}) <= 9; ++p)
        mantissa = mantissa * 10 + digit;
    const long wholeDigits = p - whole;
    long fraction = 0;
    if (*p == '.') {
        const char* const first = ++p;
        for (unsigned digit; (digit = static_cast<unsigned char>(*p) - unsigned{'0'}) <= 9; ++p)
            mantissa = mantissa * 10 + digit;
        fraction = p - first;
    }
    // From 1 to 15 digits, then a separator inside the data.
    if (static_cast<unsigned long>(wholeDigits + fraction - 1) >= 15 || p >= end ||
        static_cast<unsigned char>(*p) > 0x20)
        return nullptr;
    const double magnitude = static_cast<double>(mantissa) / kExactPowersOfTen[fraction];
    value = negative ? -magnitude : magnitude;
    return p;
}

// Numbers read eight bytes at a time (the line segment lines, which make up the bulk of a large
// file): one load finds how many digits lead and one multiply-and-shift sequence gives their value,
// without a branch on every digit. Little-endian only: the first byte is the lowest of the eight.
constexpr bool kReadsEightBytes = std::endian::native == std::endian::little;

std::uint64_t eightBytes(const char* p) {
    std::uint64_t bytes;
    std::memcpy(&bytes, p, sizeof bytes);
    return bytes;
}

// Powers of ten as integers, up to the largest a short number's fraction may need.
constexpr std::uint64_t kIntegerPowersOfTen[] = {1,
                                                 10,
                                                 100,
                                                 1000,
                                                 10000,
                                                 100000,
                                                 1000000,
                                                 10000000,
                                                 100000000,
                                                 1000000000,
                                                 10000000000,
                                                 100000000000,
                                                 1000000000000,
                                                 10000000000000,
                                                 100000000000000,
                                                 1000000000000000,
                                                 10000000000000000};

// The value of eight digits, the bytes of `digits` (digit values 0 to 9, the first byte the most
// significant): pairs, then fours, then all eight, by one multiplication each.
inline std::uint64_t valueOfEightDigits(std::uint64_t v) {
    v = (v * 10 + (v >> 8)) & 0x00FF00FF00FF00FFu;
    v = ((v * ((std::uint64_t{100} << 16) + 1)) >> 16) & 0x0000FFFF0000FFFFu;
    return (v * ((std::uint64_t{10000} << 32) + 1)) >> 32;
}

// The top bit of every byte of `digits` (bytes turned into digit values by an exclusive or with
// '0') that held no digit: a value of 10 or more.
inline std::uint64_t noDigitMarks(std::uint64_t digits) {
    return (((digits & 0x7F7F7F7F7F7F7F7Fu) + 0x7676767676767676u) | digits) & 0x8080808080808080u;
}

// The run of digits at `p`, up to 16 of them (16 meaning there may be more), and its value. The
// eight bytes from p and, when they are all digits, the eight after them must be readable.
inline unsigned digitRun(const char* p, std::uint64_t& value) {
    const auto leading = [](const char* at, std::uint64_t& digits) {
        digits = eightBytes(at) ^ 0x3030303030303030u;
        return static_cast<unsigned>(std::countr_zero(noDigitMarks(digits))) / 8; // 8 when all are
    };
    std::uint64_t digits;
    const unsigned count = leading(p, digits);
    if (count < 8) {
        // The digits moved up to the last bytes: eight digits with leading zeros (none for 0).
        value = valueOfEightDigits((digits << 1) << (63 - 8 * count));
        return count;
    }
    std::uint64_t more;
    const unsigned further = leading(p + 8, more);
    value = valueOfEightDigits(digits) * kIntegerPowersOfTen[further] +
            (further == 0 ? 0 : valueOfEightDigits(more << (64 - 8 * further)));
    return 8 + further;
}

// The number at `p` (after its sign) when it has eight digits or more, or a fraction that reaches
// the eighth byte: up to 16 digits on either side of the point, read with digitRun(). The same
// value as exactShortDecimal() gives, or null when the text there is not such a number.
[[gnu::noinline]] const char* longShortNumber(const char* p, bool negative, double& value) {
    std::uint64_t whole;
    const unsigned wholeDigits = digitRun(p, whole);
    p += wholeDigits;
    std::uint64_t fraction = 0;
    unsigned fractionDigits = 0;
    if (*p == '.') {
        fractionDigits = digitRun(p + 1, fraction);
        p += 1 + fractionDigits;
    }
    // From 1 to 15 digits: below 2^53, whole × 10^fractionDigits + fraction is exact.
    if (wholeDigits + fractionDigits - 1 >= 15)
        return nullptr;
    const double magnitude = static_cast<double>(whole * kIntegerPowersOfTen[fractionDigits] + fraction) /
                             kExactPowersOfTen[fractionDigits];
    value = negative ? -magnitude : magnitude;
    return p;
}

// A number in the form that exactShortDecimal() reads, at `p`: the same value, or null when the
// text there is not such a number. Returns its end; whether a separator follows is for the caller
// to see. The data must end in a byte that is no digit, point or sign, with eight readable bytes
// after it.
inline const char* shortNumber(const char* p, double& value) {
    const bool negative = *p == '-';
    p += negative || *p == '+';
    const std::uint64_t bytes = eightBytes(p);
    const std::uint64_t digits = bytes ^ 0x3030303030303030u;
    const std::uint64_t marks = noDigitMarks(digits);
    // The bit marking the first byte that is no digit: bit 8 k + 7 after k digits (64: none).
    const unsigned first = static_cast<unsigned>(std::countr_zero(marks));
    const std::uint64_t rest = marks & (marks - 1);
    if (rest != 0 && static_cast<char>(bytes >> (first - 7)) == '.') {
        // Digits, a point, digits and the byte after them, all in the eight: the digits are closed
        // up over the point and valued at once.
        const unsigned last = static_cast<unsigned>(std::countr_zero(rest)); // 8 e + 7, e the end
        if (last < 23)                                                       // no digit at all
            return nullptr;
        const std::uint64_t before = (std::uint64_t{1} << (first - 7)) - 1;
        const std::uint64_t packed = (digits & before) | ((digits >> 8) & ~before);
        // e − 1 digits, moved up to the last bytes.
        const double mantissa = static_cast<double>(valueOfEightDigits(packed << (79 - last)));
        const double magnitude = mantissa / kExactPowersOfTen[(last - first) / 8 - 1];
        value = negative ? -magnitude : magnitude;
        return p + (last - 7) / 8;
    }
    if (first >= 15 && first < 64 && static_cast<char>(bytes >> (first - 7)) != '.') {
        // Digits only, then a byte that is neither digit nor point: a whole number.
        const double magnitude = static_cast<double>(valueOfEightDigits(digits << (71 - first)));
        value = negative ? -magnitude : magnitude;
        return p + (first - 7) / 8;
    }
    return longShortNumber(p, negative, value);
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

Lexer::Lexer(std::string bytes) : m_data(std::move(bytes)), m_end(m_data.size()) {
    m_data.append(kPadding, '\0');
}

Lexer::Lexer(std::FILE* file, std::size_t bufferSize) : m_file(file) {
    m_data.resize((bufferSize > 0 ? bufferSize : 1) + kPadding);
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
    m_end = std::fread(m_data.data(), 1, m_data.size() - kPadding, m_file);
    // The byte after the data is readable and no digit, point or sign, and so are those after it.
    std::fill_n(m_data.begin() + static_cast<std::ptrdiff_t>(m_end), kPadding, '\0');
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
        const char* data = m_data.data();
        while (m_pos < m_end) {
            const char c = data[m_pos];
            if (c == '\n') {
                ++m_pos;
                return;
            }
            if (c == '\r') {
                ++m_pos;
                if (peek() == '\n')
                    ++m_pos;
                return;
            }
            if (c == '\x1A')
                break;
            ++m_pos;
        }
        if (peek() < 0) // the end of the data, or a Ctrl-Z; else the next block is in
            return;
    }
}

bool Lexer::token(std::size_t limit, std::string_view& out) {
    // The usual token lies whole in the block read: it is read where it stands.
    const char* data = m_data.data();
    std::size_t pos = m_pos;
    while (pos < m_end && static_cast<unsigned char>(data[pos]) <= 0x20 && data[pos] != '\x1A')
        ++pos;
    m_pos = pos;
    if (pos < m_end && data[pos] != '\x1A') {
        const std::size_t start = pos;
        const std::size_t stop = std::min(m_end, start + limit + 1);
        while (pos<stop&& static_cast<unsigned char>(data[pos])> 0x20)
            ++pos;
        if (pos - start > limit) { // the token goes on past the limit, where the reading stops
            m_pos = start + limit;
            notANumber();
        }
        if (pos < m_end || !m_file) {
            m_pos = pos;
            out = std::string_view(data + start, pos - start);
            return true;
        }
    }
    // A block ends before the token does, or a Ctrl-Z or the end of the file comes first.
    if (!token(limit))
        return false;
    out = m_token;
    return true;
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
    // The usual number lies whole in the block read and is read in one pass where it stands; one
    // that runs to the end of the block may go on in the next one and is read the long way.
    const char* const data = m_data.data();
    std::size_t pos = m_pos;
    while (pos < m_end && static_cast<unsigned char>(data[pos]) <= 0x20 && data[pos] != '\x1A')
        ++pos;
    m_pos = pos;
    double value = 0;
    if (const char* end = exactShortDecimal(data + pos, data + m_end, value)) {
        m_pos = static_cast<std::size_t>(end - data);
        return value;
    }
    std::string_view token;
    if (!this->token(kNumberTokenLimit, token))
        return 0.0;
    if (auto parsed = parseNumberToken(token))
        return *parsed;
    notANumber();
}

std::size_t Lexer::shortNumberLines(std::span<std::array<double, 4>> out) {
    if constexpr (!kReadsEightBytes)
        return 0;
    const char* const data = m_data.data();
    const char* const end = data + m_end;
    const char* p = data + m_pos;
    std::size_t lines = 0;
    // Everything a line is read through stops at the zero byte at `end` at the latest, and so
    // leaves the reading to the general fields when the line is not whole in the block.
    while (lines < out.size() && p < end && *p == ' ') {
        std::array<double, 4>& values = out[lines];
        // A blank, then four numbers each after blanks; the first three end at a blank.
        const char* q = p;
        const auto number = [&q](double& value) {
            do
                ++q;
            while (*q == ' ');
            q = shortNumber(q, value);
            return q && *q == ' ';
        };
        if (!number(values[0]) || !number(values[1]) || !number(values[2]))
            break;
        do
            ++q;
        while (*q == ' ');
        q = shortNumber(q, values[3]);
        if (!q)
            break;
        while (*q == ' ')
            ++q;
        if (*q == '\n')
            ++q;
        else if (*q == '\r' && q + 1 < end) // CR LF, or a lone CR
            q += q[1] == '\n' ? 2 : 1;
        else
            break;
        p = q;
        ++lines;
    }
    m_pos = static_cast<std::size_t>(p - data);
    return lines;
}

std::int32_t Lexer::integer() {
    std::string_view token;
    if (!this->token(kIntegerTokenLimit, token))
        return 0;
    std::size_t i = 0;
    const bool negative = token[0] == '-';
    if (token[0] == '+' || token[0] == '-')
        i = 1;
    if (i == token.size())
        notANumber();
    std::int64_t value = 0;
    for (; i < token.size(); ++i) {
        if (!isDigit(token[i]))
            notANumber();
        value = value * 10 + (token[i] - '0');
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
