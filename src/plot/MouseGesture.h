// The mouse on the view image: the rubber-band selection frame and the two-button gestures.
//
// A press starts a frame at the mouse; moves while the press lasts redraw it to the mouse; the
// first release after the press ends it and leaves the frame on the view image as the selection
// that the copy commands use. Pressing the left button and then, while holding it, the right one
// arms the two-button gesture, which the release then carries out from the press point (where the
// right button went down) and the current point: a click (the current point at most 5 pixels to
// the side) re-centres the figure on the press point, a drag upward returns to the original view,
// any other drag zooms so that the frame's width fills the view.
//
// The button flags follow the release that ends a press only: the button released second after
// a gesture finds the press over and keeps its flag, so that its next right-button press on its
// own arms the gesture again. The frame's corners live in the viewer state, where the output
// commands read them.
#pragma once

#include "plot/ViewerState.h"

#include <optional>

namespace zelkova::plot {

enum class MouseButton { Left, Right, Middle };

// A frame on the view image between two corners, in either order.
struct Frame {
    ViewPoint a;
    ViewPoint b;
    friend constexpr bool operator==(const Frame&, const Frame&) = default;
};

// What the release that ends a press asks of the view.
enum class GestureAction {
    None,         // no press was under way: nothing at all
    KeepFrame,    // the frame stays as the selection
    Recentre,     // the two-button click
    OriginalView, // a two-button drag upward
    ZoomIntoFrame // a two-button drag level or downward, 6 pixels or more wide
};

class MouseGesture {
public:
    // A button goes down at `at`. Returns the frame left on the view image that is to be erased
    // before anything else (when no press was under way and a selection was shown).
    std::optional<Frame> press(ViewerState& state, MouseButton button, ViewPoint at);

    // The mouse moves to `at`. While a press is under way: the frame to erase, then the one to draw.
    struct Redraw {
        Frame erase;
        Frame draw;
    };
    std::optional<Redraw> move(ViewerState& state, ViewPoint at);

    // A button goes up (where does not matter).
    GestureAction release(ViewerState& state, MouseButton button);

    bool pressFlag() const { return m_press; }
    bool leftButtonFlag() const { return m_left; }
    bool rightButtonFlag() const { return m_right; }
    bool twoButtonFlag() const { return m_twoButtons; }

private:
    bool m_press = false;
    bool m_left = false;
    bool m_right = false;
    bool m_twoButtons = false;
};

} // namespace zelkova::plot
