// Colour values at the edge to Qt. A QColor holds neither a system colour nor "no colour", so the
// conversion lives here, with the one table saying which palette entry shows each system colour
// in the desktop's current colours.
#pragma once

#include "platform/ColourValue.h"

#include <QColor>
#include <QPalette>

#include <array>
#include <optional>

namespace zelkova::platform {

struct PaletteEntry {
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

// The palette entry of system colour 0 to 24 (scroll bar, desktop, active caption, ...).
const std::array<PaletteEntry, kSystemColourCount>& systemColourEntries();

// How `value` looks now: system colours in `palette`'s colours (an index beyond the table is black),
// other values by their red, green and blue. Nothing for the no-colour value.
std::optional<QColor> shownColour(ColourValue value, const QPalette& palette);

// A plain colour's value (red, green, blue; the alpha channel is dropped).
ColourValue colourValueOf(const QColor& colour);

} // namespace zelkova::platform
