// The QPainter canvas and the raster line stepper.
#include "plot/qt/PainterCanvas.h"

#include "plot/ColourNames.h"
#include "plot/DashPattern.h"
#include "plot/qt/TextDrawing.h"

#include <QPaintDevice>
#include <QPen>
#include <QPolygonF>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdlib>
#include <exception>
#include <limits>
#include <optional>
#include <thread>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace zelkova::plot {

namespace {
// Device coordinates are held inside ±2^50: exact in a double, and rounded exactly by the trick
// below. Picture coordinates (at most 10^9) stretched by any view rectangle the viewer allows stay
// well inside, so no line is bent by the limit.
constexpr double kDeviceLimit = 1125899906842624.0;
// Lines thinner than this on the device are drawn one pixel wide.
constexpr double kThinLimit = 1.5;

// To the nearest pixel, halves to even: adding 1.5 × 2^52 leaves the value rounded in the default
// rounding mode, and the integer then stands in the low bits of the sum. No call into the maths
// library and no branch, so that the compiler can map a run of points in vector registers (a
// redisplay rounds four times per line). The values come from finite points and a finite stretch.
constexpr double kRounder = 6755399441055744.0;
inline std::int64_t devicePixel(double v) {
    v = v < -kDeviceLimit ? -kDeviceLimit : v;
    v = v > kDeviceLimit ? kDeviceLimit : v;
    return std::bit_cast<std::int64_t>(v + kRounder) - std::bit_cast<std::int64_t>(kRounder);
}

constexpr std::uint32_t rgbOf(Colour c) {
    return static_cast<std::uint32_t>(c.red()) << 16 | static_cast<std::uint32_t>(c.green()) << 8 |
           static_cast<std::uint32_t>(c.blue());
}

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

// The part of the picture plane whose lines may touch the device's clip, in picture pixels, edges
// included: a line whose two end points lie beyond the same edge of it cannot show.
struct PictureWindow {
    std::int64_t left = 0;
    std::int64_t top = 0;
    std::int64_t right = 0;
    std::int64_t bottom = 0;
    bool nothing = false; // a collapsed view that lies outside the clip: nothing shows

