// The mouse's state machine on the view image.
#include "plot/MouseGesture.h"

#include <cstdint>
#include <cstdlib>

namespace zelkova::plot {

std::optional<Frame> MouseGesture::press(ViewerState& state, MouseButton button, ViewPoint at) {
    std::optional<Frame> erase;
    if (!m_press && state.selectionFlag)
        erase = Frame{state.pressPoint, state.currentPoint};
    m_press = true;
    state.pressPoint = at;
    state.currentPoint = at;
    if (m_left && button == MouseButton::Right)
        m_twoButtons = true;
    if (m_right && button == MouseButton::Right)
        m_twoButtons = true;
    if (button == MouseButton::Left)
        m_left = true;
    if (button == MouseButton::Right)
        m_right = true;
    return erase;
}

std::optional<MouseGesture::Redraw> MouseGesture::move(ViewerState& state, ViewPoint at) {
    if (!m_press)
        return std::nullopt;
    const Redraw redraw{{state.pressPoint, state.currentPoint}, {state.pressPoint, at}};
    state.currentPoint = at;
    return redraw;
}

GestureAction MouseGesture::release(ViewerState& state, MouseButton button) {
    if (!m_press)
        return GestureAction::None;
    state.selectionFlag = true;
    m_press = false;
    if (button == MouseButton::Left)
        m_left = false;
    if (button == MouseButton::Right)
        m_right = false;
    if (!m_twoButtons)
        return GestureAction::KeepFrame;
    m_twoButtons = false;
    const std::int64_t dx = std::llabs(std::int64_t(state.pressPoint.x) - state.currentPoint.x);
    const std::int64_t dy = std::int64_t(state.pressPoint.y) - state.currentPoint.y;
    if (dx <= 5)
        return GestureAction::Recentre;
    if (dy > 0)
        return GestureAction::OriginalView;
    return GestureAction::ZoomIntoFrame;
}

} // namespace zelkova::plot
