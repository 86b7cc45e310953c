// JPEG decoding through libjpeg(-turbo), used directly rather than through Qt's image plugin so
// that the decoder says whether an image is greyscale, decodes straight into the picture's pixel
// layout, and fails through an error manager of our own: libjpeg's default handler ends the whole
// program, ours stops the one decode and reports it.
#pragma once

#include "plot/Bitmap.h"

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>

namespace zelkova::image {

// A JPEG that cannot be decoded; what() is libjpeg's own (English) reason.
class JpegError : public std::runtime_error {
public:
    explicit JpegError(const std::string& reason) : std::runtime_error(reason) {}
};

struct DecodedJpeg {
    plot::Bitmap bitmap; // 0xFFRRGGBB, rows from the top; no reductions yet
    bool greyscale = false;
};

// The largest image decoded, in pixels (a 64-megapixel bitmap takes 256 MB).
inline constexpr std::int64_t kLargestImagePixels = std::int64_t{64} * 1024 * 1024;

// Decodes a whole JPEG file's bytes. Greyscale images come back as grey pixels with `greyscale`
// set. A file that ends before its image data does is an error, as is a bitmap larger than
// kLargestImagePixels. Throws JpegError.
DecodedJpeg decodeJpeg(std::span<const std::uint8_t> bytes);

} // namespace zelkova::image