    // Without short cuts: one branch per line for the caller, well predicted when most lines lie
    // outside (zoomed in) or inside (zoomed out).
    bool outside(Point a, Point b) const {
        const std::int64_t minX = std::min(a.x, b.x);
        const std::int64_t maxX = std::max(a.x, b.x);
        const std::int64_t minY = std::min(a.y, b.y);
        const std::int64_t maxY = std::max(a.y, b.y);
        return nothing | (maxX < left) | (minX > right) | (maxY < top) | (minY > bottom);
    }
};

// The picture coordinates that a device axis mapping `offset + p × scale` takes to within `margin`
// device pixels of [low, high]; false when there are none.
bool windowAxis(double offset, double scale, double low, double high, double margin, std::int64_t& from,
                std::int64_t& to) {
    constexpr double kFar = 4.0e18;
    low -= margin;
    high += margin;
    if (scale == 0) {
        from = -std::int64_t(kFar);
        to = std::int64_t(kFar);
        return offset >= low && offset <= high;
    }
    const double a = (low - offset) / scale;
    const double b = (high - offset) / scale;
    from = std::int64_t(std::clamp(std::floor(std::min(a, b)), -kFar, kFar));
    to = std::int64_t(std::clamp(std::ceil(std::max(a, b)), -kFar, kFar));
    return true;
}

// The window of a stretch over `clip`.
PictureWindow pictureWindow(const QRect& clip, double offsetX, double offsetY, double scaleX, double scaleY,
                            double margin) {
    PictureWindow w;
    const bool x = windowAxis(offsetX, scaleX, clip.left(), clip.right(), margin, w.left, w.right);
    const bool y = windowAxis(offsetY, scaleY, clip.top(), clip.bottom(), margin, w.top, w.bottom);
    w.nothing = !x || !y || clip.isEmpty();
    return w;
}

// What the thin-line stepper draws into: the image's pixels, its clip, the stretch and the pen.
struct ThinLineTarget {
    std::uint32_t* bits = nullptr;
    qsizetype stride = 0;
    QRect clip;
    double offsetX = 0;
    double offsetY = 0;
    double scaleX = 0;
    double scaleY = 0;
    std::uint32_t pen = 0;
};

// The colour a mode gives on white paper: how devices without raster operations approximate it.
std::optional<std::uint32_t> colourOnWhite(RasterMode mode, std::uint32_t p) {
    constexpr std::uint32_t w = 0xFFFFFF;
    switch (mode) {
    case RasterMode::Black:
        return 0;
    case RasterMode::White:
        return w;
    case RasterMode::Nop:
        return std::nullopt;
    case RasterMode::Not:
        return ~w & w;
    case RasterMode::CopyPen:
        return p;
    case RasterMode::NotCopyPen:
        return ~p & w;
    case RasterMode::MergePenNot:
        return (p | ~w) & w;
    case RasterMode::MaskPenNot:
        return p & ~w & w;
    case RasterMode::MergeNotPen:
        return (~p | w) & w;
    case RasterMode::MaskNotPen:
        return ~p & w;
    case RasterMode::MergePen:
        return (p | w) & w;
    case RasterMode::NotMergePen:
        return ~(p | w) & w;
    case RasterMode::MaskPen:
        return p & w;
    case RasterMode::NotMaskPen:
        return ~(p & w) & w;
    case RasterMode::XorPen:
        return (p ^ w) & w;
    case RasterMode::NotXorPen:
        return ~(p ^ w) & w;
    }
    return p;
}

QPainter::CompositionMode compositionOf(RasterMode mode) {
    switch (mode) {
    case RasterMode::Black:
        return QPainter::RasterOp_ClearDestination;
    case RasterMode::White:
        return QPainter::RasterOp_SetDestination;
    case RasterMode::Nop:
    case RasterMode::CopyPen:
        return QPainter::CompositionMode_SourceOver;
    case RasterMode::Not:
        return QPainter::RasterOp_NotDestination;
    case RasterMode::NotCopyPen:
        return QPainter::RasterOp_NotSource;
    case RasterMode::MergePenNot:
        return QPainter::RasterOp_SourceOrNotDestination;
    case RasterMode::MaskPenNot:
        return QPainter::RasterOp_SourceAndNotDestination;
    case RasterMode::MergeNotPen:
        return QPainter::RasterOp_NotSourceOrDestination;
    case RasterMode::MaskNotPen:
        return QPainter::RasterOp_NotSourceAndDestination;
    case RasterMode::MergePen:
        return QPainter::RasterOp_SourceOrDestination;
    case RasterMode::NotMergePen:
        return QPainter::RasterOp_NotSourceAndNotDestination;
    case RasterMode::MaskPen:
        return QPainter::RasterOp_SourceAndDestination;
    case RasterMode::NotMaskPen:
        return QPainter::RasterOp_NotSourceOrNotDestination;
    case RasterMode::XorPen:
        return QPainter::RasterOp_SourceXorDestination;
    case RasterMode::NotXorPen:
        return QPainter::RasterOp_NotSourceXorDestination;
    }
    return QPainter::CompositionMode_SourceOver;
}

Qt::BrushStyle brushStyleOf(FillPattern pattern) {
    switch (pattern) {
    case FillPattern::Hollow:
        return Qt::NoBrush;
    case FillPattern::Solid:
        return Qt::SolidPattern;
    case FillPattern::BackwardDiagonal:
        return Qt::BDiagPattern;
    case FillPattern::ForwardDiagonal:
        return Qt::FDiagPattern;
    case FillPattern::Cross:
        return Qt::CrossPattern;
    case FillPattern::DiagonalCross:
        return Qt::DiagCrossPattern;
    case FillPattern::Horizontal:
        return Qt::HorPattern;
    case FillPattern::Vertical:
        return Qt::VerPattern;
    }
    return Qt::NoBrush;
}

// Dash patterns in paper millimetres: on, off, on, off, ...
QList<double> dashesMm(LineStyle style) {
    const std::span<const double> pattern = dashPatternMm(style);
    return QList<double>(pattern.begin(), pattern.end());
}

QColor qColourOf(std::uint32_t rgb) {
    return QColor::fromRgb(static_cast<QRgb>(0xFF000000u | rgb));
}

// Steps a line from (x0, y0) to (x1, y1) into the pixels, the end point left out, touching only
// the pixels inside `clip`. Pixel i of the major axis lies on the minor axis at
// floor((2 i |minor| + |major|) / (2 |major|)), the same whether or not the line is clipped.
template <RasterMode M>
void stepLine(std::uint32_t* bits, qsizetype stride, const QRect& clip, std::int64_t x0, std::int64_t y0,
              std::int64_t x1, std::int64_t y1, std::uint32_t pen) {
    const std::int64_t dx = x1 - x0;
    const std::int64_t dy = y1 - y0;
    const std::int64_t adx = std::abs(dx);
    const std::int64_t ady = std::abs(dy);
    if (adx == 0 && ady == 0)
        return;
    if (std::max(x0, x1) < clip.left() || std::min(x0, x1) > clip.right() || std::max(y0, y1) < clip.top() ||
        std::min(y0, y1) > clip.bottom())
        return;
    const bool xMajor = adx >= ady;
    const std::int64_t major = xMajor ? adx : ady;
    const std::int64_t minor = xMajor ? ady : adx;
    const std::int64_t majorStep = (xMajor ? dx : dy) < 0 ? -1 : 1;
    const std::int64_t minorStep = (xMajor ? dy : dx) < 0 ? -1 : 1;
    const std::int64_t majorStart = xMajor ? x0 : y0;
    const std::int64_t minorStart = xMajor ? y0 : x0;
    const std::int64_t majorLow = xMajor ? clip.left() : clip.top();
    const std::int64_t majorHigh = xMajor ? clip.right() : clip.bottom();
    const std::int64_t minorLow = xMajor ? clip.top() : clip.left();
    const std::int64_t minorHigh = xMajor ? clip.bottom() : clip.right();

    // The steps whose major coordinate lies inside the clip.
    std::int64_t first = 0;
    std::int64_t last = major - 1;
    if (majorStep > 0) {
        first = std::max<std::int64_t>(first, majorLow - majorStart);
        last = std::min<std::int64_t>(last, majorHigh - majorStart);
    } else {
        first = std::max<std::int64_t>(first, majorStart - majorHigh);
        last = std::min<std::int64_t>(last, majorStart - majorLow);
    }
    if (first > last)
        return;
    const std::int64_t denominator = 2 * major;
    std::int64_t q = 0;
    std::int64_t r = major;
    if (first > 0) { // clipped at its start: the division finds where it enters
        const __int128 numerator = __int128(2) * first * minor + major;
        q = static_cast<std::int64_t>(numerator / denominator);
        r = static_cast<std::int64_t>(numerator % denominator);
    }
    const std::int64_t xStride = xMajor ? 1 : stride;
    const std::int64_t yStride = xMajor ? stride : 1;
    for (std::int64_t i = first; i <= last; ++i) {
        const std::int64_t a = majorStart + i * majorStep;
        const std::int64_t b = minorStart + q * minorStep;
        if (b >= minorLow && b <= minorHigh) {
            std::uint32_t& pixel = bits[a * xStride + b * yStride];
            pixel = 0xFF000000u | (combine<M>(pixel, pen) & 0xFFFFFFu);
        } else if ((minorStep > 0 && b > minorHigh) || (minorStep < 0 && b < minorLow)) {
            break; // moving away from the clip
        }
        r += 2 * minor;
        if (r >= denominator) {
            r -= denominator;
            ++q;
        }
    }
}

// Steps a line whose two end points lie inside the image: no clipping, one pixel per step on the
// major axis and the same rule as stepLine() for the minor one.
template <RasterMode M>
inline void stepInside(std::uint32_t* bits, qsizetype stride, int x0, int y0, int x1, int y1,
                       std::uint32_t pen) {
    const int dx = x1 - x0;
    const int dy = y1 - y0;
    const int adx = std::abs(dx);
    const int ady = std::abs(dy);
    const bool xMajor = adx >= ady;
    const int major = xMajor ? adx : ady;
    const int minor = xMajor ? ady : adx;
    const qsizetype xStep = dx < 0 ? -1 : 1;
    const qsizetype yStep = dy < 0 ? -stride : stride;
    const qsizetype majorStep = xMajor ? xStep : yStep;
    const qsizetype minorStep = xMajor ? yStep : xStep;
    std::uint32_t* pixel = bits + qsizetype(y0) * stride + x0;
    const int twoMajor = 2 * major;
    const int twoMinor = 2 * minor;
    int r = major;
    for (int i = 0; i < major; ++i) {
        *pixel = 0xFF000000u | (combine<M>(*pixel, pen) & 0xFFFFFFu);
        r += twoMinor;
        // Without a branch: whether the minor axis steps is as good as random for short lines.
        const bool carry = r >= twoMajor;
        r -= carry ? twoMajor : 0;
        pixel += majorStep + (carry ? minorStep : 0);
    }
}

// The device pixels of a run of points: x and y of point i at xy[2 i] and xy[2 i + 1]. With SSE2
// one point's x and y are mapped together in the two lanes of a register, the same operations in
// the same order as the plain loop, so both give the same pixels.
void mapPoints(const ThinLineTarget& target, const Point* points, std::size_t count, std::int64_t* xy) {
#if defined(__SSE2__)
    static_assert(sizeof(Point) == 8);
    const __m128d scale = _mm_set_pd(target.scaleY, target.scaleX);
    const __m128d offset = _mm_set_pd(target.offsetY, target.offsetX);
    const __m128d low = _mm_set1_pd(-kDeviceLimit);
    const __m128d high = _mm_set1_pd(kDeviceLimit);
    const __m128d rounder = _mm_set1_pd(kRounder);
    const __m128i rounderBits = _mm_castpd_si128(rounder);
    for (std::size_t i = 0; i < count; ++i) {
        const __m128d p = _mm_cvtepi32_pd(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(points + i)));
        __m128d v = _mm_add_pd(offset, _mm_mul_pd(p, scale));
        v = _mm_min_pd(_mm_max_pd(v, low), high);
        const __m128i pixel = _mm_sub_epi64(_mm_castpd_si128(_mm_add_pd(v, rounder)), rounderBits);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(xy + 2 * i), pixel);
    }
