// The navigation arithmetic.
#include "plot/Navigation.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string_view>
#include <utility>

namespace zelkova::plot {

namespace {

// Rounded to the nearest integer, halves to even (the default rounding mode).
double rounded(double v) {
    return std::nearbyint(v);
}

// The rectangle of four rounded values, or none when one lies beyond the limit.
std::optional<ViewRect> viewOf(double left, double top, double right, double bottom) {
    for (double v : {left, top, right, bottom})
        if (!(std::abs(v) <= kViewLimit))
            return std::nullopt;
    return ViewRect{static_cast<std::int32_t>(left), static_cast<std::int32_t>(top),
                    static_cast<std::int32_t>(right), static_cast<std::int32_t>(bottom)};
}

// A new magnification, unless it would no longer be a finite number (a collapsed view keeps taking
// "拡大" without end).
void multiplyMagnification(ViewerState& state, double factor, bool enlarge) {
    const double next = enlarge ? state.magnification * factor : state.magnification / factor;
    if (std::isfinite(next))
        state.magnification = next;
}

} // namespace

std::optional<ViewCommand> viewCommandNamed(std::string_view name) {
    static constexpr std::array<std::pair<std::string_view, ViewCommand>, 7> kNames{{
        {"left", ViewCommand::Left},
        {"right", ViewCommand::Right},
        {"up", ViewCommand::Up},
        {"down", ViewCommand::Down},
        {"bigger", ViewCommand::Bigger},
        {"smaller", ViewCommand::Smaller},
        {"org", ViewCommand::Org},
    }};
    for (const auto& [n, command] : kNames)
        if (n == name)
            return command;
    return std::nullopt;
}

ViewRect originalView(ViewSize size) {
    return {0, 0, size.width, size.height};
}

std::int32_t panStep(ViewCommand direction, ViewSize size, double moveFraction) {
    const bool vertical = direction == ViewCommand::Up || direction == ViewCommand::Down;
    const double d = rounded((vertical ? size.height : size.width) * moveFraction);
    return static_cast<std::int32_t>(std::abs(d) <= kViewLimit ? d : 0);
}

std::optional<ViewRect> pannedView(const ViewRect& view, ViewCommand direction, ViewSize size,
                                   double moveFraction) {
    const double d = panStep(direction, size, moveFraction);
    double left = view.left;
    double top = view.top;
    double right = view.right;
    double bottom = view.bottom;
    switch (direction) {
    case ViewCommand::Up:
        top -= d;
        bottom -= d;
        break;
    case ViewCommand::Down:
        top += d;
        bottom += d;
        break;
    case ViewCommand::Left:
        left -= d;
        right -= d;
        break;
    case ViewCommand::Right:
        left += d;
        right += d;
        break;
    case ViewCommand::Bigger:
    case ViewCommand::Smaller:
    case ViewCommand::Org:
        return view;
    }
    return viewOf(left, top, right, bottom);
}

std::optional<ViewRect> zoomedView(const ViewRect& view, double step, bool enlarge, ViewPoint fixed) {
    const auto scaled = [&](std::int32_t v, std::int32_t f) {
        const double distance = double(v) - double(f);
        return double(f) + rounded(enlarge ? distance * step : distance / step);
    };
    return viewOf(scaled(view.left, fixed.x), scaled(view.top, fixed.y), scaled(view.right, fixed.x),
                  scaled(view.bottom, fixed.y));
}

std::optional<ViewRect> recentredView(const ViewRect& view, ViewPoint press, ViewSize size) {
    const double dx = double(size.width / 2) - press.x;
    const double dy = double(size.height / 2) - press.y;
    return viewOf(view.left + dx, view.top + dy, view.right + dx, view.bottom + dy);
}

double frameZoomFactor(ViewPoint press, ViewPoint current, ViewSize size) {
    const double dx = std::abs(double(press.x) - double(current.x));
    return double(size.width) / dx;
}

std::optional<ViewRect> frameZoomedView(const ViewRect& view, ViewPoint press, ViewPoint current,
                                        ViewSize size) {
    const double k = frameZoomFactor(press, current, size);
    const double x = std::min(press.x, current.x);
    const double y = std::min(press.y, current.y);
    return viewOf(rounded((view.left - x) * k), rounded((view.top - y) * k), rounded((view.right - x) * k),
                  rounded((view.bottom - y) * k));
}

std::string percentText(double magnification) {
    const double percent = magnification * 100;
    const double whole = rounded(percent);
    if (std::abs(whole) < 10000)
        return std::to_string(static_cast<long long>(whole)) + "%";
    // Four significant digits, through the locale-free conversion ("1.280e+04").
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), percent,
                                      std::chars_format::scientific, 3);
    const std::string_view digits(buffer.data(), static_cast<std::size_t>(result.ptr - buffer.data()));
    const std::size_t e = digits.find('e');
    if (e == std::string_view::npos)
        return std::string(digits) + "%"; // inf or nan, which the commands never leave
    std::string mantissa(digits.substr(0, e));
    while (mantissa.size() > 1 && mantissa.back() == '0')
        mantissa.pop_back();
    if (mantissa.back() == '.')
        mantissa.pop_back();
    int exponent = 0;
    const std::string_view exponentText = digits.substr(e + 1);
    std::from_chars(exponentText.data() + (exponentText.front() == '+' ? 1 : 0),
                    exponentText.data() + exponentText.size(), exponent);
    return mantissa + "E" + std::to_string(exponent) + "%";
}

bool applyViewCommand(ViewerState& state, ViewCommand command, ViewSize size) {
    switch (command) {
    case ViewCommand::Left:
    case ViewCommand::Right:
    case ViewCommand::Up:
    case ViewCommand::Down:
        if (const auto view = pannedView(state.viewRect, command, size, state.moveFraction)) {
            state.viewRect = *view;
            return true;
        }
        return false;
    case ViewCommand::Bigger:
    case ViewCommand::Smaller:
        return zoomAbout(state, command == ViewCommand::Bigger, {0, size.height});
    case ViewCommand::Org:
        state.viewRect = originalView(size);
        state.magnification = 1;
        return true;
    }
    return false;
}

bool zoomAbout(ViewerState& state, bool enlarge, ViewPoint at) {
    const auto view = zoomedView(state.viewRect, state.zoomStep, enlarge, at);
    if (!view)
        return false;
    state.viewRect = *view;
    multiplyMagnification(state, state.zoomStep, enlarge);
    return true;
}

bool recentre(ViewerState& state, ViewSize size) {
    const auto view = recentredView(state.viewRect, state.pressPoint, size);
    if (!view)
        return false;
    state.viewRect = *view;
    return true;
}

bool zoomIntoFrame(ViewerState& state, ViewSize size) {
    const auto view = frameZoomedView(state.viewRect, state.pressPoint, state.currentPoint, size);
    if (!view)
        return false;
    state.viewRect = *view;
    multiplyMagnification(state, frameZoomFactor(state.pressPoint, state.currentPoint, size), true);
    return true;
}

} // namespace zelkova::plot
