// The binary raster operations on pixels 0x00RRGGBB: what a pen of colour p makes of a destination
// pixel d in each mode. Shared by every canvas that draws into pixels itself.
#pragma once

#include "plot/Canvas.h"

#include <cstdint>

namespace zelkova::plot {

template <RasterMode M> inline std::uint32_t combine(std::uint32_t d, std::uint32_t p) {
    if constexpr (M == RasterMode::Black)
        return 0;
    else if constexpr (M == RasterMode::White)
        return 0xFFFFFF;
    else if constexpr (M == RasterMode::Nop)
        return d;
    else if constexpr (M == RasterMode::Not)
        return ~d;
    else if constexpr (M == RasterMode::CopyPen)
        return p;
    else if constexpr (M == RasterMode::NotCopyPen)
        return ~p;
    else if constexpr (M == RasterMode::MergePenNot)
        return p | ~d;
    else if constexpr (M == RasterMode::MaskPenNot)
        return p & ~d;
    else if constexpr (M == RasterMode::MergeNotPen)
        return ~p | d;
    else if constexpr (M == RasterMode::MaskNotPen)
        return ~p & d;
    else if constexpr (M == RasterMode::MergePen)
        return p | d;
    else if constexpr (M == RasterMode::NotMergePen)
        return ~(p | d);
    else if constexpr (M == RasterMode::MaskPen)
        return p & d;
    else if constexpr (M == RasterMode::NotMaskPen)
        return ~(p & d);
    else if constexpr (M == RasterMode::XorPen)
        return p ^ d;
    else
        return ~(p ^ d);
}

} // namespace zelkova::plot
