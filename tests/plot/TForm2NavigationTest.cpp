// Shows the viewer's navigation through its real widgets: the button bar moves and magnifies the
// retained picture (the file is not read again), the step menus are radio items that redraw
// nothing, the mouse on Image1 draws the inverted selection frame and carries out the two-button
// gestures, and the wheel and the keys stand for the buttons. Also the window: fixed client area,
// no close box, no system menu.
#include "GuiHelpers.h"
#include "ScriptedServices.h"
#include "TempDir.h"

#include "plot/qt/TForm2.h"
#include "plot/qt/ViewImage.h"

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QWheelEvent>

#include <filesystem>

#include <gtest/gtest.h>

namespace {

using zelkova::plot::ViewRect;
using zelkova::testing::child;
using zelkova::testing::ScriptedServices;
using zelkova::testing::TempDir;
using zelkova::testing::trigger;

// A red line across the middle of the paper (view row 234) and a black one down its middle
// (view column 344).
constexpr const char* kCross = "hq\r\nly0\r\nlc3\r\n 0 100 287 100\r\nlc1\r\n 143.5 0 143.5 200\r\n";

constexpr QRgb kWhite = 0xFFFFFF;
constexpr QRgb kBlack = 0x000000;
constexpr QRgb kRed = 0xFF0000;

class NavigationTest : public ::testing::Test {
protected:
    NavigationTest() {
        viewer = std::make_unique<TForm2>(s.services, std::string());
        viewer->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(viewer.get()));
        image = child<zelkova::plot::ViewImage>(viewer.get(), "Image1");
    }
    void openCross() {
        const std::string path = dir.write("cross.txt", kCross);
        s.files.chooseNext(QString::fromStdString(path));
        trigger(viewer.get(), "file1");
        ASSERT_EQ(pixel(300, 234), kRed);
        ASSERT_EQ(pixel(344, 100), kBlack);
        // Redisplays replay the retained picture: the file is gone.
        std::filesystem::remove(path);
    }
    QRgb pixel(int x, int y) const { return image->image().pixel(x, y) & 0xFFFFFF; }
    void click(const char* button) {
        QTest::mouseClick(child<QPushButton>(viewer.get(), button), Qt::LeftButton);
    }
    QString percent() const { return child<QLineEdit>(viewer.get(), "Edit1")->text(); }
    bool checked(const char* item) const { return child<QAction>(viewer.get(), item)->isChecked(); }

    ScriptedServices s;
    TempDir dir;
    std::unique_ptr<TForm2> viewer;
    zelkova::plot::ViewImage* image = nullptr;
};

TEST_F(NavigationTest, TheButtonsPanAndZoomTheRetainedPicture) {
    openCross();
    click("btnup");
    EXPECT_EQ(viewer->viewRect(), (ViewRect{0, -94, 688, 375}));
    EXPECT_EQ(pixel(300, 140), kRed); // −94 + 234.5, halves to even
    EXPECT_EQ(pixel(300, 234), kWhite);
    click("btnright");
    EXPECT_EQ(viewer->viewRect(), (ViewRect{138, -94, 826, 375}));
    EXPECT_EQ(pixel(482, 50), kBlack);
    EXPECT_EQ(percent(), "100%");
    click("btnbigger");
    EXPECT_EQ(percent(), "141%");
    click("btnsmaller");
    EXPECT_EQ(percent(), "100%");
    click("btnorg");
    EXPECT_EQ(viewer->viewRect(), (ViewRect{0, 0, 688, 469}));
    EXPECT_EQ(pixel(300, 234), kRed);
    EXPECT_TRUE(s.messages.texts().empty());
}

TEST_F(NavigationTest, TheStepMenusAreRadioItemsThatRedrawNothing) {
    openCross();
    EXPECT_TRUE(checked("move20"));
    EXPECT_TRUE(checked("scall141"));
    const QImage before = image->image().copy();
    trigger(viewer.get(), "move50");
    trigger(viewer.get(), "scall200");
    EXPECT_TRUE(checked("move50"));
    EXPECT_FALSE(checked("move20"));
    EXPECT_TRUE(checked("scall200"));
    EXPECT_FALSE(checked("scall141"));
    EXPECT_EQ(image->image(), before);
    click("btndown");
    EXPECT_EQ(viewer->viewRect(), (ViewRect{0, 234, 688, 703}));
    click("btnbigger");
    EXPECT_EQ(percent(), "200%");
    trigger(viewer.get(), "move05");
    EXPECT_TRUE(checked("move05"));
    EXPECT_FALSE(checked("move50"));
}

