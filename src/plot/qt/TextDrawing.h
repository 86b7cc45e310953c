// Drawing texts black and transparent, in the frame of picture pixels stretched onto a device.
//
// On raster images each glyph is rasterised once per size and angle into a mask of whole pixels
// (ink where a pixel is covered enough: half at large sizes, less at small ones, so that thin
// strokes never vanish) and then written straight into the pixels at its rounded position, as
// the line stepper writes lines: QPainter's glyph runs cost about 10 µs a text, too slow for
// figures of tens of thousands of texts at every redisplay. Other devices (printer, SVG, PDF) get
// the glyph outlines as filled paths, exact at any resolution.
#pragma once

#include "plot/Canvas.h"

#include <QPainter>
#include <QRect>

#include <cstdint>

namespace zelkova::plot {

// Where picture pixels land on the device: device = offset + picture × scale.
struct DeviceMapping {
    double scaleX = 1;
    double scaleY = 1;
    double offsetX = 0;
    double offsetY = 0;
};

// Writes `op` in black into `bits` (32-bit pixels, `stride` pixels a row), touching only `clip`.
// Glyphs too large for a mask are filled through `painter`, whose device the pixels are.
void drawTextOnRaster(const TextOp& op, const DeviceMapping& mapping, std::uint32_t* bits, qsizetype stride,
                      const QRect& clip, QPainter& painter);

// Draws `op` in black through `painter` as filled glyph outlines (any device).
void drawTextAsOutlines(const TextOp& op, const DeviceMapping& mapping, QPainter& painter);

} // namespace zelkova::plot
