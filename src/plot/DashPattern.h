// The dash patterns of the line styles, in paper millimetres (on, off, on, off, ...), shared by
// every device that draws them so that a print, a metafile and the screen dash alike.
#pragma once

#include "plot/Canvas.h"

#include <array>
#include <span>

namespace zelkova::plot {

inline std::span<const double> dashPatternMm(LineStyle style) {
    static constexpr std::array<double, 2> kDotted{0.4, 0.8};
    static constexpr std::array<double, 2> kDashed{3.0, 1.0};
    static constexpr std::array<double, 4> kDashDot{3.0, 0.8, 0.4, 0.8};
    static constexpr std::array<double, 6> kDashDotDot{3.0, 0.8, 0.4, 0.8, 0.4, 0.8};
    switch (style) {
    case LineStyle::Dotted:
        return kDotted;
    case LineStyle::Dashed:
        return kDashed;
    case LineStyle::DashDot:
        return kDashDot;
    case LineStyle::DashDotDot:
        return kDashDotDot;
    case LineStyle::Solid:
    case LineStyle::Invisible:
        break;
    }
    return {};
}

} // namespace zelkova::plot
