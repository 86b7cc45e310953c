// Shows that wide round-ended lines cover the pixels within half their width of the segment, each
// once, so that a not-xor line drawn twice leaves the pixels as they were; and that a line drawn
// in two bands is the line drawn in one piece.
#include "plot/RoundLines.h"

#include <gtest/gtest.h>

#include <vector>

namespace zelkova::plot {
namespace {

constexpr std::uint32_t kWhite = 0xFFFFFFFFu;

struct Pixels {
    Pixels(int w, int h) : width(w), height(h), bits(std::size_t(w) * h, kWhite) {}
    PixelArea area() { return {bits.data(), width, 0, 0, width - 1, height - 1}; }
    std::uint32_t at(int x, int y) const { return bits[std::size_t(y) * width + x] & 0xFFFFFF; }
    int count(std::uint32_t rgb) const {
        int n = 0;
        for (std::uint32_t p : bits)
            n += (p & 0xFFFFFF) == rgb;
        return n;
    }
    int width;
    int height;
    std::vector<std::uint32_t> bits;
};

TEST(RoundLines, CoverThePixelsWithinHalfTheWidthWithRoundEnds) {
    Pixels p(40, 20);
    fillRoundLine(p.area(), 10, 10.5, 30, 10.5, 5, RasterMode::CopyPen, 0xFF0000);
    EXPECT_EQ(p.at(20, 8), 0xFF0000u); // centres 8.5 to 12.5 lie within 2.5 of 10.5
    EXPECT_EQ(p.at(20, 12), 0xFF0000u);
    EXPECT_EQ(p.at(20, 7), 0xFFFFFFu);
    EXPECT_EQ(p.at(20, 13), 0xFFFFFFu);
    EXPECT_EQ(p.at(7, 10), 0xFF0000u); // the round end reaches 2.5 beyond the end point
    EXPECT_EQ(p.at(6, 10), 0xFFFFFFu);
    EXPECT_EQ(p.at(8, 8), 0xFF0000u); // 1.5 along and 2 across from the end: within the disc
    EXPECT_EQ(p.at(7, 8), 0xFFFFFFu);
    EXPECT_EQ(p.at(32, 10), 0xFF0000u);
    EXPECT_EQ(p.at(33, 10), 0xFFFFFFu);
    // A point is a disc.
    Pixels dot(10, 10);
    fillRoundLine(dot.area(), 5, 5, 5, 5, 4, RasterMode::CopyPen, 0x0000FF);
    EXPECT_EQ(dot.count(0x0000FF), 12); // centres within 2 of (5, 5)
}

TEST(RoundLines, TouchEachPixelOnceSoThatNotXorTwiceRestoresIt) {
    Pixels p(60, 60);
    const std::vector<std::uint32_t> white = p.bits;
    for (int pass = 0; pass < 2; ++pass) {
        fillRoundLine(p.area(), 5.3, 7.1, 52.8, 44.6, 6.5, RasterMode::NotXorPen, 0x00FF00);
        fillRoundLine(p.area(), 50, 5, 8, 50, 3, RasterMode::NotXorPen, 0x0000FF);
    }
    EXPECT_EQ(p.bits, white);
    // Where a second not-xor line of the same colour covers the first, the paper comes back.
    fillRoundLine(p.area(), 0, 30, 60, 30, 4, RasterMode::NotXorPen, 0xFF0000);
    fillRoundLine(p.area(), 30, 0, 30, 60, 4, RasterMode::NotXorPen, 0xFF0000);
    EXPECT_EQ(p.at(30, 30), 0xFFFFFFu);
    EXPECT_EQ(p.at(30, 10), 0xFF0000u);
    EXPECT_EQ(p.at(10, 30), 0xFF0000u);
}

TEST(RoundLines, DrawnInTwoBandsAreTheLineDrawnInOnePiece) {
    Pixels whole(50, 40);
    fillRoundLine(whole.area(), 3.2, 2.7, 46.1, 37.9, 7, RasterMode::XorPen, 0x123456);
    Pixels bands(50, 40);
    PixelArea top = bands.area();
    top.bottom = 16;
    PixelArea bottom{bands.bits.data() + 17 * 50, 50, 0, 0, 49, 22}; // rows 17 to 39, moved up
    fillRoundLine(top, 3.2, 2.7, 46.1, 37.9, 7, RasterMode::XorPen, 0x123456);
    fillRoundLine(bottom, 3.2, 2.7 - 17, 46.1, 37.9 - 17, 7, RasterMode::XorPen, 0x123456);
    EXPECT_EQ(bands.bits, whole.bits);
}

TEST(RoundLines, NeverTouchAnythingOutsideTheArea) {
    Pixels p(30, 30);
    PixelArea inner{p.bits.data(), 30, 10, 10, 19, 19};
    fillRoundLine(inner, -1e12, 15, 1e12, 15, 9, RasterMode::CopyPen, 0);
    fillRoundLine(inner, 15, -5e11, 15.5, 5e11, 9, RasterMode::CopyPen, 0);
    fillRoundLine(inner, 0, 0, 29, 29, 1e15, RasterMode::CopyPen, 0);
    EXPECT_EQ(p.count(0), 100);
    EXPECT_EQ(p.at(9, 15), 0xFFFFFFu);
    EXPECT_EQ(p.at(15, 20), 0xFFFFFFu);
    fillRoundLine(inner, 15, 15, 16, 16, 0, RasterMode::CopyPen, 0x00FF00); // no width: nothing
    EXPECT_EQ(p.count(0x00FF00), 0);
}

} // namespace
} // namespace zelkova::plot
