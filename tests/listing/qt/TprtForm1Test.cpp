// Shows that the print settings window has its fields, arrows, hints and buttons, counts only when
// the editor asks it to, refuses settings and ranges it cannot print with clear messages, asks
// before a print with the range clamped to the total, reports progress and the end in Label1, and
// takes its font and copies from the dialogs; and that its page metrics on the PDF printer are the
// ones the batch tool counts with.
#include "listing/qt/TprtForm1.h"
#include "listing/PageLayout.h"
#include "listing/qt/PrinterJob.h"
#include "platform/qt/UpDown.h"

#include "GuiHelpers.h"
#include "ScriptedServices.h"
#include "TempDir.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPageLayout>
#include <QPrinter>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace zelkova::testing {
namespace {

using platform::MessageKind;
using platform::Reply;

constexpr const char* kApplicationTitle = "Zelkova（ﾌｫｰﾄﾗﾝexe等の実行、ﾃﾞｰﾀ編集、作図用）";

std::string repeatLines(const std::string& line, int times) {
    std::string out;
    for (int i = 0; i < times; ++i)
        out += line + "\r\n";
    return out;
}

// The number of sheets in a PDF file the printer wrote.
int sheetsIn(const std::string& pdf) {
    const std::string bytes = readBytes(pdf);
    int sheets = 0;
    for (std::size_t at = bytes.find("/Type /Page\n"); at != std::string::npos;
         at = bytes.find("/Type /Page\n", at + 1))
        ++sheets;
    return sheets;
}

// Records every text a label shows while it paints.
class PaintedTexts : public QObject {
public:
    explicit PaintedTexts(QLabel* label) : m_label(label) { label->installEventFilter(this); }
    std::vector<std::string> texts;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == m_label && event->type() == QEvent::Paint &&
            (texts.empty() || texts.back() != m_label->text().toStdString()))
            texts.push_back(m_label->text().toStdString());
        return false;
    }

private:
    QLabel* m_label;
};

class PrintSettingsWindow : public ::testing::Test {
protected:
    void SetUp() override { s.printer.printer().setOutputFileName(QString::fromStdString(pdf)); }

    // As the editor creates it: with the count-only request set when a file is open.
    void create(const std::string& openedFile = {}) {
        opened = openedFile;
        table.countOnlyRequest = !openedFile.empty();
        form = std::make_unique<TprtForm1>(s.services, table, [this] { return opened; });
    }
    QLineEdit* edit(const char* name) { return child<QLineEdit>(form.get(), name); }
    void setField(const char* name, const char* text) { edit(name)->setText(QString::fromUtf8(text)); }
    std::string label1() { return child<QLabel>(form.get(), "Label1")->text().toStdString(); }
    void click(const char* button) { child<QPushButton>(form.get(), button)->click(); }
    std::vector<std::string> messages() { return s.messages.texts(); }
    std::int32_t page(std::size_t line) const { return table.pageOf(line); }

    ScriptedServices s;
    TempDir dir;
    const std::string pdf = dir.file("out.pdf");
    listing::ListingPageTable table;
    std::string opened;
    std::unique_ptr<TprtForm1> form;
};

TEST_F(PrintSettingsWindow, HasItsCaptionFieldsHintsAndButtons) {
    create();
    EXPECT_EQ(form->objectName().toStdString(), "prtForm1");
    EXPECT_EQ(form->windowTitle().toStdString(), "印刷の設定");
    EXPECT_EQ(form->font().family().toStdString(), "ＭＳ ゴシック");
    const std::pair<const char*, const char*> fields[] = {{"Edit1", ""},  {"Edit2", "140"}, {"Edit3", "60"},
                                                          {"Edit4", "1"}, {"Edit5", "1"},   {"Edit6", "999"}};
    for (const auto& [name, initial] : fields)
        EXPECT_EQ(edit(name)->text().toStdString(), initial) << name;
    const std::pair<const char*, const char*> labels[] = {
        {"Label1", "ページ上に付けるタイトル（編集可能）"},
        {"Label2", "文字数"},
        {"Label3", "行数"},
        {"Label4", "ﾍﾟｰｼﾞ初期値"},
        {"Label5", "開始ﾍﾟｰｼﾞ"},
        {"Label6", "最終ﾍﾟｰｼﾞ"},
        {"Label7", "(ﾍﾟｰｼﾞを付けたくないならﾍﾟｰｼﾞ初期値を-777とする。)"},
        {"Label8", "(ﾍﾟｰｼﾞ初期値は開始ﾍﾟｰｼ１に対する値で入力する。）"}};
    for (const auto& [name, text] : labels)
        EXPECT_EQ(child<QLabel>(form.get(), name)->text().toStdString(), text) << name;
    const std::pair<const char*, const char*> buttons[] = {
        {"Button3", "印刷実行"}, {"Button1", "戻る"}, {"Button2", "ﾌｫﾝﾄの変更"}, {"Button4", "ﾌﾟﾘﾝﾀｰの変更"}};
    for (const auto& [name, text] : buttons)
        EXPECT_EQ(child<QPushButton>(form.get(), name)->text().toStdString(), text) << name;
    // Creation sets the printer to landscape with one copy.
    EXPECT_EQ(s.printer.printer().pageLayout().orientation(), QPageLayout::Landscape);
    EXPECT_EQ(s.printer.printer().copyCount(), 1);
    EXPECT_TRUE(s.messages.shown().empty());
}

