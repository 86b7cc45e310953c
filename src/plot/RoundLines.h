// Wide lines with round ends drawn straight into 32-bit pixels in any raster mode, each pixel of a
// line touched once, so that a not-xor or xor line inverts exactly its own pixels as a GDI line
// does. The raster print draws the separate lines of a figure this way: the painter strokes a
// whole batch of lines as one outline, at a cost far above this for a figure of a million lines.
#pragma once

#include "plot/Canvas.h"

#include <cstddef>
#include <cstdint>

namespace zelkova::plot {

// Pixels 0xAARRGGBB, rows `stride` pixels apart; only the pixels from (left, top) to (right,
// bottom), both inclusive, are touched.
struct PixelArea {
    std::uint32_t* bits = nullptr;
    std::ptrdiff_t stride = 0;
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = -1;
    std::int32_t bottom = -1;
};

// The line from (ax, ay) to (bx, by), device pixels with pixel (x, y) centred at (x + 0.5,
// y + 0.5), `width` pixels wide with round ends: every pixel whose centre lies within width / 2 of
// the segment becomes combine(pixel, rgb) in `mode` (rgb is 0x00RRGGBB).
void fillRoundLine(const PixelArea& area, double ax, double ay, double bx, double by, double width,
                   RasterMode mode, std::uint32_t rgb);

} // namespace zelkova::plot
