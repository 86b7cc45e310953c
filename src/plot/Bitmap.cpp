// The smaller copies of a bitmap, and the choice of the copy a redisplay draws from.
#include "plot/Bitmap.h"

#include <cmath>

namespace zelkova::plot {

namespace {
constexpr std::int32_t kSmallestReducedSide = 16;

// The average of four pixels, red and blue in one sum and green in another (four 8-bit values
// need 10 bits, so the channels never run into each other).
inline std::uint32_t average(std::uint32_t a, std::uint32_t b, std::uint32_t c, std::uint32_t d) {
    const std::uint32_t redBlue =
        ((a & 0xFF00FFu) + (b & 0xFF00FFu) + (c & 0xFF00FFu) + (d & 0xFF00FFu) + 0x020002u) >> 2 & 0xFF00FFu;
    const std::uint32_t green =
        ((a & 0xFF00u) + (b & 0xFF00u) + (c & 0xFF00u) + (d & 0xFF00u) + 0x200u) >> 2 & 0xFF00u;
    return 0xFF000000u | redBlue | green;
}

// Half of `from` (odd edges repeat their last row or column).
PixelPlane halve(const std::uint32_t* from, std::int32_t width, std::int32_t height) {
    PixelPlane half;
    half.width = (width + 1) / 2;
    half.height = (height + 1) / 2;
    half.pixels.resize(static_cast<std::size_t>(half.width) * static_cast<std::size_t>(half.height));
    std::uint32_t* out = half.pixels.data();
    for (std::int32_t y = 0; y < half.height; ++y) {
        const std::uint32_t* row0 = from + static_cast<std::size_t>(2 * y) * static_cast<std::size_t>(width);
        const std::uint32_t* row1 = 2 * y + 1 < height ? row0 + width : row0;
        for (std::int32_t x = 0; x < half.width; ++x) {
            const std::int32_t x0 = 2 * x;
            const std::int32_t x1 = x0 + 1 < width ? x0 + 1 : x0;
            *out++ = average(row0[x0], row0[x1], row1[x0], row1[x1]);
        }
    }
    return half;
}
} // namespace

ImageLoader::~ImageLoader() = default;

void makeReductions(Bitmap& bitmap) {
    bitmap.reductions.clear();
    const std::uint32_t* from = bitmap.pixels.data();
    std::int32_t width = bitmap.width;
    std::int32_t height = bitmap.height;
    if (bitmap.pixels.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height))
        return;
    while (width > kSmallestReducedSide || height > kSmallestReducedSide) {
        bitmap.reductions.push_back(halve(from, width, height));
        const PixelPlane& half = bitmap.reductions.back();
        from = half.pixels.data();
        width = half.width;
        height = half.height;
    }
}

const std::uint32_t* Bitmap::planeFor(double targetWidth, double targetHeight, std::int32_t& planeWidth,
                                      std::int32_t& planeHeight) const {
    const double needWidth = std::fabs(targetWidth);
    const double needHeight = std::fabs(targetHeight);
    for (auto plane = reductions.rbegin(); plane != reductions.rend(); ++plane) {
        if (plane->width >= needWidth && plane->height >= needHeight) {
            planeWidth = plane->width;
            planeHeight = plane->height;
            return plane->pixels.data();
        }
    }
    planeWidth = width;
    planeHeight = height;
    return pixels.data();
}

} // namespace zelkova::plot
