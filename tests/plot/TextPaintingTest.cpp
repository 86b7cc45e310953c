// Shows that texts land in the cells the rules give them at one picture pixel per view pixel, turn
// with their escapement, stand upright in the vertical face, take their extra spacing, keep their
// length when the picture is stretched small and stay black in every raster mode; and that images
// fill exactly their rectangle, drawn small from an averaged copy.
#include "plot/Picture.h"
#include "plot/qt/PainterCanvas.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>

#include <gtest/gtest.h>

namespace zelkova::plot {
namespace {

constexpr std::int32_t kWidth = 600;
constexpr std::int32_t kHeight = 400;

// The smallest rectangle holding every pixel that is not white; empty when there is none.
QRect inkOf(const QImage& image, const QRect& within = QRect()) {
    const QRect area = within.isNull() ? image.rect() : within & image.rect();
    int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    return left == INT_MAX ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

// Rows that hold ink, in runs: each run is [first, last].
std::vector<std::pair<int, int>> inkedRowRuns(const QImage& image) {
    std::vector<std::pair<int, int>> runs;
    for (int y = 0; y < image.height(); ++y) {
        bool ink = false;
        for (int x = 0; x < image.width() && !ink; ++x)
            ink = (image.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF;
        if (!ink)
            continue;
        if (!runs.empty() && runs.back().second == y - 1)
            runs.back().second = y;
        else
            runs.emplace_back(y, y);
    }
    return runs;
}

TextOp textOp(std::string text, Point at, std::int32_t height, std::int32_t escapement = 0,
              TextFace face = TextFace::Horizontal) {
    TextOp op;
    op.text = std::move(text);
    op.at = at;
    op.height = height;
    op.escapement = escapement;
    op.face = face;
    return op;
}

// `ops` drawn on a white image of `size` with the picture frame stretched over `target`.
QImage drawn(const std::vector<TextOp>& ops, const ViewRect& target = {0, 0, kWidth, kHeight},
             QSize size = QSize(kWidth, kHeight), RasterMode mode = RasterMode::CopyPen) {
    Picture picture(kWidth, kHeight, 1, 1);
    RecordingCanvas canvas(picture);
    canvas.setPen({Colour::fromRgb(255, 0, 0), 1, LineStyle::Solid, mode});
    canvas.line({0, 399}, {1, 399}); // puts the pen on record before the texts
    for (const TextOp& op : ops)
        canvas.text(op);
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    drawPicture(image, picture, target);
    return image;
}

const std::string kOne = "\x88\xEA";            // 一
const std::string kOneOne = kOne + kOne;        // 一一
constexpr std::int32_t kCell = 94;              // 5 mm at 96 dpi × 5
constexpr double kEm = kCell * 2048.0 / 2203.0; // IPA Gothic: the cell is 1.076 em

TEST(TextPainting, AHorizontalTextLiesInItsCellsOnWholePixels) {
    const QImage image = drawn({textOp(kOne + "AB", {100, 100}, kCell)});
    const QRect ink = inkOf(image, QRect(0, 0, kWidth, 390));
    ASSERT_FALSE(ink.isNull());
    // A full-width and two half-width characters: two em from the cell's left edge.
    EXPECT_TRUE(QRect(100, 100, static_cast<int>(2 * kEm) + 1, kCell).contains(ink))
        << ink.x() << "," << ink.y() << " " << ink.width() << "x" << ink.height();
    // 一 is one stroke in the upper half of its cell, a little above the middle of the em.
    const QImage one = drawn({textOp(kOne, {100, 100}, kCell)});
    const QRect stroke = inkOf(one, QRect(0, 0, kWidth, 390));
    EXPECT_GT(stroke.width(), 8 * stroke.height());
    EXPECT_GT(stroke.top(), 100 + kCell * 35 / 100);
    EXPECT_LT(stroke.bottom(), 100 + kCell * 55 / 100);
    // The same text one pixel further is the same ink one pixel further.
    const QImage moved = drawn({textOp(kOne, {101, 103}, kCell)});
    EXPECT_EQ(inkOf(moved, QRect(0, 0, kWidth, 390)), stroke.translated(1, 3));
}

TEST(TextPainting, EscapementTurnsTheTextCounterClockwise) {
    // Written upwards from the anchor: the cell's top-left corner is (x − h, y).
    const QImage up = drawn({textOp(kOneOne, {200, 300}, kCell, 900)});
    const QRect ink = inkOf(up, QRect(0, 0, kWidth, 390));
    EXPECT_TRUE(
        QRect(200, 300 - static_cast<int>(2 * kEm) - 1, kCell, static_cast<int>(2 * kEm) + 1).contains(ink));
    EXPECT_GT(ink.height(), 8 * ink.width()) << "the strokes of 一一 lie along the text, upwards";
    // Turned half a turn: to the left of the anchor, upside down below it.
    const QImage back = drawn({textOp(kOne, {300, 200}, kCell, 1800)});
    const QRect turned = inkOf(back, QRect(0, 0, kWidth, 390));
    EXPECT_LE(turned.right(), 300);
    EXPECT_GE(turned.top(), 200 - kCell);
    EXPECT_LT(turned.bottom(), 200);
    EXPECT_GT(turned.top(), 200 - kCell * 55 / 100) << "the stroke, turned, lies in the lower half";
}

TEST(TextPainting, TheVerticalFaceStandsFullWidthCharactersUpright) {
    // Down the page (escapement 270°): the column lies right of the anchor line.
    const QImage vertical = drawn({textOp(kOneOne, {300, 20}, kCell, -900, TextFace::Vertical)});
    const auto rows = inkedRowRuns(vertical);
    ASSERT_EQ(rows.size(), 3u) << "two strokes, one under the other (and the pen's line)";
    const QRect first = inkOf(vertical, QRect(0, rows[0].first, kWidth, rows[0].second - rows[0].first + 1));
    const QRect second = inkOf(vertical, QRect(0, rows[1].first, kWidth, rows[1].second - rows[1].first + 1));
    EXPECT_GT(first.width(), 8 * first.height()) << "horizontal strokes";
    EXPECT_EQ(second.left(), first.left());
    EXPECT_NEAR(second.top() - first.top(), kEm, 1) << "one em apart";
    EXPECT_GE(first.left(), 300 - kCell);
    EXPECT_LE(first.right(), 300);
    EXPECT_NEAR((first.left() + first.right()) / 2.0, 300 - kCell / 2.0, 3) << "centred across the cell";

    // The horizontal face down the page: the same characters on their side.
    const QImage lying = drawn({textOp(kOneOne, {300, 20}, kCell, -900, TextFace::Horizontal)});
    const QRect strokes = inkOf(lying, QRect(0, 0, kWidth, 390));
    EXPECT_GT(strokes.height(), 8 * strokes.width());

    // Half-width characters lie in the vertical face as in the horizontal one.
    const QImage latin = drawn({textOp("AB", {300, 20}, kCell, -900, TextFace::Vertical)});
    const QImage latinLying = drawn({textOp("AB", {300, 20}, kCell, -900, TextFace::Horizontal)});
    EXPECT_EQ(latin, latinLying);
}

TEST(TextPainting, ExtraSpacingFollowsEveryCharacter) {
    TextOp plain = textOp("II", {100, 100}, kCell);
    TextOp spread = plain;
    spread.extraSpacing = 30;
    const QImage a = drawn({plain});
    const QImage b = drawn({spread});
    const QRect firstA = inkOf(a, QRect(100, 100, static_cast<int>(kEm / 2), kCell));
    const QRect firstB = inkOf(b, QRect(100, 100, static_cast<int>(kEm / 2), kCell));
    EXPECT_EQ(firstA, firstB);
    const QRect allA = inkOf(a, QRect(0, 0, kWidth, 390));
    const QRect allB = inkOf(b, QRect(0, 0, kWidth, 390));
    EXPECT_EQ(allB.right() - allA.right(), 30);
}

TEST(TextPainting, AStretchedPictureKeepsItsTextsLength) {
    const std::string digits = "0123456789012345678901234567890123456789";
    const QImage full = drawn({textOp(digits, {10, 100}, 38)}, {0, 0, kWidth, kHeight});
    const QRect fullInk = inkOf(full, QRect(0, 0, kWidth, 390));
    // An eighth of the size: the ink ends where an eighth of the full-size ink ends.
    const QImage small = drawn({textOp(digits, {10, 100}, 38)}, {0, 0, kWidth / 8, kHeight / 8},
                               QSize(kWidth / 8, kHeight / 8));
    const QRect smallInk = inkOf(small, QRect(0, 0, kWidth / 8, 49));
    ASSERT_FALSE(smallInk.isNull());
    EXPECT_NEAR(smallInk.left(), fullInk.left() / 8.0, 1.5);
    EXPECT_NEAR(smallInk.right(), fullInk.right() / 8.0, 1.5);
}

TEST(TextPainting, TextsAreBlackInEveryRasterMode) {
    for (RasterMode mode : {RasterMode::XorPen, RasterMode::White, RasterMode::Nop, RasterMode::NotCopyPen}) {
        const QImage image =
            drawn({textOp(kOne, {100, 100}, kCell)}, {0, 0, kWidth, kHeight}, QSize(kWidth, kHeight), mode);
        const QRect ink = inkOf(image, QRect(0, 0, kWidth, 390));
        ASSERT_FALSE(ink.isNull());
        for (int y = ink.top(); y <= ink.bottom(); ++y)
            for (int x = ink.left(); x <= ink.right(); ++x)
                ASSERT_EQ(image.pixel(x, y) & 0xFFFFFF, 0u) << x << "," << y;
    }
}

TEST(TextPainting, VectorDevicesGetTheGlyphOutlines) {
    Picture picture(kWidth, kHeight, 1, 1);
    RecordingCanvas canvas(picture);
    canvas.text(textOp(kOne, {100, 100}, kCell));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(QSize(kWidth, kHeight));
    QPainter painter(&svg);
    drawPicture(painter, picture, {0, 0, kWidth, kHeight});
    painter.end();
    EXPECT_TRUE(bytes.contains("<path")) << bytes.left(400).toStdString();
}

std::shared_ptr<Bitmap> checkered(std::int32_t width, std::int32_t height) {
    auto bitmap = std::make_shared<Bitmap>();
    bitmap->width = width;
    bitmap->height = height;
    for (std::int32_t y = 0; y < height; ++y)
        for (std::int32_t x = 0; x < width; ++x)
            bitmap->pixels.push_back((x + y) % 2 ? 0xFFFFFFFFu : 0xFF000000u);
    makeReductions(*bitmap);
    return bitmap;
}

QImage withImage(const ImageOp& op, QSize size, RasterMode mode = RasterMode::CopyPen) {
    Picture picture(kWidth, kHeight, 1, 1);
    RecordingCanvas canvas(picture);
    canvas.setPen({Colour::fromRgb(255, 0, 0), 1, LineStyle::Solid, mode});
    canvas.line({599, 0}, {599, 1});
    canvas.image(op);
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    drawPicture(image, picture, {0, 0, size.width(), size.height()});
    return image;
}

TEST(ImagePainting, FillsExactlyItsRectangleAtOnePicturePixelPerViewPixel) {
    auto bitmap = std::make_shared<Bitmap>();
    bitmap->width = 4;
    bitmap->height = 2;
    bitmap->pixels = {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu, 0xFF000000u,
                      0xFF102030u, 0xFF405060u, 0xFF708090u, 0xFFA0B0C0u};
    const QImage image = withImage({bitmap, 10, 20, 50, 40}, QSize(kWidth, kHeight), RasterMode::XorPen);
    EXPECT_EQ(inkOf(image, QRect(0, 0, 590, kHeight)), QRect(10, 20, 40, 20));
    for (int by = 0; by < 2; ++by)
        for (int bx = 0; bx < 4; ++bx) {
            const QRgb expected = bitmap->pixels[static_cast<std::size_t>(by * 4 + bx)] & 0xFFFFFF;
            for (int y = 20 + 10 * by; y < 30 + 10 * by; ++y)
                for (int x = 10 + 10 * bx; x < 20 + 10 * bx; ++x)
                    ASSERT_EQ(image.pixel(x, y) & 0xFFFFFF, expected) << x << "," << y;
        }
    // Given right to left and bottom to top, it shows mirrored.
    const QImage mirrored = withImage({bitmap, 50, 40, 10, 20}, QSize(kWidth, kHeight));
    EXPECT_EQ(mirrored.pixel(10, 20) & 0xFFFFFF, 0xA0B0C0u);
    EXPECT_EQ(mirrored.pixel(49, 39) & 0xFFFFFF, 0xFF0000u);
}

TEST(ImagePainting, ZoomedFarInShowsThePixelUnderTheView) {
    auto bitmap = std::make_shared<Bitmap>();
    bitmap->width = bitmap->height = 2;
    bitmap->pixels = {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu, 0xFF000000u};
    const QImage image =
        withImage({bitmap, -1000000000, -1000000000, 1000000000, 1000000000}, QSize(kWidth, kHeight));
    EXPECT_EQ(inkOf(image), image.rect());
    EXPECT_EQ(image.pixel(0, 0) & 0xFFFFFF, 0u);
    EXPECT_EQ(image.pixel(300, 200) & 0xFFFFFF, 0u);
}

TEST(ImagePainting, ASmallTargetIsDrawnFromAnAveragedCopy) {
    // A checkerboard of single pixels, a sixteenth of its size on the view: even grey, not a
    // sample of black and white pixels.
    const QImage image = withImage({checkered(256, 256), 0, 0, 256, 256}, QSize(kWidth / 16, kHeight / 16));
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const int grey = qRed(image.pixel(x, y));
            ASSERT_GT(grey, 100) << x << "," << y;
            ASSERT_LT(grey, 160) << x << "," << y;
        }
}

} // namespace
} // namespace zelkova::plot
