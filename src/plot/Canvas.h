// The drawing surface that figures are drawn onto, in picture pixels (origin top-left, y down):
// pens, brushes, raster modes and the line and fill primitives, without any toolkit.
#pragma once

#include "plot/Bitmap.h"
#include "plot/Colour.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace zelkova::plot {

// A point in picture pixels.
struct Point {
    std::int32_t x = 0;
    std::int32_t y = 0;
    friend constexpr bool operator==(Point, Point) = default;
};

// The smallest rectangle holding a set of points, edges included.
struct Bounds {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = -1;
    std::int32_t bottom = -1;
    constexpr bool empty() const { return right < left || bottom < top; }
    void include(Point p);
    friend constexpr bool operator==(const Bounds&, const Bounds&) = default;
};

enum class LineStyle : std::uint8_t { Solid, Dotted, Dashed, DashDot, DashDotDot, Invisible };

// How a pen or a fill combines with what is already drawn, in the order of the plot file's numbers
// 1 to 16 (the binary raster operations of the original platform).
enum class RasterMode : std::uint8_t {
    Black = 1,
    White,
    Nop,
    Not,
    CopyPen,
    NotCopyPen,
    MergePenNot,
    MaskPenNot,
    MergeNotPen,
    MaskNotPen,
    MergePen,
    NotMergePen,
    MaskPen,
    NotMaskPen,
    XorPen,
    NotXorPen,
};

enum class FillPattern : std::uint8_t {
    Hollow,
    Solid,
    BackwardDiagonal,
    ForwardDiagonal,
    Cross,
    DiagonalCross,
    Horizontal,
    Vertical,
};

// Width 0 is the thinnest line the device can draw; any other width is in picture pixels. The
// raster mode applies to the fills drawn with the pen too.
struct Pen {
    Colour colour{0};
    std::int32_t width = 0;
    LineStyle style = LineStyle::Solid;
    RasterMode mode = RasterMode::CopyPen;
    friend constexpr bool operator==(const Pen&, const Pen&) = default;
};

struct Brush {
    Colour colour = kNoColour;
    FillPattern pattern = FillPattern::Hollow;
    friend constexpr bool operator==(const Brush&, const Brush&) = default;
};

// A pen draws nothing when it has no colour, is invisible, or leaves the destination as it is.
constexpr bool drawsLines(const Pen& pen) {
    return pen.colour != kNoColour && pen.style != LineStyle::Invisible && pen.mode != RasterMode::Nop;
}

// A brush fills nothing when it is hollow or has no colour (or the raster mode is "no operation").
constexpr bool fills(const Brush& brush, const Pen& pen) {
    return brush.colour != kNoColour && brush.pattern != FillPattern::Hollow && pen.mode != RasterMode::Nop;
}

// The face of a text: the fixed-pitch Japanese face, or its vertical-writing form.
enum class TextFace : std::uint8_t { Horizontal, Vertical };

// A text as the figure writes it: code page 932 bytes written from `at`, the top-left corner of the
// first character cell in the rotated text, in a cell `height` picture pixels high (the positive
// cell height), turned `escapement` tenths of a degree counter-clockwise, with `extraSpacing` picture
// pixels after every character. Texts are black and transparent.
struct TextOp {
    std::string text;
    Point at;
    std::int32_t height = 0;
    std::int32_t escapement = 0;
    std::int32_t extraSpacing = 0;
    TextFace face = TextFace::Horizontal;
};

// A bitmap stretched into a rectangle of picture pixels (left, top inclusive; right, bottom the
// edges after the last pixel, as a stretch target is given).
struct ImageOp {
    std::shared_ptr<const Bitmap> bitmap;
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
};

class Canvas {
public:
    virtual ~Canvas();
    virtual void setPen(const Pen& pen) = 0;
    virtual void setBrush(const Brush& brush) = 0;
    // A line from `from` to `to` with the pen; the end point itself is not drawn.
    virtual void line(Point from, Point to) = 0;
    // Separate lines, two points each: a batch of line() calls.
    virtual void lines(std::span<const Point> endPoints);
    // Connected lines through the points, with the pen.
    virtual void polyline(std::span<const Point> points) = 0;
    // A closed polygon (alternate filling) filled with the brush and outlined with the pen.
    virtual void polygon(std::span<const Point> points) = 0;
    // A text and an image; canvases that cannot show them draw nothing.
    virtual void text(const TextOp& op);
    virtual void image(const ImageOp& op);
    // False when nothing drawn inside `bounds` can be seen on this canvas; a replay skips it.
    virtual bool mayShow(const Bounds& bounds) const;
};

} // namespace zelkova::plot
