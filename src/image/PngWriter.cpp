// The PNG records and the two ways of deflating the rows.
#include "image/PngWriter.h"

#include <libdeflate.h>
#include <zlib.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

namespace zelkova::image {

namespace {

// Images whose rows take at most this many bytes are deflated at once by libdeflate.
constexpr std::size_t kLargestWholeDeflate = std::size_t{16} << 20;
// Rows handed to zlib at a time for a larger image.
constexpr int kBandRows = 64;
// A data chunk holds at most this many bytes (the format allows up to 2^31 − 1).
constexpr std::size_t kLargestChunk = std::size_t{1} << 30;

void appendBigEndian(QByteArray& out, std::uint32_t value) {
    const char bytes[4] = {static_cast<char>(value >> 24), static_cast<char>(value >> 16),
                           static_cast<char>(value >> 8), static_cast<char>(value)};
    out.append(bytes, 4);
}

void appendChunk(QByteArray& out, const char* type, const void* data, std::size_t size) {
    appendBigEndian(out, static_cast<std::uint32_t>(size));
    const qsizetype start = out.size();
    out.append(type, 4);
    out.append(static_cast<const char*>(data), static_cast<qsizetype>(size));
    appendBigEndian(out, static_cast<std::uint32_t>(libdeflate_crc32(0, out.constData() + start, size + 4)));
}

// The compressed stream as data chunks.
void appendData(QByteArray& out, const std::uint8_t* data, std::size_t size) {
    for (std::size_t at = 0; at < size; at += kLargestChunk)
        appendChunk(out, "IDAT", data + at, std::min(kLargestChunk, size - at));
}

// Row y of the image as PNG's unfiltered row: the filter byte 0, then R G B (A) per pixel. An RGB
// row writes one byte past its end (a byte that the next row, or the buffer's slack, takes).
void packRow(const QImage& image, int y, bool alpha, std::uint8_t* out) {
    *out++ = 0;
    const auto* pixel = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    const int width = image.width();
    if (alpha) {
        for (int x = 0; x < width; ++x, out += 4) {
            out[0] = static_cast<std::uint8_t>(qRed(pixel[x]));
            out[1] = static_cast<std::uint8_t>(qGreen(pixel[x]));
            out[2] = static_cast<std::uint8_t>(qBlue(pixel[x]));
            out[3] = static_cast<std::uint8_t>(qAlpha(pixel[x]));
        }
        return;
    }
    if constexpr (std::endian::native == std::endian::little) {
        // 0xAARRGGBB as 0x00BBGGRR is R, G, B, 0 in memory: four bytes stored at a time, the
        // fourth overwritten by the next pixel.
        for (int x = 0; x < width; ++x, out += 3) {
            const std::uint32_t p = pixel[x];
            const std::uint32_t rgb = (p >> 16 & 0xFF) | (p & 0xFF00) | (p & 0xFF) << 16;
            std::memcpy(out, &rgb, 4);
        }
        return;
    }
    for (int x = 0; x < width; ++x, out += 3) {
        out[0] = static_cast<std::uint8_t>(qRed(pixel[x]));
        out[1] = static_cast<std::uint8_t>(qGreen(pixel[x]));
        out[2] = static_cast<std::uint8_t>(qBlue(pixel[x]));
    }
}

bool deflateWhole(const QImage& image, bool alpha, std::size_t rowBytes, QByteArray& out) {
    // Not cleared first: every byte is written before it is read.
    const std::size_t size = rowBytes * static_cast<std::size_t>(image.height());
    const std::unique_ptr<std::uint8_t[]> rows(new std::uint8_t[size + 1]);
    for (int y = 0; y < image.height(); ++y)
        packRow(image, y, alpha, rows.get() + rowBytes * static_cast<std::size_t>(y));
    const std::unique_ptr<libdeflate_compressor, decltype(&libdeflate_free_compressor)> compressor(
        libdeflate_alloc_compressor(1), &libdeflate_free_compressor);
    if (!compressor)
        return false;
    const std::size_t bound = libdeflate_zlib_compress_bound(compressor.get(), size);
    const std::unique_ptr<std::uint8_t[]> stream(new std::uint8_t[bound]);
    const std::size_t deflated =
        libdeflate_zlib_compress(compressor.get(), rows.get(), size, stream.get(), bound);
    if (deflated == 0)
        return false;
    appendData(out, stream.get(), deflated);
    return true;
}

bool deflateInBands(const QImage& image, bool alpha, std::size_t rowBytes, QByteArray& out) {
    z_stream z{};
    if (deflateInit(&z, 1) != Z_OK)
        return false;
    std::vector<std::uint8_t> rows(rowBytes * kBandRows + 1);
    std::vector<std::uint8_t> stream(std::size_t{1} << 20);
    bool ok = true;
    for (int top = 0; ok && top < image.height(); top += kBandRows) {
        const int count = std::min(kBandRows, image.height() - top);
        for (int i = 0; i < count; ++i)
            packRow(image, top + i, alpha, rows.data() + rowBytes * static_cast<std::size_t>(i));
        const bool last = top + count >= image.height();
        z.next_in = rows.data();
        z.avail_in = static_cast<uInt>(rowBytes * static_cast<std::size_t>(count));
        int status = Z_OK;
        do {
            z.next_out = stream.data();
            z.avail_out = static_cast<uInt>(stream.size());
            status = deflate(&z, last ? Z_FINISH : Z_NO_FLUSH);
            if (status == Z_STREAM_ERROR) {
                ok = false;
                break;
            }
            appendData(out, stream.data(), stream.size() - z.avail_out);
        } while (z.avail_out == 0 || (last && status != Z_STREAM_END));
    }
    deflateEnd(&z);
    return ok;
}

} // namespace

QByteArray pngOf(const QImage& source) {
    if (source.isNull())
        return {};
    const bool alpha = source.hasAlphaChannel();
    const QImage image = source.convertToFormat(alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    const std::size_t rowBytes = 1 + static_cast<std::size_t>(image.width()) * (alpha ? 4 : 3);

    QByteArray out;
    out.append("\x89PNG\r\n\x1A\n", 8);
    std::uint8_t header[13] = {};
    const auto putBigEndian = [](std::uint8_t* at, std::uint32_t value) {
        at[0] = static_cast<std::uint8_t>(value >> 24);
        at[1] = static_cast<std::uint8_t>(value >> 16);
        at[2] = static_cast<std::uint8_t>(value >> 8);
        at[3] = static_cast<std::uint8_t>(value);
    };
    putBigEndian(header, static_cast<std::uint32_t>(image.width()));
    putBigEndian(header + 4, static_cast<std::uint32_t>(image.height()));
    header[8] = 8;             // bits per sample
    header[9] = alpha ? 6 : 2; // RGBA or RGB; compression, filter method and interlace all 0
    appendChunk(out, "IHDR", header, sizeof header);
    if (image.dotsPerMeterX() > 0 && image.dotsPerMeterY() > 0) {
        std::uint8_t resolution[9] = {};
        putBigEndian(resolution, static_cast<std::uint32_t>(image.dotsPerMeterX()));
        putBigEndian(resolution + 4, static_cast<std::uint32_t>(image.dotsPerMeterY()));
        resolution[8] = 1; // per metre
        appendChunk(out, "pHYs", resolution, sizeof resolution);
    }
    const bool whole = rowBytes * static_cast<std::size_t>(image.height()) <= kLargestWholeDeflate;
    if (!(whole ? deflateWhole(image, alpha, rowBytes, out) : deflateInBands(image, alpha, rowBytes, out)))
        return {};
    appendChunk(out, "IEND", "", 0);
    return out;
}

} // namespace zelkova::image
