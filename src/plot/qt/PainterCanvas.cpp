// The QPainter canvas and the raster line stepper.
#include "plot/qt/PainterCanvas.h"

#include "plot/ColourNames.h"
#include "plot/DashPattern.h"
#include "plot/RasterModes.h"

#include <QPaintDevice>
#include <QPen>
#include <QPolygonF>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>

namespace zelkova::plot {

namespace {
// Device coordinates are held inside ±2^29 so that the stepper's arithmetic never overflows.
constexpr double kDeviceLimit = 536870912.0;
// Lines thinner than this on the device are drawn one pixel wide.
constexpr double kThinLimit = 1.5;

// To the nearest pixel, halves to even: adding and taking away 1.5 × 2^52 leaves the value rounded
// in the default rounding mode, without a call into the maths library (a redisplay rounds four
// times per line).
std::int64_t devicePixel(double v) {
    if (!(v == v))
        return 0;
    constexpr double kRounder = 6755399441055744.0;
    const double shifted = std::clamp(v, -kDeviceLimit, kDeviceLimit) + kRounder;
    return static_cast<std::int64_t>(shifted - kRounder);
}

constexpr std::uint32_t rgbOf(Colour c) {
    return static_cast<std::uint32_t>(c.red()) << 16 | static_cast<std::uint32_t>(c.green()) << 8 |
           static_cast<std::uint32_t>(c.blue());
}

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
        const std::int64_t numerator = 2 * first * minor + major;
        q = numerator / denominator;
        r = numerator % denominator;
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

using StepFunction = void (*)(std::uint32_t*, qsizetype, const QRect&, std::int64_t, std::int64_t,
                              std::int64_t, std::int64_t, std::uint32_t);

StepFunction stepperFor(RasterMode mode) {
    switch (mode) {
    case RasterMode::Black:
        return stepLine<RasterMode::Black>;
    case RasterMode::White:
        return stepLine<RasterMode::White>;
    case RasterMode::Nop:
        return stepLine<RasterMode::Nop>;
    case RasterMode::Not:
        return stepLine<RasterMode::Not>;
    case RasterMode::CopyPen:
        return stepLine<RasterMode::CopyPen>;
    case RasterMode::NotCopyPen:
        return stepLine<RasterMode::NotCopyPen>;
    case RasterMode::MergePenNot:
        return stepLine<RasterMode::MergePenNot>;
    case RasterMode::MaskPenNot:
        return stepLine<RasterMode::MaskPenNot>;
    case RasterMode::MergeNotPen:
        return stepLine<RasterMode::MergeNotPen>;
    case RasterMode::MaskNotPen:
        return stepLine<RasterMode::MaskNotPen>;
    case RasterMode::MergePen:
        return stepLine<RasterMode::MergePen>;
    case RasterMode::NotMergePen:
        return stepLine<RasterMode::NotMergePen>;
    case RasterMode::MaskPen:
        return stepLine<RasterMode::MaskPen>;
    case RasterMode::NotMaskPen:
        return stepLine<RasterMode::NotMaskPen>;
    case RasterMode::XorPen:
        return stepLine<RasterMode::XorPen>;
    case RasterMode::NotXorPen:
        return stepLine<RasterMode::NotXorPen>;
    }
    return stepLine<RasterMode::CopyPen>;
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
    m_scaleX = pictureWidth > 0 ? double(target.right - target.left) / pictureWidth : 0.0;
    m_scaleY = pictureHeight > 0 ? double(target.bottom - target.top) / pictureHeight : 0.0;
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
    const StepFunction stepper = stepperFor(m_pen.mode);
    const std::uint32_t colour = rgbOf(drawableColour(m_pen.colour));
    for (std::size_t i = 0; i + 1 < points.size(); i += step) {
        const QPointF a = map(points[i]);
        const QPointF b = map(points[i + 1]);
        stepper(m_bits, m_stride, m_clip, devicePixel(a.x()), devicePixel(a.y()), devicePixel(b.x()),
                devicePixel(b.y()), colour);
    }
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
    if (!preparePainter(false))
        return;
    m_lineBuffer.clear();
    for (std::size_t i = 0; i + 1 < endPoints.size(); i += 2)
        m_lineBuffer.emplace_back(map(endPoints[i]), map(endPoints[i + 1]));
    m_painter.drawLines(m_lineBuffer.data(), static_cast<int>(m_lineBuffer.size()));
}

void PainterCanvas::polyline(std::span<const Point> points) {
    if (points.size() < 2)
        return;
    if (fastLines()) {
        thinLines(points, 1);
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

void drawPicture(QImage& image, const Picture& picture, const ViewRect& target) {
    if (image.isNull())
        return;
    image.bits(); // detach before the painter starts, so the stepper writes into the painted pixels
    QPainter painter(&image);
    PainterCanvas canvas(painter, picture.width(), picture.height(), picture.pixelsPerMmX(), target, &image);
    replay(picture, canvas);
}

void drawPicture(QPainter& painter, const Picture& picture, const ViewRect& target) {
    painter.save();
    PainterCanvas canvas(painter, picture.width(), picture.height(), picture.pixelsPerMmX(), target, nullptr);
    replay(picture, canvas);
    painter.restore();
}

} // namespace zelkova::plot
