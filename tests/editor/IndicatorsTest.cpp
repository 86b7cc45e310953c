// Shows the exact texts of the position and page indicators.
#include "editor/Indicators.h"

#include <gtest/gtest.h>

using namespace zelkova::editor;

TEST(Indicators, PositionTextNamesLineAndColumn) {
    EXPECT_EQ(positionText(1, 1), " 1 行、1 ｶﾗﾑ");
    EXPECT_EQ(positionText(120, 37), " 120 行、37 ｶﾗﾑ");
}

TEST(Indicators, PageTextNamesTheListingPage) {
    EXPECT_EQ(pageText(0), "    現在のｶｰｿﾙは 0 ﾍﾟｰｼﾞです。");
    EXPECT_EQ(pageText(12), "    現在のｶｰｿﾙは 12 ﾍﾟｰｼﾞです。");
}
