// A decoded picture that a plot file places on a figure: its size in pixels and its pixels, rows
// from the top, each pixel 0xFFRRGGBB. Shared between the retained picture and every replay, never
// copied per replay.
#pragma once

#include <cstdint>
#include <vector>

namespace zelkova::plot {

struct Bitmap {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<std::uint32_t> pixels; // width × height
    bool twoColour = false;            // reduced to black and white
};

} // namespace zelkova::plot
