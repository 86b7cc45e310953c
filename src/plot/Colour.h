// A colour as the plot files and the viewer hold it: red in the lowest byte, then green, then blue.
#pragma once

#include "platform/ColourValue.h"

#include <cstdint>

namespace zelkova::plot {

struct Colour {
    std::uint32_t value = 0;
    constexpr int red() const { return static_cast<int>(value & 0xFF); }
    constexpr int green() const { return static_cast<int>((value >> 8) & 0xFF); }
    constexpr int blue() const { return static_cast<int>((value >> 16) & 0xFF); }
    static constexpr Colour fromRgb(int r, int g, int b) {
        return Colour{static_cast<std::uint32_t>(r | g << 8 | b << 16)};
    }
    friend constexpr bool operator==(Colour, Colour) = default;
};

// The no-colour value.
inline constexpr Colour kNoColour{platform::kNoColourValue};

} // namespace zelkova::plot
