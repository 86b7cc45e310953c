// Shows that the plot viewer window, driven through the scripted platform doubles, has its
// components and defaults, opens plot files with every message of the open command, draws the
// next figure, leaves for the editor, and round-trips from the editor's plot item.
#include "GuiHelpers.h"
#include "ScriptedServices.h"
#include "TempDir.h"

#include "editor/qt/TForm1.h"
#include "plot/ViewerTexts.h"
#include "plot/qt/TForm2.h"
#include "plot/qt/ViewImage.h"

#include <QLabel>
#include <QLineEdit>
#include <QMenu>

#include <gtest/gtest.h>

namespace {

using zelkova::platform::MessageKind;
using zelkova::testing::child;
using zelkova::testing::ScriptedServices;
using zelkova::testing::TempDir;
using zelkova::testing::trigger;

std::string text(std::string_view s) {
    return std::string(s);
}

// Two figures: a red line across the middle of the paper, then a vertical black one.
constexpr const char* kTwoFigures = "hq\r\nly0\r\nlc3\r\n 0 100 287 100\r\nly1\r\n 143.5 0 143.5 200\r\n";

class ViewerTest : public ::testing::Test {
protected:
    ViewerTest() {
        viewer = std::make_unique<TForm2>(s.services, std::string());
        viewer->setEditorHooks([this] { ++editorShown; },
                               [this](QObject* sender) { exitSenders.push_back(sender); });
    }
    void open(const std::string& path) {
        s.files.chooseNext(QString::fromStdString(path));
        trigger(viewer.get(), "file1");
    }
    QRgb pixel(int x, int y) {
        return child<zelkova::plot::ViewImage>(viewer.get(), "Image1")->image().pixel(x, y) & 0xFFFFFF;
    }
    std::vector<std::string> messages() { return s.messages.texts(); }

    ScriptedServices s;
    TempDir dir;
    std::unique_ptr<TForm2> viewer;
    int editorShown = 0;
    std::vector<QObject*> exitSenders;
};

TEST_F(ViewerTest, StartsWithItsDefaultCaptionComponentsAndPens) {
    EXPECT_EQ(viewer->viewerCaption(), text(zelkova::plot::kDefaultViewerCaption));
    EXPECT_EQ(viewer->windowTitle().toStdString(), "JW_CAD作図用出力データを用いた作図");
    auto* image = child<zelkova::plot::ViewImage>(viewer.get(), "Image1");
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->size(), QSize(688, 469));
    EXPECT_EQ(viewer->centralWidget()->size(), QSize(688, 469));
    EXPECT_EQ(child<QLineEdit>(viewer.get(), "Edit1")->text(), "100%");
    EXPECT_TRUE(child<QLineEdit>(viewer.get(), "Edit1")->isReadOnly());
    EXPECT_EQ(child<QLineEdit>(viewer.get(), "Edit2")->text(), "1");
    EXPECT_EQ(child<QLineEdit>(viewer.get(), "Edtclw1")->text(), "2");
    EXPECT_EQ(child<QLineEdit>(viewer.get(), "edtclw5")->text(), "3");
    EXPECT_EQ(child<QLineEdit>(viewer.get(), "Edtclw9")->text(), "3");
    EXPECT_EQ(child<QLabel>(viewer.get(), "clnlbl1")->text(), "clBlack");
    EXPECT_EQ(child<QLabel>(viewer.get(), "clnlbl2")->text(), "clAqua");
    EXPECT_EQ(child<QLabel>(viewer.get(), "clnlbl5")->text(), "$000080FF");
    EXPECT_EQ(child<QLabel>(viewer.get(), "clnlbl9")->text(), "clNone");
    EXPECT_EQ(child<QAction>(viewer.get(), "N2")->text(), "現在の図は消えます。ＯＫ");
    EXPECT_EQ(child<QAction>(viewer.get(), "file1")->text(), "JW_CAD外部変形用ﾃｷｽﾄﾃﾞｰﾀを読み込み作図する。");
    EXPECT_EQ(viewer->picture(), nullptr);
    EXPECT_EQ(viewer->magnification(), 1);
}

TEST_F(ViewerTest, OpeningAPlotFileDrawsItsFirstFigureAndNamesItInTheCaption) {
    const std::string path = dir.write("plot.txt", kTwoFigures);
    open(path);
    EXPECT_TRUE(messages().empty()) << messages().front();
    EXPECT_EQ(viewer->viewerCaption(), path);
    ASSERT_NE(viewer->picture(), nullptr);
    EXPECT_EQ(viewer->viewRect(), (zelkova::plot::ViewRect{0, 0, 688, 469}));
    EXPECT_EQ(pixel(300, 234), 0xFF0000u);
    EXPECT_EQ(pixel(344, 100), 0xFFFFFFu);
    ASSERT_EQ(s.files.requests().size(), 1u);
    const auto& request = s.files.requests().front();
    EXPECT_EQ(request.objectName, "OpenDialog1");
    EXPECT_EQ(request.defaultExtension, ".TXT");
    ASSERT_EQ(request.filters.size(), 2u);
    EXPECT_EQ(request.filters[0].description, "ﾃｷｽﾄﾌｧｲﾙ(*.TXT)");
    EXPECT_EQ(request.filters[1].patterns, "*.*");
}

