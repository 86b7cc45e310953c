// The figure leaving the program: as an image, SVG, PDF, BMP or EMF of an output frame (the view,
// a selection, the whole figure), as the clipboard contents of the two copy commands, and printed.
// The viewer window and the batch tool's render command both go through here, so that a file
// written by the one is the drawing the other puts on the clipboard or the printer.
#pragma once

#include "plot/Output.h"
#include "plot/Picture.h"

#include <QByteArray>
#include <QImage>

#include <memory>
#include <optional>

class QMimeData;
class QPrinter;

namespace zelkova::plot {

enum class ExportFormat { Png, Bmp, Svg, Pdf, Emf };

// The clipboard formats of the copies.
inline constexpr const char* kPngMime = "image/png";
inline constexpr const char* kBmpMime = "image/bmp";
inline constexpr const char* kSvgMime = "image/svg+xml";
inline constexpr const char* kEmfMime = "image/x-emf";

// A white image of the frame with the picture drawn on it, raster modes honoured; a null image
// when the frame has no area or is larger than the largest bitmap.
QImage frameImage(const Picture* picture, const OutputFrame& frame);

// The frame as a file of `format`: images as frameImage() draws them, SVG and PDF on a white page,
// EMF as the metafile copy records it. Nothing when the frame has no area or, for PNG and BMP, is
// larger than the largest bitmap.
std::optional<QByteArray> exportFrame(const Picture* picture, const OutputFrame& frame, ExportFormat format);

// What the bitmap copy puts on the clipboard: the image (PNG and BMP). Null without area.
std::unique_ptr<QMimeData> bitmapCopy(const Picture* picture, const OutputFrame& frame);

// What the metafile copy puts on the clipboard: SVG and EMF, each framed to the selection, and a
// PNG for programs that take neither. Null without area.
std::unique_ptr<QMimeData> metafileCopy(const Picture* picture, const OutputFrame& frame);

// The printer's orientation, read from its page layout.
PageOrientation orientationOf(const QPrinter& printer);

// The view rectangle on the printer's printable page (its pixels), for a view image of
// viewWidth × viewHeight.
ViewRect printedRectOn(const QPrinter& printer, const ViewRect& view, std::int32_t viewWidth,
                       std::int32_t viewHeight);

// One job of one page on `printer` (ready for a job: a PDF printer has its file name), the picture
// stretched into `printed` and cut off at the printable page. A picture whose pens combine with
// what lies under them is drawn into an image at the printer's resolution (at most
// kLargestRasterDpi), one band of the page at a time, and the image is printed; any other picture
// is printed as vector drawing. A PDF is written beside its target and renamed over it once
// complete. Throws text::Failure when the job cannot be started or finished.
void printPicture(QPrinter& printer, const Picture* picture, const ViewRect& printed);

} // namespace zelkova::plot
