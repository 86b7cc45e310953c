// Shows that records drawn against a recording canvas, and whole figures read into the retained
// picture, follow the conversions, pens and width mapping, curves, points, solids, b-records, the
// ends of figures and the off-screen messages.
#include "PlotTestSupport.h"
#include "ScriptedMessageBoxes.h"

#include "plot/Picture.h"
#include "plot/Renderer.h"
#include "plot/ViewerTexts.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace zelkova::plot {
namespace {

using testing::CallRecorder;
using testing::CanvasCall;
using testing::readerOf;
using Kind = CanvasCall::Kind;

constexpr Colour kBlack = Colour::fromRgb(0, 0, 0);
constexpr Colour kRed = Colour::fromRgb(255, 0, 0);
constexpr Colour kGreen = Colour::fromRgb(0, 128, 0);
constexpr Colour kAqua = Colour::fromRgb(0, 255, 255);

// Draws the records of `text` (no start marker) onto a call recorder.
struct Drawing {
    explicit Drawing(const std::string& text, FigureSettings s = {}) : settings(std::move(s)) {
        const PictureGeometry geometry = PictureGeometry::forDpi(96, 96);
        Renderer renderer(canvas, geometry, scaleDenominatorOf(settings.scaleText), settings, messages);
        Reader reader = readerOf(text);
        while (auto record = reader.next())
            renderer.apply(*record);
        extents = renderer.extents();
    }
    FigureSettings settings;
    CallRecorder canvas;
    zelkova::testing::ScriptedMessageBoxes messages;
    Extents extents;
    const CanvasCall& call(std::size_t i) const { return canvas.calls.at(i); }
};

FigureSettings withScale(const char* scale) {
    FigureSettings s;
    s.scaleText = scale;
    return s;
}

TEST(Geometry, TheReferenceDeviceAtNinetySixDpiGivesTheFrameAndItsCorners) {
    const PictureGeometry g = PictureGeometry::forDpi(96, 96);
    EXPECT_EQ(g.width, 5424);
    EXPECT_EQ(g.height, 3780);
    EXPECT_NEAR(g.pixelsPerMmX, 18.8976, 1e-4);
    const Drawing d(" 0 0 287 200\r\n");
    ASSERT_EQ(d.canvas.calls.size(), 1u);
    EXPECT_EQ(d.call(0).points, (std::vector<Point>{{0, 3780}, {5424, 0}}));
}

TEST(Geometry, AScaleOfOneHundredMapsTheDrawingUnitsOfThePaperAreaOntoTheFrame) {
    const Drawing d(" 0 0 28700 20000\r\n", withScale("100"));
    EXPECT_EQ(d.call(0).points, (std::vector<Point>{{0, 3780}, {5424, 0}}));
    EXPECT_EQ(d.extents, (Extents{0, 5424, 0, 3780}));
}

TEST(Geometry, RoundingTakesHalvesToTheEvenNeighbourAndHoldsHugeValues) {
    EXPECT_EQ(rnd(0.5), 0);
    EXPECT_EQ(rnd(1.5), 2);
    EXPECT_EQ(rnd(2.5), 2);
    EXPECT_EQ(rnd(-0.5), 0);
    EXPECT_EQ(rnd(-1.5), -2);
    EXPECT_EQ(rnd(2.4999), 2);
    EXPECT_EQ(rnd(1e300), 1000000000);
    EXPECT_EQ(rnd(-1e300), -1000000000);
    EXPECT_EQ(rnd(std::nan("")), 0);
}

TEST(Geometry, ANegativeScaleMirrorsTheDrawingLeftOfAndBelowThePaper) {
    const Drawing d(" 10 10 20 20\r\n", withScale("-1"));
    EXPECT_LT(d.extents.maxX, 0);
    EXPECT_GT(d.extents.minY, 3780);
    EXPECT_EQ(offScreenMessages(d.extents, 5424, 3780).size(), 2u);
}

TEST(Geometry, TheScaleMustBeANumberOtherThanZero) {
    EXPECT_EQ(scaleDenominatorOf("2.5"), 2.5);
    EXPECT_THROW(scaleDenominatorOf("abc"), text::Failure);
    try {
        scaleDenominatorOf("0");
        ADD_FAILURE() << "a zero scale was accepted";
    } catch (const text::Failure& failure) {
        EXPECT_STREQ(failure.what(), "'0' は縮尺に使えません");
    }
}

TEST(WidthMapping, GivesOneTwoTimesNMinusOneOrTheThinnestLine) {
    EXPECT_EQ(widthMapping("1"), 1);
    EXPECT_EQ(widthMapping("2"), 2);
    EXPECT_EQ(widthMapping("3"), 4);
    EXPECT_EQ(widthMapping("20"), 38);
    EXPECT_EQ(widthMapping("0"), 0);
    EXPECT_EQ(widthMapping("21"), 0);
    EXPECT_EQ(widthMapping("-1"), 0);
    try {
        widthMapping("2.5");
        ADD_FAILURE() << "a width that is not an integer was accepted";
    } catch (const text::Failure& failure) {
        EXPECT_STREQ(failure.what(), "'2.5' は整数ではありません");
    }
}

TEST(Pens, TheFigureStartsWithABlackSolidCopyPenOfPenOnesWidth) {
    const Drawing d(" 0 0 1 1\r\n");
    EXPECT_EQ(d.call(0).pen, (Pen{kBlack, 2, LineStyle::Solid, RasterMode::CopyPen}));
    EXPECT_EQ(d.call(0).brush, (Brush{kNoColour, FillPattern::Hollow}));
}

TEST(Pens, LineColourSelectsAPensWidthAndInColourModeItsColour) {
    const Drawing colour("lc2\r\n 0 0 1 1\r\nlc11\r\nlc0\r\n 0 0 1 1\r\n");
    EXPECT_EQ(colour.call(0).pen.colour, kAqua);
    EXPECT_EQ(colour.call(0).pen.width, 4);
    EXPECT_EQ(colour.call(1).pen, colour.call(0).pen); // other pen numbers change nothing

    FigureSettings mono;
    mono.colourMode = false;
    mono.penWidthTexts[2] = "5";
    const Drawing m("lc3\r\n 0 0 1 1\r\nbl 16 1 10 1\r\n 0 0 0 0\r\n 1 0 0 0\r\n 1 1 0 0\r\ne\r\n", mono);
    EXPECT_EQ(m.call(0).pen.colour, kBlack); // monochrome leaves the pen black
    EXPECT_EQ(m.call(0).pen.width, 8);
    EXPECT_EQ(m.call(1).pen.colour, kRed); // a b-record's colour index still draws red
}

TEST(Pens, AWidthEditThatIsNotAnIntegerStopsAtTheLineColourRecord) {
    FigureSettings s;
    s.penWidthTexts[3] = "wide";
    EXPECT_THROW(Drawing("lc4\r\n", s), text::Failure);
}

TEST(Pens, LineTypesSetTheStyleAndInvisibleLinesStillWidenTheExtents) {
    const Drawing d("lt4\r\n 0 0 1 1\r\nlt0\r\n 0 0 1 1\r\nlt7\r\n 0 0 1 1\r\nlt9\r\n 100 100 101 101\r\n");
    EXPECT_EQ(d.call(0).pen.style, LineStyle::Dashed);
    EXPECT_EQ(d.call(1).pen.style, LineStyle::Dashed);
    EXPECT_EQ(d.call(2).pen.style, LineStyle::DashDotDot);
    EXPECT_EQ(d.call(3).pen.style, LineStyle::Invisible);
    EXPECT_EQ(d.extents.maxX, rnd(101 * 96 / 25.4 * 5));
}

TEST(Pens, PenSetSavesThePenAndPenEndRestoresIt) {
    const Drawing d("lc3\r\nms 13 3 15\r\n 0 0 1 1\r\nme\r\n 0 0 1 1\r\nms 99 0 99\r\n 0 0 1 1\r\n");
    EXPECT_EQ(d.call(0).pen, (Pen{Colour::fromRgb(0, 0, 255), 4, LineStyle::Solid, RasterMode::XorPen}));
    EXPECT_EQ(d.call(1).pen, (Pen{kRed, 4, LineStyle::Solid, RasterMode::CopyPen}));
    // Indexes outside the tables are ignored; the width number 0 is the thinnest line.
    EXPECT_EQ(d.call(2).pen, (Pen{kRed, 0, LineStyle::Solid, RasterMode::CopyPen}));
}

TEST(Curves, AFullCircleHasOnePointPerDegreeWithTheLastEqualToTheFirst) {
    const Drawing d("ci 100 100 10\r\n");
    ASSERT_EQ(d.call(0).kind, Kind::Polyline);
    const auto& points = d.call(0).points;
    ASSERT_EQ(points.size(), 361u);
    EXPECT_EQ(points.front(), points.back());
    EXPECT_EQ(points[0], (Point{rnd(110 * 96 / 25.4 * 5), 3780 - rnd(100 * 96 / 25.4 * 5)}));
    EXPECT_EQ(points[90], (Point{rnd(100 * 96 / 25.4 * 5), 3780 - rnd(110 * 96 / 25.4 * 5)}));
}

TEST(Curves, AnEndNotAboveTheStartGoesOnceRoundAndLongSpansDrawEveryDegree) {
    const Drawing d(
        "ci 0 0 5 90 0 1 0\r\nci 0 0 5 0 720 1 0\r\nci 0 0 5 0.5 2.5 1 0\r\nci 0 0 5 30 30 1 0\r\n");
    EXPECT_EQ(d.call(0).points.size(), 271u); // 90° to 360°
    EXPECT_EQ(d.call(1).points.size(), 721u);
    EXPECT_EQ(d.call(2).points.size(), 3u); // rnd(0.5) = 0, rnd(2.5) = 2
    EXPECT_EQ(d.call(3).points.size(), 361u);
}

TEST(Curves, FlatnessAndTiltShapeTheEllipse) {
    const PictureGeometry g = PictureGeometry::forDpi(96, 96);
    const Drawing d("ci 100 100 20 0 180 0.5 90\r\n");
    const auto& points = d.call(0).points;
    ASSERT_EQ(points.size(), 181u);
    // Tilted by 90°: the major axis is vertical, t = 90° lies half the radius to the left.
    EXPECT_EQ(points[0], (Point{rnd(100 * g.pixelsPerMmX), g.height - rnd(120 * g.pixelsPerMmY)}));
    EXPECT_EQ(points[90], (Point{rnd(90 * g.pixelsPerMmX), g.height - rnd(100 * g.pixelsPerMmY)}));
}

TEST(Curves, HugeSpansAreHeldToAHundredTurns) {
    const Drawing d("ci 0 0 5 0 1e12 1 0\r\n");
    EXPECT_EQ(d.call(0).points.size(), static_cast<std::size_t>(Renderer::kMaxCurvePoints));
}

TEST(Points, UsePenOnesColourAndWidthAndLeaveThePenAsItWas) {
    FigureSettings s;
    s.penColourNames[0] = "clLime";
    s.penWidthTexts[0] = "4";
    s.colourMode = false;
    const Drawing d("lc3\r\nms 13 1 7\r\npt 10 10\r\n 0 0 1 1\r\nme\r\npt 10 10\r\n 0 0 1 1\r\n", s);
    ASSERT_EQ(d.canvas.calls.size(), 4u);
    const CanvasCall& point = d.call(0);
    EXPECT_EQ(point.kind, Kind::Polyline);
    EXPECT_EQ(point.pen, (Pen{Colour::fromRgb(0, 255, 0), 6, LineStyle::Solid, RasterMode::CopyPen}));
    ASSERT_EQ(point.points.size(), 361u);
    const double ppm = 96 / 25.4 * 5;
    EXPECT_EQ(point.points[0], (Point{rnd(10.25 * ppm), 3780 - rnd(10 * ppm)}));
    EXPECT_EQ(point.points[90], (Point{rnd(10 * ppm), 3780 - rnd(10.25 * ppm)}));
    EXPECT_EQ(d.call(1).pen, (Pen{Colour::fromRgb(0, 0, 255), 1, LineStyle::Solid, RasterMode::MergePenNot}));
    // "me" after a point restores the pen saved by "ms", not the point's.
    EXPECT_EQ(d.call(3).pen, (Pen{kBlack, 4, LineStyle::Solid, RasterMode::CopyPen}));
}

TEST(Points, ThePointRadiusIsInPaperMillimetresWhateverTheScale) {
    const Drawing d("pt 1000 1000\r\n", withScale("100"));
    const double ppm = 96 / 25.4 * 5;
    EXPECT_EQ(d.call(0).points[0], (Point{rnd(10.25 * ppm), 3780 - rnd(10 * ppm)}));
}

TEST(Solids, WithoutAnExtendedColourTheyAreInvisible) {
    const Drawing d("sl 0 0 10 0 10 10\r\n");
    ASSERT_EQ(d.canvas.calls.size(), 1u);
    const CanvasCall& c = d.call(0);
    EXPECT_EQ(c.kind, Kind::Polygon);
    EXPECT_EQ(c.brush, (Brush{kNoColour, FillPattern::Hollow}));
    EXPECT_EQ(c.pen.style, LineStyle::Invisible);
    const double ppm = 96 / 25.4 * 5;
    EXPECT_EQ(c.points,
              (std::vector<Point>{{0, 3780}, {rnd(10 * ppm), 3780}, {rnd(10 * ppm), 3780 - rnd(10 * ppm)}}));
}

TEST(Solids, TakeTheExtendedColourAndPatternAndRestoreTheRecordOfTheLastLineColourTen) {
    const Drawing d(
        "lt4\r\nlc10 65408\r\nsl 0 0 10 0 10 10 0 10\r\n 0 0 1 1\r\nlc10 255 6\r\nsl 0 0 1 1\r\n");
    ASSERT_EQ(d.canvas.calls.size(), 3u);
    EXPECT_EQ(d.call(0).brush, (Brush{Colour{65408}, FillPattern::Solid}));
    EXPECT_EQ(d.call(0).pen.style, LineStyle::Invisible);
    EXPECT_EQ(d.call(0).points.size(), 4u);
    EXPECT_EQ(d.call(1).pen.style, LineStyle::Dashed); // the solid restore record's style
    EXPECT_EQ(d.call(2).brush, (Brush{Colour{255}, FillPattern::Horizontal}));
    EXPECT_EQ(d.call(2).points.size(), 2u);
}

TEST(Solids, ASolidArcWithFlagZeroIsASectorWithItsCentre) {
    const Drawing d(
        "lc10 255\r\nsc 0 0 5 1 0 0 -1.5708 0\r\nsc 0 0 5 1 0 0 -1.5708 1\r\nsc 0 0 5 1 0 1 0 0\r\n");
    const auto& sector = d.call(0).points;
    ASSERT_EQ(sector.size(), 92u); // -90° to 0° and the centre
    EXPECT_EQ(sector.back(), (Point{0, 3780}));
    EXPECT_EQ(sector[90], (Point{rnd(5 * 96 / 25.4 * 5), 3780}));
    EXPECT_EQ(d.call(1).points.size(), 91u); // a segment: no centre
    // A zero sweep goes once round: 2π is added to the end.
    EXPECT_EQ(d.call(2).points.size(), 362u);
}

TEST(Solids, ASolidArcsRadiansBecomeDegreesAsStartTimes180OverPiBeforeRounding) {
    // 0.09599310885968812 × 180 / π is 5.499999999999999, which rounds to 5; dividing by π / 180
    // instead would give 5.5 and start a degree later. The end, 1.0959931... rad, is 62.79°.
    const Drawing d("lc10 255\r\nsc 0 0 100 1 0 0.09599310885968812 1 1\r\n");
    const auto& segment = d.call(0).points;
    ASSERT_EQ(segment.size(), 59u); // 5° to 63°
    EXPECT_EQ(segment.front(),
              (Point{rnd(100 * std::cos(5 * std::numbers::pi / 180) * 96 / 25.4 * 5),
                     3780 - rnd(100 * std::sin(5 * std::numbers::pi / 180) * 96 / 25.4 * 5)}));
}

TEST(BRecords, FillWithTheHeaderColoursOutlineWithItsPenAndDoNotOutlastTheRecord) {
    const Drawing d(
        "lc3\r\nbl 3 1 1 2\r\n 0 0 0 0\r\n 10 0 0 0\r\n 10 10 0 0\r\ne\r\n 0 0 1 1\r\nsl 0 0 1 1\r\n");
    ASSERT_EQ(d.canvas.calls.size(), 3u);
    const CanvasCall& b = d.call(0);
    EXPECT_EQ(b.kind, Kind::Polygon);
    EXPECT_EQ(b.brush, (Brush{kGreen, FillPattern::Solid}));
    EXPECT_EQ(b.pen.colour, kBlack);
    EXPECT_EQ(b.pen.width, 2);
    EXPECT_EQ(b.points.size(), 3u);
    EXPECT_EQ(d.call(1).pen.colour, kRed);
    EXPECT_EQ(d.call(1).pen.width, 4);
    // The fill pattern index keeps the header's 1, the brush colour is back to none.
    EXPECT_EQ(d.call(2).brush, (Brush{kNoColour, FillPattern::Solid}));
}

TEST(BRecords, CirclesAndSegmentsAreFilledCurves) {
    const Drawing d("bc 12 4 13 5\r\nci 0 0 10\r\nbr 12 0 13 5\r\nci 0 0 10 0 90 1 0\r\nbx 1 1 1 1\r\n");
    ASSERT_EQ(d.canvas.calls.size(), 2u);
    EXPECT_EQ(d.call(0).points.size(), 361u);
    EXPECT_EQ(d.call(0).brush, (Brush{Colour::fromRgb(255, 255, 0), FillPattern::Cross}));
    EXPECT_EQ(d.call(0).pen.width, 8);
    EXPECT_EQ(d.call(1).points.size(), 91u);
    EXPECT_EQ(d.call(1).brush.pattern, FillPattern::Hollow);
}

TEST(TextRecords, AreWrittenInTheFontHeightThatTheLastSizeRecordSet) {
    const Drawing d("ch 0 0 1 0 \"ABC\r\ncn5\r\ncv 0 0 0 1 \"\r\ncs 0 0 1 0 12\r\ncn0\r\ncp 1 1 1 0 x\r\n");
    std::vector<std::string> texts;
    std::vector<std::int32_t> heights;
    for (const TextOp& op : d.canvas.texts) {
        texts.push_back(op.text);
        heights.push_back(op.height);
    }
    EXPECT_EQ(texts, (std::vector<std::string>{"ABC", "12", "x"}));
    const std::int32_t fiveMm = rnd(5 * 96 / 25.4 * 5);
    EXPECT_EQ(heights, (std::vector<std::int32_t>{rnd(2.5 * 96 / 25.4 * 5), fiveMm, fiveMm}));
    EXPECT_TRUE(d.canvas.calls.empty());
}

// --- Whole figures into the retained picture ---

struct Figure {
    explicit Figure(std::string text, FigureSettings s = {})
        : settings(std::move(s)), reader(readerOf(std::move(text))) {}
    FigureEnd read() {
        messages.clear();
        return readFigure(reader, picture, settings, messages);
    }
    FigureSettings settings;
    Reader reader;
    Picture picture;
    zelkova::testing::ScriptedMessageBoxes messages;
};

TEST(Figures, InLayerModeALayerEndsTheFigureOnlyAfterSomethingWasDrawn) {
    Figure f("ly1\r\nly2\r\n 0 0 10 10\r\nly3\r\n 0 0 20 20\r\nly4\r\n");
    EXPECT_EQ(f.read(), FigureEnd::Drawn);
    EXPECT_EQ(f.picture.ops().size(), 2u); // its pen and its line
    EXPECT_EQ(f.read(), FigureEnd::Drawn);
    EXPECT_EQ(f.picture.width(), 5424);
    EXPECT_EQ(f.picture.drawnExtents().maxX, rnd(20 * 96 / 25.4 * 5));
    // The reader stands at the end: "ly4" ended the second figure.
    EXPECT_EQ(f.read(), FigureEnd::NoFurtherFigure);
    EXPECT_EQ(f.messages.texts(), std::vector<std::string>{std::string(kNoFurtherFigureText)});
    EXPECT_TRUE(f.picture.empty());
    EXPECT_FALSE(f.picture.drawnExtents().anyDrawn());
    EXPECT_EQ(f.read(), FigureEnd::NoFurtherFigure); // every time
}

TEST(Figures, WithLayerModeOffTheRestOfTheFileIsOneFigure) {
    FigureSettings s;
    s.layerMode = false;
    Figure f(" 0 0 10 10\r\nly3\r\n 0 0 20 20\r\nly4\r\n", s);
    EXPECT_EQ(f.read(), FigureEnd::Drawn);
    EXPECT_EQ(dumpPicture(f.picture).find("line 0 3780 189 3591\nline 0 3780 378 3402\n") !=
                  std::string::npos,
              true)
        << dumpPicture(f.picture);
    EXPECT_EQ(f.read(), FigureEnd::NoFurtherFigure);
}

TEST(Figures, AFigureThatDrawsNothingShowsNoMessage) {
    Figure f("lt2\r\n#\r\nly1\r\n");
    EXPECT_EQ(f.read(), FigureEnd::Drawn);
    EXPECT_TRUE(f.messages.shown().empty());
    EXPECT_TRUE(f.picture.empty());
}

TEST(Figures, TheFigureStateIsResetAtEveryFigure) {
    Figure f("lc3\r\nlt4\r\nlc10 255\r\nms 1 5 15\r\n 0 0 1 1\r\nly\r\n 0 0 1 1\r\nsl 0 0 1 0 1 1\r\n");
    f.read();
    f.read();
    EXPECT_EQ(f.picture.ops().size(), 2u); // the invisible solid records nothing
    EXPECT_EQ(f.picture.pen(f.picture.ops()[0]), (Pen{kBlack, 2, LineStyle::Solid, RasterMode::CopyPen}));
}

TEST(Figures, AMalformedFieldStopsTheFigureAndTheNextRequestReadsOn) {
    Figure f(" 0 0 10 10\r\n 1 x 2 2\r\n 0 0 5 5\r\n");
    EXPECT_THROW(f.read(), text::Failure);
    EXPECT_EQ(f.picture.ops().size(), 2u); // what was recorded before the error
    EXPECT_TRUE(f.messages.shown().empty());
    EXPECT_EQ(f.read(), FigureEnd::Drawn); // on from where the error happened
}

TEST(Figures, ABadScaleOrWidthEditStopsBeforeAnythingIsRead) {
    Figure f(" 0 0 10 10\r\n", withScale("x"));
    EXPECT_THROW(f.read(), text::Failure);
    EXPECT_TRUE(f.picture.empty());
    f.settings.scaleText = "1";
    f.settings.penWidthTexts[0] = "";
    EXPECT_THROW(f.read(), text::Failure);
    f.settings.penWidthTexts[0] = "2";
    EXPECT_EQ(f.read(), FigureEnd::Drawn);
    EXPECT_FALSE(f.picture.empty());
}

TEST(OffScreen, EachSideHasItsMessageWithTheRatio) {
    Figure right(" 317.5 10 400 10\r\n");
    right.read();
    EXPECT_EQ(right.picture.drawnExtents().minX, 6000);
    EXPECT_EQ(right.messages.texts(),
              std::vector<std::string>{"図は、画面の右側にある。\r\n\r\n画面幅の 0.1 倍右側にある。"});

    Figure all(" -600 -600 -300 -300\r\n", withScale("-1"));
    all.read();
    ASSERT_EQ(all.messages.texts().size(), 2u); // mirrored into the upper right
    EXPECT_EQ(all.messages.texts()[0], "図は、画面の右側にある。\r\n\r\n画面幅の 0.0 倍右側にある。");
    EXPECT_EQ(all.messages.texts()[1], "図は、画面の上側にある。\r\n\r\n画面高の 0.5 倍上側にある。");

    const Extents leftBelow{-10000, -5424, 7560, 9000};
    EXPECT_EQ(offScreenMessages(leftBelow, 5424, 3780),
              (std::vector<std::string>{"図は、画面の左側にある。\r\n\r\n画面幅の 1.0 倍左側にある。",
                                        "図は、画面の下側にある。\r\n\r\n画面高の 1.0 倍下側にある。"}));
    EXPECT_TRUE(offScreenMessages(Extents{0, 5424, 0, 3780}, 5424, 3780).empty());
}

TEST(OffScreen, RatiosHaveOneDecimalAndTwoSignificantDigits) {
    EXPECT_EQ(ratioText(0.106), "0.1");
    EXPECT_EQ(ratioText(0.25), "0.3");
    EXPECT_EQ(ratioText(0.04), "0.0");
    EXPECT_EQ(ratioText(0.96), "1.0");
    EXPECT_EQ(ratioText(3.14159), "3.1");
    EXPECT_EQ(ratioText(9.96), "10.0");
    EXPECT_EQ(ratioText(12.34), "12.0");
    EXPECT_EQ(ratioText(99.4), "99.0");
    EXPECT_EQ(ratioText(99.5), "1E2");
    EXPECT_EQ(ratioText(123), "1.2E2");
    EXPECT_EQ(ratioText(995), "1E3");
    EXPECT_EQ(ratioText(45678), "4.6E4");
}

} // namespace
} // namespace zelkova::plot