TEST_F(ViewerTest, TheNextFigureReplacesTheViewAndTheEndIsReportedEveryTime) {
    open(dir.write("plot.txt", kTwoFigures));
    child<QLineEdit>(viewer.get(), "Edit1")->setText("250%");
    trigger(viewer.get(), "N2");
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(child<QLineEdit>(viewer.get(), "Edit1")->text(), "100%");
    EXPECT_EQ(pixel(300, 234), 0xFFFFFFu);
    EXPECT_EQ(pixel(344, 100), 0u);
    trigger(viewer.get(), "N2");
    trigger(viewer.get(), "N2");
    EXPECT_EQ(messages(), (std::vector<std::string>{"次の図はもうありません！", "次の図はもうありません！"}));
    EXPECT_EQ(s.messages.shown().front().kind, MessageKind::Plain);
    EXPECT_EQ(pixel(344, 100), 0u); // the view image keeps the last figure
    ASSERT_NE(viewer->picture(), nullptr);
    EXPECT_TRUE(viewer->picture()->empty());
}

TEST_F(ViewerTest, TheNextFigureDoesNothingWithoutAFile) {
    trigger(viewer.get(), "N2");
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(viewer->picture(), nullptr);
}

TEST_F(ViewerTest, AMissingFileKeepsThePreviousFileAndFigure) {
    const std::string path = dir.write("plot.txt", kTwoFigures);
    open(path);
    open(dir.file("missing.txt"));
    EXPECT_EQ(messages(), std::vector<std::string>{"指定のファイルを開けない！（名前が違う？）"});
    EXPECT_EQ(viewer->viewerCaption(), path);
    EXPECT_EQ(pixel(300, 234), 0xFF0000u);
    trigger(viewer.get(), "N2"); // the reader is still open
    EXPECT_EQ(pixel(344, 100), 0u);
}

TEST_F(ViewerTest, AFileWithoutTheStartMarkerStaysOpenAtItsEnd) {
    open(dir.write("plot.txt", kTwoFigures));
    const std::string other = dir.write("other.txt", "#\r\nlc10 65408\r\nsl 0 0 1 1 1 0\r\n");
    open(other);
    EXPECT_EQ(messages(), std::vector<std::string>{" これは作図ﾌｧｲﾙでない！"});
    EXPECT_EQ(viewer->viewerCaption(), other);
    EXPECT_EQ(pixel(300, 234), 0xFF0000u); // the previous figure stays on the view image
    s.messages.clear();
    trigger(viewer.get(), "N2");
    EXPECT_EQ(messages(), std::vector<std::string>{"次の図はもうありません！"});
}

TEST_F(ViewerTest, AnErrorInTheFirstFigureIsTheOpenCommandsMessage) {
    const std::string path = dir.write("bad.txt", "ly0\r\n 0 0 10 10\r\n 0 x 1 1\r\n 0 0 20 20\r\n");
    open(path);
    EXPECT_EQ(messages(), std::vector<std::string>{"エラーのため指定のファイルを開くことが出来ない！"});
    EXPECT_EQ(viewer->viewerCaption(), path);
    EXPECT_EQ(pixel(0, 468), 0xFFFFFFu); // not shown
    s.messages.clear();
    trigger(viewer.get(), "N2"); // reads on from where the error happened
    EXPECT_TRUE(messages().empty());
}

TEST_F(ViewerTest, AnErrorInALaterFigureIsTheGeneralErrorReport) {
    open(dir.write("bad.txt", "ly0\r\n 0 100 287 100\r\nly1\r\n 0 x 1 1\r\n"));
    trigger(viewer.get(), "N2");
    ASSERT_EQ(s.messages.shown().size(), 1u);
    const auto& box = s.messages.shown().front();
    EXPECT_EQ(box.kind, MessageKind::Error);
    EXPECT_EQ(box.caption, text(zelkova::platform::kApplicationTitle));
    EXPECT_EQ(box.text, "入力値が数値ではありません.");
    EXPECT_EQ(pixel(300, 234), 0u); // the previous figure stays (drawn in black: pen 1)
}

TEST_F(ViewerTest, TheScaleAndWidthEditsAreReadAtEveryFigure) {
    const std::string path =
        dir.write("plot.txt", "ly0\r\n 0 10000 28700 10000\r\nly1\r\n 0 10000 28700 10000\r\n");
    child<QLineEdit>(viewer.get(), "Edit2")->setText("100");
    open(path);
    EXPECT_EQ(pixel(300, 234), 0u);
    child<QLineEdit>(viewer.get(), "Edit2")->setText("1/100");
    trigger(viewer.get(), "N2");
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages().front(), "'1/100' は浮動小数点数ではありません.");
    child<QLineEdit>(viewer.get(), "Edit2")->setText("100");
    child<QLineEdit>(viewer.get(), "Edtclw1")->setText("thick");
    s.messages.clear();
    trigger(viewer.get(), "N2");
    EXPECT_EQ(messages(), std::vector<std::string>{"'thick' は整数ではありません."});
}