#else
    for (std::size_t i = 0; i < count; ++i) {
        xy[2 * i] = devicePixel(target.offsetX + points[i].x * target.scaleX);
        xy[2 * i + 1] = devicePixel(target.offsetY + points[i].y * target.scaleY);
    }
#endif
}

// The thin lines of a batch: lines from point i to point i + 1 for i = 0, step, 2 step, ... The
// points are mapped a run at a time; a line whose end points lie beyond the same edge of the clip
// is left out, and one whose end points round to the same pixel draws nothing (its end point is
// left out), so a figure seen from far away costs one mapping per line, however many lines share a
// pixel.
template <RasterMode M>
void stepLines(const ThinLineTarget& target, std::span<const Point> points, std::size_t step) {
    constexpr std::size_t kRun = 512; // points, even
    std::int64_t xy[2 * kRun];
    const QRect& clip = target.clip;
    const std::int64_t left = clip.left();
    const std::int64_t right = clip.right();
    const std::int64_t top = clip.top();
    const std::int64_t bottom = clip.bottom();
    std::size_t base = 0;
    while (base + 1 < points.size()) {
        const std::size_t count = std::min(kRun, points.size() - base);
        mapPoints(target, points.data() + base, count, xy);
        for (std::size_t i = 0; i + 1 < count; i += step) {
            const std::int64_t x0 = xy[2 * i];
            const std::int64_t y0 = xy[2 * i + 1];
            const std::int64_t x1 = xy[2 * i + 2];
            const std::int64_t y1 = xy[2 * i + 3];
            if (x0 == x1 && y0 == y1)
                continue;
            const bool x0In = x0 >= left && x0 <= right;
            const bool x1In = x1 >= left && x1 <= right;
            const bool y0In = y0 >= top && y0 <= bottom;
            const bool y1In = y1 >= top && y1 <= bottom;
            if (x0In & x1In & y0In & y1In)
                stepInside<M>(target.bits, target.stride, int(x0), int(y0), int(x1), int(y1), target.pen);
            else if (!((x0 < left && x1 < left) || (x0 > right && x1 > right) || (y0 < top && y1 < top) ||
                       (y0 > bottom && y1 > bottom)))
                stepLine<M>(target.bits, target.stride, clip, x0, y0, x1, y1, target.pen);
        }
        // Separate lines take their points in pairs; connected ones share the run's last point.
        base += step == 1 ? count - 1 : count;
    }
}

