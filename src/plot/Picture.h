// The retained picture of one figure: a display list of drawing operations in picture pixels,
// recorded once while the figure is read and replayed at every redisplay, print and copy onto any
// canvas, stretched into any rectangle.
#pragma once

#include "plot/Canvas.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace zelkova::plot {

// Where a picture's whole frame is stretched: left, top, right, bottom in device pixels (the
// frame's width is right − left).
struct ViewRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
    friend constexpr bool operator==(const ViewRect&, const ViewRect&) = default;
};

// The smallest and largest picture coordinates that the conversions of a figure reached.
struct Extents {
    static constexpr std::int32_t kSentinel = 100000000;
    std::int32_t minX = kSentinel;
    std::int32_t maxX = -kSentinel;
    std::int32_t minY = kSentinel;
    std::int32_t maxY = -kSentinel;
    // Something has been placed on the picture: every one of the four has moved.
    constexpr bool anyDrawn() const {
        return minX < kSentinel && maxX > -kSentinel && minY < kSentinel && maxY > -kSentinel;
    }
    friend constexpr bool operator==(const Extents&, const Extents&) = default;
};

enum class OpKind : std::uint8_t { Pen, Brush, Lines, Polyline, Polygon, Text, Image };

// One operation. Pen and Brush ops select entry `first` of the picture's pens or brushes; the
// shape ops draw `count` points from `first` on in the picture's point block `block` (Lines: pairs
// of end points), inside `bounds`; Text and Image ops draw entry `first` of the picture's texts or
// images, inside `bounds`.
struct PictureOp {
    OpKind kind = OpKind::Lines;
    std::uint32_t first = 0;
    std::uint32_t count = 0;
    Bounds bounds;
    std::uint32_t block = 0;
};

class Picture {
public:
    Picture() = default;
    Picture(std::int32_t width, std::int32_t height, double pixelsPerMmX, double pixelsPerMmY);

    // The frame in picture pixels, and picture pixels per paper millimetre.
    std::int32_t width() const { return m_width; }
    std::int32_t height() const { return m_height; }
    double pixelsPerMmX() const { return m_pixelsPerMmX; }
    double pixelsPerMmY() const { return m_pixelsPerMmY; }

    const Extents& drawnExtents() const { return m_extents; }
    void setDrawnExtents(const Extents& extents) { m_extents = extents; }

    const std::vector<PictureOp>& ops() const { return m_ops; }
    std::span<const Point> points(const PictureOp& op) const {
        return std::span<const Point>(m_blocks[op.block]).subspan(op.first, op.count);
    }
    const Pen& pen(const PictureOp& op) const { return m_pens[op.first]; }
    const Brush& brush(const PictureOp& op) const { return m_brushes[op.first]; }
    const TextOp& text(const PictureOp& op) const { return m_texts[op.first]; }
    const ImageOp& image(const PictureOp& op) const { return m_images[op.first]; }
    bool empty() const { return m_ops.empty(); }

    // Recording; consecutive lines join one Lines op of at most kLinesPerOp lines, so that a
    // replay can skip what lies outside the view a batch at a time.
    static constexpr std::uint32_t kLinesPerOp = 1024;
    void addPen(const Pen& pen);
    void addBrush(const Brush& brush);
    void addLine(Point from, Point to);
    // Lines from point 2 i to point 2 i + 1 of `ends`, as addLine() records them one by one.
    void addLines(std::span<const Point> ends);
    void addPolyline(std::span<const Point> points);
    void addPolygon(std::span<const Point> points);
    void addText(TextOp text);
    void addImage(ImageOp image);

private:
    void addShape(OpKind kind, std::span<const Point> points);
    // A shape op of `count` points to come, at the end of the last point block, or of a new one
    // when that has no room for them.
    PictureOp& newShapeOp(OpKind kind, std::size_t count);

    std::int32_t m_width = 0;
    std::int32_t m_height = 0;
    double m_pixelsPerMmX = 0;
    double m_pixelsPerMmY = 0;
    Extents m_extents;
    std::vector<PictureOp> m_ops;
    // The points, in blocks that are never grown past the room they were given: a large figure's
    // points are never copied to a larger block, nor held twice while they are.
    std::vector<std::vector<Point>> m_blocks;
    std::vector<Pen> m_pens;
    std::vector<Brush> m_brushes;
    std::vector<TextOp> m_texts;
    std::vector<ImageOp> m_images;
};

// Records onto a picture. Selecting the pen or brush already in force records nothing, and so do
// shapes that cannot show (no colour, an invisible pen, no operation). Texts and images are
// recorded whatever the pen: they are black, or their own pixels, in every raster mode.
class RecordingCanvas final : public Canvas {
public:
    explicit RecordingCanvas(Picture& picture) : m_picture(picture) {}
    void setPen(const Pen& pen) override;
    void setBrush(const Brush& brush) override;
    void line(Point from, Point to) override;
    void polyline(std::span<const Point> points) override;
    void polygon(std::span<const Point> points) override;
    void text(const TextOp& op) override;
    void image(const ImageOp& op) override;

    // A run of lines with the pen set last: true when they show, the pen then recorded once for all
    // of them, which addLine() records as line() would; false when nothing of them would be
    // recorded.
    bool beginLines() {
        if (!drawsLines(m_pen))
            return false;
        flushPen();
        return true;
    }
    void addLine(Point from, Point to) { m_picture.addLine(from, to); }
    void addLines(std::span<const Point> ends) { m_picture.addLines(ends); }

private:
    void flushPen();
    void flushBrush();

    Picture& m_picture;
    Pen m_pen;
    Brush m_brush;
    bool m_penRecorded = false;
    bool m_brushRecorded = false;
    Pen m_recordedPen;
    Brush m_recordedBrush;
};

// Plays the picture's operations onto `canvas` in picture pixels, skipping the shapes that the
// canvas says cannot show.
void replay(const Picture& picture, Canvas& canvas);

// The operations as text, one per line (the batch tool's --dump):
//   picture W H            the frame in picture pixels
//   extents MINX MAXX MINY MAXY | extents none
//   pen COLOUR WIDTH STYLE MODE
//   brush COLOUR PATTERN
//   line X1 Y1 X2 Y2
//   polyline N X1 Y1 ... XN YN
//   polygon N X1 Y1 ... XN YN
//   text X Y HEIGHT ESCAPEMENT EXTRA FACE TEXT
//   image LEFT TOP RIGHT BOTTOM WIDTH HEIGHT KIND
// COLOUR is #rrggbb or none; FACE is horizontal or vertical; TEXT is the rest of the line in
// UTF-8; KIND is colour or two-colour.
std::string dumpPicture(const Picture& picture);

const char* lineStyleName(LineStyle style);
const char* rasterModeName(RasterMode mode);
const char* fillPatternName(FillPattern pattern);

} // namespace zelkova::plot