TEST_F(PrintSettingsWindow, ArrowsStepWithinTheirRangesWithoutWrappingAndTypedValuesStay) {
    create();
    UpDown* chars = child<UpDown>(form.get(), "UpDown1");
    UpDown* lines = child<UpDown>(form.get(), "UpDown2");
    EXPECT_EQ(chars->minimum(), 0);
    EXPECT_EQ(chars->maximum(), 200);
    EXPECT_EQ(lines->minimum(), 0);
    EXPECT_EQ(lines->maximum(), 100);

    chars->stepUp();
    EXPECT_EQ(edit("Edit2")->text().toStdString(), "141");
    setField("Edit2", "200");
    chars->stepUp();
    EXPECT_EQ(edit("Edit2")->text().toStdString(), "200");
    setField("Edit3", "1");
    lines->stepDown();
    lines->stepDown();
    EXPECT_EQ(edit("Edit3")->text().toStdString(), "0");
    // A typed value out of the range is used as typed until an arrow is pressed.
    setField("Edit3", "150");
    EXPECT_EQ(edit("Edit3")->text().toStdString(), "150");
    lines->stepDown();
    EXPECT_EQ(edit("Edit3")->text().toStdString(), "99");
    // The buttons and the arrow keys in the edit do the same.
    const auto arrows = chars->findChildren<QToolButton*>();
    ASSERT_EQ(arrows.size(), 2);
    arrows[1]->click();
    EXPECT_EQ(edit("Edit2")->text().toStdString(), "199");
    QTest::keyClick(edit("Edit2"), Qt::Key_Up);
    EXPECT_EQ(edit("Edit2")->text().toStdString(), "200");
}

TEST_F(PrintSettingsWindow, CreationWithAnOpenedFileCountsOnlyAndTitlesIt) {
    const std::string file = dir.write("a.lst", repeatLines(" L", 61));
    create(file);
    EXPECT_EQ(edit("Edit1")->text().toStdString(), file);
    EXPECT_EQ(page(59), 1);
    EXPECT_EQ(page(60), 2);
    EXPECT_FALSE(table.countOnlyRequest);
    EXPECT_TRUE(s.messages.shown().empty()) << "no question, nothing printed";
    EXPECT_FALSE(std::filesystem::exists(pdf));
}

TEST_F(PrintSettingsWindow, ACountOnlyRequestCountsWithTheWindowsSettingsAndIsConsumed) {
    create(dir.write("a.lst", repeatLines(" L", 10)));
    setField("Edit3", "4");
    table.countOnlyRequest = true;
    form->printsub();
    EXPECT_EQ(page(3), 1);
    EXPECT_EQ(page(4), 2);
    EXPECT_EQ(page(9), 3);
    EXPECT_FALSE(table.countOnlyRequest);
    EXPECT_TRUE(s.messages.shown().empty());

    // The next call is a print again: it asks.
    s.messages.answerNext(Reply::No);
    form->printsub();
    EXPECT_EQ(messages().size(), 1u);
    EXPECT_EQ(s.messages.shown()[0].kind, MessageKind::Confirmation);
}

TEST_F(PrintSettingsWindow, ARequestLeftByARefusedCheckIsDroppedSoTheNextPrintAsks) {
    const std::string file = dir.write("a.lst", repeatLines(" L", 10));
    create(file);
    (void)dir.write("a.lst", repeatLines(" L", 130)); // the file grows on disk
    setField("Edit2", "206");
    table.countOnlyRequest = true;
    form->printsub();
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_FALSE(table.countOnlyRequest);
    EXPECT_EQ(page(125), 0) << "a refused check counts nothing";

    setField("Edit2", "140");
    s.messages.answerNext(Reply::No);
    form->printsub();
    ASSERT_EQ(messages().size(), 2u);
    EXPECT_EQ(s.messages.shown()[1].kind, MessageKind::Confirmation);
    EXPECT_EQ(page(125), 3);
}

