// PNG files of drawn images, for the render command's output and the clipboard's PNG.
//
// The image data are deflated by libdeflate rather than written through libpng (which Qt's own PNG
// writer uses): libpng drives zlib, whose fastest level takes about 10 ms on a 688 × 469 view of a
// dense drawing, and libpng tries every row filter on every row besides (longer still on an image
// that is almost all white); libdeflate's fastest level takes a third of that. libdeflate deflates
// a whole buffer at once, so an image larger than a few megapixels (a whole figure at its own
// size) goes through zlib's stream a band of rows at a time instead, which keeps the memory to
// the image's own. The file around the data (the signature, the header, the resolution, the data
// chunks and the end chunk, each with its CRC) is a few fixed records, written here.
#pragma once

#include <QByteArray>
#include <QImage>

namespace zelkova::image {

// The image as a PNG file: 8-bit RGB, or RGBA when the image has an alpha channel, rows unfiltered,
// with the image's resolution when it has one. Empty for a null image or when deflating fails.
QByteArray pngOf(const QImage& image);

} // namespace zelkova::image
