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
