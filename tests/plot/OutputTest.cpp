// Shows that the outputs place the picture where the viewer shows it: the printed rectangle in
// landscape and portrait with halves to even, the selection frame however it was dragged, the
// whole figure in its margin, and which pictures need a raster print and in how many bands.
#include "plot/Output.h"

#include "plot/Picture.h"

#include <gtest/gtest.h>

namespace zelkova::plot {
namespace {

// The printable area of the PDF printer: A4 with 5 mm margins at 1200 dpi, 287 × 200 mm.
constexpr std::int32_t kPageLong = 13559;
constexpr std::int32_t kPageShort = 9449;
constexpr ViewRect kOriginalView{0, 0, 688, 469};

TEST(PrintedRectangle, InLandscapeTheOriginalViewIsExactlyThePage) {
    const PrintScale scale = printScale(PageOrientation::Landscape, kPageLong, kPageShort, 688, 469);
    EXPECT_EQ(printedRect(kOriginalView, scale), (ViewRect{0, 0, kPageLong, kPageShort}));
    // Each axis on its own: a view stretched wider than the page's aspect is squeezed, not cut.
    const PrintScale square = printScale(PageOrientation::Landscape, 1000, 1000, 688, 469);
    EXPECT_EQ(printedRect(kOriginalView, square), (ViewRect{0, 0, 1000, 1000}));
}

TEST(PrintedRectangle, InPortraitTheHeightFillsThePageAndTheRightPartFallsOff) {
    const PrintScale scale = printScale(PageOrientation::Portrait, kPageShort, kPageLong, 688, 469);
    const ViewRect printed = printedRect(kOriginalView, scale);
    EXPECT_EQ(printed, (ViewRect{0, 0, 19890, kPageLong}));
    EXPECT_GT(printed.right, kPageShort); // beyond the page's width
    EXPECT_NEAR(double(printed.right) / printed.bottom, 688.0 / 469, 1e-4);
}

TEST(PrintedRectangle, AHalfPannedViewPrintsTheSameHalfWithHalvesToEven) {
    const PrintScale scale = printScale(PageOrientation::Landscape, kPageLong, kPageShort, 688, 469);
    // Panned right by half the view: the figure's left edge lands mid-page. 344 × 13559 / 688 is
    // exactly 6779.5 and 1032 × 13559 / 688 exactly 20338.5: both go to the even neighbour.
    EXPECT_EQ(printedRect({344, 0, 1032, 469}, scale), (ViewRect{6780, 0, 20338, kPageShort}));
    const PrintScale halves = printScale(PageOrientation::Landscape, 5, 5, 2, 2);
    EXPECT_EQ(printedRect({1, 3, 5, -3}, halves), (ViewRect{2, 8, 12, -8}));
}

TEST(PrintedRectangle, AViewWithoutAreaPrintsNothing) {
    const PrintScale scale = printScale(PageOrientation::Landscape, kPageLong, kPageShort, 0, 469);
    EXPECT_EQ(printedRect(kOriginalView, scale), (ViewRect{0, 0, 0, 0}));
}

TEST(SelectionFrame, IsTheSameWhicheverWayTheFrameWasDragged) {
    const OutputFrame down = selectionFrame(kOriginalView, {100, 50}, {300, 200});
    EXPECT_EQ(down.width, 200);
    EXPECT_EQ(down.height, 150);
    EXPECT_EQ(down.target, (ViewRect{-100, -50, 588, 419}));
    EXPECT_EQ(selectionFrame(kOriginalView, {300, 200}, {100, 50}), down);
    EXPECT_EQ(selectionFrame(kOriginalView, {100, 200}, {300, 50}), down);
    EXPECT_EQ(selectionFrame(kOriginalView, {300, 50}, {100, 200}), down);
}

TEST(SelectionFrame, ZoomedViewsAreCopiedAtScreenScale) {
    // One 拡大 at 1.414 from the original view: the copy holds the zoomed figure, moved.
    const OutputFrame frame = selectionFrame({0, -194, 973, 469}, {10, 20}, {110, 70});
    EXPECT_EQ(frame.target, (ViewRect{-10, -214, 963, 449}));
    EXPECT_EQ(frame.width, 100);
    EXPECT_EQ(frame.height, 50);
}

TEST(SelectionFrame, AClickWithoutDragHasNoArea) {
    EXPECT_FALSE(selectionFrame(kOriginalView, {5, 5}, {5, 5}).hasArea());
    EXPECT_FALSE(selectionFrame(kOriginalView, {5, 5}, {90, 5}).hasArea());
    EXPECT_FALSE(selectionFrame(kOriginalView, {5, 5}, {5, 90}).hasArea());
    EXPECT_TRUE(selectionFrame(kOriginalView, {5, 5}, {6, 6}).hasArea());
}

TEST(WholeFigure, IsTheDrawnExtentsInATenPixelMarginAtTheirOwnSize) {
    Picture picture(5424, 3780, 18.9, 18.9);
    picture.setDrawnExtents({-30, 500, 100, 3900});
    const auto frame = wholeFigureFrame(picture);
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->width, 550);   // 500 − (−30) + 20
    EXPECT_EQ(frame->height, 3820); // 3900 − 100 + 20
    EXPECT_EQ(frame->target, (ViewRect{40, -90, 40 + 5424, -90 + 3780}));
    // One picture pixel to one output pixel.
    EXPECT_EQ(frame->target.right - frame->target.left, picture.width());
}

TEST(WholeFigure, IsRefusedWhileNothingHasBeenDrawn) {
    Picture picture(5424, 3780, 18.9, 18.9);
    EXPECT_FALSE(wholeFigureFrame(picture));
    Extents partly;
    partly.minX = 0;
    partly.maxX = 10; // y still at its start values
    picture.setDrawnExtents(partly);
    EXPECT_FALSE(wholeFigureFrame(picture));
    // The widest extents the conversions can reach still fit.
    picture.setDrawnExtents({-1000000000, 1000000000, 0, 0});
    const auto widest = wholeFigureFrame(picture);
    ASSERT_TRUE(widest);
    EXPECT_EQ(widest->width, 2000000020);
    EXPECT_FALSE(bitmapFits(*widest));
}

TEST(RasterPrint, IsNeededOnlyForPensThatCombineWithWhatLiesUnder) {
    const auto pictureWith = [](RasterMode mode) {
        Picture picture(100, 100, 1, 1);
        RecordingCanvas canvas(picture);
        canvas.setPen({Colour::fromRgb(0, 0, 0), 0, LineStyle::Solid, RasterMode::CopyPen});
        canvas.line({0, 0}, {10, 10});
        canvas.setPen({Colour::fromRgb(255, 0, 0), 0, LineStyle::Solid, mode});
        canvas.line({0, 10}, {10, 0});
        return picture;
    };
    for (int m = 1; m <= 16; ++m) {
        const auto mode = static_cast<RasterMode>(m);
        const bool fixedColour = mode == RasterMode::Black || mode == RasterMode::White ||
                                 mode == RasterMode::Nop || mode == RasterMode::CopyPen ||
                                 mode == RasterMode::NotCopyPen;
        EXPECT_EQ(needsRasterModes(pictureWith(mode)), !fixedColour) << rasterModeName(mode);
    }
    EXPECT_FALSE(needsRasterModes(Picture()));
}

TEST(RasterPrint, AnA4PageAt600DpiIsCutIntoBandsOfAtMostTheBudget) {
    // A4 portrait at 600 dpi: 4961 × 7016 pixels, 139 MB in one piece; 4 MB bands of 211 rows.
    const std::int32_t rows = bandRows(4961);
    EXPECT_LE(std::size_t(rows) * 4961 * 4, kRasterBandBytes);
    EXPECT_GT(std::size_t(rows + 1) * 4961 * 4, kRasterBandBytes);
    EXPECT_EQ((7016 + rows - 1) / rows, 34);
    EXPECT_EQ(bandRows(100000000, 16), 1); // never less than a row
}

TEST(MetafileFrame, FollowsThePixelsPerInch) {
    EXPECT_EQ(hundredthsOfMm(96, 96), 2540);
    EXPECT_EQ(hundredthsOfMm(688, 96), 18203); // 18202.67
    EXPECT_EQ(hundredthsOfMm(5424, 96), 143510);
}

} // namespace
} // namespace zelkova::plot
