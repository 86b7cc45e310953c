// The image files that plot files place on figures: BMP through QImage, JPEG through libjpeg. A
// greyscale JPEG is reduced to black and white; every bitmap gets the smaller copies that a
// redisplay draws from, so that only printing and zooming in touch the full resolution.
#pragma once

#include "plot/Bitmap.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace zelkova::image {

// Black where a pixel is darker than middle grey (luminance 0.299 R + 0.587 G + 0.114 B below
// 128), white elsewhere. A fixed threshold keeps the lines of a scanned drawing, the usual
// greyscale picture on a figure, sharp and whole; dithering would break them into dots.
void reduceToTwoColours(plot::Bitmap& bitmap);

// "画像ファイル %s を読み込めません": a file that is not a valid image of its kind.
std::string unreadableImageText(std::string_view path);

// Decodes an image file's bytes into the bitmap a picture keeps (reductions made). `path` names
// the file in the failure. Throws text::Failure.
plot::DecodedImage decodeImage(std::span<const std::uint8_t> bytes, plot::ImageFormat format,
                               std::string_view path);

// The image loader of the viewer window and the batch tool.
class ImageFiles final : public plot::ImageLoader {
public:
    plot::DecodedImage load(const std::string& path, plot::ImageFormat format) override;
};

} // namespace zelkova::image
