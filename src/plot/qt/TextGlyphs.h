// The glyphs of a text as the figure writes it: the Japanese fixed-pitch face (IPA Gothic standing
// in for "ＭＳ ゴシック"), each character shaped once with HarfBuzz and remembered, and the
// glyphs placed in picture pixels.
//
// The face's cell is the GDI cell: a text op's height h is the cell height, so the em is h × upem
// / (winAscent + winDescent), h ÷ 1.076 for IPA Gothic, and the baseline lies winAscent below the
// top of the cell. Texts are placed glyph by glyph in the text's own frame (x along the baseline
// from the top-left corner of the first cell, y down across the cells), each origin rounded to a
// whole picture pixel from the exact running advance: at one picture pixel per device pixel every
// glyph stands on a whole pixel, and a picture stretched small keeps its texts as long as the
// picture says, since no advance is rounded at the small size.
//
// The vertical face lays full-width characters upright along the escapement: each is the glyph of
// its vertical form (HarfBuzz in top-to-bottom direction applies the font's vert and vrt2
// substitutions and gives its vertical advance), turned a quarter counter-clockwise in the text's
// frame and centred across the cell. Half-width characters lie along the baseline as in the
// horizontal face.
#pragma once

#include "plot/Canvas.h"

#include <QPainterPath>
#include <QPointF>
#include <QRawFont>

#include <cstdint>
#include <string_view>
#include <vector>

namespace zelkova::plot {

// One glyph of a text placed in the text's frame, in picture pixels.
struct PlacedGlyph {
    quint32 index = 0;
    bool turned = false; // drawn a quarter counter-clockwise: x' = y, y' = −x
    QPointF origin;      // the glyph's own origin (on its baseline)
};

// The glyphs of `op` in its frame. `fontScale` receives picture pixels per font unit.
void placeGlyphs(const TextOp& op, std::vector<PlacedGlyph>& out, double& fontScale);

// The outline of glyph `index` in font units (y down, origin on the baseline).
const QPainterPath& glyphOutline(quint32 index);

// The linear map that turns a glyph a quarter counter-clockwise (picture y down).
inline constexpr double kTurnM11 = 0, kTurnM12 = -1, kTurnM21 = 1, kTurnM22 = 0;

// The face's units per em (2048 for IPA Gothic).
double fontUnitsPerEm();

} // namespace zelkova::plot
