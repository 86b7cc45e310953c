// The output rectangles and the raster-mode test.
#include "plot/Output.h"

#include "plot/Renderer.h"

#include <algorithm>
#include <cstdlib>

namespace zelkova::plot {

PrintScale printScale(PageOrientation orientation, std::int32_t pageWidth, std::int32_t pageHeight,
                      std::int32_t viewWidth, std::int32_t viewHeight) {
    if (viewWidth <= 0 || viewHeight <= 0)
        return {0, 1, 0, 1};
    if (orientation == PageOrientation::Landscape)
        return {pageWidth, viewWidth, pageHeight, viewHeight};
    return {pageHeight, viewHeight, pageHeight, viewHeight};
}

namespace {
// v × page ÷ view: the product of two 32-bit integers is exact in a double.
std::int32_t scaled(std::int32_t v, std::int32_t page, std::int32_t view) {
    return rnd(double(v) * page / view);
}
} // namespace

ViewRect printedRect(const ViewRect& view, PrintScale scale) {
    return {scaled(view.left, scale.pageX, scale.viewX), scaled(view.top, scale.pageY, scale.viewY),
            scaled(view.right, scale.pageX, scale.viewX), scaled(view.bottom, scale.pageY, scale.viewY)};
}

OutputFrame viewFrame(std::int32_t viewWidth, std::int32_t viewHeight, const ViewRect& view) {
    return {std::max(viewWidth, 0), std::max(viewHeight, 0), view};
}

namespace {
std::int32_t clampToInt32(std::int64_t v) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
}
} // namespace

OutputFrame selectionFrame(const ViewRect& view, ViewPoint press, ViewPoint current) {
    const std::int64_t left = std::min(press.x, current.x);
    const std::int64_t top = std::min(press.y, current.y);
    OutputFrame frame;
    frame.width = clampToInt32(std::abs(std::int64_t{current.x} - press.x));
    frame.height = clampToInt32(std::abs(std::int64_t{current.y} - press.y));
    frame.target = {clampToInt32(view.left - left), clampToInt32(view.top - top),
                    clampToInt32(view.right - left), clampToInt32(view.bottom - top)};
    return frame;
}

std::optional<OutputFrame> wholeFigureFrame(const Picture& picture) {
    const Extents& e = picture.drawnExtents();
    if (!e.anyDrawn() || e.maxX < e.minX || e.maxY < e.minY)
        return std::nullopt;
    // Coordinates are held within ±10^9, so every sum here fits 32 bits; 64 bits all the same.
    const std::int64_t left = std::int64_t{kWholeFigureMargin} - e.minX;
    const std::int64_t top = std::int64_t{kWholeFigureMargin} - e.minY;
    OutputFrame frame;
    frame.width = clampToInt32(std::int64_t{e.maxX} - e.minX + 2 * kWholeFigureMargin);
    frame.height = clampToInt32(std::int64_t{e.maxY} - e.minY + 2 * kWholeFigureMargin);
    frame.target = {clampToInt32(left), clampToInt32(top), clampToInt32(left + picture.width()),
                    clampToInt32(top + picture.height())};
    return frame;
}

std::int32_t hundredthsOfMm(std::int32_t pixels, double dpi) {
    return dpi > 0 ? rnd(pixels * 2540.0 / dpi) : 0;
}

bool dependsOnDestination(RasterMode mode) {
    switch (mode) {
    case RasterMode::Black:
    case RasterMode::White:
    case RasterMode::Nop:
    case RasterMode::CopyPen:
    case RasterMode::NotCopyPen:
        return false;
    case RasterMode::Not:
    case RasterMode::MergePenNot:
    case RasterMode::MaskPenNot:
    case RasterMode::MergeNotPen:
    case RasterMode::MaskNotPen:
    case RasterMode::MergePen:
    case RasterMode::NotMergePen:
    case RasterMode::MaskPen:
    case RasterMode::NotMaskPen:
    case RasterMode::XorPen:
    case RasterMode::NotXorPen:
        return true;
    }
    return true;
}

bool needsRasterModes(const Picture& picture) {
    for (const PictureOp& op : picture.ops())
        if (op.kind == OpKind::Pen && dependsOnDestination(picture.pen(op).mode))
            return true;
    return false;
}

std::int32_t bandRows(std::int32_t width, std::size_t budgetBytes) {
    if (width <= 0)
        return 1;
    const std::size_t rows = budgetBytes / (std::size_t(width) * 4);
    return static_cast<std::int32_t>(std::clamp<std::size_t>(rows, 1, INT32_MAX));
}

bool bitmapFits(const OutputFrame& frame) {
    return frame.hasArea() && std::int64_t{frame.width} * frame.height <= kLargestBitmapPixels;
}

} // namespace zelkova::plot