void stepLinesIn(RasterMode mode, const ThinLineTarget& target, std::span<const Point> points,
                 std::size_t step) {
    switch (mode) {
    case RasterMode::Black:
        return stepLines<RasterMode::Black>(target, points, step);
    case RasterMode::White:
        return stepLines<RasterMode::White>(target, points, step);
    case RasterMode::Nop:
        return;
    case RasterMode::Not:
        return stepLines<RasterMode::Not>(target, points, step);
    case RasterMode::CopyPen:
        return stepLines<RasterMode::CopyPen>(target, points, step);
    case RasterMode::NotCopyPen:
        return stepLines<RasterMode::NotCopyPen>(target, points, step);
    case RasterMode::MergePenNot:
        return stepLines<RasterMode::MergePenNot>(target, points, step);
    case RasterMode::MaskPenNot:
        return stepLines<RasterMode::MaskPenNot>(target, points, step);
    case RasterMode::MergeNotPen:
        return stepLines<RasterMode::MergeNotPen>(target, points, step);
    case RasterMode::MaskNotPen:
        return stepLines<RasterMode::MaskNotPen>(target, points, step);
    case RasterMode::MergePen:
        return stepLines<RasterMode::MergePen>(target, points, step);
    case RasterMode::NotMergePen:
        return stepLines<RasterMode::NotMergePen>(target, points, step);
    case RasterMode::MaskPen:
        return stepLines<RasterMode::MaskPen>(target, points, step);
    case RasterMode::NotMaskPen:
        return stepLines<RasterMode::NotMaskPen>(target, points, step);
    case RasterMode::XorPen:
        return stepLines<RasterMode::XorPen>(target, points, step);
    case RasterMode::NotXorPen:
        return stepLines<RasterMode::NotXorPen>(target, points, step);
    }
}

