// Shows that a cut at K bytes never splits a double-byte character of code page 932, also where a
// trail byte has a lead byte's value, through the pieces the printing pass draws.
#include "listing/Printing.h"
#include "listing/RecordingSink.h"

#include "TempDir.h"

#include <gtest/gtest.h>

using namespace zelkova::listing;

namespace {

std::vector<std::string> piecesOf(const std::string& line, int chars) {
    zelkova::testing::TempDir dir;
    const std::string file = dir.write("dbcs.lst", line + "\r\n");
    PrintJob job;
    job.lines = {chars, 60};
    job.lastPage = 1;
    const PageLayout layout = checkFit(kPdfPrinterMetrics, job.lines).layout;
    RecordingSink sink;
    (void)printListing(file, job, layout, sink);
    return sink.listingOn(1);
}

using Pieces = std::vector<std::string>;

} // namespace

TEST(DoubleByteCut, ALeadByteAtByteKMakesTheFirstPieceOneByteLonger) {
    // Byte 140 is the lead byte of "日" (0x93 0xFA): 139 x 'A', then the whole character.
    const std::string line = std::string(139, 'A') + "\x93\xfa" + "BC";
    const Pieces pieces = piecesOf(line, 140);
    ASSERT_EQ(pieces.size(), 2u);
    EXPECT_EQ(pieces[0].size(), 141u);
    EXPECT_EQ(pieces[1], "BC");
}

TEST(DoubleByteCut, ATrailByteWithALeadByteValueIsNotTakenForALeadByte) {
    // "ー" is 0x81 0x5B, "＝" 0x81 0x81: the second 0x81 of "＝" is a trail byte. At K = 4 the
    // characters end at byte 4; a byte test on byte 4 alone would take 5 and split the next one.
    const std::string line = "\x81\x5b\x81\x81\x81\x5b";
    EXPECT_EQ(piecesOf(line, 4), (Pieces{"\x81\x5b\x81\x81", "\x81\x5b"}));
    EXPECT_EQ(piecesOf(line, 3), (Pieces{"\x81\x5b\x81\x81", "\x81\x5b"}));
    EXPECT_EQ(piecesOf("A\x81\x81\x81\x81", 2), (Pieces{"A\x81\x81", "\x81\x81"}));
}

TEST(DoubleByteCut, ALoneLeadByteAtTheEndOfALineStandsAlone) {
    EXPECT_EQ(piecesOf("ABC\x93", 3), (Pieces{"ABC", "\x93"}));
    EXPECT_EQ(piecesOf("AB\x93", 3), (Pieces{"AB\x93"}));
}
