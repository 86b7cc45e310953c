// The canvas's default batch and visibility rules.
#include "plot/Canvas.h"

#include <algorithm>

namespace zelkova::plot {

void Bounds::include(Point p) {
    if (empty()) {
        left = right = p.x;
        top = bottom = p.y;
        return;
    }
    left = std::min(left, p.x);
    right = std::max(right, p.x);
    top = std::min(top, p.y);
    bottom = std::max(bottom, p.y);
}

Canvas::~Canvas() = default;

void Canvas::lines(std::span<const Point> endPoints) {
    for (std::size_t i = 0; i + 1 < endPoints.size(); i += 2)
        line(endPoints[i], endPoints[i + 1]);
}

void Canvas::text(const TextOp&) {}

void Canvas::image(const ImageOp&) {}

bool Canvas::mayShow(const Bounds&) const {
    return true;
}

} // namespace zelkova::plot
