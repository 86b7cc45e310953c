// Shows that pictures drawn through QPainter fill the view rectangle, that thin lines, wide lines,
// fills and hatches land on the right pixels, that raster modes combine with the image (and have
// their stand-ins on other devices), and that lines far outside the device are safe.
#include "plot/qt/PainterCanvas.h"
#include "plot/Picture.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace zelkova::plot {
namespace {

constexpr Colour kBlack = Colour::fromRgb(0, 0, 0);
constexpr Colour kWhite = Colour::fromRgb(255, 255, 255);
constexpr Colour kRed = Colour::fromRgb(255, 0, 0);
constexpr Colour kGreen = Colour::fromRgb(0, 128, 0);

Pen pen(Colour colour, std::int32_t width = 0, RasterMode mode = RasterMode::CopyPen,
        LineStyle style = LineStyle::Solid) {
    return Pen{colour, width, style, mode};
}

QImage whiteImage(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

QRgb at(const QImage& image, int x, int y) {
    return image.pixel(x, y) & 0xFFFFFF;
}

int countOf(const QImage& image, QRgb colour) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += at(image, x, y) == colour;
    return n;
}

TEST(Stretching, ThePictureFrameFillsTheViewRectangle) {
    Picture picture(5424, 3780, 18.9, 18.9);
    RecordingCanvas canvas(picture);
    canvas.setPen(pen(kBlack));
    canvas.line({0, 1890}, {5424, 1890});
    canvas.line({2712, 0}, {2712, 3780});
    QImage image = whiteImage(688, 469);
    drawPicture(image, picture, {0, 0, 688, 469});
    EXPECT_EQ(at(image, 100, 234), 0u); // 1890 × 469 / 3780 = 234.5, to the even pixel
    EXPECT_EQ(at(image, 100, 233), 0xFFFFFFu);
    EXPECT_EQ(at(image, 344, 100), 0u);
    EXPECT_EQ(countOf(image, 0), 688 + 469 - 1);

    QImage moved = whiteImage(688, 469);
    drawPicture(moved, picture, {100, 50, 100 + 344, 50 + 234});
    EXPECT_EQ(at(moved, 200, 50 + 117), 0u);
    EXPECT_EQ(at(moved, 100 + 172, 60), 0u);
    EXPECT_EQ(at(moved, 50, 167), 0xFFFFFFu);
}

TEST(ThinLines, LeaveOutTheEndPointAndSurviveHugeCoordinates) {
    Picture picture(100, 100, 1, 1);
    RecordingCanvas canvas(picture);
    canvas.setPen(pen(kRed));
    canvas.line({10, 10}, {20, 20});
    canvas.line({-1000000000, 50}, {1000000000, 50});
    canvas.line({-1000000000, -1000000000}, {1000000000, 1000000000});
    QImage image = whiteImage(100, 100);
    drawPicture(image, picture, {0, 0, 100, 100});
    EXPECT_EQ(at(image, 10, 10), 0xFF0000u);
    EXPECT_EQ(at(image, 19, 19), 0xFF0000u);
    EXPECT_EQ(at(image, 0, 50), 0xFF0000u);
    EXPECT_EQ(at(image, 99, 50), 0xFF0000u);
    EXPECT_EQ(at(image, 70, 70), 0xFF0000u);
}

TEST(WideLines, AreDrawnAtTheirWidthStretchedWithThePicture) {
    Picture picture(200, 200, 1, 1);
    RecordingCanvas canvas(picture);
    canvas.setPen(pen(kBlack, 20));
    canvas.line({20, 100}, {180, 100});
    QImage image = whiteImage(200, 200);
    drawPicture(image, picture, {0, 0, 200, 200});
    EXPECT_EQ(at(image, 100, 92), 0u);
    EXPECT_EQ(at(image, 100, 108), 0u);
    EXPECT_EQ(at(image, 100, 115), 0xFFFFFFu);
    QImage half = whiteImage(100, 100);
    drawPicture(half, picture, {0, 0, 100, 100});
    EXPECT_EQ(at(half, 50, 46), 0u);
    EXPECT_EQ(at(half, 50, 57), 0xFFFFFFu);
}

TEST(Fills, SolidAndHatchedBrushesInsideTheOutline) {
    Picture picture(100, 100, 1, 1);
    RecordingCanvas canvas(picture);
    canvas.setPen(pen(kBlack, 1));
    canvas.setBrush({kGreen, FillPattern::Solid});
    canvas.polygon(std::vector<Point>{{10, 10}, {40, 10}, {40, 40}, {10, 40}});
    canvas.setBrush({kRed, FillPattern::Cross});
    canvas.polygon(std::vector<Point>{{50, 50}, {90, 50}, {90, 90}, {50, 90}});
    QImage image = whiteImage(100, 100);
    drawPicture(image, picture, {0, 0, 100, 100});
    EXPECT_EQ(at(image, 25, 25), 0x008000u);
    EXPECT_EQ(at(image, 10, 25), 0u); // the outline
    int red = 0;
    int white = 0;
    for (int y = 55; y < 85; ++y)
        for (int x = 55; x < 85; ++x) {
            red += at(image, x, y) == 0xFF0000u;
            white += at(image, x, y) == 0xFFFFFFu;
        }
    EXPECT_GT(red, 50);
    EXPECT_GT(white, 400);
}

TEST(RasterModes, CombineThePenWithTheImage) {
    Picture picture(100, 100, 1, 1);
    RecordingCanvas canvas(picture);
    canvas.setPen(pen(kBlack, 0, RasterMode::CopyPen, LineStyle::Invisible));
    canvas.setBrush({kBlack, FillPattern::Solid});
    canvas.polygon(std::vector<Point>{{0, 0}, {50, 0}, {50, 100}, {0, 100}}); // the left half black
    canvas.setPen(pen(kWhite, 0, RasterMode::XorPen));
    canvas.line({0, 10}, {100, 10});
    canvas.setPen(pen(kRed, 0, RasterMode::Not));
    canvas.line({0, 20}, {100, 20});
    canvas.setPen(pen(kRed, 0, RasterMode::MaskPen));
    canvas.line({0, 30}, {100, 30});
    canvas.setPen(pen(kRed, 0, RasterMode::NotCopyPen));
    canvas.line({0, 40}, {100, 40});
    canvas.setPen(pen(kRed, 0, RasterMode::Black));
    canvas.line({0, 50}, {100, 50});
    canvas.setPen(pen(kRed, 10, RasterMode::XorPen)); // wide lines go through QPainter's raster ops
    canvas.line({0, 80}, {100, 80});
    QImage image = whiteImage(100, 100);
    drawPicture(image, picture, {0, 0, 100, 100});
    EXPECT_EQ(at(image, 25, 10), 0xFFFFFFu);
    EXPECT_EQ(at(image, 75, 10), 0u);
    EXPECT_EQ(at(image, 25, 20), 0xFFFFFFu);
    EXPECT_EQ(at(image, 75, 20), 0u);
    EXPECT_EQ(at(image, 25, 30), 0u);
    EXPECT_EQ(at(image, 75, 30), 0xFF0000u);
    EXPECT_EQ(at(image, 75, 40), 0x00FFFFu);
    EXPECT_EQ(at(image, 75, 50), 0u);
    EXPECT_EQ(at(image, 25, 80), 0xFF0000u);
    EXPECT_EQ(at(image, 75, 80), 0x00FFFFu);
}

TEST(RasterModes, OtherDevicesDrawTheColourTheModeGivesOnWhite) {
    Picture picture(100, 100, 1, 1);
    RecordingCanvas canvas(picture);
    canvas.setPen(pen(kWhite, 0, RasterMode::XorPen));
    canvas.line({0, 10}, {100, 10});
    canvas.setPen(pen(kRed, 0, RasterMode::Not));
    canvas.line({0, 20}, {100, 20});
    canvas.setPen(pen(kRed, 0, RasterMode::NotCopyPen));
    canvas.line({0, 30}, {100, 30});
    QImage image = whiteImage(100, 100);
    QPainter painter(&image);
    drawPicture(painter, picture, {0, 0, 100, 100});
    painter.end();
    EXPECT_EQ(at(image, 50, 10), 0u);
    EXPECT_EQ(at(image, 50, 20), 0u); // white paper inverted, as the screen shows it
    EXPECT_EQ(at(image, 50, 30), 0x00FFFFu);
}

} // namespace
} // namespace zelkova::plot
