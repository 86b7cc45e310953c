// Shows that the counting pass puts every line on the listing page the carriage-control rule gives
// it, records pages in the listing page table as the editor's page indicator reads them, and reads
// listings with any line end.
#include "listing/Counting.h"
#include "listing/Paginator.h"

#include "TempDir.h"
#include "text/Failure.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

using namespace zelkova::listing;
using zelkova::testing::TempDir;

namespace {

using Pages = std::vector<std::int32_t>;

struct Counted {
    std::int32_t total;
    Pages pages; // the table entries of the lines read
};

Counted count(const std::string& bytes, LineSettings settings = {}) {
    TempDir dir;
    ListingPageTable table;
    const PageCount result = countPages(dir.write("listing.lst", bytes), settings, table);
    Counted counted{result.pages, {}};
    for (std::size_t i = 0; i < result.lines; ++i)
        counted.pages.push_back(table.pageOf(i));
    return counted;
}

std::string repeatLines(const std::string& line, int times) {
    std::string out;
    for (int i = 0; i < times; ++i)
        out += line + "\r\n";
    return out;
}

} // namespace

TEST(CarriageControl, SixtyOneBlankControlLinesSpillOneLineOntoPageTwo) {
    const Counted c = count(repeatLines(" LINE", 61));
    ASSERT_EQ(c.pages.size(), 61u);
    for (int i = 0; i < 60; ++i)
        EXPECT_EQ(c.pages[i], 1) << "line " << i;
    EXPECT_EQ(c.pages[60], 2);
    EXPECT_EQ(c.total, 2);
}

TEST(CarriageControl, AnExactlyFullLastPageCountsOnePageMore) {
    EXPECT_EQ(count(repeatLines(" LINE", 60)).total, 2);
    EXPECT_EQ(count(repeatLines(" LINE", 59)).total, 1);
    EXPECT_EQ(count(repeatLines(" LINE", 6), {140, 3}).total, 3);
}

TEST(CarriageControl, EmptyFileHasOnePage) {
    const Counted c = count("");
    EXPECT_EQ(c.total, 1);
    EXPECT_TRUE(c.pages.empty());
}

TEST(CarriageControl, OneAtTheTopOfAPageLeavesNoEmptyPage) {
    // The first line of the file, and a '1' right after a page became full.
    EXPECT_EQ(count("1TITLE\r\n A\r\n").pages, (Pages{1, 1}));
    EXPECT_EQ(count("1TITLE\r\n A\r\n").total, 1);
    EXPECT_EQ(count(" A\r\n B\r\n1C\r\n D\r\n", {140, 2}).pages, (Pages{1, 1, 2, 2}));
    EXPECT_EQ(count("1\r\n1\r\n1X\r\n").total, 1);
}

TEST(CarriageControl, OneOpensAPageAndIsRecordedOnThePageBeforeIt) {
    const Counted c = count(" A\r\n1B\r\n C\r\n");
    EXPECT_EQ(c.pages, (Pages{1, 1, 2}));
    EXPECT_EQ(c.total, 2);
}

TEST(CarriageControl, OneAloneBreaksThePageAndTakesNoLine) {
    // Two lines on page 2 after a lone '1', then the page is full at L = 3 only with a third.
    const Counted c = count(" A\r\n1\r\n B\r\n C\r\n", {140, 3});
    EXPECT_EQ(c.pages, (Pages{1, 1, 2, 2}));
    EXPECT_EQ(c.total, 2);
    EXPECT_EQ(count(" A\r\n1\r\n B\r\n C\r\n D\r\n", {140, 3}).total, 3);
}

TEST(CarriageControl, ZeroTakesABlankLineFirst) {
    // "0ABC" takes two lines; "0" alone takes two lines too.
    EXPECT_EQ(count("0ABC\r\n X\r\n", {140, 3}).pages, (Pages{1, 1}));
    EXPECT_EQ(count("0ABC\r\n X\r\n", {140, 3}).total, 2);
    EXPECT_EQ(count("0\r\n X\r\n", {140, 3}).total, 2);
    EXPECT_EQ(count("0\r\n", {140, 2}).total, 2);
}

TEST(CarriageControl, EmptyLinesAndOtherCharactersTakeOneLineEach) {
    // Empty, '+', a letter, a digit other than 0 and 1, and a double-byte character.
    const Counted c = count("\r\n+A\r\nB\r\n2C\r\n\x93\xfa\r\n X\r\n", {140, 5});
    EXPECT_EQ(c.pages, (Pages{1, 1, 1, 1, 1, 2}));
}

