// Colour values as the windows hold them, and as the colour dialog takes and gives them: red in the
// lowest byte, then green, then blue. Two kinds of value are not plain colours: a system colour
// (the top bit set, its index 0 to 24 in the low bits) stands for whatever the desktop currently
// uses for that element, and one value stands for no colour at all.
#pragma once

#include <cstdint>

namespace zelkova::platform {

using ColourValue = std::uint32_t;

inline constexpr ColourValue kSystemColourFlag = 0x80000000u;
inline constexpr int kSystemColourCount = 25;
inline constexpr ColourValue kNoColourValue = 0x1FFFFFFFu;

constexpr bool isSystemColour(ColourValue value) {
    return (value & kSystemColourFlag) != 0;
}

} // namespace zelkova::platform
