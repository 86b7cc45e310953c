// Strict number conversion.
#include "text/Numbers.h"

#include "text/Failure.h"

#include <charconv>
#include <cmath>
#include <string>

namespace zelkova::text {
namespace {
bool isBlank(char c) {
    return c == ' ' || c == '\t';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
int hexValue(char c) {
    if (isDigit(c))
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}
} // namespace

std::optional<std::int32_t> parseInteger(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size() && isBlank(s[i]))
        ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        negative = s[i] == '-';
        ++i;
    }
    int base = 10;
    if (i < s.size() && s[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i == s.size())
        return std::nullopt;
    std::int64_t value = 0;
    for (; i < s.size(); ++i) {
        const int d = base == 16 ? hexValue(s[i]) : (isDigit(s[i]) ? s[i] - '0' : -1);
        if (d < 0)
            return std::nullopt;
        value = value * base + d;
        if (value > 0x100000000LL)
            return std::nullopt;
    }
    if (base == 16) { // hexadecimal reads the 32 bits as written
        if (value > 0xFFFFFFFFLL)
            return std::nullopt;
        // The sign negates those bits in 32-bit two's complement, where "-$80000000" is $80000000
        // again; negating the signed value would overflow.
        auto bits = static_cast<std::uint32_t>(value);
        if (negative)
            bits = 0u - bits;
        return static_cast<std::int32_t>(bits);
    }
    if (negative)
        value = -value;
    if (value < INT32_MIN || value > INT32_MAX)
        return std::nullopt;
    return static_cast<std::int32_t>(value);
}

std::optional<double> parseDecimal(std::string_view s) {
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        ++i;
    const std::size_t mantissa = i;
    // The decimal order of the first significant digit, for telling an underflow from an overflow.
    long order = 0;
    bool significant = false;
    std::size_t digits = 0;
    while (i < s.size() && isDigit(s[i])) {
        if (significant)
            ++order;
        else if (s[i] != '0')
            significant = true;
        ++i;
        ++digits;
    }
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && isDigit(s[i])) {
            if (!significant) {
                --order;
                significant = s[i] != '0';
            }
            ++i;
            ++digits;
        }
    }
    if (digits == 0)
        return std::nullopt;
    long exponent = 0;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        bool negative = false;
        if (i < s.size() && (s[i] == '+' || s[i] == '-'))
            negative = s[i++] == '-';
        std::size_t exponentDigits = 0;
        while (i < s.size() && isDigit(s[i])) {
            if (exponent < 100000)
                exponent = exponent * 10 + (s[i] - '0');
            ++i;
            ++exponentDigits;
        }
        if (exponentDigits == 0)
            return std::nullopt;
        if (negative)
            exponent = -exponent;
    }
    if (i != s.size())
        return std::nullopt;
    // from_chars reads "C" numbers whatever the locale; it takes no "+" sign.
    const char* first = s.data() + (s[0] == '+' ? mantissa : 0);
    double value = 0;
    const auto [end, ec] = std::from_chars(first, s.data() + s.size(), value);
    if (ec == std::errc::result_out_of_range) {
        if (order + exponent >= 0)
            return std::nullopt; // too large
        return s[0] == '-' ? -0.0 : 0.0;
    }
    if (ec != std::errc() || end != s.data() + s.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<double> parseReal(std::string_view s) {
    std::size_t b = 0, e = s.size();
    while (b < e && isBlank(s[b]))
        ++b;
    while (e > b && isBlank(s[e - 1]))
        --e;
    return parseDecimal(s.substr(b, e - b));
}

std::string notAnIntegerText(std::string_view text) {
    return "'" + std::string(text) + "' は整数ではありません";
}

std::string notARealText(std::string_view text) {
    return "'" + std::string(text) + "' は浮動小数点数ではありません";
}

std::int32_t toInteger(std::string_view text) {
    if (auto v = parseInteger(text))
        return *v;
    throw Failure(notAnIntegerText(text));
}

double toReal(std::string_view text) {
    if (auto v = parseReal(text))
        return *v;
    throw Failure(notARealText(text));
}

} // namespace zelkova::text