TEST(LongLines, ThreeHundredBytesTakeThreeLinesAtK140) {
    const std::string line(300, 'X');
    // 140 + 140 + 20: the third piece is the third line, so two such lines fill five of six.
    EXPECT_EQ(count(line + "\r\n" + line + "\r\n", {140, 6}).total, 2);
    EXPECT_EQ(count(line + "\r\n" + line + "\r\n", {140, 7}).total, 1);
    EXPECT_EQ(count(line + "\r\n X\r\n", {140, 3}).pages, (Pages{1, 2}));
    EXPECT_EQ(count(std::string(280, 'X') + "\r\n X\r\n", {140, 3}).pages, (Pages{1, 1}));
}

TEST(LongLines, AWrappedLineCarriesOverToTheNextPage) {
    // Five pieces on pages of two lines: the line starts on page 1 and the next line is on page 3.
    const Counted c = count(std::string(5 * 10, 'A') + "\r\n B\r\n", {10, 2});
    EXPECT_EQ(c.pages, (Pages{1, 3}));
    EXPECT_EQ(c.total, 4);
}

// The counter stops at the largest 32-bit page instead of overflowing (which the sanitizer build
// would stop at); the pages of a listing never go down.
TEST(LongLines, ThePageCounterStopsAtTheLargestPageNumber) {
    constexpr std::int32_t kLast = std::numeric_limits<std::int32_t>::max();
    for (const std::string_view line : {std::string_view("1A"), std::string_view(" ABCDEFGH")}) {
        Paginator paginator({2, 1});
        paginator.restart(kLast - 2);
        std::int32_t before = paginator.page();
        for (int i = 0; i < 6; ++i) {
            EXPECT_TRUE(paginator.handleLine(line));
            EXPECT_GE(paginator.page(), before);
            before = paginator.page();
        }
        EXPECT_EQ(paginator.page(), kLast);
    }
}

TEST(Table, IsWrittenOnlyAfterTheWholeFileWasReadAndKeepsLaterEntries) {
    TempDir dir;
    ListingPageTable table;
    (void)countPages(dir.write("long.lst", repeatLines(" L", 130)), {140, 60}, table);
    EXPECT_EQ(table.pageOf(129), 3);
    const PageCount shorter = countPages(dir.write("short.lst", "1A\r\n B\r\n"), {140, 60}, table);
    EXPECT_EQ(shorter.lines, 2u);
    EXPECT_EQ(table.pageOf(1), 1);
    EXPECT_EQ(table.pageOf(129), 3) << "entries past a shorter file keep the earlier count";

    EXPECT_THROW((void)countPages(dir.file("missing.lst"), {140, 60}, table), zelkova::text::Failure);
    EXPECT_EQ(table.pageOf(129), 3);
}

TEST(Table, MissingFileGivesTheFileNotFoundText) {
    TempDir dir;
    ListingPageTable table;
    try {
        (void)countPages(dir.file("missing.lst"), {140, 60}, table);
        FAIL() << "no failure";
    } catch (const zelkova::text::Failure& failure) {
        EXPECT_STREQ(failure.what(), "ファイルが見つかりません");
    }
}

TEST(Table, GrowsForListingsLongerThanItsFirstSize) {
    const Counted c = count(repeatLines(" L", 60005));
    ASSERT_EQ(c.pages.size(), 60005u);
    EXPECT_EQ(c.pages[50000], 834);  // 50000 div 60 + 1
    EXPECT_EQ(c.pages[60004], 1001); // 60004 div 60 + 1
    EXPECT_EQ(c.total, 1001);
}

TEST(LineEnds, CrLfLoneCrAndLoneLfEachEndALineAndCtrlZEndsTheFile) {
    EXPECT_EQ(count(" A\r\n B\r C\n D", {140, 2}).pages, (Pages{1, 1, 2, 2}));
    EXPECT_EQ(count(" A\n\n", {140, 60}).pages.size(), 2u);
    const Counted z = count(" A\r\n B\x1A C\r\n D\r\n", {140, 1});
    EXPECT_EQ(z.pages, (Pages{1, 2}));
    EXPECT_EQ(z.total, 3);
}
