// Strict conversion of texts to numbers, as numeric entry fields and plot tokens are read: the
// whole text must be the number, or the action stops with the conversion error.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zelkova::text {

// An integer: leading blanks allowed, an optional sign, then decimal digits or "$" / "0x"
// hexadecimal digits, nothing after them; the value must fit 32 bits.
std::optional<std::int32_t> parseInteger(std::string_view text);

// A decimal number making up the whole of `text` (no blanks): an optional sign, digits with an
// optional fraction after "." (".5" and "5." count), an optional exponent ("E" or "e", optional
// sign, digits). It is read the same in every locale; a value too small for a double becomes 0, one
// too large is no number.
std::optional<double> parseDecimal(std::string_view text);

// A real: leading and trailing blanks allowed, optional sign, digits with an optional fraction
// after ".", an optional exponent ("E" or "e", optional sign, digits).
std::optional<double> parseReal(std::string_view text);

// As above, throwing Failure with "'%s' は整数ではありません" / "'%s' は浮動小数点数ではありません";
// `text` is UTF-8 and stands in the message as given.
std::int32_t toInteger(std::string_view text);
double toReal(std::string_view text);

std::string notAnIntegerText(std::string_view text);
std::string notARealText(std::string_view text);

} // namespace zelkova::text