// A wide solid line with round ends: the pixels whose centres (x + ½, y + ½) lie within `half` of
// the segment from a to b, in device coordinates, each combined with the pen once. Rows and the
// run of each row are taken half-open, so a line of width w covers w pixels across, as a fill
// does. Worked out row by row: the slice of the line's outline through a row's centre is one
// interval, the union of the slices of the band between the ends and of the two end discs.
template <RasterMode M>
void fillWideLine(std::uint32_t* bits, qsizetype stride, const QRect& clip, QPointF a, QPointF b, double half,
                  std::uint32_t pen) {
    const double ax = a.x();
    const double ay = a.y();
    const double bx = b.x();
    const double by = b.y();
    const double firstRow = std::max<double>(clip.top(), std::ceil(std::min(ay, by) - half - 0.5));
    const double endRow = std::min<double>(clip.bottom() + 1.0, std::ceil(std::max(ay, by) + half - 0.5));
    if (!(firstRow < endRow))
        return;
    constexpr double kAll = std::numeric_limits<double>::infinity();
    const double dx = bx - ax;
    const double dy = by - ay;
    const double half2 = half * half;
    // The band between the ends, on the row through height cy:
    // across: |−dy (x − ax) + dx (cy − ay)| ≤ half × length, an interval about
    //         ax + dx / dy × (cy − ay) of half-width half × length / |dy| (all or nothing when dy = 0);
    // along:  0 ≤ dx (x − ax) + dy (cy − ay) ≤ length², an interval from ax − dy / dx × (cy − ay) of
    //         length length² / dx (all or nothing when dx = 0).
    const double length2 = dx * dx + dy * dy;
    const double reach = half * std::sqrt(length2);
    const double acrossSlope = dy != 0 ? dx / dy : 0;
    const double acrossHalf = dy != 0 ? std::abs(reach / dy) : kAll;
    const double alongSlope = dx != 0 ? -dy / dx : 0;
    const double alongLength = dx != 0 ? length2 / dx : 0;
    for (int y = int(firstRow); y < int(endRow); ++y) {
        const double cy = y + 0.5;
        const double v = cy - ay;
        double lo = kAll;
        double hi = -kAll;
        if (length2 > 0) {
            double from = -kAll;
            double to = kAll;
            if (dy != 0) {
                const double centre = ax + acrossSlope * v;
                from = centre - acrossHalf;
                to = centre + acrossHalf;
            } else if (std::abs(v) > half) {
                from = kAll;
            }
            if (dx != 0) {
                const double start = ax + alongSlope * v;
                const double end = start + alongLength;
                from = std::max(from, std::min(start, end));
                to = std::min(to, std::max(start, end));
            } else if (dy * v < 0 || dy * v > length2) {
                from = kAll;
            }
            if (from <= to) {
                lo = from;
                hi = to;
            }
        }
        // The round ends.
        const auto roundEnd = [&](double px, double py) {
            const double w = cy - py;
            const double r2 = half2 - w * w;
            if (r2 >= 0) {
                const double r = std::sqrt(r2);
                lo = std::min(lo, px - r);
                hi = std::max(hi, px + r);
            }
        };
        roundEnd(ax, ay);
        roundEnd(bx, by);
        if (!(lo < hi))
            continue;
        const double firstColumn = std::max<double>(clip.left(), std::ceil(lo - 0.5));
        const double endColumn = std::min<double>(clip.right() + 1.0, std::ceil(hi - 0.5));
        if (!(firstColumn < endColumn))
            continue;
        std::uint32_t* row = bits + qsizetype(y) * stride;
        for (int x = int(firstColumn); x < int(endColumn); ++x)
            row[x] = 0xFF000000u | (combine<M>(row[x], pen) & 0xFFFFFFu);
    }
}

using WideLineFunction = void (*)(std::uint32_t*, qsizetype, const QRect&, QPointF, QPointF, double,
                                  std::uint32_t);

WideLineFunction wideLineFor(RasterMode mode) {
    switch (mode) {
    case RasterMode::Black:
        return fillWideLine<RasterMode::Black>;
    case RasterMode::White:
        return fillWideLine<RasterMode::White>;
    case RasterMode::Nop:
        return fillWideLine<RasterMode::Nop>;
    case RasterMode::Not:
        return fillWideLine<RasterMode::Not>;
    case RasterMode::CopyPen:
        return fillWideLine<RasterMode::CopyPen>;
    case RasterMode::NotCopyPen:
        return fillWideLine<RasterMode::NotCopyPen>;
    case RasterMode::MergePenNot:
        return fillWideLine<RasterMode::MergePenNot>;
    case RasterMode::MaskPenNot:
        return fillWideLine<RasterMode::MaskPenNot>;
    case RasterMode::MergeNotPen:
        return fillWideLine<RasterMode::MergeNotPen>;
    case RasterMode::MaskNotPen:
        return fillWideLine<RasterMode::MaskNotPen>;
    case RasterMode::MergePen:
        return fillWideLine<RasterMode::MergePen>;
    case RasterMode::NotMergePen:
        return fillWideLine<RasterMode::NotMergePen>;
    case RasterMode::MaskPen:
        return fillWideLine<RasterMode::MaskPen>;
    case RasterMode::NotMaskPen:
        return fillWideLine<RasterMode::NotMaskPen>;
    case RasterMode::XorPen:
        return fillWideLine<RasterMode::XorPen>;
    case RasterMode::NotXorPen:
        return fillWideLine<RasterMode::NotXorPen>;
    }
    return fillWideLine<RasterMode::CopyPen>;
}

// Modes for which drawing a pixel twice gives what drawing it once does: connected wide lines may
// then be drawn segment by segment, the joins covered twice.
bool drawingTwiceIsOnce(RasterMode mode) {
    switch (mode) {
    case RasterMode::Black:
    case RasterMode::White:
    case RasterMode::Nop:
    case RasterMode::CopyPen:
    case RasterMode::NotCopyPen:
    case RasterMode::MergePen:
    case RasterMode::MaskPen:
    case RasterMode::MergeNotPen:
    case RasterMode::MaskNotPen:
        return true;
    default:
        return false;
    }
}

bool isRasterFormat(const QImage& image) {
    const QImage::Format f = image.format();
    return f == QImage::Format_RGB32 || f == QImage::Format_ARGB32 ||
           f == QImage::Format_ARGB32_Premultiplied;
}
} // namespace

