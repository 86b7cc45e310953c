// libjpeg with our own error manager. libjpeg reports a fatal error by calling error_exit, which
// must not return; ours formats the message and jumps back (longjmp) to the step that started the
// call. Each step that calls into libjpeg sets its own jump point and holds nothing but plain data,
// so no C++ object is skipped or left half-changed by the jump; the caller owns every buffer.
#include "image/JpegDecoder.h"

#include <bit>
#include <csetjmp>
#include <cstdio>
#include <vector>

extern "C" {
#include <jerror.h>
#include <jpeglib.h>
}

namespace zelkova::image {

namespace {

struct ErrorManager {
    jpeg_error_mgr base; // first, so that libjpeg's pointer to it is a pointer to the whole
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
    bool endedEarly; // the data ended before the image did
};

ErrorManager& errorsOf(j_common_ptr info) {
    return *reinterpret_cast<ErrorManager*>(info->err);
}

[[noreturn]] void errorExit(j_common_ptr info) {
    ErrorManager& errors = errorsOf(info);
    (*info->err->format_message)(info, errors.message);
    std::longjmp(errors.jump, 1);
}

// Warnings and trace messages are never printed. A warning about corrupt data still gives an
// image (every viewer shows such files), but a file that ends early has lost part of its picture.
void emitMessage(j_common_ptr info, int level) {
    if (level >= 0)
        return;
    ErrorManager& errors = errorsOf(info);
    ++info->err->num_warnings;
    if (info->err->msg_code == JWRN_JPEG_EOF && !errors.endedEarly) {
        errors.endedEarly = true;
        (*info->err->format_message)(info, errors.message);
    }
}

void outputMessage(j_common_ptr) {}

// The pixel layout of the picture's bitmaps (0xFFRRGGBB in a 32-bit word) as libjpeg names it.
constexpr J_COLOR_SPACE kWordOrder = std::endian::native == std::endian::little ? JCS_EXT_BGRA : JCS_EXT_ARGB;

bool create(jpeg_decompress_struct& info, ErrorManager& errors) {
    if (setjmp(errors.jump))
        return false;
    jpeg_create_decompress(&info);
    return true;
}

bool start(jpeg_decompress_struct& info, ErrorManager& errors, const std::uint8_t* data, std::size_t size) {
    if (setjmp(errors.jump))
        return false;
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
    jpeg_read_header(&info, TRUE);
    switch (info.jpeg_color_space) {
    case JCS_GRAYSCALE:
        info.out_color_space = JCS_GRAYSCALE;
        break;
    case JCS_CMYK:
    case JCS_YCCK:
        info.out_color_space = JCS_CMYK;
        break;
    default:
        info.out_color_space = kWordOrder;
        break;
    }
    jpeg_start_decompress(&info);
    return true;
}

bool readRows(jpeg_decompress_struct& info, ErrorManager& errors, std::uint8_t* rows, std::size_t stride) {
    if (setjmp(errors.jump))
        return false;
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = rows + static_cast<std::size_t>(info.output_scanline) * stride;
        if (jpeg_read_scanlines(&info, &row, 1) != 1)
            break; // the source ran dry; the end-of-data warning has been noted
    }
    jpeg_finish_decompress(&info);
    return true;
}

class Decompressor {
public:
    Decompressor() {
        info.err = jpeg_std_error(&errors.base);
        errors.base.error_exit = errorExit;
        errors.base.emit_message = emitMessage;
        errors.base.output_message = outputMessage;
        created = create(info, errors);
    }
    ~Decompressor() {
        if (created)
            jpeg_destroy_decompress(&info);
    }
    Decompressor(const Decompressor&) = delete;
    Decompressor& operator=(const Decompressor&) = delete;

    [[noreturn]] void fail() const { throw JpegError(errors.message); }

    jpeg_decompress_struct info{};
    ErrorManager errors{};
    bool created = false;
};

std::uint32_t opaqueGrey(std::uint8_t v) {
    return 0xFF000000u | std::uint32_t{v} << 16 | std::uint32_t{v} << 8 | v;
}

} // namespace

DecodedJpeg decodeJpeg(std::span<const std::uint8_t> bytes) {
    Decompressor d;
    if (!d.created)
        d.fail();
    if (!start(d.info, d.errors, bytes.data(), bytes.size()))
        d.fail();
    const std::int64_t width = d.info.output_width;
    const std::int64_t height = d.info.output_height;
    if (width <= 0 || height <= 0 || width * height > kLargestImagePixels) {
        char reason[96];
        std::snprintf(reason, sizeof reason, "Image of %lld x %lld pixels is too large",
                      static_cast<long long>(width), static_cast<long long>(height));
        throw JpegError(reason);
    }
    DecodedJpeg out;
    plot::Bitmap& bitmap = out.bitmap;
    bitmap.width = static_cast<std::int32_t>(width);
    bitmap.height = static_cast<std::int32_t>(height);
    const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    bitmap.pixels.resize(count);
    auto* words = reinterpret_cast<std::uint8_t*>(bitmap.pixels.data());

    if (d.info.out_color_space == JCS_GRAYSCALE) {
        out.greyscale = true;
        std::vector<std::uint8_t> grey(count);
        if (!readRows(d.info, d.errors, grey.data(), static_cast<std::size_t>(width)))
            d.fail();
        for (std::size_t i = 0; i < count; ++i)
            bitmap.pixels[i] = opaqueGrey(grey[i]);
    } else {
        if (!readRows(d.info, d.errors, words, static_cast<std::size_t>(width) * 4))
            d.fail();
        if (d.info.out_color_space == JCS_CMYK) {
            // Adobe's CMYK JPEGs hold the inks inverted: each byte is 255 − ink.
            for (std::size_t i = 0; i < count; ++i) {
                const std::uint8_t* p = words + 4 * i;
                const unsigned k = p[3];
                const std::uint32_t r = p[0] * k / 255;
                const std::uint32_t g = p[1] * k / 255;
                const std::uint32_t b = p[2] * k / 255;
                bitmap.pixels[i] = 0xFF000000u | r << 16 | g << 8 | b;
            }
        }
    }
    if (d.errors.endedEarly)
        d.fail();
    return out;
}

} // namespace zelkova::image
