// Shows that the plot viewer's output commands, driven through the scripted platform doubles,
// print the view on the one application printer in its orientation, copy the selection frame to
// the clipboard in every format (decoded again, also through the offscreen platform's own
// clipboard), do nothing without a frame, and save through the save dialog with every outcome:
// cancelled, BMP, EMF, a whole figure with nothing drawn, a file that cannot be written.
#include "GuiHelpers.h"
#include "OutputTestSupport.h"
#include "ScriptedServices.h"
#include "TempDir.h"

#include "platform/qt/QtServices.h"
#include "plot/qt/PictureExport.h"
#include "plot/qt/TForm2.h"
#include "plot/qt/ViewImage.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMimeData>
#include <QPageLayout>
#include <QPrinter>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using zelkova::platform::MessageKind;
using zelkova::testing::child;
using zelkova::testing::ScriptedServices;
using zelkova::testing::TempDir;
using zelkova::testing::trigger;
using namespace zelkova::plot::testing;

// A red cross over the middle of the paper, then a second figure.
constexpr const char* kCrossThenEmpty = "hq\r\nly0\r\nlc3\r\n 0 100 287 100\r\n 143.5 0 143.5 200\r\n"
                                        "ly1\r\nlt1\r\nly2\r\nlt1\r\n";

// Drags a frame with the left button on the viewer's Image1, from `from` to `to`.
void drag(TForm2* viewer, QPoint from, QPoint to) {
    auto* image = child<zelkova::plot::ViewImage>(viewer, "Image1");
    QTest::mousePress(image, Qt::LeftButton, {}, from);
    QTest::mouseMove(image, to);
    QTest::mouseRelease(image, Qt::LeftButton, {}, to);
}

QImage decoded(const QByteArray& bytes) {
    return QImage::fromData(bytes).convertToFormat(QImage::Format_RGB32);
}

class ViewerOutputTest : public ::testing::Test {
protected:
    ViewerOutputTest() : viewer(std::make_unique<TForm2>(s.services, std::string())) {
        viewer->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(viewer.get()));
    }

    // Opens the cross with pen 3 as wide as the width edit allows, so that it shows in prints.
    void openCross() {
        child<QLineEdit>(viewer.get(), "Edtclw3")->setText("20");
        s.files.chooseNext(QString::fromStdString(dir.write("plot.txt", kCrossThenEmpty)));
        trigger(viewer.get(), "file1");
        ASSERT_TRUE(s.messages.shown().empty()) << s.messages.texts().front();
    }
    QImage view() { return child<zelkova::plot::ViewImage>(viewer.get(), "Image1")->image(); }
    const QMimeData* clipboard() { return s.clipboard.mimeData(); }
    void printTo(const std::string& pdf, QPageLayout::Orientation orientation) {
        s.printer.printer().setOutputFileName(QString::fromStdString(pdf));
        s.printer.printer().setPageOrientation(orientation);
        trigger(viewer.get(), "prtorg");
    }

    ScriptedServices s;
    TempDir dir;
    std::unique_ptr<TForm2> viewer;
};

TEST_F(ViewerOutputTest, PrintAndCopyAreEnabledAndTheSavesDisabledFromTheStart) {
    for (const char* name : {"prtorg", "prtset", "N7", "N6"})
        EXPECT_TRUE(child<QAction>(viewer.get(), name)->isEnabled()) << name;
    for (const char* name : {"N1", "N5"})
        EXPECT_FALSE(child<QAction>(viewer.get(), name)->isEnabled()) << name;
    openCross();
    trigger(viewer.get(), "N1"); // disabled: no dialog
    trigger(viewer.get(), "N5");
    EXPECT_TRUE(s.files.requests().size() == 1u); // the open dialog only
}

TEST_F(ViewerOutputTest, PrintingPutsTheViewOnOnePageInThePrintersOrientation) {
    openCross();
    const std::string landscape = dir.file("landscape.pdf");
    printTo(landscape, QPageLayout::Landscape);
    EXPECT_TRUE(s.messages.shown().empty());
    EXPECT_EQ(pdfPageCount(dir, landscape), 1);
    const QImage wide = pdfPage(dir, landscape, 30);
    ASSERT_EQ(wide.size(), QSize(351, 248));
    EXPECT_TRUE(near(rgbAt(wide, 60, 124), 0xFF0000u)); // mid-page on the printable area
    EXPECT_TRUE(near(rgbAt(wide, 175, 60), 0xFF0000u));

    const std::string portrait = dir.file("portrait.pdf");
    printTo(portrait, QPageLayout::Portrait);
    const QImage tall = pdfPage(dir, portrait, 30);
    ASSERT_EQ(tall.size(), QSize(248, 351));
    EXPECT_TRUE(near(rgbAt(tall, 60, 175), 0xFF0000u));
    for (int y = 20; y < 330; y += 10) // the vertical line, mid-view, is off the page
        EXPECT_FALSE(near(rgbAt(tall, 175, y), 0xFF0000u)) << y;
    // The view and its selection are as they were.
    EXPECT_EQ(viewer->viewRect(), (zelkova::plot::ViewRect{0, 0, 688, 469}));
}