TEST_F(PrintSettingsWindow, TheFitCheckShowsItsMessagesInOrderAndCountsNothing) {
    create(dir.write("a.lst", repeatLines(" L", 10)));
    (void)dir.write("a.lst", repeatLines(" L", 70));
    setField("Edit2", "206");
    setField("Edit3", "61");
    click("Button3");
    const std::vector<std::string> shown = messages();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0], "文字数が多すぎます。\r\n\r\n文字数を減らすか、フォントで文字ｻｲｽﾞを下げるか\r\n"
                        "あるいは用紙ｻｲｽﾞを大きいｻｲｽﾞに変更して下さい\r\n\r\n（現在の文字ｻｲｽﾞは "
                        "8ﾎﾟｲﾝﾄです。\r\n 現在の半角文字幅は 66ﾋﾟｸｾﾙです。\r\n 現在の用紙幅は "
                        "13567ﾋﾟｸｾﾙです。\r\n 現在の文字数 206 では文字が重なります。)");
    EXPECT_EQ(shown[1], "行数が多すぎます。\r\n\r\n行数を減らすか、フォントで文字ｻｲｽﾞを下げるか\r\n"
                        "あるいは用紙ｻｲｽﾞを大きいｻｲｽﾞに変更して下さい\r\n\r\n（現在の文字ｻｲｽﾞは "
                        "8ﾎﾟｲﾝﾄです。\r\n 現在の文字高は 143ﾋﾟｸｾﾙです。\r\n 現在の用紙高は "
                        "9451ﾋﾟｸｾﾙです。\r\n 但し余白等除くと残る用紙高は 8605ﾋﾟｸｾﾙのため、\r\n"
                        " 現在の行数 61 では文字が重なります。)");
    for (const auto& message : s.messages.shown()) {
        EXPECT_EQ(message.kind, MessageKind::Plain);
        EXPECT_EQ(message.caption, kApplicationTitle);
    }
    EXPECT_EQ(page(65), 0) << "nothing counted";
    EXPECT_FALSE(std::filesystem::exists(pdf));
}

TEST_F(PrintSettingsWindow, RefusesNoCharactersNoLinesAndFieldsThatAreNotIntegers) {
    create(dir.write("a.lst", " A\r\n"));
    setField("Edit2", "0");
    setField("Edit3", "-1");
    click("Button3");
    EXPECT_EQ(messages(),
              (std::vector<std::string>{
                  "文字数は1以上の整数にして下さい。\r\n\r\n（現在の文字数 0 では印刷できません。)",
                  "行数は1以上の整数にして下さい。\r\n\r\n（現在の行数 -1 では印刷できません。)"}));
    s.messages.clear();

    setField("Edit2", "14O");
    setField("Edit3", "60");
    click("Button3");
    ASSERT_EQ(s.messages.shown().size(), 1u);
    EXPECT_EQ(s.messages.shown()[0].kind, MessageKind::Error);
    EXPECT_EQ(s.messages.shown()[0].caption, kApplicationTitle);
    EXPECT_EQ(s.messages.shown()[0].text, "'14O' は整数ではありません.");
    s.messages.clear();

    // The page fields are read before the question: nothing is asked, nothing printed.
    setField("Edit2", "140");
    setField("Edit4", "-777x");
    click("Button3");
    EXPECT_EQ(messages(), std::vector<std::string>{"'-777x' は整数ではありません."});
    EXPECT_EQ(page(0), 1) << "counted before the page fields are read";
    EXPECT_FALSE(std::filesystem::exists(pdf));
}

TEST_F(PrintSettingsWindow, AsksWithTheLastPageClampedToTheTotalAndNoPrintsNothing) {
    create(dir.write("a.lst", repeatLines(" L", 130)));
    setField("Edit5", "2");
    s.messages.answerNext(Reply::No);
    click("Button3");
    ASSERT_EQ(s.messages.shown().size(), 1u);
    EXPECT_EQ(s.messages.shown()[0].kind, MessageKind::Confirmation);
    EXPECT_EQ(s.messages.shown()[0].caption, "確認");
    EXPECT_EQ(s.messages.shown()[0].text,
              "このファイルは全部で3ページです。\r\n印刷されるのは\r\n2ﾍﾟｰｼﾞ～3ﾍﾟｰｼﾞまでの"
              "\r\n\r\n     計 2 ﾍﾟｰｼﾞです。\r\n\r\n印刷しますか？");
    EXPECT_EQ(edit("Edit6")->text().toStdString(), "999") << "the field keeps its text";
    EXPECT_FALSE(std::filesystem::exists(pdf));
    EXPECT_EQ(label1(), "ページ上に付けるタイトル（編集可能）");
}

