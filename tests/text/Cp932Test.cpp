// Shows that the code page 932 codec maps every valid code as Windows does, brings every other
// byte back unchanged, and encodes duplicate characters to the code Windows writes.
#include "text/Cp932.h"

#include "TempDir.h"
#include "text/Dbcs.h"

#include <gtest/gtest.h>

using namespace zelkova::text;
using zelkova::testing::sameBytes;

namespace {
std::string bytes(std::initializer_list<int> values) {
    std::string s;
    for (int v : values)
        s += static_cast<char>(v);
    return s;
}
bool isTrail(int b) {
    return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC);
}
} // namespace

TEST(Cp932Codec, EverySingleByteComesBackUnchanged) {
    for (int b = 0; b < 256; ++b) {
        const std::string one = bytes({b});
        const std::u16string decoded = decodeCp932(one);
        ASSERT_EQ(decoded.size(), 1u) << "byte " << b;
        EXPECT_TRUE(sameBytes(one, encodeCp932(decoded))) << "byte " << b;
    }
}

TEST(Cp932Codec, SingleBytesMapAsWindowsMapsThem) {
    EXPECT_EQ(decodeCp932(bytes({0x5C})), u"\\");
    EXPECT_EQ(decodeCp932(bytes({0x7E})), u"~");
    EXPECT_EQ(decodeCp932(bytes({0x1A, 0x1C})), std::u16string(u"\x1A\x1C"));
    EXPECT_EQ(decodeCp932(bytes({0xA1})), u"｡");
    EXPECT_EQ(decodeCp932(bytes({0xDF})), u"ﾟ");
    // Bytes that are no character decode to placeholders, not to some real character.
    for (int b : {0x80, 0xA0, 0xFD, 0xFE, 0xFF})
        EXPECT_EQ(decodeCp932(bytes({b}))[0], char16_t(0xF700 + b)) << b;
}

TEST(Cp932Codec, EveryLeadTrailPairComesBackUnchangedOrAsItsWindowsTwin) {
    int assigned = 0;
    int twins = 0;
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (!isLeadByte(static_cast<unsigned char>(lead)))
            continue;
        for (int trail = 0; trail < 256; ++trail) {
            const std::string pair = bytes({lead, trail});
            const std::u16string decoded = decodeCp932(pair);
            const std::string again = encodeCp932(decoded);
            if (again != pair) { // a duplicate code: the same character under the code Windows writes
                ASSERT_EQ(decodeCp932(again), decoded) << std::hex << lead << " " << trail;
                ASSERT_EQ(again.size(), 2u);
                ++twins;
            }
            if (isTrail(trail) && decoded.size() == 1 && (decoded[0] < 0xF740 || decoded[0] > 0xF7FF))
                ++assigned;
        }
    }
    EXPECT_EQ(assigned, 9604); // JIS X 0208, NEC and IBM extensions and the user-defined area
    EXPECT_EQ(twins, 398);
}

TEST(Cp932Codec, DoubleByteCodesMapAsWindowsMapsThem) {
    EXPECT_EQ(decodeCp932(bytes({0x82, 0xA0})), u"あ");
    EXPECT_EQ(decodeCp932(bytes({0x81, 0x5F})), u"＼"); // FULLWIDTH REVERSE SOLIDUS, not U+005C
    EXPECT_EQ(decodeCp932(bytes({0x81, 0x60})), u"～"); // FULLWIDTH TILDE, not WAVE DASH
    EXPECT_EQ(decodeCp932(bytes({0x81, 0x61})), u"∥");
    EXPECT_EQ(decodeCp932(bytes({0x81, 0x7C})), u"－");
    EXPECT_EQ(decodeCp932(bytes({0x87, 0x40})), u"①");      // NEC row 13
    EXPECT_EQ(decodeCp932(bytes({0xED, 0x40})), u"纊");     // NEC-selected IBM extension
    EXPECT_EQ(decodeCp932(bytes({0xFA, 0x40})), u"ⅰ");      // IBM extension
    EXPECT_EQ(decodeCp932(bytes({0xF0, 0x40})), u"\uE000"); // user-defined area
    EXPECT_EQ(decodeCp932(bytes({0xF9, 0xFC})), u"\uE757");
}

