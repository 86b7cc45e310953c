// The rules of the text and image records, without any toolkit: the angle and escapement of a
// text, the spacing marks and the extra spacing they ask for, the face, the offsets of the first
// character cell; an image reference's path and height, its file and its kind. The renderer calls
// these and does the conversions to picture pixels itself.
#pragma once

#include "plot/Bitmap.h"
#include "plot/Canvas.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zelkova::plot {

// The angle of the direction (dx, dy) in radians: ±π/2 when |dx| < 1e−10 (by the sign of dy),
// otherwise arctan(dy / dx), plus π when dx < 0.
double textAngle(double dx, double dy);

// The escapement of a text at angle `radians`: tenths of a degree counter-clockwise,
// rnd(a × 1800 / π).
std::int32_t escapementOf(double radians);

// How far the top-left corner of the first character cell lies from the anchor before rounding,
// in picture pixels (x right, y down, after the cell height is taken off y): ox = −h sin a,
// oy = h (1 − cos a).
struct CellOffset {
    double x = 0;
    double y = 0;
};
CellOffset cellOffset(std::int32_t height, double radians);

// A text without its trailing spacing marks, and their count P in half-width cells: one
// half-width middle dot (0xA5) at the very end counts 1, then up to five full-width middle dots
// (0x81 0x45) before it count 2 each. Marks are whole characters: a trail byte that happens to
// have a mark's value is never taken for one.
struct SpacedText {
    std::string text;
    std::int32_t spacingCount = 0;
};
SpacedText removeSpacingMarks(std::string_view text);

// The extra spacing after every character: (h × P) div L, L the text's length in bytes, the
// division truncated towards zero; 0 for an empty text.
std::int32_t extraSpacingOf(std::int32_t height, std::int32_t spacingCount, std::size_t length);

// "cv" writes in the vertical form of the face; "ch", "cs", "cp" and "cr" horizontally.
TextFace faceOf(const std::array<char, 2>& keyword);

// A text that begins with "^@BM" places an image.
bool isImageReference(std::string_view text);

// "^@BM" path "," field "," height: the path is everything from the fifth byte up to the first
// comma (empty when there is none); the height is what follows the path's comma and the field's
// comma, up to the next comma or the end. The longer form the CAD program writes,
// "^@BMpath,width,height,0,0,1,0", gives its height the same way. Both code page 932 bytes.
struct ImageReference {
    std::string path;
    std::string heightText;
};
ImageReference parseImageReference(std::string_view text);

// The kind of image a path names by its extension, the part from the last full stop after the
// last folder separator ("\", "/" or ":"): exactly ".bmp" or ".BMP"; ".jpeg", ".JPEG", ".jpg" or
// ".JPG". Any other extension, mixed case included, is none.
std::optional<ImageFormat> imageFormatOf(std::string_view path);

// The file an image path (a native name) refers to: the path itself when it names a file;
// otherwise, for a path that is relative or written with "\" separators, the file of the same
// name in the plot file's own folder `plotFolder` (empty: the current folder). Pictures travel
// with their plot files, and a Windows path never exists elsewhere. Nothing when neither names a
// file.
std::optional<std::string> findImageFile(const std::string& path, const std::string& plotFolder);

} // namespace zelkova::plot