PainterCanvas::PainterCanvas(QPainter& painter, std::int32_t pictureWidth, std::int32_t pictureHeight,
                             double pixelsPerMm, const ViewRect& target, QImage* image)
    : m_painter(painter), m_pixelsPerMm(pixelsPerMm), m_image(image) {
    // The target's sides may lie 2^31 apart or more: subtracted as reals.
    m_scaleX = pictureWidth > 0 ? (double(target.right) - target.left) / pictureWidth : 0.0;
    m_scaleY = pictureHeight > 0 ? (double(target.bottom) - target.top) / pictureHeight : 0.0;
    m_offsetX = target.left;
    m_offsetY = target.top;
    m_painter.setRenderHint(QPainter::Antialiasing, false);
    m_painter.setBackgroundMode(Qt::TransparentMode);
    if (m_image && isRasterFormat(*m_image) && !m_image->isNull()) {
        m_bits = reinterpret_cast<std::uint32_t*>(const_cast<uchar*>(m_image->constBits()));
        m_stride = m_image->bytesPerLine() / 4;
        m_clip = m_image->rect();
    } else {
        m_image = nullptr;
        const QPaintDevice* device = m_painter.device();
        m_clip = device ? QRect(0, 0, device->width(), device->height()) : m_painter.window();
    }
    if (m_painter.hasClipping())
        m_clip &= m_painter.clipBoundingRect().toAlignedRect();
}

void PainterCanvas::setPen(const Pen& pen) {
    m_pen = pen;
}

void PainterCanvas::setBrush(const Brush& brush) {
    m_brush = brush;
}

double PainterCanvas::deviceWidth() const {
    if (m_pen.width <= 0)
        return 0;
    return m_pen.width * (std::abs(m_scaleX) + std::abs(m_scaleY)) / 2;
}

bool PainterCanvas::fastLines() const {
    return m_bits && m_pen.style == LineStyle::Solid && deviceWidth() < kThinLimit && drawsLines(m_pen);
}

bool PainterCanvas::fastWideLines() const {
    return m_bits && m_pen.style == LineStyle::Solid && deviceWidth() >= kThinLimit && drawsLines(m_pen) &&
           m_painter.worldTransform().isIdentity();
}

void PainterCanvas::wideLines(std::span<const Point> points, std::size_t step) {
    const WideLineFunction fill = wideLineFor(m_pen.mode);
    const std::uint32_t colour = rgbOf(drawableColour(m_pen.colour));
    const double half = deviceWidth() / 2;
    const PictureWindow window = pictureWindow(m_clip, m_offsetX, m_offsetY, m_scaleX, m_scaleY, half + 2);
    for (std::size_t i = 0; i + 1 < points.size(); i += step)
        if (!window.outside(points[i], points[i + 1]))
            fill(m_bits, m_stride, m_clip, map(points[i]), map(points[i + 1]), half, colour);
}

bool PainterCanvas::mayShow(const Bounds& bounds) const {
    if (bounds.empty() || m_clip.isEmpty())
        return false;
    if (!m_painter.worldTransform().isIdentity())
        return true;
    const QPointF a = map({bounds.left, bounds.top});
    const QPointF b = map({bounds.right, bounds.bottom});
    const double margin = std::max(deviceWidth(), 1.0) / 2 + 2;
    const double left = std::min(a.x(), b.x()) - margin;
    const double right = std::max(a.x(), b.x()) + margin;
    const double top = std::min(a.y(), b.y()) - margin;
    const double bottom = std::max(a.y(), b.y()) + margin;
    return right >= m_clip.left() && left <= m_clip.right() + 1 && bottom >= m_clip.top() &&
           top <= m_clip.bottom() + 1;
}

void PainterCanvas::thinLines(std::span<const Point> points, std::size_t step) {
    ThinLineTarget target;
    target.bits = m_bits;
    target.stride = m_stride;
    target.clip = m_clip;
    target.offsetX = m_offsetX;
    target.offsetY = m_offsetY;
    target.scaleX = m_scaleX;
    target.scaleY = m_scaleY;
    target.pen = rgbOf(drawableColour(m_pen.colour));
    stepLinesIn(m_pen.mode, target, points, step);
}

