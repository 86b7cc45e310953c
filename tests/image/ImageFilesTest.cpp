// Shows that image files decode into the bitmaps a picture keeps: JPEG colours and sizes, a
// greyscale JPEG reduced to black and white, BMP pixels exactly; and that corrupt, cut-off,
// oversized and missing files are reported as failures while the program goes on.
#include "TempDir.h"

#include "image/ImageFiles.h"
#include "image/JpegDecoder.h"
#include "text/Failure.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace zelkova::image {
namespace {

using zelkova::testing::TempDir;

std::string encoded(const QImage& image, const char* format, int quality = -1) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, format, quality));
    return bytes.toStdString();
}

// Red on the left half, blue on the right.
QImage twoHalves(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.fillRect(0, 0, width / 2, height, Qt::red);
    painter.fillRect(width / 2, 0, width - width / 2, height, Qt::blue);
    return image;
}

std::uint32_t pixelOf(const plot::Bitmap& bitmap, int x, int y) {
    return bitmap.pixels[static_cast<std::size_t>(y * bitmap.width + x)];
}

bool near(std::uint32_t pixel, std::uint32_t rgb) {
    for (int shift : {0, 8, 16})
        if (std::abs(static_cast<int>(pixel >> shift & 0xFF) - static_cast<int>(rgb >> shift & 0xFF)) > 12)
            return false;
    return pixel >> 24 == 0xFF;
}

plot::DecodedImage load(const std::string& path, plot::ImageFormat format) {
    ImageFiles files;
    return files.load(path, format);
}

TEST(Jpeg, DecodesColoursAtTheirSizeWithSmallerCopies) {
    TempDir dir;
    const std::string path = dir.write("photo.jpg", encoded(twoHalves(400, 200), "JPEG", 95));
    const plot::DecodedImage image = load(path, plot::ImageFormat::Jpeg);
    ASSERT_TRUE(image.bitmap);
    const plot::Bitmap& b = *image.bitmap;
    EXPECT_FALSE(image.greyscale);
    EXPECT_FALSE(b.twoColour);
    ASSERT_EQ(b.width, 400);
    ASSERT_EQ(b.height, 200);
    EXPECT_TRUE(near(pixelOf(b, 10, 10), 0xFF0000)) << std::hex << pixelOf(b, 10, 10);
    EXPECT_TRUE(near(pixelOf(b, 390, 190), 0x0000FF)) << std::hex << pixelOf(b, 390, 190);
    ASSERT_FALSE(b.reductions.empty());
    EXPECT_EQ(b.reductions[0].width, 200);
    EXPECT_EQ(b.reductions[0].height, 100);
}

TEST(Jpeg, AGreyscaleImageIsReducedToBlackAndWhite) {
    TempDir dir;
    QImage grey(256, 20, QImage::Format_Grayscale8);
    for (int y = 0; y < grey.height(); ++y)
        for (int x = 0; x < grey.width(); ++x)
            grey.scanLine(y)[x] = static_cast<uchar>(x);
    const std::string path = dir.write("scan.JPG", encoded(grey, "JPEG", 100));
    const plot::DecodedImage image = load(path, plot::ImageFormat::Jpeg);
    EXPECT_TRUE(image.greyscale);
    const plot::Bitmap& b = *image.bitmap;
    EXPECT_TRUE(b.twoColour);
    for (std::uint32_t pixel : b.pixels)
        ASSERT_TRUE(pixel == 0xFF000000u || pixel == 0xFFFFFFFFu) << std::hex << pixel;
    EXPECT_EQ(pixelOf(b, 20, 10), 0xFF000000u);
    EXPECT_EQ(pixelOf(b, 100, 10), 0xFF000000u);
    EXPECT_EQ(pixelOf(b, 160, 10), 0xFFFFFFFFu);
    EXPECT_EQ(pixelOf(b, 250, 10), 0xFFFFFFFFu);
}