TEST_F(ViewerTest, TheOpenDialogStartsInTheFolderOfTheOpenFile) {
    const std::string path = dir.write("sub/plot.txt", kTwoFigures);
    open(path);
    s.files.cancelNext();
    trigger(viewer.get(), "file1");
    ASSERT_EQ(s.files.requests().size(), 2u);
    EXPECT_EQ(s.files.requests()[1].initialFolder.toStdString(), dir.file("sub") + "/");
    EXPECT_EQ(viewer->viewerCaption(), path); // cancelling changes nothing

    TForm2 fromEditor(s.services, dir.file("sub/data.txt"));
    s.files.cancelNext();
    trigger(&fromEditor, "file1");
    EXPECT_EQ(s.files.requests()[2].initialFolder.toStdString(), dir.file("sub") + "/");
}

TEST_F(ViewerTest, GoingBackClosesThePlotFileAndKeepsThePicture) {
    open(dir.write("plot.txt", kTwoFigures));
    viewer->show();
    trigger(viewer.get(), "mnback");
    EXPECT_EQ(viewer->viewerCaption(), text(zelkova::plot::kDefaultViewerCaption));
    EXPECT_FALSE(viewer->isVisible());
    EXPECT_EQ(editorShown, 1);
    EXPECT_EQ(pixel(300, 234), 0xFF0000u);
    trigger(viewer.get(), "N2"); // no file open: nothing
    EXPECT_TRUE(messages().empty());
    trigger(viewer.get(), "mnback"); // nothing to close
    EXPECT_EQ(editorShown, 2);
}

TEST_F(ViewerTest, EndingClosesTheFileShowsTheEditorAndRunsItsExitCommand) {
    open(dir.write("plot.txt", kTwoFigures));
    viewer->show();
    trigger(viewer.get(), "Zelkova1");
    EXPECT_EQ(viewer->viewerCaption(), text(zelkova::plot::kDefaultViewerCaption));
    EXPECT_FALSE(viewer->isVisible());
    EXPECT_EQ(editorShown, 1);
    ASSERT_EQ(exitSenders.size(), 1u);
    EXPECT_EQ(exitSenders.front(), child<QAction>(viewer.get(), "Zelkova1"));
}

TEST_F(ViewerTest, ShowsTheTextsAndPicturesOfAFigure) {
    // A green BMP beside the plot file, named by the CAD program's Windows path, and a title.
    QImage green(40, 20, QImage::Format_RGB32);
    green.fill(Qt::green);
    ASSERT_TRUE(green.save(QString::fromStdString(dir.file("green.bmp")), "BMP"));
    open(dir.write("a.txt", "ly\r\nch 0 0 1 0 \"^@BMC:\\jww\\green.bmp,0,100\r\ncn10\r\nch 150 150 1 0 "
                            "\"\x92\x50\x8F\x83\x9F\xC8\r\n"));
    EXPECT_TRUE(messages().empty()) << messages().front();
    EXPECT_EQ(pixel(20, 460), 0x00FF00u) << "the picture, 100 mm high from the bottom-left corner";
    EXPECT_EQ(pixel(20, 200), 0xFFFFFFu);
    int black = 0;
    for (int y = 0; y < 469; ++y)
        for (int x = 0; x < 688; ++x)
            if (pixel(x, y) == 0) {
                ++black;
                // 150 mm across and up, the cell 10 mm high standing on that point
                ASSERT_TRUE(x >= 359 && x < 440 && y >= 93 && y <= 118) << x << "," << y;
            }
    EXPECT_GT(black, 100) << "the title";
}

TEST(ViewerAndEditor, ThePlotItemShowsTheViewerAndItsBackItemTheEditor) {
    ScriptedServices s;
    TempDir dir;
    TForm1 editor(s.services, QString());
    TForm2 viewer(s.services, editor.openedFileName());
    viewer.setEditorHooks([&editor] { editor.show(); },
                          [&editor](QObject* sender) { editor.Exit1Click(sender); });
    editor.setPlotViewer(&viewer);
    ASSERT_TRUE(editor.isVisible());
    trigger(&editor, "mngrfplot");
    EXPECT_FALSE(editor.isVisible());
    EXPECT_TRUE(viewer.isVisible());
    const std::string path = dir.write("plot.txt", kTwoFigures);
    s.files.chooseNext(QString::fromStdString(path));
    trigger(&viewer, "file1");
    EXPECT_EQ(viewer.viewerCaption(), path);
    trigger(&viewer, "mnback");
    EXPECT_TRUE(editor.isVisible());
    EXPECT_FALSE(viewer.isVisible());
    EXPECT_EQ(viewer.viewerCaption(), text(zelkova::plot::kDefaultViewerCaption));
}

} // namespace