bool PainterCanvas::preparePainter(bool fill) {
    const bool outline = drawsLines(m_pen);
    const bool filled = fill && fills(m_brush, m_pen);
    if (!outline && !filled)
        return false;
    std::uint32_t penRgb = rgbOf(drawableColour(m_pen.colour));
    std::uint32_t brushRgb = rgbOf(drawableColour(m_brush.colour));
    if (m_image) {
        m_painter.setCompositionMode(compositionOf(m_pen.mode));
    } else {
        const auto onWhite = colourOnWhite(m_pen.mode, penRgb);
        const auto brushOnWhite = colourOnWhite(m_pen.mode, brushRgb);
        if (!onWhite)
            return false;
        penRgb = *onWhite;
        brushRgb = brushOnWhite.value_or(brushRgb);
        m_painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    }
    if (outline) {
        QPen pen(qColourOf(penRgb));
        const double width = deviceWidth();
        const bool thin = width < kThinLimit;
        if (thin) {
            pen.setWidth(0);
            pen.setCapStyle(Qt::FlatCap);
        } else {
            pen.setWidthF(width);
            pen.setCapStyle(Qt::RoundCap);
            pen.setJoinStyle(Qt::RoundJoin);
        }
        const QList<double> dashes = dashesMm(m_pen.style);
        if (!dashes.isEmpty()) {
            const double unit = thin ? 1.0 : width;
            const double scale = (std::abs(m_scaleX) + std::abs(m_scaleY)) / 2 * m_pixelsPerMm;
            QList<qreal> pattern;
            for (double mm : dashes)
                pattern.push_back(std::max(mm * scale, 1.0) / unit);
            pen.setDashPattern(pattern);
        }
        m_painter.setPen(pen);
    } else {
        m_painter.setPen(Qt::NoPen);
    }
    if (filled)
        m_painter.setBrush(QBrush(qColourOf(brushRgb), brushStyleOf(m_brush.pattern)));
    else
        m_painter.setBrush(Qt::NoBrush);
    return true;
}

void PainterCanvas::line(Point from, Point to) {
    const Point pair[2] = {from, to};
    lines(pair);
}

void PainterCanvas::lines(std::span<const Point> endPoints) {
    if (fastLines()) {
        thinLines(endPoints, 2);
        return;
    }
    if (fastWideLines()) {
        wideLines(endPoints, 2);
        return;
    }
    if (!preparePainter(false))
        return;
    // Only the lines that can reach the device go to the painter; on the view image a thin line
    // whose end points round to the same pixel draws nothing, as with the stepper.
    const bool cull = m_painter.worldTransform().isIdentity();
    const bool dropPoints = cull && m_image && deviceWidth() < kThinLimit;
    const PictureWindow window =
        pictureWindow(m_clip, m_offsetX, m_offsetY, m_scaleX, m_scaleY, deviceWidth() / 2 + 2);
    m_lineBuffer.clear();
    for (std::size_t i = 0; i + 1 < endPoints.size(); i += 2) {
        if (cull && window.outside(endPoints[i], endPoints[i + 1]))
            continue;
        const QPointF a = map(endPoints[i]);
        const QPointF b = map(endPoints[i + 1]);
        if (dropPoints && devicePixel(a.x()) == devicePixel(b.x()) &&
            devicePixel(a.y()) == devicePixel(b.y()))
            continue;
        m_lineBuffer.emplace_back(a, b);
    }
    if (!m_lineBuffer.empty())
        m_painter.drawLines(m_lineBuffer.data(), static_cast<int>(m_lineBuffer.size()));
}

void PainterCanvas::polyline(std::span<const Point> points) {
    if (points.size() < 2)
        return;
    if (fastLines()) {
        thinLines(points, 1);
        return;
    }
    if (fastWideLines() && drawingTwiceIsOnce(m_pen.mode)) {
        wideLines(points, 1);
        return;
    }
    if (!preparePainter(false))
        return;
    m_pointBuffer.clear();
    for (Point p : points)
        m_pointBuffer.push_back(map(p));
    m_painter.drawPolyline(m_pointBuffer.data(), static_cast<int>(m_pointBuffer.size()));
}

void PainterCanvas::polygon(std::span<const Point> points) {
    if (points.empty() || !preparePainter(true))
        return;
    m_pointBuffer.clear();
    for (Point p : points)
        m_pointBuffer.push_back(map(p));
    m_painter.drawPolygon(m_pointBuffer.data(), static_cast<int>(m_pointBuffer.size()), Qt::OddEvenFill);
}

// Texts are black and images their own pixels, whatever the pen's raster mode.
void PainterCanvas::text(const TextOp& op) {
    const DeviceMapping mapping{m_scaleX, m_scaleY, m_offsetX, m_offsetY};
    if (m_bits && m_painter.worldTransform().isIdentity())
        drawTextOnRaster(op, mapping, m_bits, m_stride, m_clip, m_painter);
    else
        drawTextAsOutlines(op, mapping, m_painter);
}

