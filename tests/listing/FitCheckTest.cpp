// Shows that the fit check derives the page layout from the printer's metrics, refuses characters
// that would overlap across the page and lines that would overlap down it with its two messages
// byte for byte, and that settings no pass can use are refused first.
#include "listing/PageLayout.h"

#include <gtest/gtest.h>

using namespace zelkova::listing;

TEST(PageLayout, FollowsFromPageHeightFontAndSettings) {
    const FitCheck check = checkFit(kPdfPrinterMetrics, {140, 60});
    ASSERT_TRUE(check.fits());
    const PageLayout& l = check.layout;
    EXPECT_EQ(l.unit, 94);
    EXPECT_EQ(l.titleTop, 376);
    EXPECT_EQ(l.textTop, 564);
    EXPECT_EQ(l.pageNumberTop, 9451 - 188);
    EXPECT_EQ(l.leftMargin, (13567 - 66 * 140) / 2);
    EXPECT_EQ(l.pitch, (9451 - 846) / 60);
    EXPECT_EQ(l.lineTop(2), 564 + 2 * l.pitch);
}

TEST(FitCheck, AcceptsTheLastFittingValuesAndRefusesTheNext) {
    // The PDF printer: x0 > 0 up to K = 205, p >= h up to L = 60.
    EXPECT_TRUE(checkFit(kPdfPrinterMetrics, {205, 60}).fits());
    EXPECT_EQ(checkFit(kPdfPrinterMetrics, {206, 60}).messages.size(), 1u);
    EXPECT_EQ(checkFit(kPdfPrinterMetrics, {140, 61}).messages.size(), 1u);
    // x0 exactly 0 is refused; p exactly h is accepted.
    EXPECT_FALSE(checkFit({1000, 1000, 10, 15, 8}, {100, 60}).fits());
    EXPECT_TRUE(checkFit({1002, 1000, 10, 15, 8}, {100, 60}).fits());
    EXPECT_FALSE(checkFit({1002, 1000, 10, 16, 8}, {100, 60}).fits());
}

TEST(FitCheck, ShowsTheCharactersMessageThenTheLinesMessage) {
    // u = 10, p = (1000 - 90) div 60 = 15 < 20; x0 = (1000 - 10 * 100) div 2 = 0.
    const FitCheck check = checkFit({1000, 1000, 10, 20, 9}, {100, 60});
    ASSERT_EQ(check.messages.size(), 2u);
    EXPECT_EQ(check.messages[0],
              "文字数が多すぎます。\r\n\r\n文字数を減らすか、フォントで文字ｻｲｽﾞを下げるか\r\n"
              "あるいは用紙ｻｲｽﾞを大きいｻｲｽﾞに変更して下さい\r\n\r\n（現在の文字ｻｲｽﾞは "
              "9ﾎﾟｲﾝﾄです。\r\n 現在の半角文字幅は 10ﾋﾟｸｾﾙです。\r\n 現在の用紙幅は "
              "1000ﾋﾟｸｾﾙです。\r\n 現在の文字数 100 では文字が重なります。)");
    EXPECT_EQ(check.messages[1], "行数が多すぎます。\r\n\r\n行数を減らすか、フォントで文字ｻｲｽﾞを下げるか\r\n"
                                 "あるいは用紙ｻｲｽﾞを大きいｻｲｽﾞに変更して下さい\r\n\r\n（現在の文字ｻｲｽﾞは "
                                 "9ﾎﾟｲﾝﾄです。\r\n 現在の文字高は 20ﾋﾟｸｾﾙです。\r\n 現在の用紙高は "
                                 "1000ﾋﾟｸｾﾙです。\r\n 但し余白等除くと残る用紙高は 910ﾋﾟｸｾﾙのため、\r\n"
                                 " 現在の行数 60 では文字が重なります。)");
}

TEST(FitCheck, AHugeTypedCharacterCountDoesNotWrapIntoAFit) {
    // w * K past 32 bits must still be refused.
    EXPECT_FALSE(checkFit(kPdfPrinterMetrics, {2147483647, 60}).fits());
}

TEST(SettingsProblems, RefusesNoCharactersOrNoLinesBeforeAnyPass) {
    EXPECT_TRUE(settingsProblems({1, 1}).empty());
    const auto both = settingsProblems({0, -3});
    ASSERT_EQ(both.size(), 2u);
    EXPECT_EQ(both[0], "文字数は1以上の整数にして下さい。\r\n\r\n（現在の文字数 0 では印刷できません。)");
    EXPECT_EQ(both[1], "行数は1以上の整数にして下さい。\r\n\r\n（現在の行数 -3 では印刷できません。)");
}
