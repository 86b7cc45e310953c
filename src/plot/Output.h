// Where the viewer's outputs put the picture: the printed rectangle on a page, the bitmap or metafile
// of a selection frame, the view, or the whole figure at its own size, and how a print that needs
// raster modes is cut into bands. Plain arithmetic in pixels; the drawing is done by the callers.
#pragma once

#include "plot/Picture.h"
#include "plot/ViewerState.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace zelkova::plot {

// The texts of the save commands.
inline constexpr std::string_view kCannotWriteText =
    "書き込み出来ない！\r\n一旦Zelkovaを終了して開き直して下さい。";
// The whole figure cannot be saved while nothing has been drawn in it.
inline constexpr std::string_view kNothingToSaveText = "保存する図がありません！";
// A bitmap larger than the program will make.
inline constexpr std::string_view kTooLargeText = "図が大きすぎてビットマップにできません！";
// A print job that cannot be started on a printer (the general error report's text).
inline constexpr std::string_view kNoDefaultPrinterText = "デフォルト プリンタが存在しません";

enum class PageOrientation { Portrait, Landscape };

// Page pixels per view pixel on each axis, as the fraction page ÷ view.
struct PrintScale {
    std::int32_t pageX = 0;
    std::int32_t viewX = 1;
    std::int32_t pageY = 0;
    std::int32_t viewY = 1;
};

// Landscape: the view's width fills the page's width and its height the page's height, each axis on
// its own. Any other orientation: the view's height fills the page's height and the same scale is
// used across, so only the left part of a wide view reaches the page. A view without area gives
// the scale 0, so that nothing but an empty page is printed.
PrintScale printScale(PageOrientation orientation, std::int32_t pageWidth, std::int32_t pageHeight,
                      std::int32_t viewWidth, std::int32_t viewHeight);

// The view rectangle on the page: each edge times its axis's scale, to the nearest pixel with halves
// to even. The edge is multiplied before it is divided, so that an exact half stays exact.
ViewRect printedRect(const ViewRect& view, PrintScale scale);

// What an output draws on: a white area of width × height pixels with the whole picture frame
// stretched into `target` (which may reach beyond the area; what lies outside is cut off).
struct OutputFrame {
    std::int32_t width = 0;
    std::int32_t height = 0;
    ViewRect target;
    constexpr bool hasArea() const { return width > 0 && height > 0; }
    friend constexpr bool operator==(const OutputFrame&, const OutputFrame&) = default;
};

// The view image as it shows the picture.
OutputFrame viewFrame(std::int32_t viewWidth, std::int32_t viewHeight, const ViewRect& view);

// The area inside the selection frame, whichever way it was dragged: |current − press| on each
// axis, and the view rectangle moved so that the frame's top-left corner is the origin.
OutputFrame selectionFrame(const ViewRect& view, ViewPoint press, ViewPoint current);

// The margin, in picture pixels, around the drawn part of a whole figure.
inline constexpr std::int32_t kWholeFigureMargin = 10;

// The whole figure at its own size, one picture pixel to one output pixel: the drawn extents with a
// margin on every side, the picture's origin at (margin − min x, margin − min y). Nothing when
// nothing has been drawn (the extents still hold their start values).
std::optional<OutputFrame> wholeFigureFrame(const Picture& picture);

// The size of a metafile's frame in hundredths of a millimetre, for a number of pixels at `dpi`.
std::int32_t hundredthsOfMm(std::int32_t pixels, double dpi);

// True when a pen of the picture combines with what lies under it (xor, not-xor, merge, mask,
// invert...). Vector devices cannot do that, so such a picture is printed as an image. Modes that
// give a fixed colour (copy, not-copy, black, white) or draw nothing are exact on any device.
bool needsRasterModes(const Picture& picture);
bool dependsOnDestination(RasterMode mode);

// Prints that need raster modes are drawn at the printer's resolution, but never finer than this:
// a finer image shows nothing more of lines one pixel wide and only grows the job.
inline constexpr int kLargestRasterDpi = 600;

// Prints that need raster modes are drawn into one band of the page at a time, so that the image of
// a page never needs more than this many bytes at once (an A4 page at 600 dpi is about 140 MB). A
// band this small also stays in the processor's caches while the lines of a dense figure, strewn
// all over it, are drawn: larger bands are slower, not faster.
inline constexpr std::size_t kRasterBandBytes = 4u << 20;

// Rows of a band of `width` pixels, four bytes each, within `budgetBytes`; at least one.
std::int32_t bandRows(std::int32_t width, std::size_t budgetBytes = kRasterBandBytes);

// The largest bitmap the outputs make, in pixels (four bytes each).
inline constexpr std::int64_t kLargestBitmapPixels = std::int64_t{1} << 27;
bool bitmapFits(const OutputFrame& frame);

} // namespace zelkova::plot
