// Shows that the reader decides each line's kind and reads every record kind and b-record as the
// format has them, skips the lines of real files that a literal reading would stop at, stops at
// malformed fields without losing its place, and finds the start marker.
#include "PlotTestSupport.h"

#include <gtest/gtest.h>

namespace zelkova::plot {
namespace {

using testing::readAll;
using testing::readerOf;

constexpr const char* kNotANumber = "入力値が数値ではありません";

template <typename T> const T& as(const Record& record) {
    EXPECT_TRUE(std::holds_alternative<T>(record)) << "record kind " << record.index();
    static const T empty{};
    return std::holds_alternative<T>(record) ? std::get<T>(record) : empty;
}

TEST(LineKinds, ALeadingBlankMakesALineSegmentAndItsNumbersMayRunOntoTheNextLine) {
    const auto r = readAll(" 10 20 30 40\r\n 10 20\r\n30 40\r\n10 20 30 40\r\n");
    EXPECT_EQ(r.failure, "");
    ASSERT_EQ(r.records.size(), 2u); // the line without its leading blank has keyword "10": skipped
    const auto& a = as<SegmentRecord>(r.records[0]);
    EXPECT_EQ(a.from, (PlotPoint{10, 20}));
    EXPECT_EQ(a.to, (PlotPoint{30, 40}));
    const auto& b = as<SegmentRecord>(r.records[1]);
    EXPECT_EQ(b.from, (PlotPoint{10, 20}));
    EXPECT_EQ(b.to, (PlotPoint{30, 40}));
}

TEST(LineKinds, CommentsEmptyLinesOneCharacterLinesAndUnlistedKeywordsAreSkipped) {
    const auto r = readAll("# 1 2 3\r\n\r\nx\r\nhq\r\nhs 100 100\r\npl\r\nmd3\r\nlw17\r\nlg0\r\nlt4\r\n");
    EXPECT_EQ(r.failure, "");
    ASSERT_EQ(r.records.size(), 1u);
    EXPECT_EQ(as<LineTypeRecord>(r.records[0]).type, 4);
}

TEST(LineKinds, KeywordsAreCaseSensitiveAndBeginInTheFirstColumn) {
    EXPECT_EQ(readAll("LY\r\nLt3\r\n").records.size(), 0u);
    EXPECT_EQ(readAll(" ly\r\n").failure, kNotANumber); // a blank first: a line segment
}

TEST(LineKinds, EveryLineEndConventionReadsTheSameRecords) {
    for (const std::string end : {"\r\n", "\n", "\r"}) {
        const auto r = readAll("lt2" + end + " 1 2 3 4" + end + "#" + end + "pt 5 6" + end);
        EXPECT_EQ(r.failure, "");
        ASSERT_EQ(r.records.size(), 3u);
        EXPECT_EQ(as<LineTypeRecord>(r.records[0]).type, 2);
        EXPECT_EQ(as<PointRecord>(r.records[2]).at, (PlotPoint{5, 6}));
    }
}

TEST(SimpleRecords, LayerLineTypeCharacterSizePointSizePointPenSetAndPenEnd) {
    const auto r = readAll("ly0\r\nlyA\r\nlt 9 extra\r\ncn10\r\npn3\r\npt -1.5 2e1\r\nms 10 2 15\r\nme\r\n");
    EXPECT_EQ(r.failure, "");
    ASSERT_EQ(r.records.size(), 8u);
    as<LayerRecord>(r.records[0]);
    as<LayerRecord>(r.records[1]); // hexadecimal layer numbers are layers too
    EXPECT_EQ(as<LineTypeRecord>(r.records[2]).type, 9);
    EXPECT_EQ(as<CharacterSizeRecord>(r.records[3]).size, 10);
    EXPECT_EQ(as<PointSizeRecord>(r.records[4]).size, 3);
    EXPECT_EQ(as<PointRecord>(r.records[5]).at, (PlotPoint{-1.5, 20}));
    const auto& ms = as<PenSetRecord>(r.records[6]);
    EXPECT_EQ(ms.colourIndex, 10);
    EXPECT_EQ(ms.widthNumber, 2);
    EXPECT_EQ(ms.rasterMode, 15);
    as<PenEndRecord>(r.records[7]);
}

TEST(LineColourRecords, PensOneToNineAndTheExtendedColourWithItsFillPattern) {
    const auto r = readAll("lc3\r\nlc10 65408\r\nlc10 255 4 \r\nlc12 7\r\n");
    EXPECT_EQ(r.failure, "");
    ASSERT_EQ(r.records.size(), 4u);
    EXPECT_EQ(as<LineColourRecord>(r.records[0]).pen, 3);
    const auto& plain = as<LineColourRecord>(r.records[1]);
    EXPECT_EQ(plain.pen, 10);
    EXPECT_EQ(plain.extendedColour, 65408);
    EXPECT_EQ(plain.fillPatternIndex, 1); // empty means 1
    EXPECT_EQ(as<LineColourRecord>(r.records[2]).fillPatternIndex, 4);
    EXPECT_EQ(as<LineColourRecord>(r.records[3]).pen, 12);
}

TEST(LineColourRecords, AFillPatternThatIsNotOneIntegerIsAConversionError) {
    EXPECT_EQ(readAll("lc10 255 4 5\r\n").failure, "'4 5' は整数ではありません");
    EXPECT_EQ(readAll("lc10 255 x\r\n").failure, "'x' は整数ではありません");
}

TEST(CircleRecords, OneTokenIsAFullCircleFiveAreAnArcAndTwoToFourAreMalformed) {
    const auto r = readAll("ci 1 2 5\r\nci 1 2 5 90 0 1 0 ignored tokens\r\n");
    EXPECT_EQ(r.failure, "");
    ASSERT_EQ(r.records.size(), 2u);
    const auto& full = as<CircleRecord>(r.records[0]);
    EXPECT_EQ(full.centre, (PlotPoint{1, 2}));
    EXPECT_EQ(full.radius, 5);
    EXPECT_EQ(full.start, 0);
    EXPECT_EQ(full.end, 360);
    EXPECT_EQ(full.flatness, 1);
    const auto& arc = as<CircleRecord>(r.records[1]);
    EXPECT_EQ(arc.start, 90);
    EXPECT_EQ(arc.end, 0);
    EXPECT_EQ(arc.tilt, 0);
    EXPECT_EQ(readAll("ci 1 2 5 90\r\n").failure, "'' は浮動小数点数ではありません");
    EXPECT_EQ(readAll("ci 1 2 5 90 0 1\r\n").failure, "'' は浮動小数点数ではありません");
    EXPECT_EQ(readAll("ci 1 2\r\n").failure, "'' は浮動小数点数ではありません");
    EXPECT_EQ(readAll("ci 1 2 r5\r\n").failure, "'r5' は浮動小数点数ではありません");
    // Only blanks separate the tokens: a tab joins two numbers into one token that is no number.
    EXPECT_EQ(readAll("ci 1 2 5\t90 0 1 0\r\n").failure, "'5\t90' は浮動小数点数ではありません");
}

TEST(CircleRecords, TheCentreMayStandOnTheNextLineButTheTokensMustFollowIt) {
    const auto r = readAll("ci\r\n1 2 3\r\n");
    EXPECT_EQ(r.failure, "");
    ASSERT_EQ(r.records.size(), 1u);
    EXPECT_EQ(as<CircleRecord>(r.records[0]).radius, 3);
}

TEST(SolidRecords, TakeTwoThreeOrFourVerticesAndRefuseAMissingCoordinate) {
    const auto r = readAll("sl 0 0 10 0\r\nsl 0 0 10 0 10 10\r\nsl 0 0 10 0 10 10 0 10 99\r\n");
    EXPECT_EQ(r.failure, "");
    ASSERT_EQ(r.records.size(), 3u);
    EXPECT_EQ(as<SolidRecord>(r.records[0]).count, 2);
    const auto& triangle = as<SolidRecord>(r.records[1]);
    EXPECT_EQ(triangle.count, 3);
    EXPECT_EQ(triangle.vertices[1], (PlotPoint{10, 0}));
    EXPECT_EQ(triangle.vertices[2], (PlotPoint{10, 10}));
    EXPECT_EQ(as<SolidRecord>(r.records[2]).count, 4);
    EXPECT_EQ(readAll("sl 0 0 10 0 10\r\n").failure, "'' は浮動小数点数ではありません");
    EXPECT_EQ(readAll("sl 0 0 10 0 10 10 0\r\n").failure, "'' は浮動小数点数ではありません");
}

TEST(SolidArcRecords, ReadSevenNumbersAndAnIntegerFlag) {
    const auto r = readAll("sc 500 500 500 1 0 0 1.5707963267949 5\r\nsc 0 0 5 1 0 0 -1.5708 -1\r\n");
    EXPECT_EQ(r.failure, "");
    ASSERT_EQ(r.records.size(), 2u);
    const auto& a = as<SolidArcRecord>(r.records[0]);
    EXPECT_EQ(a.radius, 500);
    EXPECT_DOUBLE_EQ(a.sweep, 1.5707963267949);
    EXPECT_EQ(a.flag, 5);
    EXPECT_EQ(as<SolidArcRecord>(r.records[1]).flag, -1);
    EXPECT_EQ(readAll("sc 0 0 5 1 0 0 1 0.5\r\n").failure, kNotANumber);
}

TEST(TextRecords, TakeTheTextAfterTheFirstQuoteOrTheWholeTrimmedRest) {
    const auto r =
        readAll("ch 1 2 3 4 \"ABC\"D \r\ncv 1 2 0 -1 plain text\r\ncs 0 0 1 0\r\ncr 0 0 1 0 \"\r\n");
    EXPECT_EQ(r.failure, "");
    ASSERT_EQ(r.records.size(), 4u);
    const auto& ch = as<TextRecord>(r.records[0]);
    EXPECT_EQ(ch.keyword[0], 'c');
    EXPECT_EQ(ch.keyword[1], 'h');
    EXPECT_EQ(ch.at, (PlotPoint{1, 2}));
    EXPECT_EQ(ch.dx, 3);
    EXPECT_EQ(ch.dy, 4);
    EXPECT_EQ(ch.text, "ABC\"D");
    EXPECT_EQ(as<TextRecord>(r.records[1]).text, "plain text");
    EXPECT_EQ(as<TextRecord>(r.records[2]).text, "");
    EXPECT_EQ(as<TextRecord>(r.records[3]).text, "");
}

TEST(TextRecords, KeepCodePage932BytesAsTheyAre) {
    const std::string sjis = "\x82\xa0\x95\x5c"; // a kana and a kanji whose trail byte is "\"
    const auto r = readAll("ch 0 0 1 0 \"" + sjis + "\r\ncp 0 0 1 0 ^@BMa.bmp,100,30\r\n");
    ASSERT_EQ(r.records.size(), 2u);
    EXPECT_EQ(as<TextRecord>(r.records[0]).text, sjis);
    EXPECT_EQ(as<TextRecord>(r.records[1]).text, "^@BMa.bmp,100,30");
}

TEST(BRecords, PolygonVerticesEndAtTheFirstLineBeginningWithE) {
    const auto r = readAll("bl 3 1 1 2\r\n 0 0 9 9\r\n 10 0 9 9\r\n\t10 10 9 9\r\ne\r\nlt4\r\n");
    EXPECT_EQ(r.failure, "");
    ASSERT_EQ(r.records.size(), 2u);
    const auto& b = as<BRecord>(r.records[0]);
    EXPECT_EQ(b.shape, BRecord::Shape::Polygon);
    EXPECT_EQ(b.fillColourIndex, 3);
    EXPECT_EQ(b.fillPatternIndex, 1);
    EXPECT_EQ(b.penColourIndex, 1);
    EXPECT_EQ(b.penWidthNumber, 2);
    ASSERT_EQ(b.vertices.size(), 3u);
    EXPECT_EQ(b.vertices[2], (PlotPoint{10, 10}));
    EXPECT_EQ(as<LineTypeRecord>(r.records[1]).type, 4);
}

TEST(BRecords, WhatFollowsTheEOnItsLineIsTheNextRecord) {
    const auto r = readAll("bl 1 1 1 1\r\n 0 0 0 0\r\ne 1 2 3 4\r\n");
    EXPECT_EQ(r.failure, "");
    ASSERT_EQ(r.records.size(), 2u);
    EXPECT_EQ(as<SegmentRecord>(r.records[1]).to, (PlotPoint{3, 4}));
}

TEST(BRecords, AVertexListCutByTheEndOfTheFileEndsThere) {
    const auto r = readAll("bl 1 1 1 1\r\n 0 0 0 0\r\n 5 5");
    EXPECT_EQ(r.failure, "");
    ASSERT_EQ(r.records.size(), 1u);
    const auto& b = as<BRecord>(r.records[0]);
    ASSERT_EQ(b.vertices.size(), 2u);
    EXPECT_EQ(b.vertices[1], (PlotPoint{5, 5}));
}

TEST(BRecords, LongVertexListsAreKeptWhole) {
    std::string text = "bl 1 1 1 1\r\n";
    for (int i = 0; i < 5000; ++i)
        text += " " + std::to_string(i) + " 0 0 0\r\n";
    const auto r = readAll(text + "e\r\n");
    ASSERT_EQ(r.records.size(), 1u);
    EXPECT_EQ(as<BRecord>(r.records[0]).vertices.size(), 5000u);
}

TEST(BRecords, CircleSegmentAndOtherShapes) {
    const auto r =
        readAll("bc 2 0 3 1\r\nci 1 2 3\r\nbr 2 0 3 1\r\nci 1 2 3 10 350 0.5 30\r\nbx 1 2 3 4\r\nb\r\n");
    EXPECT_EQ(r.failure, "");
    ASSERT_EQ(r.records.size(), 4u);
    const auto& c = as<BRecord>(r.records[0]);
    EXPECT_EQ(c.shape, BRecord::Shape::Circle);
    EXPECT_EQ(c.centre, (PlotPoint{1, 2}));
    EXPECT_EQ(c.radius, 3);
    const auto& s = as<BRecord>(r.records[1]);
    EXPECT_EQ(s.shape, BRecord::Shape::Segment);
    EXPECT_EQ(s.start, 10);
    EXPECT_EQ(s.end, 350);
    EXPECT_EQ(s.flatness, 0.5);
    EXPECT_EQ(s.tilt, 30);
    EXPECT_EQ(as<BRecord>(r.records[2]).shape, BRecord::Shape::None);
    EXPECT_EQ(as<BRecord>(r.records[2]).penWidthNumber, 4);
    EXPECT_EQ(as<BRecord>(r.records[3]).shape, BRecord::Shape::None); // "b" alone reads its header
}

TEST(RealFiles, TheFontLineAndKeywordsFollowedByALetterAreSkipped) {
    const auto r = readAll("cn2\r\ncn\"$<\x82\x6c\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4e>\r\nmsg\r\nlcx\r\n"
                           "chk 1\r\nptA\r\nbla 1\r\n 1 2 3 4\r\n");
    EXPECT_EQ(r.failure, "");
    ASSERT_EQ(r.records.size(), 2u);
    EXPECT_EQ(as<CharacterSizeRecord>(r.records[0]).size, 2);
    as<SegmentRecord>(r.records[1]);
}

TEST(RealFiles, ArbitraryTextSizesReadTheirFirstNumberOnly) {
    const auto r = readAll("cn0 20 20 0 1\r\n");
    EXPECT_EQ(r.failure, "");
    ASSERT_EQ(r.records.size(), 1u);
    EXPECT_EQ(as<CharacterSizeRecord>(r.records[0]).size, 0);
}

TEST(Malformed, AFieldThatIsNotANumberStopsAndTheReaderStaysThere) {
    Reader reader = readerOf(" 1 2 x 4\r\n 5 6 7 8\r\n");
    EXPECT_THROW(reader.next(), text::Failure);
    // The reader stands after the bad token: the rest of its line reads on as records.
    auto next = reader.next();
    ASSERT_TRUE(next.has_value());
    EXPECT_TRUE(std::holds_alternative<SegmentRecord>(*next)); // " 4\r\n 5 6 7" as one segment
}

TEST(Malformed, RandomBytesNeverCrashOrHang) {
    std::uint32_t seed = 12345;
    for (int round = 0; round < 300; ++round) {
        std::string bytes;
        for (int i = 0; i < 200; ++i) {
            seed = seed * 1103515245u + 12345u;
            static const char alphabet[] = " \r\n\t\x1a\"#-+.eE0123456789lyctnpismebrvhA";
            bytes.push_back(alphabet[(seed >> 16) % (sizeof alphabet - 1)]);
        }
        Reader reader = readerOf(bytes);
        int guard = 0;
        for (;;) {
            try {
                if (!reader.next())
                    break;
            } catch (const text::Failure&) {
            }
            ASSERT_LT(++guard, 10000) << "the reader made no progress";
        }
    }
}

TEST(StartMarker, IsTheFirstLineBeginningWithLyWhateverFollows) {
    Reader reader = readerOf("hq\r\n ly\r\nLY\r\nlg0\r\nlyA extra\r\n 1 2 3 4\r\n");
    EXPECT_TRUE(reader.seekStartMarker());
    auto next = reader.next();
    ASSERT_TRUE(next.has_value());
    EXPECT_TRUE(std::holds_alternative<SegmentRecord>(*next));
}

TEST(StartMarker, IsMissingInAFileWithoutSuchALine) {
    Reader none = readerOf("#\r\nlc10 65408\r\nsl 0 0 1 1 1 0\r\n");
    EXPECT_FALSE(none.seekStartMarker());
    EXPECT_TRUE(none.atEnd());
    Reader empty = readerOf("");
    EXPECT_FALSE(empty.seekStartMarker());
}

TEST(StartMarker, OnTheLastLineLeavesTheReaderAtTheEnd) {
    Reader reader = readerOf("hq\nly0");
    EXPECT_TRUE(reader.seekStartMarker());
    EXPECT_TRUE(reader.atEnd());
    Reader withLineEnd = readerOf("hq\r\nly0\r\n");
    EXPECT_TRUE(withLineEnd.seekStartMarker());
    EXPECT_TRUE(withLineEnd.atEnd());
}

} // namespace
} // namespace zelkova::plot
