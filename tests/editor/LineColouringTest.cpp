// Shows which lines of a run file are coloured black and blue, with comment blocks carried across
// lines, and how the text area's blocks count as lines.
#include "editor/LineColouring.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace zelkova::editor;

namespace {

// The colours of lines given as text ("" for an empty line): B black, b blue, - unchanged.
std::string coloursOf(const std::vector<std::u32string>& lines) {
    std::vector<char32_t> first;
    for (const auto& line : lines)
        first.push_back(line.empty() ? 0 : line.front());
    std::string out;
    for (const LineColour c : colourLines(first))
        out += c == LineColour::Black ? 'B' : c == LineColour::Blue ? 'b' : '-';
    return out;
}

} // namespace

TEST(LineColouring, MarkerLinesAreBlackAndEveryOtherLineBlue) {
    EXPECT_EQ(coloursOf({U"R 'in'='a'", U"w 'out'='b'", U"p 'prog'", U"comment", U"* note", U"1"}), "BBBbbb");
}

TEST(LineColouring, ALineBeginningWithABlankIsBlueEvenBeforeALetter) {
    EXPECT_EQ(coloursOf({U" R 'in'='a'", U"\tP 'x'"}), "bb");
}

TEST(LineColouring, EmptyLinesAreLeftAlone) {
    EXPECT_EQ(coloursOf({U"R", U"", U"x", U""}), "B-b-");
}

TEST(LineColouring, ACommentBlockIsBlueFromItsOpeningToItsClosingLine) {
    EXPECT_EQ(coloursOf({U"R a", U"{ block", U"R inside", U"P inside", U"} end", U"P after"}), "BbbbbB");
}

TEST(LineColouring, AnEmptyLineInsideABlockDoesNotEndIt) {
    EXPECT_EQ(coloursOf({U"{", U"", U"W x", U"}", U"W y"}), "b-bbB");
}

TEST(LineColouring, AFurtherOpeningBraceInsideABlockChangesNothing) {
    EXPECT_EQ(coloursOf({U"{", U"{", U"}", U"R x", U"}"}), "bbbBb");
}

TEST(LineColouring, AnUnclosedBlockRunsToTheEnd) {
    EXPECT_EQ(coloursOf({U"R", U"{", U"R", U"P"}), "Bbbb");
}

TEST(LineColouring, OnlyAsciiBracesOpenAndCloseBlocks) {
    EXPECT_EQ(coloursOf({U"｛", U"R x", U"{", U"｝", U"R y", U"}", U"R z"}), "bBbbbbB");
}

TEST(LineColouring, OnlyTheSixLettersAreMarkers) {
    EXPECT_EQ(coloursOf({U"r", U"R", U"w", U"W", U"p", U"P", U"Q", U"x", U"Ｒ"}), "BBBBBBbbb");
}

TEST(LineCount, ALastEmptyBlockAfterTheFinalLineEndIsNoLine) {
    EXPECT_EQ(lineCountOf(1, true), 0u);  // empty document
    EXPECT_EQ(lineCountOf(1, false), 1u); // "a"
    EXPECT_EQ(lineCountOf(2, true), 1u);  // "a\n"
    EXPECT_EQ(lineCountOf(3, false), 3u); // "a\n\nb"
}

TEST(LineCount, DocumentsOfTwoHundredLinesOrMoreAreNotExamined) {
    EXPECT_TRUE(isExaminedForRunFile(199));
    EXPECT_FALSE(isExaminedForRunFile(200));
    EXPECT_TRUE(isExaminedForRunFile(0));
}
