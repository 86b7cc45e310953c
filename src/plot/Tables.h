// The tables that give the numbers of a plot file their meaning: colour indexes, fill patterns,
// line types, text sizes, width numbers and raster modes.
#pragma once

#include "plot/Canvas.h"
#include "plot/Colour.h"

#include <cstdint>
#include <optional>

namespace zelkova::plot {

// Colour index 0 to 16 (0 is no colour); nothing for an index outside the table.
std::optional<Colour> colourOfIndex(std::int32_t index);

// Fill pattern index 0 to 7.
std::optional<FillPattern> fillPatternOfIndex(std::int32_t index);

// Line type 1 to 9.
std::optional<LineStyle> lineStyleOfType(std::int32_t type);

// Character cell height in paper millimetres of text size 1 to 10.
std::optional<double> textSizeMm(std::int32_t size);

// Raster mode 1 to 16.
std::optional<RasterMode> rasterModeOfNumber(std::int32_t number);

// Width number to picture pixels: 1 gives 1, 2 to 20 give 2 × (n − 1), anything else 0.
constexpr std::int32_t penWidthOfNumber(std::int32_t n) {
    if (n == 1)
        return 1;
    if (n >= 2 && n <= 20)
        return 2 * (n - 1);
    return 0;
}

// The largest extended colour ("lc" 10): a 24-bit colour value.
inline constexpr std::int32_t kLargestExtendedColour = 0xFFFFFF;

} // namespace zelkova::plot
