// Shows the captions, buttons and kinds of the four boxes and the general error report's
// full-stop rule.
#include "platform/MessageBoxes.h"

#include "ScriptedMessageBoxes.h"

#include <gtest/gtest.h>

using namespace zelkova::platform;

TEST(MessageBoxKinds, CaptionsButtonsAndKinds) {
    zelkova::testing::ScriptedMessageBoxes boxes;
    boxes.plain("a");
    boxes.answerNext(Reply::No);
    EXPECT_FALSE(boxes.confirm("b"));
    boxes.answerNext(Reply::Yes);
    EXPECT_TRUE(boxes.confirm("b"));
    boxes.error("c");
    boxes.generalError("ファイルが見つかりません");
    const auto& shown = boxes.shown();
    ASSERT_EQ(shown.size(), 5u);
    EXPECT_EQ(shown[0].kind, MessageKind::Plain);
    EXPECT_EQ(shown[0].caption, "Zelkova（ﾌｫｰﾄﾗﾝexe等の実行、ﾃﾞｰﾀ編集、作図用）");
    EXPECT_EQ(shown[0].buttons, std::vector<Reply>{Reply::Ok});
    EXPECT_EQ(shown[1].kind, MessageKind::Confirmation);
    EXPECT_EQ(shown[1].caption, "確認");
    EXPECT_EQ(shown[1].buttons, (std::vector<Reply>{Reply::Yes, Reply::No}));
    EXPECT_EQ(shown[3].kind, MessageKind::Error);
    EXPECT_EQ(shown[3].caption, "エラー");
    EXPECT_EQ(shown[4].kind, MessageKind::Error);
    EXPECT_EQ(shown[4].caption, "Zelkova（ﾌｫｰﾄﾗﾝexe等の実行、ﾃﾞｰﾀ編集、作図用）");
    EXPECT_EQ(shown[4].text, "ファイルが見つかりません.");
}

TEST(GeneralErrorReport, FullStopOnlyAfterACharacterThatSortsAfterIt) {
    EXPECT_EQ(withFinalStop("ファイルが見つかりません"), "ファイルが見つかりません.");
    EXPECT_EQ(withFinalStop("I/O エラー (32)"), "I/O エラー (32)");
    EXPECT_EQ(withFinalStop("'abc' は整数ではありません"), "'abc' は整数ではありません.");
    EXPECT_EQ(withFinalStop("done."), "done.");
    EXPECT_EQ(withFinalStop("abc"), "abc.");
    EXPECT_EQ(withFinalStop("エラー！"), "エラー！."); // full-width "！" sorts after "."
    EXPECT_EQ(withFinalStop(""), "");
}
