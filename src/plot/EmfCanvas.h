// Enhanced metafiles (EMF) of a picture, as the clipboard's metafile copy and the metafile saves
// write them: GDI's own records, so that spreadsheets, word processors and drawing programs take
// the figure as vector drawing.
//
// The records are built by libUEMF (the EMF writer of a well-known vector drawing program), which
// knows their layouts and sizes; this file only decides which records a picture needs. The
// picture is recorded in its own pixels under a world transform that stretches its frame into the
// target rectangle, so the metafile keeps the picture's full detail at any size it is played at.
#pragma once

#include "plot/Canvas.h"
#include "plot/Output.h"
#include "plot/Picture.h"

#include <cstdint>
#include <memory>
#include <string>

namespace zelkova::plot {

// The reference device of the metafiles: a screen of 96 pixels per inch.
inline constexpr double kMetafileDpi = 96;

class EmfCanvas final : public Canvas {
public:
    // A metafile of frame.width × frame.height pixels of the reference device (its frame in
    // hundredths of a millimetre follows from `dpi`), on which a picture frame of pictureWidth ×
    // pictureHeight picture pixels is stretched into frame.target. `pixelsPerMm` (picture pixels
    // per paper millimetre) sizes the dash patterns of wide pens.
    EmfCanvas(const OutputFrame& frame, std::int32_t pictureWidth, std::int32_t pictureHeight,
              double pixelsPerMm, double dpi = kMetafileDpi);
    ~EmfCanvas() override;
    EmfCanvas(const EmfCanvas&) = delete;
    EmfCanvas& operator=(const EmfCanvas&) = delete;

    void setPen(const Pen& pen) override;
    void setBrush(const Brush& brush) override;
    void line(Point from, Point to) override;
    void lines(std::span<const Point> endPoints) override;
    void polyline(std::span<const Point> points) override;
    void polygon(std::span<const Point> points) override;
    void text(const TextOp& op) override;
    void image(const ImageOp& op) override;

    // Ends the recording and hands back the metafile's bytes; the canvas takes nothing after it.
    std::string finish();

private:
    struct State;
    std::unique_ptr<State> m_state;
};

// The picture (or, without one, nothing) recorded into a metafile of `frame`: every operation of
// the picture, also those outside the frame, which the metafile's frame leaves out of sight.
std::string metafileOf(const Picture* picture, const OutputFrame& frame, double dpi = kMetafileDpi);

} // namespace zelkova::plot
