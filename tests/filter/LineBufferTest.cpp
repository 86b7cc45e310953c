// Shows that the line buffer trims, splits fields and cuts lines as the filter needs: the cut
// counts bytes, double-byte characters included.
#include "filter/LineBuffer.h"

#include <gtest/gtest.h>

using zelkova::filter::LineBuffer;

namespace {

std::string padded(std::string text) {
    text.resize(254, ' ');
    return text;
}

} // namespace

TEST(LineBuffer, TrimmedLengthCountsUpToTheLastCharacterThatIsNotABlank) {
    EXPECT_EQ(LineBuffer("  ab\t  ").trimmedLength(), 5u); // a tab is not a blank
    EXPECT_EQ(LineBuffer("  ab\t  ").trimmed(), "  ab\t");
    EXPECT_EQ(LineBuffer(std::string(300, ' ')).trimmedLength(), 0u);
    EXPECT_EQ(LineBuffer("").trimmedLength(), 0u);
    EXPECT_EQ(LineBuffer(std::string(253, ' ') + "xyz").trimmed(), std::string(253, ' ') + "x");
}

TEST(LineBuffer, FieldsAreRunsBetweenBlanksAndCommasPaddedTo254) {
    const LineBuffer line(R"(ch 10,20  ,, 1 0 "^@BMa b.bmp,100,30)");
    EXPECT_EQ(line.field(1), padded("ch"));
    EXPECT_EQ(line.field(3), padded("20"));
    EXPECT_EQ(line.field(6), padded("\"^@BMa"));
    EXPECT_EQ(line.field(9), padded("30"));
    // Fewer fields than asked for: the whole line up to its trimmed length.
    EXPECT_EQ(line.field(10), padded(R"(ch 10,20  ,, 1 0 "^@BMa b.bmp,100,30)"));
    EXPECT_EQ(LineBuffer(" , ly1   ").field(2), padded(" , ly1"));
}

TEST(LineBuffer, CutAt254CountsBytesEvenInsideADoubleByteCharacter) {
    const std::string kanji = "\x82\xA0"; // one double-byte character
    // A character across the cut loses its trail byte: the buffer holds 254 bytes, no fewer.
    EXPECT_EQ(LineBuffer(std::string(253, 'a') + kanji + "b").text(), std::string(253, 'a') + "\x82");
    EXPECT_EQ(LineBuffer(std::string(253, 'a') + kanji + "b").trimmedLength(), 254u);
    // A character ending at the cut stays whole.
    EXPECT_EQ(LineBuffer(std::string(252, 'a') + kanji + "b").text(), std::string(252, 'a') + kanji);
    // Pairs of bytes in the lead-byte range: still 254 bytes, whatever the pairing.
    std::string pairs;
    for (int i = 0; i < 130; ++i)
        pairs += "\x81\x81";
    EXPECT_EQ(LineBuffer("a" + pairs).text().size(), 254u);
    EXPECT_EQ(LineBuffer(std::string(300, 'x')).text(), std::string(254, 'x'));
}

TEST(LineBuffer, HeadIsTheFirstBytesPadded) {
    EXPECT_EQ(LineBuffer("lg").head(3), "lg ");
    EXPECT_EQ(LineBuffer("ly12 abc").head(3), "ly1");
    EXPECT_EQ(LineBuffer("ly\x82\xA0").head(3), "ly\x82");
}
