// Reading, decoding and reducing image files.
#include "image/ImageFiles.h"

#include "image/JpegDecoder.h"
#include "text/Failure.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QImageReader>

#include <cstring>
#include <memory>

namespace zelkova::image {

namespace {
plot::Bitmap bitmapOfBmp(std::span<const std::uint8_t> bytes, std::string_view path) {
    QByteArray data = QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data()),
                                              static_cast<qsizetype>(bytes.size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "bmp");
    reader.setAutoTransform(false);
    const QSize size = reader.size();
    if (!size.isValid() || std::int64_t{size.width()} * size.height() > kLargestImagePixels)
        throw text::Failure(unreadableImageText(path));
    QImage image;
    if (!reader.read(&image) || image.isNull())
        throw text::Failure(unreadableImageText(path));
    plot::Bitmap bitmap;
    bitmap.twoColour = image.format() == QImage::Format_Mono || image.format() == QImage::Format_MonoLSB;
    image = image.convertToFormat(QImage::Format_RGB32);
    bitmap.width = image.width();
    bitmap.height = image.height();
    bitmap.pixels.resize(static_cast<std::size_t>(bitmap.width) * static_cast<std::size_t>(bitmap.height));
    for (int y = 0; y < image.height(); ++y)
        std::memcpy(bitmap.pixels.data() +
                        static_cast<std::size_t>(y) * static_cast<std::size_t>(bitmap.width),
                    image.constScanLine(y), static_cast<std::size_t>(bitmap.width) * 4);
    return bitmap;
}
} // namespace

void reduceToTwoColours(plot::Bitmap& bitmap) {
    for (std::uint32_t& pixel : bitmap.pixels) {
        const std::uint32_t r = pixel >> 16 & 0xFF;
        const std::uint32_t g = pixel >> 8 & 0xFF;
        const std::uint32_t b = pixel & 0xFF;
        pixel = 299 * r + 587 * g + 114 * b < 128 * 1000 ? 0xFF000000u : 0xFFFFFFFFu;
    }
    bitmap.twoColour = true;
}

std::string unreadableImageText(std::string_view path) {
    return "画像ファイル " + std::string(path) + " を読み込めません";
}

plot::DecodedImage decodeImage(std::span<const std::uint8_t> bytes, plot::ImageFormat format,
                               std::string_view path) {
    auto bitmap = std::make_shared<plot::Bitmap>();
    bool greyscale = false;
    if (format == plot::ImageFormat::Bmp) {
        *bitmap = bitmapOfBmp(bytes, path);
    } else {
        try {
            DecodedJpeg jpeg = decodeJpeg(bytes);
            *bitmap = std::move(jpeg.bitmap);
            greyscale = jpeg.greyscale;
        } catch (const JpegError&) {
            throw text::Failure(unreadableImageText(path));
        }
        if (greyscale)
            reduceToTwoColours(*bitmap);
    }
    plot::makeReductions(*bitmap);
    return {std::move(bitmap), greyscale};
}

plot::DecodedImage ImageFiles::load(const std::string& path, plot::ImageFormat format) {
    QFile file(QFile::decodeName(QByteArray::fromStdString(path)));
    if (!file.open(QIODevice::ReadOnly))
        throw text::Failure(text::cannotOpenText(path));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw text::Failure(text::cannotOpenText(path));
    return decodeImage(std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                 static_cast<std::size_t>(bytes.size())),
                       format, path);
}

} // namespace zelkova::image