TEST_F(PrintSettingsWindow, RangesWithNothingToPrintGetAMessageInsteadOfAnEmptySheet) {
    create(dir.write("a.lst", repeatLines(" L", 130)));
    setField("Edit5", "5");
    click("Button3");
    EXPECT_EQ(messages(),
              std::vector<std::string>{"印刷するﾍﾟｰｼﾞがありません。\r\n\r\nこのファイルは全部で3ページ"
                                       "です。\r\n開始ﾍﾟｰｼﾞ 5 が最終ﾍﾟｰｼﾞ 3 より後ろです。"});
    s.messages.clear();
    setField("Edit5", "0");
    click("Button3");
    EXPECT_EQ(messages(),
              std::vector<std::string>{"開始ﾍﾟｰｼﾞは1以上にして下さい。\r\n\r\n（現在の開始ﾍﾟｰｼﾞ 0）"});
    EXPECT_FALSE(std::filesystem::exists(pdf));
}

TEST_F(PrintSettingsWindow, PrintsAndShowsProgressThenTheEndInLabel1) {
    create(dir.write("a.lst", repeatLines(" L", 130)));
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    PaintedTexts painted(child<QLabel>(form.get(), "Label1"));
    setField("Edit4", "-777");
    s.messages.answerNext(Reply::Yes);
    click("Button3");
    EXPECT_EQ(s.messages.unusedAnswers(), 0u);
    EXPECT_EQ(sheetsIn(pdf), 3);
    // Sheets are counted even without page numbers.
    EXPECT_EQ(painted.texts, (std::vector<std::string>{"1ページ目を印刷中", "2ページ目を印刷中",
                                                       "3ページ目を印刷中", "印刷処理終了"}));
    EXPECT_EQ(label1(), "印刷処理終了");
    EXPECT_EQ(messages().size(), 1u) << "only the question";
}

TEST_F(PrintSettingsWindow, CopiesChosenInThePrinterDialogRepeatTheSheets) {
    create(dir.write("a.lst", repeatLines(" L", 70)));
    s.printDialogs.answerNext(true, 3);
    click("Button4");
    EXPECT_EQ(s.printDialogs.printCalls, 1);
    EXPECT_FALSE(std::filesystem::exists(pdf)) << "the printer button prints nothing";

    s.messages.answerNext(Reply::Yes);
    click("Button3");
    EXPECT_EQ(sheetsIn(pdf), 6);
    EXPECT_EQ(s.printer.printer().copyCount(), 3) << "the choice stays for the next print";

    s.printDialogs.answerNext(false);
    click("Button4");
    EXPECT_EQ(s.printer.printer().copyCount(), 3);
}

TEST_F(PrintSettingsWindow, TheFontDialogsChoiceBecomesThePrintFont) {
    create(dir.write("a.lst", " A\r\n"));
    s.fonts.chooseNext(std::nullopt);
    click("Button2");
    ASSERT_EQ(s.fonts.initials.size(), 1u);
    EXPECT_EQ(s.fonts.initials[0].family().toStdString(), "ＭＳ ゴシック");
    EXPECT_EQ(s.fonts.initials[0].pointSize(), 8);

    QFont larger = s.fonts.initials[0];
    larger.setPointSize(12);
    s.fonts.chooseNext(larger);
    click("Button2");
    EXPECT_EQ(form->printFont().pointSize(), 12);
    // At 12 points neither 140 characters nor 60 lines fit on the sheet.
    click("Button3");
    ASSERT_EQ(messages().size(), 2u);
    EXPECT_EQ(messages()[0].rfind("文字数が多すぎます。", 0), 0u);
    EXPECT_NE(messages()[0].find("（現在の文字ｻｲｽﾞは 12ﾎﾟｲﾝﾄです。\r\n 現在の半角文字幅は 100ﾋﾟｸｾﾙです。"),
              std::string::npos)
        << messages()[0];
    EXPECT_EQ(messages()[1].rfind("行数が多すぎます。", 0), 0u);
}

