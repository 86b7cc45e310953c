// Shows that the help window holds its table of contents and seven sections, starts afresh at
// every opening, closes by its menu and its close box alike, and prints the text as it stands.
#include "GuiHelpers.h"
#include "ScriptedServices.h"
#include "TempDir.h"
#include "help/TForm3.h"

#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QTextEdit>

#include <gtest/gtest.h>

namespace zelkova::testing {
namespace {

class HelpWindow : public ::testing::Test {
protected:
    QTextEdit* textOf(TForm3& form) { return child<QTextEdit>(&form, "RichEdit1"); }
    ScriptedServices s;
    TempDir dir;
};

TEST_F(HelpWindow, ListsTheSevenTopicsThenHasASectionForEach) {
    TForm3 form(s.services);
    EXPECT_EQ(form.windowTitle().toStdString(), "ヘルプ画面");
    const QString text = textOf(form)->toPlainText();
    const char* headings[] = {"Fortranﾌﾟﾛｸﾞﾗﾑ実行",
                              "Fortranﾌﾟﾛｸﾞﾗﾑ出力の印刷",
                              "結果図の描画方法",
                              "結果図の拡大・縮小・移動・印刷・コピー・色表示変更",
                              "JW_CAD図面の簡易描画（ｻﾎﾟｰﾄしていない機能もあります）",
                              "注意事項",
                              "最新版の変更点"};
    qsizetype contents = 0;
    qsizetype section = text.indexOf(QString::fromUtf8(headings[6])); // the last entry of the contents
    ASSERT_GT(section, 0);
    for (const char* heading : headings) {
        const QString h = QString::fromUtf8(heading);
        const qsizetype inContents = text.indexOf(h, contents);
        const qsizetype asSection = text.indexOf(h, section + 1);
        EXPECT_GE(inContents, contents) << heading;
        EXPECT_GT(asSection, section) << heading;
        contents = inContents + 1;
        section = asSection;
    }
    EXPECT_FALSE(textOf(form)->isReadOnly());
}

TEST_F(HelpWindow, EveryOpeningStartsFromTheFixedText) {
    QString fixed;
    {
        TForm3 first(s.services);
        fixed = textOf(first)->toPlainText();
        textOf(first)->setPlainText(QStringLiteral("typed over"));
    }
    TForm3 second(s.services);
    EXPECT_EQ(textOf(second)->toPlainText(), fixed);
}

TEST_F(HelpWindow, TheBackItemAndTheCloseBoxBothClose) {
    TForm3 form(s.services);
    const auto items = form.findChild<QMenuBar*>(QStringLiteral("MainMenu1"))->actions();
    ASSERT_EQ(items.size(), 2);
    EXPECT_EQ(items[0]->text().toStdString(), "戻る(&E)");
    EXPECT_EQ(items[1]->text().toStdString(), "印刷(&P)");
    ASSERT_NE(items[1]->menu(), nullptr);
    EXPECT_EQ(items[1]->menu()->actions().at(0)->text().toStdString(),
              "全部印刷しますがいいですか？ＯＫ(&O)");

    form.show();
    trigger(&form, "N1");
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.result(), QDialog::Rejected);
    form.show();
    form.close();
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.result(), QDialog::Rejected);
}

TEST_F(HelpWindow, PrintsTheTextAsItStandsOnlyAfterTheDialog) {
    TForm3 form(s.services);
    const std::string pdf = dir.file("help.pdf");
    s.printer.printer().setOutputFileName(QString::fromStdString(pdf));
    s.printDialogs.answerNext(false);
    trigger(&form, "Print1");
    EXPECT_FALSE(std::filesystem::exists(pdf));

    textOf(form)->setPlainText(QStringLiteral("typed before printing\n") + textOf(form)->toPlainText());
    s.printDialogs.answerNext(true);
    trigger(&form, "Print1");
    const std::string bytes = readBytes(pdf);
    EXPECT_EQ(bytes.substr(0, 5), "%PDF-");
    // Twelve-point text: the help runs over several sheets.
    int pages = 0;
    for (std::size_t at = bytes.find("/Type /Page\n"); at != std::string::npos;
         at = bytes.find("/Type /Page\n", at + 1))
        ++pages;
    EXPECT_GE(pages, 3);
    EXPECT_EQ(s.printer.printer().docName().toStdString(), "ヘルプ画面");
    EXPECT_TRUE(s.messages.shown().empty());
}

TEST(HelpWindowWithoutPrinter, WritesThePdfFileThePrintDialogNamed) {
    ScriptedServices s(platform::ApplicationPrinter::Mode::NoPrinter);
    TempDir dir;
    TForm3 form(s.services);
    const std::string named = dir.file("help.pdf");
    s.printDialogs.answerNext(true, 0, QString::fromStdString(named));
    trigger(&form, "Print1");
    EXPECT_TRUE(s.files.requests().empty()) << "no second dialog";
    EXPECT_EQ(readBytes(named).substr(0, 5), "%PDF-");
    EXPECT_EQ(s.printDialogs.shownPdfFiles.at(0).toStdString(),
              QDir::home().filePath(QStringLiteral("ヘルプ画面.pdf")).toStdString());
}

} // namespace
} // namespace zelkova::testing