TEST_F(ViewerOutputTest, PrintingBeforeAnyFigureIsOneEmptyPage) {
    const std::string pdf = dir.file("empty.pdf");
    printTo(pdf, QPageLayout::Landscape);
    EXPECT_EQ(pdfPageCount(dir, pdf), 1);
    EXPECT_EQ(rgbAt(pdfPage(dir, pdf, 30), 175, 124), 0xFFFFFFu);
}

TEST_F(ViewerOutputTest, APrintThatCannotBeMadeIsReportedByTheGeneralErrorReport) {
    openCross();
    printTo(dir.file("no/such/folder/figure.pdf"), QPageLayout::Landscape);
    ASSERT_EQ(s.messages.shown().size(), 1u);
    EXPECT_EQ(s.messages.shown()[0].kind, MessageKind::Error);
    EXPECT_EQ(s.messages.shown()[0].text,
              "ファイル " + dir.file("no/such/folder/figure.pdf") + " を作成できません.");
}

TEST(ViewerPrinting, WithoutAPrinterThePrinterDialogNamesThePdfTheNextPrintWrites) {
    ScriptedServices s(zelkova::platform::ApplicationPrinter::Mode::NoPrinter);
    TempDir dir;
    TForm2 viewer(s.services, std::string());
    s.files.chooseNext(QString::fromStdString(dir.write("beam.txt", kCrossThenEmpty)));
    trigger(&viewer, "file1");

    const std::string named = dir.file("named.pdf");
    s.printDialogs.answerNext(true, 0, QString::fromStdString(named));
    trigger(&viewer, "prtset");
    ASSERT_EQ(s.printDialogs.shownPdfFiles.size(), 1u);
    EXPECT_EQ(s.printDialogs.shownPdfFiles[0].toStdString(), dir.file("beam.pdf")); // after the plot file
    trigger(&viewer, "prtorg"); // the file the dialog named, without asking
    EXPECT_EQ(s.files.requests().size(), 1u);
    EXPECT_EQ(pdfPageCount(dir, named), 1);

    s.files.cancelNext(); // a further print asks, and a cancel prints nothing
    trigger(&viewer, "prtorg");
    ASSERT_EQ(s.files.requests().size(), 2u);
    EXPECT_EQ(s.files.requests()[1].fileName.toStdString(), dir.file("beam.pdf"));
    EXPECT_FALSE(std::filesystem::exists(dir.file("beam.pdf")));
    EXPECT_TRUE(s.messages.shown().empty());
}

TEST_F(ViewerOutputTest, NothingIsCopiedWithoutASelectionFrame) {
    openCross();
    trigger(viewer.get(), "N7");
    trigger(viewer.get(), "N6");
    EXPECT_EQ(clipboard(), nullptr);
}

TEST_F(ViewerOutputTest, AFrameDraggedEitherWayCopiesTheSameAreaDrawnAfresh) {
    openCross();
    const QImage figure = view().copy();
    // Over the button bar's corner: the copy holds the figure, not the frame or the buttons.
    const QImage expected = figure.copy(250, 380, 180, 80);
    drag(viewer.get(), {250, 380}, {430, 460});
    trigger(viewer.get(), "N7");
    ASSERT_NE(clipboard(), nullptr);
    EXPECT_EQ(decoded(clipboard()->data(zelkova::plot::kPngMime)), expected);
    EXPECT_NE(view(), figure); // the frame stays on screen
    EXPECT_TRUE(viewer->selectionFlag());

    drag(viewer.get(), {430, 460}, {250, 380}); // the other way round
    trigger(viewer.get(), "N7");
    EXPECT_EQ(decoded(clipboard()->data(zelkova::plot::kBmpMime)), expected);
    trigger(viewer.get(), "N6"); // the same frame again, as a metafile
    const QMimeData* data = clipboard();
    ASSERT_TRUE(data->hasFormat(zelkova::plot::kSvgMime));
    EXPECT_EQ(decoded(data->data(zelkova::plot::kPngMime)), expected);
    const auto records = recordsOf(data->data(zelkova::plot::kEmfMime));
    ASSERT_FALSE(records.empty());
    EXPECT_EQ(records.front().as<U_EMRHEADER>().rclBounds.right, 179);
    EXPECT_EQ(records.front().as<U_EMRHEADER>().rclBounds.bottom, 79);
    EXPECT_TRUE(viewer->selectionFlag());
}