TEST_F(PrintSettingsWindow, AMissingFileGetsTheFileErrorAndKeepsTheTable) {
    const std::string file = dir.write("a.lst", repeatLines(" L", 61));
    create(file);
    std::filesystem::remove(file);
    table.record(60, 2);
    click("Button3");
    EXPECT_EQ(messages(), std::vector<std::string>{"ファイルが見つかりません."});
    EXPECT_EQ(page(60), 2);
}

TEST_F(PrintSettingsWindow, BackClosesTheWindow) {
    create();
    form->show();
    click("Button1");
    EXPECT_FALSE(form->isVisible());
}

TEST(PrintSettingsPdfFallback, AsksForThePdfNameProposingTheListingsName) {
    ScriptedServices s(platform::ApplicationPrinter::Mode::NoPrinter);
    TempDir dir;
    const std::string file = dir.write("run.out", repeatLines(" L", 3));
    listing::ListingPageTable table;
    table.countOnlyRequest = true;
    TprtForm1 form(s.services, table, [&file] { return file; });

    s.messages.answerNext(Reply::Yes);
    s.files.cancelNext();
    form.printsub();
    ASSERT_EQ(s.files.requests().size(), 1u);
    EXPECT_EQ(s.files.requests()[0].fileName.toStdString(), dir.file("run.pdf"));
    EXPECT_TRUE(s.files.requests()[0].confirmOverwrite);
    EXPECT_FALSE(std::filesystem::exists(dir.file("run.pdf")));

    s.messages.answerNext(Reply::Yes);
    s.files.chooseNext(QString::fromStdString(dir.file("chosen")));
    form.printsub();
    EXPECT_EQ(sheetsIn(dir.file("chosen.pdf")), 1);
}

TEST(PrintSettingsPdfFallback, ThePrinterButtonNamesTheFileTheNextPrintWrites) {
    ScriptedServices s(platform::ApplicationPrinter::Mode::NoPrinter);
    TempDir dir;
    const std::string file = dir.write("run.out", repeatLines(" L", 3));
    listing::ListingPageTable table;
    table.countOnlyRequest = true;
    TprtForm1 form(s.services, table, [&file] { return file; });

    const std::string named = dir.file("named.pdf");
    s.printDialogs.answerNext(true, 0, QString::fromStdString(named));
    child<QPushButton>(&form, "Button4")->click();
    EXPECT_EQ(s.printDialogs.shownPdfFiles.at(0).toStdString(), dir.file("run.pdf"));
    // The dialog shows that file again until a print has written it.
    s.printDialogs.answerNext(true);
    child<QPushButton>(&form, "Button4")->click();
    EXPECT_EQ(s.printDialogs.shownPdfFiles.at(1).toStdString(), named);

    s.messages.answerNext(Reply::Yes);
    child<QPushButton>(&form, "Button3")->click();
    EXPECT_TRUE(s.files.requests().empty()) << "no second dialog";
    EXPECT_EQ(sheetsIn(named), 1);

    // The next print asks for its file, once.
    s.messages.answerNext(Reply::Yes);
    s.files.cancelNext();
    child<QPushButton>(&form, "Button3")->click();
    EXPECT_EQ(s.files.requests().size(), 1u);
}

TEST(PdfPrinterMetrics, AreWhatTheBatchToolCountsWith) {
    platform::ApplicationPrinter printer(platform::ApplicationPrinter::Mode::PdfFile);
    printer.printer().setPageOrientation(QPageLayout::Landscape);
    const listing::PageMetrics m = listing::measurePage(printer.printer(), listing::initialPrintFont());
    EXPECT_EQ(m.pageWidth, listing::kPdfPrinterMetrics.pageWidth);
    EXPECT_EQ(m.pageHeight, listing::kPdfPrinterMetrics.pageHeight);
    EXPECT_EQ(m.halfWidthCell, listing::kPdfPrinterMetrics.halfWidthCell);
    EXPECT_EQ(m.charHeight, listing::kPdfPrinterMetrics.charHeight);
    EXPECT_EQ(m.fontPoints, listing::kPdfPrinterMetrics.fontPoints);
    // The default 140 x 60 fits with room on both counts.
    const listing::FitCheck check = listing::checkFit(m, {140, 60});
    EXPECT_TRUE(check.fits());
    EXPECT_GE(check.layout.leftMargin, m.halfWidthCell * 10);
}

} // namespace
} // namespace zelkova::testing
