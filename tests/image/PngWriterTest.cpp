// Shows that the PNG writer's files read back as the very images written: RGB and RGBA, all white
// and noisy, of odd sizes, large enough to be deflated a band at a time, with their resolution, and
// that every chunk's CRC holds.
#include "image/PngWriter.h"

#include <QBuffer>
#include <QImageReader>

#include <gtest/gtest.h>

#include <zlib.h>

#include <cstdint>
#include <random>

namespace zelkova::image {
namespace {

QImage noise(int width, int height, QImage::Format format, unsigned seed, int density) {
    QImage image(width, height, format);
    image.fill(Qt::white);
    std::mt19937 random(seed);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (static_cast<int>(random() % 100) < density)
                image.setPixel(
                    x, y, static_cast<QRgb>(random()) | (format == QImage::Format_RGB32 ? 0xFF000000u : 0));
    return image;
}

QImage readBack(const QByteArray& png) {
    QBuffer buffer;
    buffer.setData(png);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "png");
    return reader.read();
}

// The chunk types in order, each checked against its CRC.
std::string chunksOf(const QByteArray& png) {
    std::string types;
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(png.constData());
    const auto be = [&](qsizetype at) {
        return std::uint32_t{bytes[at]} << 24 | std::uint32_t{bytes[at + 1]} << 16 |
               std::uint32_t{bytes[at + 2]} << 8 | bytes[at + 3];
    };
    for (qsizetype at = 8; at + 12 <= png.size();) {
        const std::uint32_t length = be(at);
        if (at + 12 + qsizetype(length) > png.size())
            return types + " (cut)";
        const uLong crc = crc32(0, bytes + at + 4, length + 4);
        types += std::string(png.constData() + at + 4, 4) + (crc == be(at + 8 + length) ? " " : "(bad crc) ");
        at += 12 + length;
    }
    return types;
}

TEST(PngWriter, WritesImagesThatReadBackPixelForPixel) {
    struct Case {
        int width, height, density;
        QImage::Format format;
    };
    for (const Case& c : {Case{688, 469, 0, QImage::Format_RGB32}, Case{688, 469, 30, QImage::Format_RGB32},
                          Case{1, 1, 100, QImage::Format_RGB32}, Case{17, 3, 100, QImage::Format_RGB32},
                          Case{101, 57, 50, QImage::Format_ARGB32}}) {
        const QImage image = noise(c.width, c.height, c.format, 7, c.density);
        const QByteArray png = pngOf(image);
        ASSERT_FALSE(png.isEmpty());
        EXPECT_TRUE(png.startsWith("\x89PNG\r\n\x1A\n"));
        const QImage back = readBack(png);
        ASSERT_FALSE(back.isNull()) << c.width << "x" << c.height;
        EXPECT_EQ(back.hasAlphaChannel(), c.format == QImage::Format_ARGB32);
        EXPECT_EQ(back.convertToFormat(c.format), image) << c.width << "x" << c.height;
    }
}

TEST(PngWriter, KeepsTheResolutionAndWritesSoundChunks) {
    QImage image = noise(40, 30, QImage::Format_RGB32, 3, 20);
    image.setDotsPerMeterX(3937);
    image.setDotsPerMeterY(7874);
    const QByteArray png = pngOf(image);
    EXPECT_EQ(chunksOf(png), "IHDR pHYs IDAT IEND ");
    const QImage back = readBack(png);
    EXPECT_EQ(back.dotsPerMeterX(), 3937);
    EXPECT_EQ(back.dotsPerMeterY(), 7874);
    EXPECT_TRUE(pngOf(QImage()).isEmpty());
}

TEST(PngWriter, DeflatesALargeImageABandAtATime) {
    // 2400 × 2400 RGB rows take more than 16 MB: zlib's stream, many data chunks.
    const QImage image = noise(2400, 2400, QImage::Format_RGB32, 5, 2);
    const QByteArray png = pngOf(image);
    const std::string chunks = chunksOf(png);
    EXPECT_EQ(chunks.find("bad"), std::string::npos);
    EXPECT_EQ(chunks.substr(chunks.size() - 5), "IEND ");
    EXPECT_EQ(readBack(png).convertToFormat(QImage::Format_RGB32), image);
}

} // namespace
} // namespace zelkova::image