TEST(Cp932Codec, DuplicateCharactersEncodeToTheCodeWindowsWrites) {
    EXPECT_TRUE(sameBytes(bytes({0x81, 0xE0}), encodeCp932(decodeCp932(bytes({0x87, 0x90}))))); // ≒
    EXPECT_TRUE(sameBytes(bytes({0x81, 0xCA}), encodeCp932(decodeCp932(bytes({0xEE, 0xF9}))))); // ￢
    EXPECT_TRUE(sameBytes(bytes({0x81, 0xCA}), encodeCp932(decodeCp932(bytes({0xFA, 0x54})))));
    EXPECT_TRUE(sameBytes(bytes({0x87, 0x54}), encodeCp932(decodeCp932(bytes({0xFA, 0x4A}))))); // Ⅰ
    EXPECT_TRUE(sameBytes(bytes({0xFA, 0x40}), encodeCp932(decodeCp932(bytes({0xEE, 0xEF}))))); // ⅰ
    EXPECT_TRUE(sameBytes(bytes({0xFA, 0x5C}), encodeCp932(decodeCp932(bytes({0xED, 0x40}))))); // 纊
    EXPECT_TRUE(sameBytes(bytes({0x81, 0xE6}), encodeCp932(decodeCp932(bytes({0xFA, 0x5B}))))); // ∵
}

TEST(Cp932Codec, OnlyTheDuplicateCodesChangeWhenDecodedTextIsEncodedAgain) {
    int changed = 0;
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (!isLeadByte(static_cast<unsigned char>(lead)))
            continue;
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            if (!isTrail(trail))
                continue;
            const std::string pair = bytes({lead, trail});
            // Through UTF-8, as text that was edited comes back from the widget.
            if (utf8ToCp932(cp932ToUtf8(pair)) != pair)
                ++changed;
        }
    }
    EXPECT_EQ(changed, 398);
}

TEST(Cp932Codec, LeadBytesNeverSwallowLineEndsOrTheEndOfTheText) {
    EXPECT_EQ(decodeCp932(bytes({0x82, '\r', '\n'})), (std::u16string{0xF782, u'\r', u'\n'}));
    EXPECT_EQ(decodeCp932(bytes({0x82, '\n'})), (std::u16string{0xF782, u'\n'}));
    EXPECT_EQ(decodeCp932(bytes({'A', 0x82})), (std::u16string{u'A', 0xF782}));
    const std::string lone = bytes({'a', 0x93, ' ', 'b', 0x82});
    EXPECT_TRUE(sameBytes(lone, encodeCp932(decodeCp932(lone))));
    // An unassigned pair keeps its two bytes together.
    EXPECT_EQ(decodeCp932(bytes({0x85, 0x40})), (std::u16string{0xF785, 0xF740}));
}

TEST(Cp932Codec, RealJapaneseFileRoundTripsByteForByte) {
    const std::string data =
        zelkova::testing::readBytes(zelkova::testing::corpusDir() / "plotfiles" / "sample06.txt");
    ASSERT_GT(data.size(), 60000u);
    EXPECT_TRUE(sameBytes(data, encodeCp932(decodeCp932(data))));
    EXPECT_NE(cp932ToUtf8(data).find("ＭＳ ゴシック"), std::string::npos);
    const std::string listing =
        zelkova::testing::readBytes(zelkova::testing::corpusDir() / "listings" / "mf2005-l1b2k_bath.lst");
    EXPECT_TRUE(sameBytes(listing, utf8ToCp932(cp932ToUtf8(listing))));
}

TEST(Cp932Codec, Utf8AndUtf16ConvertEachOther) {
    EXPECT_EQ(utf8ToUtf16("Aあ😀"), (std::u16string{u'A', u'あ', 0xD83D, 0xDE00}));
    EXPECT_EQ(utf16ToUtf8(u"Aあ"), "Aあ");
    EXPECT_EQ(utf8ToUtf16("\xFF"), std::u16string(1, 0xFFFD));
    EXPECT_EQ(utf8ToCp932("😀é"), "??"); // no code in CP932
}