TEST_F(ViewerOutputTest, ACopyAfterAZoomShowsTheZoomedFigureAtScreenScale) {
    openCross();
    const QImage original = view().copy(300, 200, 100, 60);
    QTest::mouseClick(child<QPushButton>(viewer.get(), "btnbigger"), Qt::LeftButton);
    const QImage zoomed = view().copy(300, 200, 100, 60);
    ASSERT_NE(zoomed, original);
    drag(viewer.get(), {300, 200}, {400, 260});
    trigger(viewer.get(), "N7");
    ASSERT_NE(clipboard(), nullptr);
    EXPECT_EQ(decoded(clipboard()->data(zelkova::plot::kPngMime)), zoomed);
}

TEST_F(ViewerOutputTest, APanAZoomOrANewFigureEndsTheFrameUntilANewOneIsDrawn) {
    openCross();
    for (const char* step : {"btnleft", "btnbigger", "btnorg", "N2"}) {
        drag(viewer.get(), {100, 100}, {200, 200});
        ASSERT_TRUE(viewer->selectionFlag());
        if (std::string(step) == "N2")
            trigger(viewer.get(), step);
        else
            QTest::mouseClick(child<QPushButton>(viewer.get(), step), Qt::LeftButton);
        EXPECT_FALSE(viewer->selectionFlag()) << step;
        trigger(viewer.get(), "N7");
        trigger(viewer.get(), "N6");
        EXPECT_EQ(clipboard(), nullptr) << step;
    }
}

TEST_F(ViewerOutputTest, AClickWithoutADragCopiesNothingAndLeavesTheClipboard) {
    openCross();
    s.clipboard.setText("kept");
    drag(viewer.get(), {100, 100}, {100, 100});
    ASSERT_TRUE(viewer->selectionFlag());
    trigger(viewer.get(), "N7");
    drag(viewer.get(), {100, 100}, {300, 100}); // no height
    trigger(viewer.get(), "N6");
    EXPECT_EQ(s.clipboard.text(), "kept");
}

TEST_F(ViewerOutputTest, TheCopiesRoundTripThroughTheOffscreenPlatformsClipboard) {
    zelkova::platform::QtClipboard system;
    zelkova::platform::Services services{s.messages, s.files, s.printDialogs, s.fonts, s.colours,
                                         s.printer,  system,  s.processes,    s.modal};
    TForm2 window(services, std::string());
    child<QLineEdit>(&window, "Edtclw3")->setText("20");
    s.files.chooseNext(QString::fromStdString(dir.write("plot.txt", kCrossThenEmpty)));
    trigger(&window, "file1");
    const QImage expected =
        child<zelkova::plot::ViewImage>(&window, "Image1")->image().copy(300, 200, 100, 60);
    drag(&window, {300, 200}, {400, 260});

    trigger(&window, "N7");
    const QMimeData* bitmap = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(bitmap, nullptr);
    EXPECT_TRUE(bitmap->hasImage());
    EXPECT_EQ(qvariant_cast<QImage>(bitmap->imageData()).convertToFormat(QImage::Format_RGB32), expected);
    for (const char* mime : {zelkova::plot::kPngMime, zelkova::plot::kBmpMime}) {
        ASSERT_TRUE(bitmap->hasFormat(mime)) << mime;
        EXPECT_EQ(decoded(bitmap->data(mime)), expected) << mime;
    }

    trigger(&window, "N6");
    const QMimeData* metafile = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(metafile, nullptr);
    EXPECT_EQ(decoded(metafile->data(zelkova::plot::kPngMime)), expected);
    const QImage fromSvg =
        imageOfSvg(dir, metafile->data(zelkova::plot::kSvgMime).toStdString(), QSize(100, 60));
    ASSERT_FALSE(fromSvg.isNull());
    EXPECT_TRUE(near(rgbAt(fromSvg, 44, 30), 0xFF0000u)); // where the lines cross, at (344, 234.5)
    const auto fromEmf = svgOfMetafile(dir, metafile->data(zelkova::plot::kEmfMime));
    ASSERT_TRUE(fromEmf);
    EXPECT_TRUE(near(rgbAt(imageOfSvg(dir, *fromEmf, QSize(100, 60)), 44, 30), 0xFF0000u));
    QGuiApplication::clipboard()->clear();
}

