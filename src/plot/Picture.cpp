// The display list: recording, replay and the text dump.
#include "plot/Picture.h"

#include "text/Cp932.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <numbers>

namespace zelkova::plot {

namespace {
// A picture coordinate held inside the range that the conversions give.
std::int32_t boundedCoordinate(double v) {
    constexpr double kLimit = 1e9;
    if (!(v == v))
        return 0;
    return static_cast<std::int32_t>(std::clamp(v, -kLimit, kLimit));
}
} // namespace

Picture::Picture(std::int32_t width, std::int32_t height, double pixelsPerMmX, double pixelsPerMmY)
    : m_width(width), m_height(height), m_pixelsPerMmX(pixelsPerMmX), m_pixelsPerMmY(pixelsPerMmY) {}

void Picture::addPen(const Pen& pen) {
    m_ops.push_back({OpKind::Pen, static_cast<std::uint32_t>(m_pens.size()), 0, {}});
    m_pens.push_back(pen);
}

void Picture::addBrush(const Brush& brush) {
    m_ops.push_back({OpKind::Brush, static_cast<std::uint32_t>(m_brushes.size()), 0, {}});
    m_brushes.push_back(brush);
}

PictureOp& Picture::newShapeOp(OpKind kind, std::size_t count) {
    // Blocks from 32 KB, doubling up to 2 MB; a larger shape gets a block of its own size.
    constexpr std::size_t kFirstBlock = 4096;
    constexpr std::size_t kLargestBlock = std::size_t{1} << 18;
    if (m_blocks.empty() || m_blocks.back().capacity() - m_blocks.back().size() < count) {
        const std::size_t room =
            m_blocks.empty() ? kFirstBlock : std::min(2 * m_blocks.back().capacity(), kLargestBlock);
        m_blocks.emplace_back().reserve(std::max(room, count));
    }
    m_ops.push_back({kind,
                     static_cast<std::uint32_t>(m_blocks.back().size()),
                     0,
                     {},
                     static_cast<std::uint32_t>(m_blocks.size() - 1)});
    return m_ops.back();
}

void Picture::addLine(Point from, Point to) {
    addLines(std::array<Point, 2>{from, to});
}

void Picture::addLines(std::span<const Point> ends) {
    while (ends.size() >= 2) {
        // The lines join the last Lines op while it has fewer than kLinesPerOp and its block room.
        PictureOp* op = m_ops.empty() ? nullptr : &m_ops.back();
        std::size_t room = 0;
        if (op && op->kind == OpKind::Lines && op->block + 1 == m_blocks.size()) {
            const std::vector<Point>& block = m_blocks.back();
            room = std::min<std::size_t>(2 * kLinesPerOp - op->count, block.capacity() - block.size());
        }
        if (room < 2) {
            op = &newShapeOp(OpKind::Lines, std::min<std::size_t>(2 * kLinesPerOp, ends.size()));
            room = 2 * kLinesPerOp;
        }
        const std::size_t count = std::min(room, ends.size()) & ~std::size_t{1};
        // The bounds take in both ends of every line, as Bounds::include would, here where the
        // lines of a large figure pass by the million.
        Bounds b = op->count == 0 ? Bounds{ends[0].x, ends[0].y, ends[0].x, ends[0].y} : op->bounds;
        for (std::size_t i = 0; i < count; ++i) {
            b.left = std::min(b.left, ends[i].x);
            b.right = std::max(b.right, ends[i].x);
            b.top = std::min(b.top, ends[i].y);
            b.bottom = std::max(b.bottom, ends[i].y);
        }
        op->bounds = b;
        std::vector<Point>& block = m_blocks.back();
        block.insert(block.end(), ends.begin(), ends.begin() + static_cast<std::ptrdiff_t>(count));
        op->count += static_cast<std::uint32_t>(count);
        ends = ends.subspan(count);
    }
}

void Picture::addPolyline(std::span<const Point> points) {
    addShape(OpKind::Polyline, points);
}

void Picture::addPolygon(std::span<const Point> points) {
    addShape(OpKind::Polygon, points);
}

void Picture::addShape(OpKind kind, std::span<const Point> points) {
    PictureOp& op = newShapeOp(kind, points.size());
    op.count = static_cast<std::uint32_t>(points.size());
    for (Point p : points)
        op.bounds.include(p);
    std::vector<Point>& block = m_blocks.back();
    block.insert(block.end(), points.begin(), points.end());
}

void Picture::addText(TextOp text) {
    // The rotated run of cells, as long as the text could be at most: every byte half a cell
    // height wide (a full-width character is narrower than its cell is high), the extra spacing
    // after every byte, and a quarter of a cell around it for ink beyond the cells.
    const double h = text.height;
    const double length = text.text.size() * (h / 2 + std::max(0, text.extraSpacing));
    const double angle = text.escapement * std::numbers::pi / 1800.0;
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    const double margin = h / 4;
    PictureOp op{OpKind::Text, static_cast<std::uint32_t>(m_texts.size()), 0, {}};
    for (const double along : {-margin, length + margin})
        for (const double across : {-margin, h + margin}) {
            // along the baseline (c, −s) and down across the cell (s, c), picture y down
            const double x = text.at.x + along * c + across * s;
            const double y = text.at.y - along * s + across * c;
            op.bounds.include({boundedCoordinate(x), boundedCoordinate(y)});
        }
    m_texts.push_back(std::move(text));
    m_ops.push_back(op);
}

void Picture::addImage(ImageOp image) {
    PictureOp op{OpKind::Image, static_cast<std::uint32_t>(m_images.size()), 0, {}};
    op.bounds.include({image.left, image.top});
    op.bounds.include({image.right, image.bottom});
    m_images.push_back(std::move(image));
    m_ops.push_back(op);
}

void RecordingCanvas::setPen(const Pen& pen) {
    m_pen = pen;
}

void RecordingCanvas::setBrush(const Brush& brush) {
    m_brush = brush;
}

void RecordingCanvas::flushPen() {
    if (!m_penRecorded || !(m_recordedPen == m_pen)) {
        m_picture.addPen(m_pen);
        m_recordedPen = m_pen;
        m_penRecorded = true;
    }
}

void RecordingCanvas::flushBrush() {
    if (!m_brushRecorded || !(m_recordedBrush == m_brush)) {
        m_picture.addBrush(m_brush);
        m_recordedBrush = m_brush;
        m_brushRecorded = true;
    }
}

void RecordingCanvas::line(Point from, Point to) {
    if (!drawsLines(m_pen))
        return;
    flushPen();
    m_picture.addLine(from, to);
}

void RecordingCanvas::polyline(std::span<const Point> points) {
    if (!drawsLines(m_pen) || points.size() < 2)
        return;
    flushPen();
    m_picture.addPolyline(points);
}

void RecordingCanvas::polygon(std::span<const Point> points) {
    if ((!drawsLines(m_pen) && !fills(m_brush, m_pen)) || points.empty())
        return;
    flushPen();
    flushBrush();
    m_picture.addPolygon(points);
}

void RecordingCanvas::text(const TextOp& op) {
    m_picture.addText(op);
}

void RecordingCanvas::image(const ImageOp& op) {
    m_picture.addImage(op);
}

void replay(const Picture& picture, Canvas& canvas) {
    for (const PictureOp& op : picture.ops()) {
        switch (op.kind) {
        case OpKind::Pen:
            canvas.setPen(picture.pen(op));
            break;
        case OpKind::Brush:
            canvas.setBrush(picture.brush(op));
            break;
        case OpKind::Lines:
            if (canvas.mayShow(op.bounds))
                canvas.lines(picture.points(op));
            break;
        case OpKind::Polyline:
            if (canvas.mayShow(op.bounds))
                canvas.polyline(picture.points(op));
            break;
        case OpKind::Polygon:
            if (canvas.mayShow(op.bounds))
                canvas.polygon(picture.points(op));
            break;
        case OpKind::Text:
            if (canvas.mayShow(op.bounds))
                canvas.text(picture.text(op));
            break;
        case OpKind::Image:
            if (canvas.mayShow(op.bounds))
                canvas.image(picture.image(op));
            break;
        }
    }
}

const char* lineStyleName(LineStyle style) {
    switch (style) {
    case LineStyle::Solid:
        return "solid";
    case LineStyle::Dotted:
        return "dotted";
    case LineStyle::Dashed:
        return "dashed";
    case LineStyle::DashDot:
        return "dash-dot";
    case LineStyle::DashDotDot:
        return "dash-dot-dot";
    case LineStyle::Invisible:
        return "invisible";
    }
    return "?";
}

const char* rasterModeName(RasterMode mode) {
    static const char* const kNames[] = {"black",         "white",        "nop",           "not",
                                         "copy",          "not-copy",     "merge-pen-not", "mask-pen-not",
                                         "merge-not-pen", "mask-not-pen", "merge",         "not-merge",
                                         "mask",          "not-mask",     "xor",           "not-xor"};
    const int n = static_cast<int>(mode);
    return n >= 1 && n <= 16 ? kNames[n - 1] : "?";
}

const char* fillPatternName(FillPattern pattern) {
    switch (pattern) {
    case FillPattern::Hollow:
        return "hollow";
    case FillPattern::Solid:
        return "solid";
    case FillPattern::BackwardDiagonal:
        return "backward-diagonal";
    case FillPattern::ForwardDiagonal:
        return "forward-diagonal";
    case FillPattern::Cross:
        return "cross";
    case FillPattern::DiagonalCross:
        return "diagonal-cross";
    case FillPattern::Horizontal:
        return "horizontal";
    case FillPattern::Vertical:
        return "vertical";
    }
    return "?";
}

namespace {
std::string colourText(Colour c) {
    if (c == kNoColour)
        return "none";
    char text[16];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", c.red(), c.green(), c.blue());
    return text;
}

void appendPoints(std::string& out, std::span<const Point> points) {
    out += std::to_string(points.size());
    for (Point p : points) {
        out += ' ';
        out += std::to_string(p.x);
        out += ' ';
        out += std::to_string(p.y);
    }
}
} // namespace

std::string dumpPicture(const Picture& picture) {
    std::string out =
        "picture " + std::to_string(picture.width()) + " " + std::to_string(picture.height()) + "\n";
    const Extents& e = picture.drawnExtents();
    if (e.anyDrawn())
        out += "extents " + std::to_string(e.minX) + " " + std::to_string(e.maxX) + " " +
               std::to_string(e.minY) + " " + std::to_string(e.maxY) + "\n";
    else
        out += "extents none\n";
    for (const PictureOp& op : picture.ops()) {
        switch (op.kind) {
        case OpKind::Pen: {
            const Pen& p = picture.pen(op);
            out += "pen " + colourText(p.colour) + " " + std::to_string(p.width) + " " +
                   lineStyleName(p.style) + " " + rasterModeName(p.mode) + "\n";
            break;
        }
        case OpKind::Brush: {
            const Brush& b = picture.brush(op);
            out += "brush " + colourText(b.colour) + " " + fillPatternName(b.pattern) + "\n";
            break;
        }
        case OpKind::Lines: {
            const auto points = picture.points(op);
            for (std::size_t i = 0; i + 1 < points.size(); i += 2)
                out += "line " + std::to_string(points[i].x) + " " + std::to_string(points[i].y) + " " +
                       std::to_string(points[i + 1].x) + " " + std::to_string(points[i + 1].y) + "\n";
            break;
        }
        case OpKind::Polyline:
            out += "polyline ";
            appendPoints(out, picture.points(op));
            out += "\n";
            break;
        case OpKind::Polygon:
            out += "polygon ";
            appendPoints(out, picture.points(op));
            out += "\n";
            break;
        case OpKind::Text: {
            const TextOp& t = picture.text(op);
            out += "text " + std::to_string(t.at.x) + " " + std::to_string(t.at.y) + " " +
                   std::to_string(t.height) + " " + std::to_string(t.escapement) + " " +
                   std::to_string(t.extraSpacing) + " " +
                   (t.face == TextFace::Vertical ? "vertical " : "horizontal ") + text::cp932ToUtf8(t.text) +
                   "\n";
            break;
        }
        case OpKind::Image: {
            const ImageOp& i = picture.image(op);
            const std::int32_t width = i.bitmap ? i.bitmap->width : 0;
            const std::int32_t height = i.bitmap ? i.bitmap->height : 0;
            const bool twoColour = i.bitmap && i.bitmap->twoColour;
            out += "image " + std::to_string(i.left) + " " + std::to_string(i.top) + " " +
                   std::to_string(i.right) + " " + std::to_string(i.bottom) + " " + std::to_string(width) +
                   " " + std::to_string(height) + (twoColour ? " two-colour\n" : " colour\n");
            break;
        }
        }
    }
    return out;
}

} // namespace zelkova::plot
