// Moving and magnifying the figure on the view image: the pan steps, the zoom about the view's
// bottom-left corner, the original view, the two-button gestures' re-centring and zoom into a
// frame, and the percent box's text. All of it is arithmetic on the view rectangle and the
// magnification; the window (and the batch tool) redisplay the retained picture afterwards.
//
// The view rectangle is held in 32-bit integers. Every step computes its new rectangle in double
// precision first and keeps it only when all four coordinates lie within ±kViewLimit; otherwise the
// view (and the magnification) stay as they are. 2^30 leaves room for one more step of any size
// without overflow, and it is far beyond anything useful: from the original 688-pixel view it is
// reached beyond a magnification of a million ("1E8%"), where one picture pixel covers more than
// 100,000 view pixels. The drawing code takes coordinates of this size exactly (PainterCanvas).
#pragma once

#include "plot/Picture.h"
#include "plot/ViewerState.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zelkova::plot {

inline constexpr std::int32_t kViewLimit = 1 << 30;

// The view image's size in pixels.
struct ViewSize {
    std::int32_t width = 0;
    std::int32_t height = 0;
};

// The button bar's commands, in the batch tool's names: left, right, up, down, bigger, smaller, org.
enum class ViewCommand { Left, Right, Up, Down, Bigger, Smaller, Org };

std::optional<ViewCommand> viewCommandNamed(std::string_view name);

// (0, 0, view width, view height).
ViewRect originalView(ViewSize size);

// The pan step: rnd(view height × move fraction) for up and down, rnd(view width × move fraction)
// for left and right, halves to even (234.5 gives 234).
std::int32_t panStep(ViewCommand direction, ViewSize size, double moveFraction);

// The view rectangle one pan step on ("↑" takes top and bottom up, so the figure moves up); none
// when it would leave the limit.
std::optional<ViewRect> pannedView(const ViewRect& view, ViewCommand direction, ViewSize size,
                                   double moveFraction);

// The view rectangle zoomed by `step` about the view-image point `fixed`: each coordinate v becomes
// fixed + rnd((v − fixed) × step) when enlarging, fixed + rnd((v − fixed) ÷ step) when reducing, from
// the values before the step. About (0, view height) this is the buttons' zoom:
// left = rnd(left × k), top = H − rnd((H − top) × k), right = rnd(right × k),
// bottom = H − rnd((H − bottom) × k). None when it would leave the limit.
std::optional<ViewRect> zoomedView(const ViewRect& view, double step, bool enlarge, ViewPoint fixed);

// The two-button click: the press point goes to the middle of the view (view size div 2).
std::optional<ViewRect> recentredView(const ViewRect& view, ViewPoint press, ViewSize size);

// The two-button drag: the frame's top-left corner goes to the view's origin and its width fills
// the view's width: k = view width ÷ dx, each coordinate (v − frame corner) × k, rounded.
std::optional<ViewRect> frameZoomedView(const ViewRect& view, ViewPoint press, ViewPoint current,
                                        ViewSize size);
double frameZoomFactor(ViewPoint press, ViewPoint current, ViewSize size);

// The percent box: the magnification × 100 as a whole number and "%" ("141%"); from five digits on,
// four significant digits in exponent form ("1.28E4%", "1.414E4%", "1E5%"). Halves go to the even
// neighbour, as every rounding of the viewer does.
std::string percentText(double magnification);

// The commands on the viewer state. Each changes the view rectangle and the magnification as its
// button does and clears nothing else; the caller redisplays the picture (which clears the
// selection flag). False when the view was left as it is because the step would leave the limit.
bool applyViewCommand(ViewerState& state, ViewCommand command, ViewSize size);
// The mouse wheel: enlarge or reduce by the zoom step about the point under the mouse.
bool zoomAbout(ViewerState& state, bool enlarge, ViewPoint at);
// The two-button gestures, from the press point and the current point in `state`.
bool recentre(ViewerState& state, ViewSize size);
bool zoomIntoFrame(ViewerState& state, ViewSize size);

} // namespace zelkova::plot