TEST_F(ViewerOutputTest, ACancelledSaveWritesAndShowsNothing) {
    openCross();
    s.files.cancelNext();
    viewer->N5Click();
    s.files.cancelNext();
    viewer->N1Click();
    EXPECT_TRUE(s.messages.shown().empty());
    ASSERT_EQ(s.files.requests().size(), 3u);
    const auto& request = s.files.requests().back();
    EXPECT_EQ(request.objectName, "SaveDialog1");
    EXPECT_EQ(request.defaultExtension, ".bmp");
    ASSERT_EQ(request.filters.size(), 2u);
    EXPECT_EQ(request.filters[0].description, "ビットマップﾟ（一般）(*.bmp)");
    EXPECT_EQ(request.filters[0].patterns, "*.bmp");
    EXPECT_EQ(request.filters[1].description, "メタファイル（鮮明）(*.emf)");
    EXPECT_EQ(request.filters[1].patterns, "*.emf");
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path()))
        ++files;
    EXPECT_EQ(files, 1u); // the plot file only
}

TEST_F(ViewerOutputTest, TheFigureOnScreenIsSavedAsABitmapOrAMetafile) {
    openCross();
    s.files.chooseNext(QString::fromStdString(dir.file("screen.bmp")), 1);
    viewer->N5Click();
    EXPECT_EQ(QImage(QString::fromStdString(dir.file("screen.bmp"))).convertToFormat(QImage::Format_RGB32),
              view());

    s.files.chooseNext(QString::fromStdString(dir.file("screen")), 2); // no extension typed
    viewer->N5Click();
    const QByteArray emf = QByteArray::fromStdString(zelkova::testing::readBytes(dir.file("screen.emf")));
    const auto records = recordsOf(emf);
    ASSERT_FALSE(records.empty());
    EXPECT_EQ(records.front().as<U_EMRHEADER>().rclBounds.right, 687);
    EXPECT_EQ(records.front().as<U_EMRHEADER>().rclBounds.bottom, 468);
    EXPECT_TRUE(svgOfMetafile(dir, emf));
    EXPECT_TRUE(s.messages.shown().empty());
}

TEST_F(ViewerOutputTest, TheWholeFigureIsSavedAtItsOwnSizeAndRefusedWhenNothingIsDrawn) {
    // A short red line from paper (100, 100) to (110, 105) mm, then a figure with nothing drawn.
    s.files.chooseNext(
        QString::fromStdString(dir.write("short.txt", "ly0\r\nlc3\r\n 100 100 110 105\r\nly1\r\nlt1\r\n")));
    trigger(viewer.get(), "file1");
    const zelkova::plot::Extents extents = viewer->picture()->drawnExtents();
    EXPECT_EQ(extents, (zelkova::plot::Extents{1890, 2079, 1796, 1890}));
    s.files.chooseNext(QString::fromStdString(dir.file("whole.bmp")), 1);
    viewer->N1Click();
    const QImage whole(QString::fromStdString(dir.file("whole.bmp")));
    ASSERT_EQ(whole.size(), QSize(2079 - 1890 + 20, 1890 - 1796 + 20));
    EXPECT_EQ(whole.pixel(10, 1890 - 1796 + 10) & 0xFFFFFF, 0xFF0000u); // the line's start
    EXPECT_EQ(whole.pixel(3, 3) & 0xFFFFFF, 0xFFFFFFu);

    trigger(viewer.get(), "N2"); // a figure with nothing drawn
    const std::size_t dialogs = s.files.requests().size();
    viewer->N1Click();
    EXPECT_EQ(s.files.requests().size(), dialogs); // refused before the dialog
    EXPECT_EQ(s.messages.texts(), std::vector<std::string>{"保存する図がありません！"});
    EXPECT_EQ(s.messages.shown()[0].kind, MessageKind::Plain);
}

TEST_F(ViewerOutputTest, AFileThatCannotBeWrittenIsReportedAndNothingElse) {
    openCross();
    s.files.chooseNext(QString::fromStdString(dir.file("no/such/folder/screen.bmp")), 1);
    viewer->N5Click();
    EXPECT_EQ(s.messages.texts(),
              std::vector<std::string>{"書き込み出来ない！\r\n一旦Zelkovaを終了して開き直して下さい。"});
    EXPECT_EQ(s.messages.shown()[0].kind, MessageKind::Plain);
    EXPECT_FALSE(std::filesystem::exists(dir.file("no/such/folder/screen.bmp")));
}

} // namespace
