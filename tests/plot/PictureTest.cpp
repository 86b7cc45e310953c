// Shows that the retained picture keeps what the recording canvas is given, hands it back in order
// at a replay, and dumps it as the batch tool's text.
#include "PlotTestSupport.h"

#include "plot/Picture.h"

#include <gtest/gtest.h>

namespace zelkova::plot {
namespace {

using testing::CallRecorder;
using Kind = testing::CanvasCall::Kind;

constexpr Pen kBlackPen{Colour::fromRgb(0, 0, 0), 2, LineStyle::Solid, RasterMode::CopyPen};

TEST(Recording, SelectsAPenOnlyWhenItChangesAndJoinsLinesIntoBatches) {
    Picture picture(5424, 3780, 18.9, 18.9);
    RecordingCanvas canvas(picture);
    canvas.setPen(kBlackPen);
    for (int i = 0; i < 3000; ++i) {
        canvas.setPen(kBlackPen);
        canvas.line({i, 0}, {i, 10});
    }
    Pen red = kBlackPen;
    red.colour = Colour::fromRgb(255, 0, 0);
    canvas.setPen(red);
    canvas.line({0, 0}, {1, 1});
    const auto& ops = picture.ops();
    ASSERT_EQ(ops.size(), 6u); // pen, three batches (1024 + 1024 + 952), pen, lines
    EXPECT_EQ(ops[0].kind, OpKind::Pen);
    EXPECT_EQ(ops[1].count, 2 * Picture::kLinesPerOp);
    EXPECT_EQ(ops[3].count, 2u * 952);
    EXPECT_EQ(ops[3].bounds, (Bounds{2048, 0, 2999, 10}));
    EXPECT_EQ(picture.pen(ops[4]), red);
}

TEST(Recording, LeavesOutShapesThatCannotShow) {
    Picture picture(100, 100, 1, 1);
    RecordingCanvas canvas(picture);
    Pen none = kBlackPen;
    none.colour = kNoColour;
    canvas.setPen(none);
    canvas.line({0, 0}, {1, 1});
    Pen invisible = kBlackPen;
    invisible.style = LineStyle::Invisible;
    canvas.setPen(invisible);
    canvas.polyline(std::vector<Point>{{0, 0}, {1, 1}});
    canvas.setBrush({Colour::fromRgb(1, 2, 3), FillPattern::Hollow});
    const std::vector<Point> triangle{{0, 0}, {9, 0}, {9, 9}};
    canvas.polygon(triangle);
    Pen nop = kBlackPen;
    nop.mode = RasterMode::Nop;
    canvas.setPen(nop);
    canvas.line({0, 0}, {1, 1});
    EXPECT_TRUE(picture.empty());
    // An invisible outline with a fill still records.
    canvas.setPen(invisible);
    canvas.setBrush({Colour::fromRgb(1, 2, 3), FillPattern::Solid});
    canvas.polygon(triangle);
    EXPECT_EQ(picture.ops().size(), 3u);
}

TEST(Replay, HandsBackTheSameCallsInOrder) {
    Picture picture(100, 100, 1, 1);
    RecordingCanvas canvas(picture);
    canvas.setPen(kBlackPen);
    canvas.line({1, 2}, {3, 4});
    canvas.line({5, 6}, {7, 8});
    canvas.setBrush({Colour::fromRgb(0, 128, 0), FillPattern::Cross});
    canvas.polygon(std::vector<Point>{{0, 0}, {9, 0}, {9, 9}});
    canvas.polyline(std::vector<Point>{{0, 0}, {5, 5}, {9, 0}});
    CallRecorder calls;
    replay(picture, calls);
    ASSERT_EQ(calls.calls.size(), 4u);
    EXPECT_EQ(calls.calls[1].points, (std::vector<Point>{{5, 6}, {7, 8}}));
    EXPECT_EQ(calls.calls[2].kind, Kind::Polygon);
    EXPECT_EQ(calls.calls[2].brush.pattern, FillPattern::Cross);
    EXPECT_EQ(calls.calls[3].kind, Kind::Polyline);
    EXPECT_EQ(calls.calls[3].pen, kBlackPen);
}

class NothingShows final : public Canvas {
public:
    void setPen(const Pen&) override {}
    void setBrush(const Brush&) override {}
    void line(Point, Point) override { ++drawn; }
    void polyline(std::span<const Point>) override { ++drawn; }
    void polygon(std::span<const Point>) override { ++drawn; }
    void text(const TextOp&) override { ++drawn; }
    void image(const ImageOp&) override { ++drawn; }
    bool mayShow(const Bounds&) const override { return false; }
    int drawn = 0;
};

TEST(Replay, SkipsWhatTheCanvasCannotShow) {
    Picture picture(100, 100, 1, 1);
    RecordingCanvas canvas(picture);
    canvas.setPen(kBlackPen);
    canvas.line({1, 2}, {3, 4});
    canvas.polyline(std::vector<Point>{{0, 0}, {5, 5}});
    NothingShows target;
    replay(picture, target);
    EXPECT_EQ(target.drawn, 0);
}

TEST(Dump, WritesOneOperationPerLine) {
    Picture picture(5424, 3780, 18.9, 18.9);
    EXPECT_EQ(dumpPicture(picture), "picture 5424 3780\nextents none\n");
    RecordingCanvas canvas(picture);
    canvas.setPen({Colour::fromRgb(255, 128, 0), 4, LineStyle::DashDot, RasterMode::XorPen});
    canvas.line({1, 2}, {3, 4});
    canvas.setBrush({kNoColour, FillPattern::DiagonalCross});
    canvas.polygon(std::vector<Point>{{0, 0}, {9, 0}, {9, 9}});
    canvas.polyline(std::vector<Point>{{0, 0}, {5, 5}});
    picture.setDrawnExtents({0, 9, 0, 9});
    EXPECT_EQ(dumpPicture(picture), "picture 5424 3780\n"
                                    "extents 0 9 0 9\n"
                                    "pen #ff8000 4 dash-dot xor\n"
                                    "line 1 2 3 4\n"
                                    "brush none diagonal-cross\n"
                                    "polygon 3 0 0 9 0 9 9\n"
                                    "polyline 2 0 0 5 5\n");
}

} // namespace
} // namespace zelkova::plot

