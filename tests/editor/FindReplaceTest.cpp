// Shows that find and replace in the editor window start where they should, run forward without
// wrapping, use each dialog's own options, report with the right box, and edit the text the way
// typing does (undo, modified flag, recolouring, indicators).
#include "EditorWindowFixture.h"

#include "editor/qt/SearchDialog.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

namespace zelkova::testing {
namespace {

using editor::SearchDialog;
using platform::MessageKind;

class FindReplace : public EditorWindowTest {
protected:
    void SetUp() override { create(); }

    SearchDialog* findDialog() { return child<SearchDialog>(form.get(), "finddialog1"); }
    SearchDialog* replaceDialog() { return child<SearchDialog>(form.get(), "ReplaceDialog1"); }

    // Opens the dialog by its command and types into its fields as the user would.
    void fill(SearchDialog* dialog, const char* openCommand, const QString& search, bool matchCase = true,
              const QString& replacement = {}) {
        trigger(form.get(), openCommand);
        child<QLineEdit>(dialog, "FindText")->setText(search);
        if (auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("ReplaceText")))
            edit->setText(replacement);
        child<QCheckBox>(dialog, "MatchCase")->setChecked(matchCase);
    }
    void press(SearchDialog* dialog, const char* button) { child<QPushButton>(dialog, button)->click(); }

