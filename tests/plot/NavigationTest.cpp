// Shows the view arithmetic on a 688 × 469 view image: pan steps rounded halves to even, the zoom
// about the bottom-left corner and its percent text, the collapsed view that only "原図" restores,
// the limit of the view rectangle, and the mouse rules: the frame, the two-button gestures and
// the button flags left over after them.
#include "plot/Navigation.h"
#include "plot/MouseGesture.h"

#include <gtest/gtest.h>

namespace zelkova::plot {
namespace {

constexpr ViewSize kView{688, 469};

ViewerState stateAtOriginalView() {
    ViewerState state;
    state.viewRect = originalView(kView);
    return state;
}

TEST(Pan, StepsAreRoundedHalvesToEven) {
    ViewerState state = stateAtOriginalView();
    applyViewCommand(state, ViewCommand::Up, kView);
    EXPECT_EQ(state.viewRect, (ViewRect{0, -94, 688, 375})); // 93.8
    applyViewCommand(state, ViewCommand::Left, kView);
    EXPECT_EQ(state.viewRect, (ViewRect{-138, -94, 550, 375})); // 137.6
    state.moveFraction = 0.5;
    state.viewRect = originalView(kView);
    applyViewCommand(state, ViewCommand::Down, kView);
    EXPECT_EQ(state.viewRect, (ViewRect{0, 234, 688, 703})); // 234.5 goes to the even 234
    applyViewCommand(state, ViewCommand::Right, kView);
    EXPECT_EQ(state.viewRect, (ViewRect{344, 234, 1032, 703}));
    EXPECT_EQ(state.magnification, 1);
    EXPECT_EQ(panStep(ViewCommand::Up, {688, 187}, 0.5), 94); // 93.5 goes to the even 94
}

TEST(Zoom, KeepsTheBottomLeftCornerAndCountsThePercentage) {
    ViewerState state = stateAtOriginalView();
    applyViewCommand(state, ViewCommand::Bigger, kView);
    EXPECT_EQ(state.viewRect, (ViewRect{0, -194, 973, 469}));
    EXPECT_EQ(percentText(state.magnification), "141%");
    applyViewCommand(state, ViewCommand::Bigger, kView);
    EXPECT_EQ(percentText(state.magnification), "200%");

    state = stateAtOriginalView();
    applyViewCommand(state, ViewCommand::Smaller, kView);
    EXPECT_EQ(state.viewRect, (ViewRect{0, 137, 487, 469}));
    EXPECT_EQ(percentText(state.magnification), "71%");
    applyViewCommand(state, ViewCommand::Bigger, kView);
    EXPECT_NEAR(state.viewRect.right, 688, 1);
    EXPECT_NEAR(state.viewRect.top, 0, 1);
    EXPECT_EQ(percentText(state.magnification), "100%");

    // The four values each come from the ones before the step, about (0, view height).
    state.viewRect = {-100, -50, 300, 200};
    applyViewCommand(state, ViewCommand::Bigger, kView);
    EXPECT_EQ(state.viewRect, (ViewRect{-141, -265, 424, 89})); // 469 − rnd(733.866), 469 − rnd(380.366)
}

TEST(Zoom, SevenClicksAt200PercentReadInExponentForm) {
    ViewerState state = stateAtOriginalView();
    state.zoomStep = 2.0;
    for (int i = 0; i < 7; ++i)
        applyViewCommand(state, ViewCommand::Bigger, kView);
    EXPECT_EQ(percentText(state.magnification), "1.28E4%");
    EXPECT_EQ(state.viewRect, (ViewRect{0, 469 - 469 * 128, 688 * 128, 469}));
}

TEST(PercentText, WholeNumbersUpToFourDigitsThenFourSignificantDigits) {
    EXPECT_EQ(percentText(1.414), "141%");
    EXPECT_EQ(percentText(0.7071), "71%");
    EXPECT_EQ(percentText(1.1000000000000001), "110%");
    EXPECT_EQ(percentText(99.99), "9999%");
    EXPECT_EQ(percentText(99.996), "1E4%"); // 10000 has five digits
    EXPECT_EQ(percentText(128), "1.28E4%");
    EXPECT_EQ(percentText(141.421), "1.414E4%");
    EXPECT_EQ(percentText(1000), "1E5%");
    EXPECT_EQ(percentText(1234567.0), "1.235E8%");
    EXPECT_EQ(percentText(0.125), "12%"); // 12.5, halves to even
    EXPECT_EQ(percentText(0.001), "0%");
}

TEST(Zoom, ACollapsedViewOnlyComesBackWithTheOriginalView) {
    ViewerState state = stateAtOriginalView();
    state.zoomStep = 2.0;
    for (int i = 0; i < 12; ++i)
        applyViewCommand(state, ViewCommand::Smaller, kView);
    EXPECT_EQ(state.viewRect, (ViewRect{0, 469, 0, 469}));
    const double collapsed = state.magnification;
    applyViewCommand(state, ViewCommand::Bigger, kView);
    applyViewCommand(state, ViewCommand::Bigger, kView);
    EXPECT_EQ(state.viewRect, (ViewRect{0, 469, 0, 469})); // zero times any factor
    EXPECT_EQ(state.magnification, collapsed * 4);         // the percent box keeps changing
    applyViewCommand(state, ViewCommand::Org, kView);
    EXPECT_EQ(state.viewRect, originalView(kView));
    EXPECT_EQ(percentText(state.magnification), "100%");
}

TEST(ViewLimit, EnlargingStopsAtTheLimitAndLeavesTheViewAsItIs) {
    ViewerState state = stateAtOriginalView();
    state.zoomStep = 2.0;
    int clicks = 0;
    while (applyViewCommand(state, ViewCommand::Bigger, kView))
        ++clicks;
    EXPECT_EQ(clicks, 20); // 688 × 2^20 ≤ 2^30 < 688 × 2^21
    const ViewerState atLimit = state;
    for (int i = 0; i < 100; ++i)
        EXPECT_FALSE(applyViewCommand(state, ViewCommand::Bigger, kView));
    EXPECT_EQ(state.viewRect, atLimit.viewRect);
    EXPECT_EQ(state.magnification, atLimit.magnification);
    EXPECT_EQ(percentText(state.magnification), "1.049E8%");
    EXPECT_TRUE(applyViewCommand(state, ViewCommand::Smaller, kView));

    // Exactly at the limit is allowed, one pixel beyond is not; the pans and the wheel likewise.
    EXPECT_TRUE(zoomedView({0, 0, kViewLimit / 2, 469}, 2.0, true, {0, 469}));
    EXPECT_FALSE(zoomedView({0, 0, kViewLimit / 2 + 1, 469}, 2.0, true, {0, 469}));
    EXPECT_TRUE(pannedView({0, 0, kViewLimit - 138, 469}, ViewCommand::Right, kView, 0.2));
    EXPECT_FALSE(pannedView({0, 0, kViewLimit - 137, 469}, ViewCommand::Right, kView, 0.2));
    EXPECT_FALSE(pannedView({0, -kViewLimit + 93, 688, 0}, ViewCommand::Up, kView, 0.2));
    state.viewRect = {-kViewLimit, -kViewLimit, kViewLimit, kViewLimit};
    EXPECT_FALSE(zoomAbout(state, true, {344, 234}));
    EXPECT_TRUE(zoomAbout(state, false, {344, 234}));
}

TEST(Wheel, ZoomsAboutThePointUnderTheMouse) {
    ViewerState state = stateAtOriginalView();
    EXPECT_TRUE(zoomAbout(state, true, {344, 234}));
    // 344 + rnd(−344 × 1.414) = −142, 234 + rnd(−234 × 1.414) = −97, 234 + rnd(235 × 1.414) = 566
    EXPECT_EQ(state.viewRect, (ViewRect{-142, -97, 830, 566}));
    EXPECT_EQ(percentText(state.magnification), "141%");
    EXPECT_TRUE(zoomAbout(state, false, {344, 234}));
    EXPECT_EQ(state.viewRect, (ViewRect{0, 0, 688, 469}));
    EXPECT_EQ(percentText(state.magnification), "100%");
}

// --- the mouse ---

struct Mouse {
    ViewerState state = stateAtOriginalView();
    MouseGesture gesture;
    GestureAction drag(MouseButton button, ViewPoint from, ViewPoint to) {
        gesture.press(state, button, from);
        gesture.move(state, to);
        return gesture.release(state, button);
    }
};

TEST(MouseGesture, ADragLeavesAFrameThatTheNextPressErases) {
    Mouse m;
    EXPECT_FALSE(m.gesture.press(m.state, MouseButton::Left, {10, 20}));
    EXPECT_EQ(m.state.pressPoint, (ViewPoint{10, 20}));
    EXPECT_EQ(m.state.currentPoint, (ViewPoint{10, 20}));
    const auto first = m.gesture.move(m.state, {50, 60});
    ASSERT_TRUE(first);
    EXPECT_EQ(first->erase, (Frame{{10, 20}, {10, 20}}));
    EXPECT_EQ(first->draw, (Frame{{10, 20}, {50, 60}}));
    const auto second = m.gesture.move(m.state, {40, 5});
    EXPECT_EQ(second->erase, (Frame{{10, 20}, {50, 60}}));
    EXPECT_EQ(second->draw, (Frame{{10, 20}, {40, 5}}));
    EXPECT_FALSE(m.state.selectionFlag);
    EXPECT_EQ(m.gesture.release(m.state, MouseButton::Left), GestureAction::KeepFrame);
    EXPECT_TRUE(m.state.selectionFlag);
    EXPECT_FALSE(m.gesture.pressFlag());
    EXPECT_FALSE(m.gesture.move(m.state, {0, 0})); // no press: moves do nothing
    EXPECT_EQ(m.state.currentPoint, (ViewPoint{40, 5}));

    const auto erase = m.gesture.press(m.state, MouseButton::Middle, {300, 300});
    ASSERT_TRUE(erase);
    EXPECT_EQ(*erase, (Frame{{10, 20}, {40, 5}}));
    EXPECT_TRUE(m.state.selectionFlag); // unchanged by the press
    // A second button while the press lasts erases nothing.
    EXPECT_FALSE(m.gesture.press(m.state, MouseButton::Left, {310, 310}));
    EXPECT_EQ(m.gesture.release(m.state, MouseButton::Left), GestureAction::KeepFrame);
    EXPECT_EQ(m.gesture.release(m.state, MouseButton::Middle), GestureAction::None);
}

TEST(MouseGesture, LeftThenRightZoomsIntoTheFrameFromTheRightPress) {
    Mouse m;
    m.gesture.press(m.state, MouseButton::Left, {20, 30});
    m.gesture.move(m.state, {60, 60});
    m.gesture.press(m.state, MouseButton::Right, {100, 100});
    EXPECT_TRUE(m.gesture.twoButtonFlag());
    m.gesture.move(m.state, {272, 200});
    ASSERT_EQ(m.gesture.release(m.state, MouseButton::Right), GestureAction::ZoomIntoFrame);
    EXPECT_TRUE(zoomIntoFrame(m.state, kView));
    EXPECT_EQ(m.state.viewRect, (ViewRect{-400, -400, 2352, 1476}));
    EXPECT_EQ(percentText(m.state.magnification), "400%");
    EXPECT_FALSE(m.gesture.twoButtonFlag());
    // The left button's release finds the press over and keeps its flag.
    EXPECT_EQ(m.gesture.release(m.state, MouseButton::Left), GestureAction::None);
    EXPECT_TRUE(m.gesture.leftButtonFlag());
    EXPECT_FALSE(m.gesture.rightButtonFlag());
}

TEST(MouseGesture, ATwoButtonClickRecentresAndLeavesThePercentage) {
    Mouse m;
    m.state.magnification = 2;
    m.gesture.press(m.state, MouseButton::Left, {100, 100});
    m.gesture.press(m.state, MouseButton::Right, {100, 100});
    ASSERT_EQ(m.gesture.release(m.state, MouseButton::Left), GestureAction::Recentre);
    EXPECT_TRUE(recentre(m.state, kView));
    EXPECT_EQ(m.state.viewRect, (ViewRect{244, 134, 932, 603}));
    EXPECT_EQ(m.state.magnification, 2);
}

TEST(MouseGesture, FivePixelsToTheSideRecentreHoweverFarTheDragWentVertically) {
    for (int side : {-5, 0, 5}) {
        Mouse m;
        m.gesture.press(m.state, MouseButton::Left, {300, 10});
        m.gesture.press(m.state, MouseButton::Right, {300, 10});
        m.gesture.move(m.state, {300 + side, 460});
        EXPECT_EQ(m.gesture.release(m.state, MouseButton::Right), GestureAction::Recentre) << side;
    }
    Mouse wide;
    wide.gesture.press(wide.state, MouseButton::Left, {300, 10});
    wide.gesture.press(wide.state, MouseButton::Right, {300, 10});
    wide.gesture.move(wide.state, {294, 10}); // level, 6 pixels wide
    EXPECT_EQ(wide.gesture.release(wide.state, MouseButton::Right), GestureAction::ZoomIntoFrame);
    EXPECT_TRUE(zoomIntoFrame(wide.state, kView));
    EXPECT_EQ(wide.state.viewRect.left, -33712); // −294 × 688 ÷ 6: the frame's left side to the view's
}

TEST(MouseGesture, ATwoButtonDragUpwardAsksForTheOriginalView) {
    Mouse m;
    m.gesture.press(m.state, MouseButton::Left, {100, 300});
    m.gesture.press(m.state, MouseButton::Right, {100, 300});
    m.gesture.move(m.state, {400, 299});
    EXPECT_EQ(m.gesture.release(m.state, MouseButton::Right), GestureAction::OriginalView);
}

TEST(MouseGesture, RightThenLeftOnlyLeavesAFrame) {
    Mouse m;
    m.gesture.press(m.state, MouseButton::Right, {100, 100});
    m.gesture.press(m.state, MouseButton::Left, {110, 110});
    EXPECT_FALSE(m.gesture.twoButtonFlag());
    m.gesture.move(m.state, {300, 300});
    EXPECT_EQ(m.gesture.release(m.state, MouseButton::Left), GestureAction::KeepFrame);
    EXPECT_EQ(m.gesture.release(m.state, MouseButton::Right), GestureAction::None);
    EXPECT_TRUE(m.gesture.rightButtonFlag()); // left over: a right press alone now arms the gesture
    m.gesture.press(m.state, MouseButton::Right, {100, 100});
    EXPECT_TRUE(m.gesture.twoButtonFlag());
}

TEST(MouseGesture, FlagsLeftOverAfterAGestureArmTheNextRightPress) {
    // The left button released second: its flag stays, and press step 3 arms the next right press.
    Mouse leftSecond;
    leftSecond.gesture.press(leftSecond.state, MouseButton::Left, {100, 100});
    leftSecond.gesture.press(leftSecond.state, MouseButton::Right, {100, 100});
    leftSecond.gesture.release(leftSecond.state, MouseButton::Right);
    leftSecond.gesture.release(leftSecond.state, MouseButton::Left);
    EXPECT_EQ(leftSecond.drag(MouseButton::Right, {50, 50}, {51, 400}), GestureAction::Recentre);

    // The right button released second: press step 4 arms it.
    Mouse rightSecond;
    rightSecond.gesture.press(rightSecond.state, MouseButton::Left, {100, 100});
    rightSecond.gesture.press(rightSecond.state, MouseButton::Right, {100, 100});
    rightSecond.gesture.release(rightSecond.state, MouseButton::Left);
    rightSecond.gesture.release(rightSecond.state, MouseButton::Right);
    EXPECT_TRUE(rightSecond.gesture.rightButtonFlag());
    EXPECT_FALSE(rightSecond.gesture.leftButtonFlag());
    EXPECT_EQ(rightSecond.drag(MouseButton::Right, {50, 50}, {300, 40}), GestureAction::OriginalView);

    // A left click on its own clears a left flag left over in this way.
    Mouse cleared;
    cleared.gesture.press(cleared.state, MouseButton::Left, {100, 100});
    cleared.gesture.press(cleared.state, MouseButton::Right, {100, 100});
    cleared.gesture.release(cleared.state, MouseButton::Right);
    cleared.gesture.release(cleared.state, MouseButton::Left);
    EXPECT_EQ(cleared.drag(MouseButton::Left, {10, 10}, {20, 20}), GestureAction::KeepFrame);
    EXPECT_FALSE(cleared.gesture.leftButtonFlag());
    EXPECT_EQ(cleared.drag(MouseButton::Right, {10, 10}, {200, 200}), GestureAction::KeepFrame);
}

TEST(MouseGesture, AReleaseWithoutAPressChangesNothing) {
    Mouse m;
    EXPECT_EQ(m.gesture.release(m.state, MouseButton::Left), GestureAction::None);
    EXPECT_FALSE(m.state.selectionFlag);
    EXPECT_FALSE(m.gesture.leftButtonFlag());
}

} // namespace
} // namespace zelkova::plot
