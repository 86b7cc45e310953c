// Round-ended wide lines, a row at a time: on each row the line covers one interval, the union of
// its two end discs and of its body (the strip along the segment, cut off at both ends).
#include "plot/RoundLines.h"

#include "plot/RasterModes.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace zelkova::plot {

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

template <RasterMode M>
void fill(const PixelArea& area, double ax, double ay, double bx, double by, double r, std::uint32_t rgb) {
    const double dx = bx - ax;
    const double dy = by - ay;
    const double squared = dx * dx + dy * dy;
    const double r2 = r * r;
    // Across the segment, within r: |dx e − dy (x − ax)| ≤ r |b − a|, with e = y − ay; a band of
    // half-width acrossHalf around ax + e dx / dy on each row.
    const double acrossSlope = dy != 0 ? dx / dy : 0;
    const double acrossHalf = dy != 0 ? r * std::sqrt(squared) / std::abs(dy) : 0;
    // Between the ends, along it: 0 ≤ (x − ax) dx + e dy ≤ |b − a|², from ax − e dy / dx to that
    // plus |b − a|² / dx.
    const double alongSlope = dx != 0 ? dy / dx : 0;
    const double alongLength = dx != 0 ? squared / dx : 0;
    // Rows whose centre lies within r of the segment's height, inside the area.
    const double firstRow = std::max(std::ceil(std::min(ay, by) - r - 0.5), double(area.top));
    const double lastRow = std::min(std::floor(std::max(ay, by) + r - 0.5), double(area.bottom));
    for (double row = firstRow; row <= lastRow; ++row) {
        const double yc = row + 0.5;
        double lo = kInfinity;
        double hi = -kInfinity;
        const auto endDisc = [&](double cx, double cy) {
            const double h = yc - cy;
            if (h * h <= r2) {
                const double w = std::sqrt(r2 - h * h);
                lo = std::min(lo, cx - w);
                hi = std::max(hi, cx + w);
            }
        };
        endDisc(ax, ay);
        endDisc(bx, by);
        if (squared > 0) {
            const double e = yc - ay;
            double bodyLo = -kInfinity;
            double bodyHi = kInfinity;
            if (dy != 0) {
                const double centre = ax + e * acrossSlope;
                bodyLo = centre - acrossHalf;
                bodyHi = centre + acrossHalf;
            } else if (std::abs(dx * e) > r * std::abs(dx)) {
                bodyLo = kInfinity;
            }
            if (dx != 0) {
                const double u0 = ax - e * alongSlope;
                const double u1 = u0 + alongLength;
                bodyLo = std::max(bodyLo, std::min(u0, u1));
                bodyHi = std::min(bodyHi, std::max(u0, u1));
            } else if (e * dy < 0 || e * dy > squared) {
                bodyLo = kInfinity;
            }
            if (bodyLo <= bodyHi) {
                lo = std::min(lo, bodyLo);
                hi = std::max(hi, bodyHi);
            }
        }
        if (!(lo <= hi))
            continue;
        // Pixels whose centre x + 0.5 lies in [lo, hi].
        const double first = std::max(std::ceil(lo - 0.5), double(area.left));
        const double last = std::min(std::floor(hi - 0.5), double(area.right));
        if (first > last)
            continue;
        std::uint32_t* pixel = area.bits + static_cast<std::ptrdiff_t>(row) * area.stride;
        for (auto x = static_cast<std::int32_t>(first), end = static_cast<std::int32_t>(last); x <= end; ++x)
            pixel[x] = 0xFF000000u | (combine<M>(pixel[x], rgb) & 0xFFFFFFu);
    }
}

using FillFunction = void (*)(const PixelArea&, double, double, double, double, double, std::uint32_t);

FillFunction fillFor(RasterMode mode) {
    switch (mode) {
    case RasterMode::Black:
        return fill<RasterMode::Black>;
    case RasterMode::White:
        return fill<RasterMode::White>;
    case RasterMode::Nop:
        return fill<RasterMode::Nop>;
    case RasterMode::Not:
        return fill<RasterMode::Not>;
    case RasterMode::CopyPen:
        return fill<RasterMode::CopyPen>;
    case RasterMode::NotCopyPen:
        return fill<RasterMode::NotCopyPen>;
    case RasterMode::MergePenNot:
        return fill<RasterMode::MergePenNot>;
    case RasterMode::MaskPenNot:
        return fill<RasterMode::MaskPenNot>;
    case RasterMode::MergeNotPen:
        return fill<RasterMode::MergeNotPen>;
    case RasterMode::MaskNotPen:
        return fill<RasterMode::MaskNotPen>;
    case RasterMode::MergePen:
        return fill<RasterMode::MergePen>;
    case RasterMode::NotMergePen:
        return fill<RasterMode::NotMergePen>;
    case RasterMode::MaskPen:
        return fill<RasterMode::MaskPen>;
    case RasterMode::NotMaskPen:
        return fill<RasterMode::NotMaskPen>;
    case RasterMode::XorPen:
        return fill<RasterMode::XorPen>;
    case RasterMode::NotXorPen:
        return fill<RasterMode::NotXorPen>;
    }
    return fill<RasterMode::CopyPen>;
}

} // namespace

void fillRoundLine(const PixelArea& area, double ax, double ay, double bx, double by, double width,
                   RasterMode mode, std::uint32_t rgb) {
    if (!area.bits || area.right < area.left || area.bottom < area.top || !(width > 0))
        return;
    const double r = width / 2;
    // Nothing of the line near the area (this also keeps far-away coordinates out of the rows).
    if (!(std::max(ax, bx) + r >= area.left && std::min(ax, bx) - r <= area.right + 1.0 &&
          std::max(ay, by) + r >= area.top && std::min(ay, by) - r <= area.bottom + 1.0))
        return;
    fillFor(mode)(area, ax, ay, bx, by, r, rgb);
}

} // namespace zelkova::plot