    std::pair<int, int> selection() {
        const QTextCursor cursor = richEdit()->textCursor();
        return {cursor.selectionStart(), cursor.selectionEnd()};
    }
};

TEST_F(FindReplace, OpeningPlacesTheDialogTopLeftWithTheSelectionAndMatchCase) {
    setText("alpha beta");
    select(6, 10);
    trigger(form.get(), "Find1");
    SearchDialog* dialog = findDialog();
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_FALSE(dialog->isModal());
    EXPECT_EQ(dialog->pos(), QPoint(0, 0));
    EXPECT_EQ(dialog->findText().toStdString(), "beta");
    EXPECT_TRUE(dialog->matchCase());
    EXPECT_FALSE(replaceDialog()->isVisible());

    // The user switches match case off and moves the dialog: the command only brings it back.
    dialog->setMatchCase(false);
    dialog->move(300, 200);
    select(0, 5);
    trigger(form.get(), "Find2");
    EXPECT_EQ(dialog->pos(), QPoint(0, 0));
    EXPECT_EQ(dialog->findText().toStdString(), "beta");
    EXPECT_FALSE(dialog->matchCase());

    // Closed and opened again, it takes the selection and switches match case on again.
    dialog->close();
    trigger(form.get(), "Find1");
    EXPECT_EQ(dialog->findText().toStdString(), "alpha");
    EXPECT_TRUE(dialog->matchCase());

    // Without a selection it keeps its last search text.
    dialog->close();
    select(3, 3);
    trigger(form.get(), "Find1");
    EXPECT_EQ(dialog->findText().toStdString(), "alpha");
}

TEST_F(FindReplace, TheReplaceDialogOpensTheSameWay) {
    setText("one two");
    select(4, 7);
    trigger(form.get(), "replace2");
    EXPECT_TRUE(replaceDialog()->isVisible());
    EXPECT_EQ(replaceDialog()->pos(), QPoint(0, 0));
    EXPECT_EQ(replaceDialog()->findText().toStdString(), "two");
    EXPECT_TRUE(replaceDialog()->matchCase());
    EXPECT_EQ(findDialog()->findText().toStdString(), "");
}

TEST_F(FindReplace, TakesAtMost255BytesWithoutCuttingACharacter) {
    setText(std::string(253, 'x') + "漢字");
    select(0, 255); // 257 bytes
    trigger(form.get(), "Find1");
    EXPECT_EQ(findDialog()->findText().toStdString(), std::string(253, 'x') + "漢");
    // Typed or pasted text is held to the same limit, in both fields.
    auto* replacement = child<QLineEdit>(replaceDialog(), "ReplaceText");
    replacement->setText(QString(200, QChar(u'あ')));
    EXPECT_EQ(replacement->text(), QString(127, QChar(u'あ')));
}

TEST_F(FindReplace, FindStartsAtTheBeginningAndReplaceFindAtTheCaret) {
    setText("abc abc");
    select(5, 5);
    fill(findDialog(), "Find1", QStringLiteral("abc"));
    press(findDialog(), "FindNextButton");
    EXPECT_EQ(selection(), std::make_pair(0, 3));
    EXPECT_TRUE(richEdit()->hasFocus() || !QApplication::focusWidget());

    select(5, 5);
    fill(replaceDialog(), "Replace1", QStringLiteral("abc"));
    press(replaceDialog(), "FindNextButton");
    ASSERT_EQ(messageTexts(), std::vector<std::string>{"\"abc\"なし。"});
    EXPECT_EQ(s.messages.shown()[0].kind, MessageKind::Error);
    EXPECT_EQ(s.messages.shown()[0].caption, "エラー");
    EXPECT_EQ(selection(), std::make_pair(5, 5));

    select(4, 4);
    press(replaceDialog(), "FindNextButton");
    EXPECT_EQ(selection(), std::make_pair(4, 7));
}

TEST_F(FindReplace, FindContinuesAfterTheFoundOccurrenceAndNeverWraps) {
    setText("abc abc\nabc");
    fill(findDialog(), "Find1", QStringLiteral("abc"));
    press(findDialog(), "FindNextButton");
    press(findDialog(), "FindNextButton");
    EXPECT_EQ(selection(), std::make_pair(4, 7));
    press(findDialog(), "FindNextButton");
    EXPECT_EQ(selection(), std::make_pair(8, 11));
    EXPECT_EQ(statusText(), " 2 行、4 ｶﾗﾑ");
    press(findDialog(), "FindNextButton");
    ASSERT_EQ(messageTexts(), std::vector<std::string>{"\"abc\"なし。"});
    EXPECT_EQ(s.messages.shown()[0].kind, MessageKind::Plain);
    EXPECT_EQ(s.messages.shown()[0].caption, "Zelkova（ﾌｫｰﾄﾗﾝexe等の実行、ﾃﾞｰﾀ編集、作図用）");
    EXPECT_EQ(selection(), std::make_pair(8, 11));
}

TEST_F(FindReplace, EachDialogUsesItsOwnMatchCase) {
    setText("ABC abc Ａｂｃ");
    fill(findDialog(), "Find1", QStringLiteral("abc"), /*matchCase=*/false);
    fill(replaceDialog(), "Replace1", QStringLiteral("abc"), /*matchCase=*/true);
    select(0, 0);
    press(findDialog(), "FindNextButton");
    EXPECT_EQ(selection(), std::make_pair(0, 3));
    select(0, 0);
    press(replaceDialog(), "FindNextButton");
    EXPECT_EQ(selection(), std::make_pair(4, 7));
    // Full-width letters fold too, when case is ignored.
    child<QLineEdit>(findDialog(), "FindText")->setText(QStringLiteral("ａＢＣ"));
    select(0, 0);
    press(findDialog(), "FindNextButton");
    EXPECT_EQ(selection(), std::make_pair(8, 11));
}

TEST_F(FindReplace, ReplaceReplacesTheSelectedOccurrenceAndLeavesItSelected) {
    setText("abc abc");
    fill(replaceDialog(), "Replace1", QStringLiteral("abc"), true, QStringLiteral("xy"));
    select(4, 4);
    press(replaceDialog(), "FindNextButton");
    press(replaceDialog(), "ReplaceButton");
    EXPECT_EQ(text(), "abc xy");
    EXPECT_EQ(selection(), std::make_pair(4, 6));
    EXPECT_TRUE(s.messages.shown().empty());
    // No occurrence after the selection start: the box reports none replaced.
    press(replaceDialog(), "ReplaceButton");
    EXPECT_EQ(messageTexts(), std::vector<std::string>{"\"abc\"既になし。\r\n\r\n0ヶ置き換えました。"});
    EXPECT_EQ(s.messages.shown()[0].kind, MessageKind::Plain);
    EXPECT_EQ(text(), "abc xy");
    // A replacement is one edit, undone in one step.
    EXPECT_TRUE(modified());
    trigger(form.get(), "Undo1");
    EXPECT_EQ(text(), "abc abc");
}

TEST_F(FindReplace, ReplaceAllOfOneLetterByTwoEndsWithSixAndCountsThree) {
    setText("aaa");
    select(0, 0);
    fill(replaceDialog(), "Replace1", QStringLiteral("a"), true, QStringLiteral("aa"));
    press(replaceDialog(), "ReplaceAllButton");
    EXPECT_EQ(text(), "aaaaaa");
    EXPECT_EQ(messageTexts(), std::vector<std::string>{"\"a\"既になし。\r\n\r\n3ヶ置き換えました。"});
    EXPECT_EQ(selection(), std::make_pair(4, 6));
    // The box resets the dialog to single replacement.
    EXPECT_EQ(replaceDialog()->replaceOption(), SearchDialog::ReplaceOption::Replace);
}

TEST_F(FindReplace, ReplaceAllLeavesOccurrencesBeforeTheSelectionStart) {
    setText("ab ab ab ab");
    select(4, 7); // from inside the second occurrence (3 to 5)
    fill(replaceDialog(), "Replace1", QStringLiteral("ab"), true, QString());
    press(replaceDialog(), "ReplaceAllButton");
    EXPECT_EQ(text(), "ab ab  ");
    EXPECT_EQ(messageTexts(), std::vector<std::string>{"\"ab\"既になし。\r\n\r\n2ヶ置き換えました。"});
    EXPECT_EQ(selection(), std::make_pair(7, 7));
    // One step undoes the whole action.
    trigger(form.get(), "Undo1");
    EXPECT_EQ(text(), "ab ab ab ab");
}

TEST_F(FindReplace, ReplaceAllIgnoringCaseAcrossLines) {
    setText("Read x\nREAD y\nread z");
    fill(replaceDialog(), "Replace1", QStringLiteral("read"), /*matchCase=*/false, QStringLiteral("R"));
    select(0, 0);
    press(replaceDialog(), "ReplaceAllButton");
    EXPECT_EQ(text(), "R x\nR y\nR z");
    EXPECT_EQ(statusText(), " 3 行、2 ｶﾗﾑ");
}

TEST_F(FindReplace, ReplacingInARunFileRecoloursItAtTheNextTick) {
    create(dir.write("run.FRT", "R IN = A\r\nx OUT = B\r\n"));
    EXPECT_EQ(colourOfLine(1), kBlue);
    fill(replaceDialog(), "Replace1", QStringLiteral("x OUT"), true, QStringLiteral("W OUT"));
    select(0, 0);
    press(replaceDialog(), "ReplaceButton");
    EXPECT_TRUE(modified());
    form->Timer1Timer();
    EXPECT_EQ(colourOfLine(1), kBlack);
}

TEST_F(FindReplace, ASelectionOverALineEndFindsItsLikeOnLaterLines) {
    setText("xa\nby a\nb");
    select(1, 4);
    trigger(form.get(), "Find1");
    EXPECT_EQ(findDialog()->findText().toStdString(), "a\nb");
    press(findDialog(), "FindNextButton");
    EXPECT_EQ(selection(), std::make_pair(6, 9));
}

TEST_F(FindReplace, TheButtonsWaitForASearchText) {
    trigger(form.get(), "Replace1");
    child<QLineEdit>(replaceDialog(), "FindText")->clear();
    EXPECT_FALSE(child<QPushButton>(replaceDialog(), "FindNextButton")->isEnabled());
    EXPECT_FALSE(child<QPushButton>(replaceDialog(), "ReplaceAllButton")->isEnabled());
    child<QLineEdit>(replaceDialog(), "FindText")->setText(QStringLiteral("x"));
    EXPECT_TRUE(child<QPushButton>(replaceDialog(), "ReplaceButton")->isEnabled());
}

TEST_F(FindReplace, ReplaceAllIn50000Lines) {
    std::string lines;
    for (int i = 0; i < 50000; ++i)
        lines += i % 5 == 0 ? "R 'IN.DAT' = 'CASE.DAT'\r\n" : "  1.0  2.0  3.0\r\n";
    create(dir.write("big.txt", lines));
    fill(replaceDialog(), "Replace1", QStringLiteral("CASE"), true, QStringLiteral("実例"));
    select(0, 0);
    press(replaceDialog(), "ReplaceAllButton");
    EXPECT_EQ(messageTexts(), std::vector<std::string>{"\"CASE\"既になし。\r\n\r\n10000ヶ置き換えました。"});
    EXPECT_EQ(richEdit()->document()->findBlockByNumber(49995).text().toStdString(),
              "R 'IN.DAT' = '実例.DAT'");
    EXPECT_EQ(richEdit()->document()->blockCount(), 50001);
    trigger(form.get(), "Save1");
    const std::string saved = readBytes(dir.path() / "big.txt");
    EXPECT_EQ(saved.size(), lines.size());
    EXPECT_EQ(saved.find("CASE"), std::string::npos);
}

} // namespace
} // namespace zelkova::testing
