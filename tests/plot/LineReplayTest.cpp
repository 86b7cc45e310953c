// Shows that thin lines replayed onto the view image land exactly on the pixels of the stepping
// rule, whether a line lies inside the image, crosses its edges or reaches far beyond it, at any
// stretch: from far away (where many lines share a pixel) to the largest view rectangle the
// viewer allows, where the end points lie some 2^40 device pixels away; and that wide lines cover
// exactly the pixels whose centres lie within half their width, each line on its own.
#include "plot/Navigation.h"
#include "plot/Picture.h"
#include "plot/qt/PainterCanvas.h"

#include <QImage>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <random>
#include <vector>

#include <gtest/gtest.h>

namespace zelkova::plot {
namespace {

constexpr Colour kBlack = Colour::fromRgb(0, 0, 0);

// The rule, written out plainly: the end points rounded halves to even; on the major axis one pixel
// per step, the end point left out; on the minor axis floor((2 i |minor| + |major|) / (2 |major|)).
// Only the steps whose major coordinate falls inside the image are worked out.
void referenceLine(std::vector<bool>& pixels, int width, int height, double x0, double y0, double x1,
                   double y1) {
    const auto round = [](double v) { return static_cast<std::int64_t>(std::nearbyint(v)); };
    const std::int64_t ax = round(x0), ay = round(y0), bx = round(x1), by = round(y1);
    const std::int64_t dx = bx - ax, dy = by - ay;
    const bool xMajor = std::llabs(dx) >= std::llabs(dy);
    const std::int64_t major = xMajor ? std::llabs(dx) : std::llabs(dy);
    const std::int64_t minor = xMajor ? std::llabs(dy) : std::llabs(dx);
    const std::int64_t majorSign = (xMajor ? dx : dy) < 0 ? -1 : 1;
    const std::int64_t minorSign = (xMajor ? dy : dx) < 0 ? -1 : 1;
    const std::int64_t start = xMajor ? ax : ay;
    const std::int64_t size = xMajor ? width : height;
    for (std::int64_t c = 0; c < size; ++c) { // every major coordinate inside the image
        const std::int64_t i = (c - start) * majorSign;
        if (i < 0 || i >= major)
            continue;
        const __int128 q = (__int128(2) * i * minor + major) / (__int128(2) * major);
        const std::int64_t b = static_cast<std::int64_t>(q) * minorSign;
        const std::int64_t x = xMajor ? c : ax + b;
        const std::int64_t y = xMajor ? ay + b : c;
        if (x >= 0 && y >= 0 && x < width && y < height)
            pixels[static_cast<std::size_t>(y * width + x)] = true;
    }
}

struct Stretch {
    ViewRect view;
    std::int32_t pictureWidth;
    std::int32_t pictureHeight;
    double x(std::int32_t p) const {
        return view.left + p * ((double(view.right) - view.left) / pictureWidth);
    }
    double y(std::int32_t p) const {
        return view.top + p * ((double(view.bottom) - view.top) / pictureHeight);
    }
};

// Draws random lines and one long polyline through the picture and compares with the rule.
void expectTheRule(const Stretch& stretch, std::int32_t spread, unsigned seed) {
    constexpr int kWidth = 160;
    constexpr int kHeight = 120;
    Picture picture(stretch.pictureWidth, stretch.pictureHeight, 1, 1);
    RecordingCanvas canvas(picture);
    canvas.setPen(Pen{kBlack, 0, LineStyle::Solid, RasterMode::CopyPen});
    std::mt19937 random(seed);
    std::uniform_int_distribution<std::int32_t> coordinate(-spread, stretch.pictureWidth + spread);
    std::vector<bool> expected(kWidth * kHeight, false);
    for (int i = 0; i < 3000; ++i) {
        const Point a{coordinate(random), coordinate(random)};
        const Point b{coordinate(random), coordinate(random)};
        canvas.line(a, b);
        referenceLine(expected, kWidth, kHeight, stretch.x(a.x), stretch.y(a.y), stretch.x(b.x),
                      stretch.y(b.y));
    }
    std::vector<Point> path;
    for (int i = 0; i < 1200; ++i) // longer than one run of the mapping
        path.push_back({coordinate(random), coordinate(random)});
    canvas.polyline(path);
    for (std::size_t i = 0; i + 1 < path.size(); ++i)
        referenceLine(expected, kWidth, kHeight, stretch.x(path[i].x), stretch.y(path[i].y),
                      stretch.x(path[i + 1].x), stretch.y(path[i + 1].y));

    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    drawPicture(image, picture, stretch.view);
    int wrong = 0;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            wrong +=
                ((image.pixel(x, y) & 0xFFFFFF) == 0) != expected[static_cast<std::size_t>(y * kWidth + x)];
    EXPECT_EQ(wrong, 0) << "view " << stretch.view.left << ' ' << stretch.view.top << ' '
                        << stretch.view.right << ' ' << stretch.view.bottom;
}

TEST(ThinLineReplay, FollowsTheRuleAtEveryStretch) {
    // The whole picture in the image, lines inside and across the edges.
    expectTheRule({{0, 0, 160, 120}, 5424, 3780}, 2000, 1);
    // Far away: a few pixels for the whole picture, many lines per pixel.
    expectTheRule({{40, 60, 50, 67}, 5424, 3780}, 200, 2);
    // Close up, and the image in the middle of the stretched frame.
    expectTheRule({{-30000, -20000, 30000, 21000}, 5424, 3780}, 500, 3);
    // The largest view rectangle, with lines from far outside the paper.
    expectTheRule({{-kViewLimit, -kViewLimit, kViewLimit, kViewLimit}, 5424, 3780}, 100000000, 4);
}

TEST(ThinLineReplay, AFarEndPointDoesNotBendTheLine) {
    // Slope 1/2 through the view's origin from end points 10^12 device pixels away.
    Picture picture(100, 100, 1, 1);
    RecordingCanvas canvas(picture);
    canvas.setPen(Pen{kBlack, 0, LineStyle::Solid, RasterMode::CopyPen});
    canvas.line({-1000000000, -500000000}, {1000000000, 500000000});
    QImage image(100, 100, QImage::Format_RGB32);
    image.fill(Qt::white);
    drawPicture(image, picture, {0, 0, 100000, 100000});
    EXPECT_EQ(image.pixel(50, 25) & 0xFFFFFF, 0u);
    EXPECT_EQ(image.pixel(51, 26) & 0xFFFFFF, 0u); // 25.5 goes up
    EXPECT_EQ(image.pixel(99, 50) & 0xFFFFFF, 0u);
    EXPECT_EQ(image.pixel(99, 49) & 0xFFFFFF, 0xFFFFFFu);
}

TEST(WideLineReplay, CoversThePixelsWhoseCentresLieWithinHalfTheWidth) {
    constexpr int kWidth = 120;
    constexpr int kHeight = 90;
    const ViewRect view{-37, -23, 151, 109}; // 5424 × 3780 picture pixels onto 188 × 132
    const double scaleX = 188.0 / 5424;
    const double scaleY = 132.0 / 3780;
    std::mt19937 random(7);
    std::uniform_int_distribution<std::int32_t> x(-500, 5900);
    std::uniform_int_distribution<std::int32_t> y(-500, 4200);
    std::uniform_int_distribution<std::int32_t> width(50, 400);
    int wrong = 0;
    int drawn = 0;
    for (int i = 0; i < 120; ++i) {
        Picture picture(5424, 3780, 18.9, 18.9);
        RecordingCanvas canvas(picture);
        const std::int32_t w = width(random);
        canvas.setPen(Pen{kBlack, w, LineStyle::Solid, RasterMode::CopyPen});
        const Point a{x(random), y(random)};
        const Point b = i % 10 == 0 ? a : Point{x(random), y(random)}; // some dots
        canvas.line(a, b);
        QImage image(kWidth, kHeight, QImage::Format_RGB32);
        image.fill(Qt::white);
        drawPicture(image, picture, view);
        const double half = w * (scaleX + scaleY) / 2 / 2;
        const double ax = view.left + a.x * scaleX, ay = view.top + a.y * scaleY;
        const double bx = view.left + b.x * scaleX, by = view.top + b.y * scaleY;
        for (int py = 0; py < kHeight; ++py)
            for (int px = 0; px < kWidth; ++px) {
                const double cx = px + 0.5, cy = py + 0.5;
                const double dx = bx - ax, dy = by - ay;
                const double length2 = dx * dx + dy * dy;
                const double t =
                    length2 > 0 ? std::clamp(((cx - ax) * dx + (cy - ay) * dy) / length2, 0.0, 1.0) : 0.0;
                const double distance = std::hypot(cx - (ax + t * dx), cy - (ay + t * dy));
                const bool black = (image.pixel(px, py) & 0xFFFFFF) == 0;
                drawn += black;
                if (std::abs(distance - half) > 1e-9)
                    wrong += black != (distance < half);
            }
    }
    EXPECT_EQ(wrong, 0);
    EXPECT_GT(drawn, 5000);
}

TEST(WideLineReplay, EachLineCombinesWithTheImageOnItsOwn) {
    // Two crossing wide lines in exclusive-or: where they overlap the image is inverted twice.
    Picture picture(100, 100, 1, 1);
    RecordingCanvas canvas(picture);
    canvas.setPen(Pen{Colour::fromRgb(255, 255, 255), 10, LineStyle::Solid, RasterMode::XorPen});
    canvas.line({10, 50}, {90, 50});
    canvas.line({50, 10}, {50, 90});
    QImage image(100, 100, QImage::Format_RGB32);
    image.fill(Qt::white);
    drawPicture(image, picture, {0, 0, 100, 100});
    EXPECT_EQ(image.pixel(20, 50) & 0xFFFFFF, 0u);
    EXPECT_EQ(image.pixel(50, 20) & 0xFFFFFF, 0u);
    EXPECT_EQ(image.pixel(50, 50) & 0xFFFFFF, 0xFFFFFFu);
}

TEST(WideAndStyledLines, AtTheLimitOnlyTheLinesThatReachTheImageAreDrawn) {
    // Wide, dashed and filled shapes from far beyond the image at the largest view rectangle: the
    // painter gets only what can show (stroking the rest would take minutes), and the view shows
    // the middle of the figure.
    Picture picture(5424, 3780, 18.9, 18.9);
    RecordingCanvas canvas(picture);
    canvas.setPen(Pen{kBlack, 40, LineStyle::Solid, RasterMode::CopyPen});
    for (int i = 0; i < 20000; ++i)
        canvas.line({i % 5424, 0}, {i % 5424, 3780});
    canvas.setPen(Pen{kBlack, 0, LineStyle::Dashed, RasterMode::CopyPen});
    canvas.line({-1000000000, 1890}, {1000000000, 1890});
    canvas.setBrush({kBlack, FillPattern::Solid});
    canvas.polygon(std::vector<Point>{{-1000000, -1000000}, {1000000, -1000000}, {0, 1000000}});
    QImage image(688, 469, QImage::Format_RGB32);
    image.fill(Qt::white);
    drawPicture(image, picture, {-kViewLimit, -kViewLimit, kViewLimit, kViewLimit});
    EXPECT_EQ(image.pixel(344, 234) & 0xFFFFFF, 0u);
}

TEST(BandedReplay, BandsTogetherGiveThePixelsOfOneDrawing) {
    // Bands meet inside lines, fills and inverting pens: a pixel drawn twice (by both bands) or
    // left out shows as a difference from the drawing in one piece.
    Picture picture(400, 300, 1, 1);
    RecordingCanvas canvas(picture);
    std::mt19937 random(7);
    std::uniform_int_distribution<std::int32_t> coordinate(-50, 450);
    const RasterMode modes[] = {RasterMode::CopyPen, RasterMode::XorPen, RasterMode::NotXorPen,
                                RasterMode::Not, RasterMode::MergePen};
    const LineStyle styles[] = {LineStyle::Solid, LineStyle::Dashed, LineStyle::DashDot};
    for (int i = 0; i < 400; ++i) {
        const Colour colour = Colour::fromRgb(random() % 256, random() % 256, random() % 256);
        canvas.setPen(Pen{colour, static_cast<std::int32_t>(random() % 4 == 0 ? random() % 12 : 0),
                          styles[random() % 3], modes[random() % 5]});
        const Point a{coordinate(random), coordinate(random)};
        const Point b{coordinate(random), coordinate(random)};
        const Point c{coordinate(random), coordinate(random)};
        if (i % 10 == 0) {
            canvas.setBrush({colour, FillPattern::Solid});
            canvas.polygon(std::vector<Point>{a, b, c});
        } else if (i % 10 == 1) {
            canvas.polyline(std::vector<Point>{a, b, c});
        } else {
            canvas.line(a, b);
        }
    }
    QImage whole(161, 117, QImage::Format_RGB32); // odd sizes: the bands are of unequal heights
    whole.fill(Qt::white);
    drawPictureInBands(whole, picture, {0, 0, 161, 117}, 1);
    for (int bands : {2, 3, 7}) {
        QImage banded(161, 117, QImage::Format_RGB32);
        banded.fill(Qt::white);
        drawPictureInBands(banded, picture, {0, 0, 161, 117}, bands);
        EXPECT_TRUE(banded == whole) << bands << " bands";
    }
}

} // namespace
} // namespace zelkova::plot
