// A decoded picture that a plot file places on a figure: its size in pixels and its pixels, rows
// from the top, each pixel 0xFFRRGGBB. Shared between the retained picture and every replay, never
// copied per replay. And the loader that decodes image files into bitmaps, which the figure's
// reader is handed by whoever can decode them.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace zelkova::plot {

// Pixels, rows from the top, each 0xFFRRGGBB.
struct PixelPlane {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<std::uint32_t> pixels; // width × height
};

struct Bitmap {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<std::uint32_t> pixels; // width × height, the full resolution (printing, zooming in)
    bool twoColour = false;            // reduced to black and white
    // Smaller copies for views that show the bitmap small, each half the one before (each 2 × 2
    // block averaged), down to a few pixels: a redisplay draws from the smallest copy that is still
    // at least as large as its target instead of resampling the full resolution every time.
    std::vector<PixelPlane> reductions;

    // The plane to stretch into a target of `targetWidth` × `targetHeight` device pixels: the
    // smallest reduction at least that large, or the full resolution.
    const std::uint32_t* planeFor(double targetWidth, double targetHeight, std::int32_t& width,
                                  std::int32_t& height) const;
};

// Fills `bitmap.reductions` from its full resolution; a bitmap of at most 16 pixels a side has none.
void makeReductions(Bitmap& bitmap);

// The two kinds of image file a plot file may reference.
enum class ImageFormat : std::uint8_t { Bmp, Jpeg };

struct DecodedImage {
    std::shared_ptr<const Bitmap> bitmap;
    bool greyscale = false; // a greyscale JPEG, reduced to two colours
};

class ImageLoader {
public:
    virtual ~ImageLoader();
    // Decodes the file at `path` (a native name). Throws text::Failure when the file cannot be
    // read or is not a valid image of that format.
    virtual DecodedImage load(const std::string& path, ImageFormat format) = 0;
};

} // namespace zelkova::plot
