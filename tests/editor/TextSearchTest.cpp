// Shows that the editor's search matches whole characters, folds only ASCII and full-width Latin
// letters, runs forward without wrapping, never lets Replace All overlap occurrences, and cuts
// search texts at 255 bytes of code page 932 without splitting a character.
#include "editor/TextSearch.h"

#include "text/Cp932.h"

#include <gtest/gtest.h>

namespace zelkova::editor {
namespace {

std::u16string sjis(std::string_view bytes) {
    return text::decodeCp932(bytes);
}

TEST(TextSearch, RunsForwardFromTheStartWithoutWrapping) {
    const std::u16string text = u"abc abc";
    EXPECT_EQ(findForward(text, 0, u"abc", LetterCase::Match), 0u);
    EXPECT_EQ(findForward(text, 1, u"abc", LetterCase::Match), 4u);
    EXPECT_EQ(findForward(text, 4, u"abc", LetterCase::Match), 4u);
    EXPECT_EQ(findForward(text, 5, u"abc", LetterCase::Match), std::nullopt);
    EXPECT_EQ(findForward(text, 7, u"c", LetterCase::Match), std::nullopt);
    EXPECT_EQ(findForward(text, 99, u"c", LetterCase::Ignore), std::nullopt);
    EXPECT_EQ(findForward(text, 0, u"", LetterCase::Match), std::nullopt);
    EXPECT_EQ(findForward(u"ab", 0, u"abc", LetterCase::Ignore), std::nullopt);
    // Line ends are characters like any other.
    EXPECT_EQ(findForward(u"a\nb\nc", 0, u"b\nc", LetterCase::Match), 2u);
}

TEST(TextSearch, NeverMatchesHalfADoubleByteCharacter) {
    // "ア" is 83 41 and "ァ" 83 40: their trail bytes are "A" and "@".
    const std::u16string text = sjis("\x83\x41\x83\x40");
    EXPECT_EQ(findForward(text, 0, u"A", LetterCase::Match), std::nullopt);
    EXPECT_EQ(findForward(text, 0, u"a", LetterCase::Ignore), std::nullopt);
    EXPECT_EQ(findForward(text, 0, u"@", LetterCase::Match), std::nullopt);
    EXPECT_EQ(findForward(text + u"A", 0, u"A", LetterCase::Match), 2u);
    // "表" (95 5C) holds the byte of "\"; searching for "\" finds only the real one.
    const std::u16string path = sjis("\x95\x5c\\x");
    EXPECT_EQ(findForward(path, 0, u"\\", LetterCase::Match), 1u);
    // A pair outside the BMP is not split either.
    EXPECT_EQ(findForward(u"x\U0001F600", 0, std::u16string(1, u'\xDE00'), LetterCase::Match), std::nullopt);
}

TEST(TextSearch, IgnoringCaseFoldsOnlyAsciiAndFullWidthLatinLetters) {
    EXPECT_EQ(findForward(u"xx ABC", 0, u"abc", LetterCase::Ignore), 3u);
    EXPECT_EQ(findForward(u"xx ABC", 0, u"abc", LetterCase::Match), std::nullopt);
    EXPECT_EQ(findForward(u"Ｆｏｒｔｒａｎ", 0, u"ｆＯＲＴＲＡＮ", LetterCase::Ignore), 0u);
    EXPECT_EQ(findForward(u"Ｆｏｒｔｒａｎ", 0, u"ｆＯＲＴＲＡＮ", LetterCase::Match), std::nullopt);
    // Half-width and full-width forms stay different letters.
    EXPECT_EQ(findForward(u"Ａ", 0, u"a", LetterCase::Ignore), std::nullopt);
    // Greek, Cyrillic and accented letters match exactly, as do the characters next to the ranges.
    EXPECT_EQ(findForward(u"Α Д É", 0, u"α", LetterCase::Ignore), std::nullopt);
    EXPECT_EQ(findForward(u"Α Д É", 0, u"д", LetterCase::Ignore), std::nullopt);
    EXPECT_EQ(findForward(u"Α Д É", 0, u"é", LetterCase::Ignore), std::nullopt);
    EXPECT_EQ(findForward(u"@[`{", 0, u"`", LetterCase::Ignore), 2u);
    EXPECT_EQ(findForward(u"@[", 0, u"`", LetterCase::Ignore), std::nullopt);
    EXPECT_EQ(findForward(u"［", 0, u"｛", LetterCase::Ignore), std::nullopt);
}

TEST(TextSearch, ReplaceAllOccurrencesNeverOverlap) {
    EXPECT_EQ(occurrencesFrom(u"aaa", 0, u"a", LetterCase::Match), (std::vector<std::size_t>{0, 1, 2}));
    EXPECT_EQ(occurrencesFrom(u"aaaa", 0, u"aa", LetterCase::Match), (std::vector<std::size_t>{0, 2}));
    EXPECT_EQ(occurrencesFrom(u"aaaaa", 1, u"aa", LetterCase::Match), (std::vector<std::size_t>{1, 3}));
    EXPECT_EQ(occurrencesFrom(u"Ab ab AB", 1, u"ab", LetterCase::Ignore), (std::vector<std::size_t>{3, 6}));
    EXPECT_TRUE(occurrencesFrom(u"abc", 0, u"", LetterCase::Match).empty());
}

TEST(TextSearch, LimitsSearchTextsTo255BytesOfCodePage932) {
    const std::u16string ascii(300, u'x');
    EXPECT_EQ(prefixWithinCp932Bytes(ascii, kSearchTextBytes), 255u);
    // 127 double-byte characters fill 254 bytes; the 128th would need bytes 255 and 256.
    const std::u16string kana(200, u'あ');
    EXPECT_EQ(prefixWithinCp932Bytes(kana, kSearchTextBytes), 127u);
    EXPECT_EQ(prefixWithinCp932Bytes(u"x" + kana, kSearchTextBytes), 128u);
    // Half-width katakana is one byte; a character without a code is saved as one "?".
    EXPECT_EQ(prefixWithinCp932Bytes(std::u16string(300, u'ｱ'), kSearchTextBytes), 255u);
    EXPECT_EQ(prefixWithinCp932Bytes(u"é\U0001F600", 2), 3u);
    EXPECT_EQ(prefixWithinCp932Bytes(u"ab", 255), 2u);
}

TEST(TextSearch, BoxTextsQuoteTheSearchText) {
    EXPECT_EQ(notFoundText("検索"), "\"検索\"なし。");
    EXPECT_EQ(noLongerFoundText("a", 3), "\"a\"既になし。\r\n\r\n3ヶ置き換えました。");
    EXPECT_EQ(noLongerFoundText("", 0), "\"\"既になし。\r\n\r\n0ヶ置き換えました。");
}

} // namespace
} // namespace zelkova::editor
