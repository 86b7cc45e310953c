// Shows that a figure read with its runs of line segments recorded straight into the display list
// is the picture that drawing every record one by one records: the same operations, points and
// extents, whatever pens, line types, raster modes, comments and other records come between the
// runs, and up to the same place when a malformed field stops the figure.
#include "ScriptedMessageBoxes.h"

#include "plot/Picture.h"
#include "plot/Reader.h"
#include "plot/Renderer.h"
#include "text/Failure.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace zelkova::plot {
namespace {

// The picture that applying every record of `text` in turn records, and the failure that stopped
// it (empty when none did).
struct OneByOne {
    Picture picture;
    std::string failure;
};
OneByOne drawOneByOne(const std::string& text) {
    const FigureSettings settings;
    const PictureGeometry geometry = PictureGeometry::forDpi(settings.dpiX, settings.dpiY);
    OneByOne out;
    out.picture = Picture(geometry.width, geometry.height, geometry.pixelsPerMmX, geometry.pixelsPerMmY);
    zelkova::testing::ScriptedMessageBoxes messages;
    RecordingCanvas canvas(out.picture);
    Renderer renderer(canvas, geometry, 1.0, settings, messages);
    Reader reader(Lexer{std::string(text)});
    try {
        while (auto record = reader.next())
            renderer.apply(*record);
    } catch (const zelkova::text::Failure& failure) {
        out.failure = failure.what();
    }
    out.picture.setDrawnExtents(renderer.extents());
    return out;
}

// Segments in runs, with what may stand between them.
std::string randomFigure(std::mt19937& random) {
    const auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    static const char* const kBetween[] = {
        "lc2\r\n",      "lc5\r\n",      "lc9\r\n",        "lt4\r\n",        "lt9\r\n",
        "lt1\r\n",      "ms 3 2 3\r\n", "me\r\n",         "# note\r\n",     "\r\n",
        "pt 10 10\r\n", "xx 1 2\r\n",   "ci 50 50 5\r\n", "lc10 255 1\r\n", "sl 0 0 9 9 0 5\r\n",
        "ms 0 1 5\r\n"};
    std::string text;
    for (int run = 0; run < 30; ++run) {
        for (int i = pick(6); i > 0; --i)
            text += kBetween[pick(16)];
        for (int i = pick(40); i > 0; --i)
            text += " " + std::to_string(pick(300)) + "." + std::to_string(pick(1000)) + " " +
                    std::to_string(pick(200) - 10) + " " + std::to_string(pick(300)) + "\r\n" +
                    std::to_string(pick(210)) + ".5" + (pick(10) == 0 ? " rest\r\n" : "\r\n");
    }
    return text;
}

void expectSamePicture(const Picture& runs, const Picture& oneByOne, const std::string& text) {
    EXPECT_EQ(runs.drawnExtents(), oneByOne.drawnExtents());
    ASSERT_EQ(runs.ops().size(), oneByOne.ops().size()) << text;
    for (std::size_t i = 0; i < runs.ops().size(); ++i) {
        const PictureOp& a = runs.ops()[i];
        const PictureOp& b = oneByOne.ops()[i];
        ASSERT_EQ(a.kind, b.kind) << "operation " << i;
        EXPECT_EQ(a.bounds, b.bounds) << "operation " << i;
        if (a.kind == OpKind::Pen) {
            EXPECT_EQ(runs.pen(a), oneByOne.pen(b)) << "operation " << i;
        } else if (a.kind == OpKind::Brush) {
            EXPECT_EQ(runs.brush(a), oneByOne.brush(b)) << "operation " << i;
        } else {
            const auto p = runs.points(a);
            const auto q = oneByOne.points(b);
            EXPECT_TRUE(std::equal(p.begin(), p.end(), q.begin(), q.end())) << "operation " << i;
        }
    }
}

TEST(SegmentRuns, RecordWhatDrawingEveryRecordRecords) {
    std::mt19937 random(12);
    for (int figure = 0; figure < 40; ++figure) {
        const std::string text = randomFigure(random);
        const OneByOne expected = drawOneByOne(text);
        ASSERT_TRUE(expected.failure.empty()) << expected.failure;
        FigureSettings settings;
        settings.layerMode = false;
        zelkova::testing::ScriptedMessageBoxes messages;
        Reader reader(Lexer{std::string(text)});
        Picture picture;
        EXPECT_EQ(readFigure(reader, picture, settings, messages), FigureEnd::Drawn);
        expectSamePicture(picture, expected.picture, text);
    }
}

TEST(SegmentRuns, AMalformedNumberStopsARunWhereDrawingEveryRecordStops) {
    const std::string text = "lc3\r\n 1 2 3 4\r\n 5 6 7 8\r\n 9 1x 2 3\r\n 4 5 6 7\r\n";
    const OneByOne expected = drawOneByOne(text);
    EXPECT_FALSE(expected.failure.empty());
    FigureSettings settings;
    zelkova::testing::ScriptedMessageBoxes messages;
    Reader reader(Lexer{std::string(text)});
    Picture picture;
    EXPECT_THROW(readFigure(reader, picture, settings, messages), zelkova::text::Failure);
    expectSamePicture(picture, expected.picture, text);
    // The reader stands after the bad token: the rest of that line is read as the next record's.
    EXPECT_EQ(reader.lexer().restOfLine(), " 2 3");
}

} // namespace
} // namespace zelkova::plot
