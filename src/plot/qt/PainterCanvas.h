// Drawing pictures through QPainter, stretched into any rectangle of any device: the screen's view
// image, bitmaps, printers, SVG and PDF.
//
// On raster images the raster modes are honoured and solid lines are drawn by code of our own
// straight into the image's pixels: thin ones by a line stepper (QPainter's cosmetic lines cost
// about 0.4 µs each, too slow for a figure of a million segments at every redisplay), wide ones
// row by row as the pixels within half the width of the segment (QPainter strokes each as a path
// with curved ends, some 2 µs a line, too slow when a zoom shows tens of thousands of them). Only
// the lines that can reach the device are drawn or handed to QPainter, and a thin line whose end
// points round to the same pixel draws nothing (its end point is left out), so a redisplay costs
// about one mapping per line however far the view is zoomed in or out, and stays exact to the
// pixel. Everything else (styled lines, fills, other devices) goes through QPainter. On devices
// without raster operations each mode draws the colour it would give on white paper ("no
// operation" draws nothing), so a print or an SVG shows what the screen shows where the figure
// lies on the white background.
#pragma once

#include "plot/Canvas.h"
#include "plot/Picture.h"

#include <QImage>
#include <QLineF>
#include <QPainter>
#include <QPointF>
#include <QRect>

#include <vector>

namespace zelkova::plot {

class PainterCanvas final : public Canvas {
public:
    // Draws picture pixels of a frame `pictureWidth` × `pictureHeight` so that the frame fills
    // `target` on the painter's device. `pixelsPerMm` sizes the dash patterns. When `image` is the
    // painter's device, raster modes and the fast lines apply to it.
    PainterCanvas(QPainter& painter, std::int32_t pictureWidth, std::int32_t pictureHeight,
                  double pixelsPerMm, const ViewRect& target, QImage* image);

    void setPen(const Pen& pen) override;
    void setBrush(const Brush& brush) override;
    void line(Point from, Point to) override;
    void lines(std::span<const Point> endPoints) override;
    void polyline(std::span<const Point> points) override;
    void polygon(std::span<const Point> points) override;
    void text(const TextOp& op) override;
    void image(const ImageOp& op) override;
    bool mayShow(const Bounds& bounds) const override;

private:
    QPointF map(Point p) const { return {m_offsetX + p.x * m_scaleX, m_offsetY + p.y * m_scaleY}; }
    double deviceWidth() const;
    bool fastLines() const;
    // Lines from point i to point i + 1 for i = 0, step, 2 step, ...
    void thinLines(std::span<const Point> points, std::size_t step);
    // Wide solid lines with round ends, straight into the image's pixels, the same way.
    bool fastWideLines() const;
    void wideLines(std::span<const Point> points, std::size_t step);
    // Prepares the painter for lines (no fill) or for a filled polygon; false when nothing shows.
    bool preparePainter(bool fill);

    QPainter& m_painter;
    double m_scaleX;
    double m_scaleY;
    double m_offsetX;
    double m_offsetY;
    double m_pixelsPerMm;
    QImage* m_image;
    std::uint32_t* m_bits = nullptr;
    qsizetype m_stride = 0; // in pixels
    QRect m_clip;           // device pixels that may be touched
    Pen m_pen;
    Brush m_brush;
    std::vector<QLineF> m_lineBuffer;
    std::vector<QPointF> m_pointBuffer;
};

// Draws `picture` stretched into `target` on `image` (raster modes honoured). The caller clears the
// image first if it wants to. A large picture of lines and fills is drawn in two bands of rows at
// once, on two threads.
void drawPicture(QImage& image, const Picture& picture, const ViewRect& target);

// The same in `bands` bands of rows, all but the first each drawn on a thread of its own. Every
// band is drawn with the whole image's coordinates and cut off at its rows, so the bands together
// are the pixels that one drawing gives.
void drawPictureInBands(QImage& image, const Picture& picture, const ViewRect& target, int bands);

// Draws `picture` stretched into `target` through `painter` on any device (no raster modes).
void drawPicture(QPainter& painter, const Picture& picture, const ViewRect& target);

} // namespace zelkova::plot