// The bitmap stretched into its rectangle from the smallest of its copies that is at least as
// large as the rectangle on the device, sampled without smoothing (each device pixel takes the
// bitmap pixel under its centre), so that at one picture pixel per device pixel the rectangle is
// filled exactly.
void PainterCanvas::image(const ImageOp& op) {
    if (!op.bitmap || op.bitmap->width <= 0 || op.bitmap->height <= 0)
        return;
    const QPointF a = map({op.left, op.top});
    const QPointF b = map({op.right, op.bottom});
    if (a.x() == b.x() || a.y() == b.y())
        return;
    std::int32_t width = 0;
    std::int32_t height = 0;
    const std::uint32_t* pixels = op.bitmap->planeFor(b.x() - a.x(), b.y() - a.y(), width, height);
    QImage plane(reinterpret_cast<const uchar*>(pixels), width, height, qsizetype{width} * 4,
                 QImage::Format_RGB32);
    // A rectangle given right to left or bottom to top shows the bitmap mirrored.
    if (b.x() < a.x() || b.y() < a.y())
        plane = plane.mirrored(b.x() < a.x(), b.y() < a.y());
    // Only the bitmap's pixels that reach the device are drawn, so that a picture zoomed far in is
    // never stretched over millions of device pixels.
    const QRectF target = QRectF(a, b).normalized();
    const double across = target.width() / width; // device pixels per bitmap pixel
    const double down = target.height() / height;
    int x0 = 0, y0 = 0, x1 = width, y1 = height;
    if (m_painter.worldTransform().isIdentity()) {
        auto pixelAt = [](double v, int limit) {
            return static_cast<int>(std::clamp(v, 0.0, static_cast<double>(limit)));
        };
        x0 = pixelAt(std::floor((m_clip.left() - target.left()) / across), width);
        x1 = pixelAt(std::ceil((m_clip.right() + 1 - target.left()) / across), width);
        y0 = pixelAt(std::floor((m_clip.top() - target.top()) / down), height);
        y1 = pixelAt(std::ceil((m_clip.bottom() + 1 - target.top()) / down), height);
        if (x0 >= x1 || y0 >= y1)
            return;
    }
    m_painter.save();
    m_painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    m_painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    m_painter.drawImage(
        QRectF(target.left() + x0 * across, target.top() + y0 * down, (x1 - x0) * across, (y1 - y0) * down),
        plane, QRectF(x0, y0, x1 - x0, y1 - y0));
    m_painter.restore();
}

namespace {
// Pictures of at least this many points are drawn in two bands at once, when the machine has a
// second core: below it the thread costs more than it saves.
constexpr std::size_t kBandedPoints = 1 << 17;

// Whether a picture of lines and fills (texts and images are drawn in one thread only: their
// fonts and decoded images are not shared between threads) is large enough to draw in bands.
bool worthBands(const Picture& picture) {
    std::size_t points = 0;
    for (const PictureOp& op : picture.ops()) {
        if (op.kind == OpKind::Text || op.kind == OpKind::Image)
            return false;
        points += op.count;
    }
    return points >= kBandedPoints && std::thread::hardware_concurrency() > 1;
}

// The rows from `top` on, `rows` of them, of the image whose pixels start at `bits`: drawn through
// an image of its own over the same pixels, with the whole image's coordinates, cut off at the
// band's rows.
void drawBand(const QImage& image, uchar* bits, int top, int rows, const Picture& picture,
              const ViewRect& target) {
    QImage view(bits, image.width(), image.height(), image.bytesPerLine(), image.format());
    view.setDotsPerMeterX(image.dotsPerMeterX());
    view.setDotsPerMeterY(image.dotsPerMeterY());
    QPainter painter(&view);
    painter.setClipRect(QRect(0, top, image.width(), rows));
    PainterCanvas canvas(painter, picture.width(), picture.height(), picture.pixelsPerMmX(), target, &view);
    replay(picture, canvas);
}
} // namespace

void drawPicture(QImage& image, const Picture& picture, const ViewRect& target) {
    drawPictureInBands(image, picture, target, worthBands(picture) ? 2 : 1);
}

void drawPictureInBands(QImage& image, const Picture& picture, const ViewRect& target, int bands) {
    if (image.isNull())
        return;
    uchar* const bits = image.bits(); // detach before the painters start, so they share these pixels
    bands = std::clamp(bands, 1, std::max(1, image.height()));
    if (bands == 1) {
        QPainter painter(&image);
        PainterCanvas canvas(painter, picture.width(), picture.height(), picture.pixelsPerMmX(), target,
                             &image);
        replay(picture, canvas);
        return;
    }
    // Band i has rows [height × i / bands, height × (i + 1) / bands); the first is drawn here.
    const auto bandTop = [&](int i) { return int(std::int64_t{image.height()} * i / bands); };
    std::vector<std::thread> threads;
    std::vector<std::exception_ptr> failures(static_cast<std::size_t>(bands));
    for (int i = 1; i < bands; ++i)
        threads.emplace_back([&, i] {
            try {
                drawBand(image, bits, bandTop(i), bandTop(i + 1) - bandTop(i), picture, target);
            } catch (...) {
                failures[static_cast<std::size_t>(i)] = std::current_exception();
            }
        });
    try {
        drawBand(image, bits, 0, bandTop(1), picture, target);
    } catch (...) {
        failures[0] = std::current_exception();
    }
    for (std::thread& thread : threads)
        thread.join();
    for (const std::exception_ptr& failure : failures)
        if (failure)
            std::rethrow_exception(failure);
}

void drawPicture(QPainter& painter, const Picture& picture, const ViewRect& target) {
    painter.save();
    PainterCanvas canvas(painter, picture.width(), picture.height(), picture.pixelsPerMmX(), target, nullptr);
    replay(picture, canvas);
    painter.restore();
}

} // namespace zelkova::plot
