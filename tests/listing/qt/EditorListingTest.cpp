// Shows, from the editor window, that loading a document paginates it into the listing page table
// without printing, so that the page indicator reads real listing pages, and that the listing
// print command prints the opened file as it stands on disk (that it needs a document is shown by
// the editor's own tests).
#include "../../editor/EditorWindowFixture.h"

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>

#include <filesystem>

namespace zelkova::testing {
namespace {

using platform::Reply;

std::string repeatLines(const std::string& line, int times) {
    std::string out;
    for (int i = 0; i < times; ++i)
        out += line + "\r\n";
    return out;
}

std::string pageText(int page) {
    return "    現在のｶｰｿﾙは " + std::to_string(page) + " ﾍﾟｰｼﾞです。";
}

class EditorListing : public EditorWindowTest {
protected:
    void SetUp() override { s.printer.printer().setOutputFileName(QString::fromStdString(pdf)); }

    void open(const std::string& path) {
        s.files.chooseNext(QString::fromStdString(path));
        trigger(form.get(), "Open1");
    }
    void caretToLine(int line) {
        const int position = richEdit()->document()->findBlockByNumber(line).position() + 1;
        select(position, position);
    }

    const std::string pdf = dir.file("out.pdf");
};

TEST_F(EditorListing, OpenCountsTheListingAndTheIndicatorReadsPageTwoWithoutPrinting) {
    create();
    open(dir.write("run.lst",
                   "1HEADER\r\n" + repeatLines(" line", 69) + "1NEXT\r\n" + repeatLines(" more", 5)));
    EXPECT_TRUE(s.messages.shown().empty());
    EXPECT_FALSE(form->pageTable().countOnlyRequest);
    caretToLine(60);
    EXPECT_EQ(pageCaption(), pageText(2));
    caretToLine(59);
    EXPECT_EQ(pageCaption(), pageText(1));
    // The '1' line opens page 3 but stands on the page before it.
    caretToLine(70);
    EXPECT_EQ(pageCaption(), pageText(2));
    caretToLine(71);
    EXPECT_EQ(pageCaption(), pageText(3));
    EXPECT_FALSE(std::filesystem::exists(pdf)) << "counting prints nothing";
}

TEST_F(EditorListing, StartUpWithAFileCountsItToo) {
    create(dir.write("start.lst", repeatLines(" L", 130)));
    EXPECT_FALSE(form->pageTable().countOnlyRequest);
    caretToLine(125);
    EXPECT_EQ(pageCaption(), pageText(3));
    EXPECT_TRUE(s.messages.shown().empty());
}

TEST_F(EditorListing, ListingPrintPrintsTheOpenedFileAsStoredNotTheUnsavedText) {
    const std::string path = dir.write("run.lst", repeatLines(" L", 61));
    create(path);
    setText("unsaved\n");
    std::string title;
    s.modal.onNext([&](QDialog& dialog) {
        title = dialog.findChild<QLineEdit*>(QStringLiteral("Edit1"))->text().toStdString();
        s.messages.answerNext(Reply::Yes);
        dialog.findChild<QPushButton*>(QStringLiteral("Button3"))->click();
        return 0;
    });
    trigger(form.get(), "FOTRAN1");
    EXPECT_EQ(title, path);
    ASSERT_EQ(s.messages.shown().size(), 1u);
    EXPECT_EQ(s.messages.shown()[0].text,
              "このファイルは全部で2ページです。\r\n印刷されるのは\r\n1ﾍﾟｰｼﾞ～2ﾍﾟｰｼﾞまで"
              "の\r\n\r\n     計 2 ﾍﾟｰｼﾞです。\r\n\r\n印刷しますか？");
    EXPECT_TRUE(std::filesystem::exists(pdf));
}

TEST_F(EditorListing, OpenWithSettingsThatDoNotFitShowsTheMessageAndKeepsTheTable) {
    create(dir.write("first.lst", repeatLines(" L", 130)));
    auto* prtForm = form->findChild<QDialog*>(QStringLiteral("prtForm1"));
    ASSERT_NE(prtForm, nullptr);
    prtForm->findChild<QLineEdit*>(QStringLiteral("Edit3"))->setText(QStringLiteral("61"));
    open(dir.write("second.lst", repeatLines(" L", 10)));
    ASSERT_EQ(s.messages.shown().size(), 1u);
    EXPECT_EQ(s.messages.shown()[0].text.rfind("行数が多すぎます。", 0), 0u);
    EXPECT_EQ(form->pageTable().pageOf(125), 3) << "the earlier count stays";
    EXPECT_FALSE(form->pageTable().countOnlyRequest) << "a refused count does not turn the next print silent";
}

} // namespace
} // namespace zelkova::testing
