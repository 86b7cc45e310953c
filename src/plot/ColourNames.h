// Colours as text: the 42 names of the colour name table (16 standard colours, 25 system colours,
// clNone) or "$" and eight upper-case hexadecimal digits, and back.
#pragma once

#include "plot/Colour.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace zelkova::plot {

// System colours hold the top bit and their index 0 to 24 in the low bits.
inline constexpr std::uint32_t kSystemColourFlag = platform::kSystemColourFlag;

// What each system colour draws in, by index.
using SystemColourTable = std::array<Colour, platform::kSystemColourCount>;

// The classic desktop scheme, which pens named by a system colour draw in, so that a picture does
// not depend on the machine it is drawn on.
const SystemColourTable& classicSystemColours();

// The name of the table entry for `colour`, else "$" and its value in eight hexadecimal digits.
std::string colourName(Colour colour);

// A table name (any case), or an integer: decimal or "$" hexadecimal. Nothing for other texts.
std::optional<Colour> colourFromName(std::string_view name);

// The colour to draw with: system colours become their entry of `systemColours` (an index beyond
// the table draws black), other values keep their red, green and blue; the no-colour value stays as
// it is.
Colour drawableColour(Colour colour, const SystemColourTable& systemColours = classicSystemColours());

} // namespace zelkova::plot
