// The Japanese fixed-pitch face. On Linux "ＭＳ ゴシック" (and its vertical form and Latin name)
// maps to IPA Gothic; left alone, fontconfig would give a proportional Latin face.
#pragma once

#include <QFont>

namespace zelkova::platform {

inline constexpr const char* kJapaneseFixedFace = "ＭＳ ゴシック";
inline constexpr const char* kJapaneseVerticalFace = "@ＭＳ ゴシック";

// Maps "ＭＳ ゴシック", "@ＭＳ ゴシック" and "MS Gothic" to IPA Gothic. Call once at start-up.
void installFontSubstitutions();

// A GDI cell height in pixels as a Qt pixel size for IPA Gothic, whose cell is 1.076 em high.
int pixelSizeForCellHeight(int cellHeight);

// "ＭＳ ゴシック", fixed pitch, with the given GDI cell height in pixels.
QFont japaneseFixedFont(int cellHeight);

} // namespace zelkova::platform
