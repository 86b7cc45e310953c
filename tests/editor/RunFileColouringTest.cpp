// Shows that a run file is found and coloured line by line (black for what the runner acts on,
// blue for comments), that recolouring is no edit, and that the caret indicators follow the caret.
#include "EditorWindowFixture.h"

#include <QTimer>

namespace zelkova::testing {
namespace {

class RunFileColouring : public EditorWindowTest {
protected:
    void open(const std::string& bytes) { create(dir.write("run.FRT", bytes)); }
    // A timer tick, as Timer1 gives it.
    void tick() { form->Timer1Timer(); }
    // Typing as the keyboard does it, at `position`.
    void typeAt(int position, const QString& characters) {
        select(position, position);
        QTest::keyClicks(richEdit(), characters);
    }
};

TEST_F(RunFileColouring, ColoursMarkerLinesBlackAndEverythingElseBlue) {
    open("R IN.DAT = A.DAT\r\n"
         "comment\r\n"
         " R leading blank\r\n"
         "\r\n"
         "{\r\n"
         "W inside a block\r\n"
         "\r\n"
         "}\r\n"
         "p PROG.EXE\r\n"
         "w OUT.DAT = B.DAT\r\n");
    ASSERT_TRUE(form->isRunFile());
    EXPECT_EQ(colourOfLine(0), kBlack);
    EXPECT_EQ(colourOfLine(1), kBlue);
    EXPECT_EQ(colourOfLine(2), kBlue);
    EXPECT_FALSE(colourOfLine(3).isValid());
    EXPECT_EQ(colourOfLine(4), kBlue);
    EXPECT_EQ(colourOfLine(5), kBlue); // an empty line does not end the block
    EXPECT_EQ(colourOfLine(7), kBlue); // the closing line is blue
    EXPECT_EQ(colourOfLine(8), kBlack);
    EXPECT_EQ(colourOfLine(9), kBlack);
}

TEST_F(RunFileColouring, AMarkerInsideACommentBlockStillMakesARunFile) {
    open("{\r\nR IN = A\r\n}\r\n");
    EXPECT_TRUE(form->isRunFile());
    EXPECT_EQ(colourOfLine(1), kBlue);
}

TEST_F(RunFileColouring, LooksAtTheFirst101LinesOnly) {
    std::string bytes;
    for (int i = 0; i < 100; ++i)
        bytes += "comment\r\n";
    open(bytes + "R IN = A\r\n");
    EXPECT_TRUE(form->isRunFile());
    open(bytes + "comment\r\nR IN = A\r\n");
    EXPECT_FALSE(form->isRunFile());
    EXPECT_FALSE(colourOfLine(101).isValid());
    // The runner refuses it.
    trigger(form.get(), "prgrun");
    EXPECT_EQ(messageTexts(), std::vector<std::string>{"このファイルはＥＸ文ではありません！"});
}

TEST_F(RunFileColouring, ALongFileIsExaminedOnceEditedBelow200Lines) {
    std::string bytes = "R IN = A\r\n";
    for (int i = 1; i < 200; ++i)
        bytes += "comment\r\n";
    open(bytes);
    EXPECT_FALSE(form->isRunFile());
    EXPECT_FALSE(colourOfLine(0).isValid());
    // Delete the last line: 199 lines now, and the change examines it.
    QTextCursor cursor = richEdit()->textCursor();
    cursor.movePosition(QTextCursor::End);
    cursor.movePosition(QTextCursor::PreviousBlock);
    cursor.movePosition(QTextCursor::PreviousBlock, QTextCursor::KeepAnchor);
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    EXPECT_TRUE(form->isRunFile());
    tick();
    EXPECT_EQ(colourOfLine(0), kBlack);
    EXPECT_EQ(colourOfLine(1), kBlue);
}

TEST_F(RunFileColouring, RecolouringIsNoEdit) {
    open("R IN = A\r\ncomment\r\n");
    EXPECT_FALSE(modified());
    EXPECT_FALSE(richEdit()->document()->isUndoAvailable());
    select(2, 5);
    form->cmtflgchk();
    EXPECT_FALSE(modified());
    EXPECT_FALSE(richEdit()->document()->isUndoAvailable());
    // Caret and selection stay.
    EXPECT_EQ(richEdit()->textCursor().anchor(), 2);
    EXPECT_EQ(richEdit()->textCursor().position(), 5);
}

TEST_F(RunFileColouring, TypingRecoloursAtTheNextTickAndKeepsTheEditUndoable) {
    open("R IN = A\r\ncomment\r\n");
    typeAt(9, QStringLiteral("W ")); // "W comment" is now a marker line
    EXPECT_EQ(text(), "R IN = A\nW comment\n");
    tick();
    EXPECT_EQ(colourOfLine(1), kBlack);
    EXPECT_TRUE(modified());
    EXPECT_EQ(richEdit()->textCursor().position(), 11); // the caret stayed where typing left it
    trigger(form.get(), "Undo1");
    EXPECT_EQ(text(), "R IN = A\ncomment\n");
    tick();
    EXPECT_EQ(colourOfLine(1), kBlue);
}

TEST_F(RunFileColouring, RemovingEveryMarkerLeavesARunFileAllBlue) {
    open("R IN = A\r\nP PROG\r\n");
    setText("x IN = A\nx PROG\n");
    EXPECT_TRUE(form->isRunFile());
    tick();
    EXPECT_EQ(colourOfLine(0), kBlue);
    EXPECT_EQ(colourOfLine(1), kBlue);
}

TEST_F(RunFileColouring, NoRecolouringWithoutAChange) {
    open("R IN = A\r\n");
    // Colours removed by hand stay removed until a change asks for a pass.
    form->New1Click();
    setText("R X\n");
    tick();
    EXPECT_EQ(colourOfLine(0), kBlack);
    EXPECT_TRUE(form->isRunFile());
    s.messages.answerNext(platform::Reply::No);
    trigger(form.get(), "New1");
    EXPECT_FALSE(form->isRunFile());
    EXPECT_FALSE(colourOfLine(0).isValid());
}

TEST_F(RunFileColouring, TheTimerTicksAfterOneSecondThenEveryHalfSecond) {
    create();
    QTimer* timer = child<QTimer>(form.get(), "Timer1");
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(timer->interval(), 1000);
    tick();
    EXPECT_EQ(timer->interval(), 500);
}

using CaretIndicators = EditorWindowTest;

TEST_F(CaretIndicators, FollowTheCaretAfterAKey) {
    create(dir.write("a.txt", "one\r\ntwo\r\nthree\r\nfour\r\n"));
    select(8, 8); // line 3, column 1
    QTest::keyClick(richEdit(), Qt::Key_Down);
    EXPECT_EQ(statusText(), " 4 行、1 ｶﾗﾑ");
    QTest::keyClick(richEdit(), Qt::Key_Right);
    EXPECT_EQ(statusText(), " 4 行、2 ｶﾗﾑ");
}

TEST_F(CaretIndicators, ShowPageZeroWithoutAnyFile) {
    create();
    EXPECT_EQ(pageCaption(), "　");
    QTest::keyClicks(richEdit(), QStringLiteral("a"));
    EXPECT_EQ(pageCaption(), "    現在のｶｰｿﾙは 0 ﾍﾟｰｼﾞです。");
    EXPECT_EQ(statusText(), " 1 行、2 ｶﾗﾑ");
}

TEST_F(CaretIndicators, UseTheSelectionEndForThePositionAndItsStartForThePage) {
    std::string listing = "1HEADER\r\n";
    for (int i = 0; i < 80; ++i)
        listing += " line\r\n";
    create(dir.write("a.lst", listing));
    const QTextBlock first = richEdit()->document()->findBlockByNumber(0);
    const QTextBlock last = richEdit()->document()->findBlockByNumber(80);
    select(first.position() + 2, last.position() + 3);
    EXPECT_EQ(statusText(), " 81 行、4 ｶﾗﾑ");
    EXPECT_EQ(pageCaption(), "    現在のｶｰｿﾙは 1 ﾍﾟｰｼﾞです。");
    select(last.position() + 3, last.position() + 3);
    EXPECT_NE(pageCaption(), "    現在のｶｰｿﾙは 1 ﾍﾟｰｼﾞです。"); // line 81 lies on a later page
}

TEST_F(CaretIndicators, FollowAMouseClickAndAnEdit) {
    create(dir.write("a.txt", "one\r\ntwo\r\n"));
    const QRect line2 = richEdit()->cursorRect(QTextCursor(richEdit()->document()->findBlockByNumber(1)));
    QTest::mouseClick(richEdit()->viewport(), Qt::LeftButton, {}, line2.center() + QPoint(1, 0));
    EXPECT_EQ(statusText(), " 2 行、1 ｶﾗﾑ");
    s.clipboard.setText(QStringLiteral("xyz"));
    trigger(form.get(), "Paste1");
    EXPECT_EQ(statusText(), " 2 行、4 ｶﾗﾑ");
}

} // namespace
} // namespace zelkova::testing