namespace zelkova::plot {
namespace {

TextOp textOp(std::string text, Point at, std::int32_t escapement = 0) {
    TextOp op;
    op.text = std::move(text);
    op.at = at;
    op.height = 40;
    op.escapement = escapement;
    return op;
}

std::shared_ptr<const Bitmap> bitmapOf(std::int32_t width, std::int32_t height, bool twoColour = false) {
    auto bitmap = std::make_shared<Bitmap>();
    bitmap->width = width;
    bitmap->height = height;
    bitmap->pixels.assign(static_cast<std::size_t>(width * height), 0xFFFFFFFFu);
    bitmap->twoColour = twoColour;
    return bitmap;
}

TEST(TextsAndImages, AreRecordedWhateverThePenAndReplayedInOrder) {
    Picture picture(5424, 3780, 18.9, 18.9);
    RecordingCanvas canvas(picture);
    Pen nothing = kBlackPen;
    nothing.mode = RasterMode::Nop; // a pen that draws no line
    canvas.setPen(nothing);
    canvas.text(textOp("A", {10, 20}));
    const auto bitmap = bitmapOf(4, 2);
    canvas.image({bitmap, 0, 0, 40, 20});
    canvas.setPen(kBlackPen);
    canvas.line({0, 0}, {1, 1});
    CallRecorder target;
    replay(picture, target);
    ASSERT_EQ(target.texts.size(), 1u);
    EXPECT_EQ(target.texts[0].text, "A");
    EXPECT_EQ(target.texts[0].at, (Point{10, 20}));
    ASSERT_EQ(target.images.size(), 1u);
    EXPECT_EQ(target.images[0].bitmap.get(), bitmap.get()) << "the pixels are shared, not copied";
    EXPECT_EQ(target.calls.size(), 1u);
}

TEST(TextsAndImages, AreSkippedOutsideTheViewByTheirTurnedCells) {
    Picture picture(5424, 3780, 18.9, 18.9);
    RecordingCanvas canvas(picture);
    canvas.text(textOp("ABCD", {1000, 1000}));      // runs right
    canvas.text(textOp("ABCD", {1000, 1000}, 900)); // runs up
    canvas.image({bitmapOf(2, 2), 10, 20, 30, 40});
    const auto& ops = picture.ops();
    ASSERT_EQ(ops.size(), 3u);
    // Four bytes of at most half a cell each, a quarter of a cell around.
    EXPECT_EQ(ops[0].bounds, (Bounds{990, 990, 1090, 1050}));
    EXPECT_EQ(ops[1].bounds, (Bounds{990, 910, 1050, 1010}));
    EXPECT_EQ(ops[2].bounds, (Bounds{10, 20, 30, 40}));
    NothingShows target;
    replay(picture, target);
    EXPECT_EQ(target.drawn, 0);
}

TEST(Dump, WritesTextsAndImages) {
    Picture picture(5424, 3780, 18.9, 18.9);
    RecordingCanvas canvas(picture);
    TextOp vertical = textOp("\x8F\x63\x8F\x91\x82\xAB AB", {5045, 189}, -900); // 縦書き AB
    vertical.face = TextFace::Vertical;
    vertical.extraSpacing = 7;
    vertical.height = 132;
    canvas.text(vertical);
    canvas.image({bitmapOf(400, 200), 0, 3213, 1134, 3780});
    canvas.image({bitmapOf(10, 10, true), 5, 6, 7, 8});
    EXPECT_EQ(dumpPicture(picture), "picture 5424 3780\n"
                                    "extents none\n"
                                    "text 5045 189 132 -900 7 vertical 縦書き AB\n"
                                    "image 0 3213 1134 3780 400 200 colour\n"
                                    "image 5 6 7 8 10 10 two-colour\n");
}

TEST(Reductions, HalveTheBitmapByAveragingDownToAFewPixels) {
    Bitmap bitmap;
    bitmap.width = 70;
    bitmap.height = 33;
    bitmap.pixels.assign(70 * 33, 0xFFFFFFFFu);
    for (std::int32_t x = 0; x < 70; x += 2)
        bitmap.pixels[static_cast<std::size_t>(x)] = 0xFF000000u; // black dots along the top row
    makeReductions(bitmap);
    ASSERT_EQ(bitmap.reductions.size(), 3u);
    EXPECT_EQ(bitmap.reductions[0].width, 35);
    EXPECT_EQ(bitmap.reductions[0].height, 17);
    EXPECT_EQ(bitmap.reductions[2].width, 9);
    EXPECT_EQ(bitmap.reductions[2].height, 5);
    // One black pixel in four: three quarters white.
    EXPECT_EQ(bitmap.reductions[0].pixels[0], 0xFFBFBFBFu);
    EXPECT_EQ(bitmap.reductions[0].pixels[35], 0xFFFFFFFFu);

    std::int32_t w = 0;
    std::int32_t h = 0;
    EXPECT_EQ(bitmap.planeFor(30, 10, w, h), bitmap.reductions[0].pixels.data());
    EXPECT_EQ(w, 35);
    EXPECT_EQ(bitmap.planeFor(5, 5, w, h), bitmap.reductions[2].pixels.data());
    EXPECT_EQ(bitmap.planeFor(-30, -10, w, h), bitmap.reductions[0].pixels.data()) << "mirrored targets";
    EXPECT_EQ(bitmap.planeFor(36, 2, w, h), bitmap.pixels.data());
    EXPECT_EQ(w, 70);
}

} // namespace
} // namespace zelkova::plot