TEST_F(NavigationTest, ALeftDragLeavesAnInvertedFrameThatTheNextPressErases) {
    openCross();
    const QImage figure = image->image().copy();
    QTest::mousePress(image, Qt::LeftButton, {}, QPoint(300, 100));
    QTest::mouseMove(image, QPoint(350, 120));
    QTest::mouseMove(image, QPoint(400, 150));
    // The outline runs round the pixels from (300, 100) to (399, 149): each inverted once.
    EXPECT_EQ(pixel(300, 100), kBlack);
    EXPECT_EQ(pixel(399, 100), kBlack);
    EXPECT_EQ(pixel(400, 100), kWhite);
    EXPECT_EQ(pixel(300, 149), kBlack);
    EXPECT_EQ(pixel(399, 149), kBlack);
    EXPECT_EQ(pixel(399, 150), kWhite);
    EXPECT_EQ(pixel(344, 100), kWhite); // the black line inverted where the outline crosses it
    EXPECT_EQ(pixel(344, 125), kBlack); // the inside is left as it is
    EXPECT_EQ(pixel(349, 119), kWhite); // the frame of the earlier move is gone
    QTest::mouseRelease(image, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_TRUE(viewer->selectionFlag());
    EXPECT_EQ(viewer->state().pressPoint, (zelkova::plot::ViewPoint{300, 100}));
    EXPECT_EQ(viewer->state().currentPoint, (zelkova::plot::ViewPoint{400, 150})); // not the release
    EXPECT_EQ(pixel(300, 100), kBlack);

    QTest::mousePress(image, Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_EQ(image->image(), figure);
    QTest::mouseMove(image, QPoint(-30, 40)); // outside the image: its part inside is drawn
    EXPECT_EQ(pixel(0, 20), kBlack);
    EXPECT_EQ(pixel(19, 39), kBlack);
    EXPECT_EQ(pixel(19, 20), kBlack);
    EXPECT_EQ(pixel(20, 20), kWhite);
    QTest::mouseRelease(image, Qt::LeftButton, {}, QPoint(-30, 40));
    click("btnleft"); // a pan redraws the figure and removes the frame
    EXPECT_FALSE(viewer->selectionFlag());
    EXPECT_EQ(pixel(0, 20), kWhite);
}

TEST_F(NavigationTest, TheViewImageKeepsTheMouseWhileAButtonIsHeld) {
    openCross();
    QWindow* window = viewer->windowHandle();
    const auto at = [this](int x, int y) { return image->mapTo(viewer.get(), QPoint(x, y)); };
    QTest::mousePress(window, Qt::LeftButton, {}, at(100, 400));
    QTest::mouseMove(window, at(200, 460)); // over the button bar
    EXPECT_EQ(pixel(150, 459), kBlack);     // the frame's bottom row, under the bar
    QTest::mouseRelease(window, Qt::LeftButton, {}, at(200, 460));
    EXPECT_TRUE(viewer->selectionFlag());
    EXPECT_EQ(viewer->state().currentPoint, (zelkova::plot::ViewPoint{200, 460}));
}

TEST_F(NavigationTest, TwoButtonsZoomIntoTheFrameRecentreAndReturnToTheOriginalView) {
    openCross();
    QTest::mousePress(image, Qt::LeftButton, {}, QPoint(50, 50));
    QTest::mouseMove(image, QPoint(80, 90));
    QTest::mousePress(image, Qt::RightButton, {}, QPoint(100, 100));
    QTest::mouseMove(image, QPoint(272, 200));
    QTest::mouseRelease(image, Qt::RightButton, {}, QPoint(500, 500));
    EXPECT_EQ(viewer->viewRect(), (ViewRect{-400, -400, 2352, 1476}));
    EXPECT_EQ(percent(), "400%");
    EXPECT_FALSE(viewer->selectionFlag());
    EXPECT_EQ(pixel(80, 89), kWhite); // the left drag's frame went with the redisplay
    QTest::mouseMove(image, QPoint(300, 300));
    QTest::mouseRelease(image, Qt::LeftButton, {}, QPoint(300, 300)); // the press is over: nothing
    EXPECT_EQ(viewer->viewRect(), (ViewRect{-400, -400, 2352, 1476}));

    // The left flag is left over: a right click on its own arms the gesture and re-centres.
    QTest::mousePress(image, Qt::RightButton, {}, QPoint(100, 100));
    QTest::mouseRelease(image, Qt::RightButton, {}, QPoint(100, 100));
    EXPECT_EQ(viewer->viewRect(), (ViewRect{-156, -266, 2596, 1610}));
    EXPECT_EQ(percent(), "400%");

    // Dragged upward: the original view.
    QTest::mousePress(image, Qt::LeftButton, {}, QPoint(300, 300));
    QTest::mousePress(image, Qt::RightButton, {}, QPoint(300, 300));
    QTest::mouseMove(image, QPoint(500, 200));
    QTest::mouseRelease(image, Qt::LeftButton, {}, QPoint(500, 200));
    QTest::mouseRelease(image, Qt::RightButton, {}, QPoint(500, 200));
    EXPECT_EQ(viewer->viewRect(), (ViewRect{0, 0, 688, 469}));
    EXPECT_EQ(percent(), "100%");
    EXPECT_EQ(pixel(300, 234), kRed);
}

TEST_F(NavigationTest, TheWheelAndTheKeysStandForTheButtons) {
    openCross();
    image->setFocus();
    QWheelEvent away(QPointF(344, 234), image->mapToGlobal(QPointF(344, 234)), QPoint(), QPoint(0, 120),
                     Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(image, &away);
    EXPECT_EQ(viewer->viewRect(), (ViewRect{-142, -97, 830, 566}));
    EXPECT_EQ(percent(), "141%");
    EXPECT_EQ(pixel(344, 100), kBlack); // the point under the mouse stays where it was
    QWheelEvent halfNotch(QPointF(344, 234), image->mapToGlobal(QPointF(344, 234)), QPoint(), QPoint(0, -60),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(image, &halfNotch);
    EXPECT_EQ(percent(), "141%");
    QApplication::sendEvent(image, &halfNotch);
    EXPECT_EQ(percent(), "100%");

    QTest::keyClick(image, Qt::Key_Home);
    QTest::keyClick(image, Qt::Key_PageUp);
    EXPECT_EQ(viewer->viewRect(), (ViewRect{0, -194, 973, 469}));
    QTest::keyClick(image, Qt::Key_PageDown);
    EXPECT_EQ(percent(), "100%");
    QTest::keyClick(image, Qt::Key_Home);
    QTest::keyClick(image, Qt::Key_Left);
    QTest::keyClick(image, Qt::Key_Up);
    EXPECT_EQ(viewer->viewRect(), (ViewRect{-138, -94, 550, 375}));
    QTest::keyClick(image, Qt::Key_Right);
    QTest::keyClick(image, Qt::Key_Down);
    EXPECT_EQ(viewer->viewRect(), (ViewRect{0, 0, 688, 469}));
    // Clicking a button leaves the focus on the view.
    click("btnbigger");
    EXPECT_TRUE(image->hasFocus());
}

TEST_F(NavigationTest, WithoutAFigureTheCommandsStillMoveTheViewOnAWhiteImage) {
    // Before the first figure the view rectangle is (0, 0, 0, 0).
    click("btnbigger");
    click("btnup");
    EXPECT_EQ(viewer->viewRect(), (ViewRect{0, -288, 0, -288}));
    EXPECT_EQ(percent(), "141%");
    EXPECT_EQ(pixel(344, 234), kWhite);
    click("btnorg");
    EXPECT_EQ(viewer->viewRect(), (ViewRect{0, 0, 688, 469}));
    EXPECT_EQ(percent(), "100%");
}

TEST_F(NavigationTest, TheWindowHasAFixedClientAreaAndNoCloseBoxOrSystemMenu) {
    EXPECT_EQ(viewer->centralWidget()->size(), QSize(688, 469));
    EXPECT_EQ(image->geometry(), QRect(0, 0, 688, 469));
    EXPECT_EQ(viewer->minimumSize(), viewer->maximumSize());
    const Qt::WindowFlags flags = viewer->windowFlags();
    EXPECT_FALSE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & Qt::WindowSystemMenuHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(flags & Qt::WindowTitleHint);
}

TEST_F(NavigationTest, HelpShowsANewHelpWindowModallyAndLeavesTheViewAsItIs) {
    openCross();
    click("btnbigger");
    const QImage before = image->image().copy();
    trigger(viewer.get(), "Help1");
    trigger(viewer.get(), "Help1");
    EXPECT_EQ(s.modal.shownObjectNames, (std::vector<QString>{"Form3", "Form3"}));
    EXPECT_TRUE(viewer->findChildren<QDialog*>().isEmpty()); // each destroyed when it closed
    EXPECT_EQ(image->image(), before);
    EXPECT_EQ(percent(), "141%");
}

} // namespace