TEST(Jpeg, CorruptCutOffAndOversizedFilesFailWithoutEndingTheProgram) {
    TempDir dir;
    const std::string good = encoded(twoHalves(64, 64), "JPEG");
    std::string oversized = good;
    const std::size_t frame = oversized.find("\xFF\xC0");
    ASSERT_NE(frame, std::string::npos);
    oversized[frame + 5] = oversized[frame + 7] = '\xFE'; // 65000-odd pixels a side
    const std::vector<std::pair<std::string, std::string>> cases{
        {"text.jpg", "this is not a picture"},
        {"empty.jpg", ""},
        {"cut.jpg", good.substr(0, good.size() / 2)},
        {"header.jpg", good.substr(0, 20)},
        {"oversized.jpg", oversized},
    };
    for (const auto& [name, bytes] : cases) {
        const std::string path = dir.write(name, bytes);
        try {
            load(path, plot::ImageFormat::Jpeg);
            ADD_FAILURE() << name << " decoded";
        } catch (const text::Failure& failure) {
            EXPECT_EQ(std::string(failure.what()), "画像ファイル " + path + " を読み込めません") << name;
        }
    }
    // The decoder says why.
    try {
        decodeJpeg(std::span(reinterpret_cast<const std::uint8_t*>(oversized.data()), oversized.size()));
        ADD_FAILURE() << "oversized decoded";
    } catch (const JpegError& error) {
        EXPECT_NE(std::string(error.what()).find("too large"), std::string::npos) << error.what();
    }
    EXPECT_EQ(load(dir.write("good.jpg", good), plot::ImageFormat::Jpeg).bitmap->width, 64)
        << "a good file decodes after the failures";
}

TEST(Bmp, KeepsEveryPixelAndKnowsTwoColourFiles) {
    TempDir dir;
    QImage image(3, 2, QImage::Format_RGB32);
    const QRgb colours[] = {qRgb(1, 2, 3),   qRgb(250, 0, 0), qRgb(0, 250, 0),
                            qRgb(0, 0, 250), qRgb(9, 8, 7),   qRgb(255, 255, 255)};
    for (int i = 0; i < 6; ++i)
        image.setPixel(i % 3, i / 3, colours[i]);
    const plot::DecodedImage colour = load(dir.write("a.bmp", encoded(image, "BMP")), plot::ImageFormat::Bmp);
    ASSERT_EQ(colour.bitmap->width, 3);
    ASSERT_EQ(colour.bitmap->height, 2);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(colour.bitmap->pixels[static_cast<std::size_t>(i)], colours[i] | 0xFF000000u) << i;
    EXPECT_FALSE(colour.greyscale);

    QImage mono(8, 8, QImage::Format_Mono);
    mono.fill(1);
    const plot::DecodedImage twoColour =
        load(dir.write("m.BMP", encoded(mono, "BMP")), plot::ImageFormat::Bmp);
    EXPECT_TRUE(twoColour.bitmap->twoColour);

    const std::string broken = dir.write("b.bmp", "BM not really");
    EXPECT_THROW(load(broken, plot::ImageFormat::Bmp), text::Failure);
}

TEST(ImageFile, IsOpenedByItsNativeNameAndAMissingOneFails) {
    TempDir dir;
    const std::string path = dir.write("写真/図面.bmp", encoded(twoHalves(4, 4), "BMP"));
    EXPECT_EQ(load(path, plot::ImageFormat::Bmp).bitmap->width, 4);
    try {
        load(dir.file("none.jpg"), plot::ImageFormat::Jpeg);
        ADD_FAILURE() << "a missing file loaded";
    } catch (const text::Failure& failure) {
        EXPECT_EQ(std::string(failure.what()), "ファイル " + dir.file("none.jpg") + " は開けません");
    }
}

TEST(TwoColours, SplitAtMiddleGreyByLuminance) {
    plot::Bitmap b;
    b.width = 4;
    b.height = 1;
    b.pixels = {0xFF7F7F7Fu, 0xFF808080u, 0xFFFF0000u, 0xFF00FF00u};
    reduceToTwoColours(b);
    EXPECT_EQ(b.pixels, (std::vector<std::uint32_t>{0xFF000000u, 0xFFFFFFFFu, 0xFF000000u, 0xFFFFFFFFu}));
    EXPECT_TRUE(b.twoColour);
}

} // namespace
} // namespace zelkova::image
