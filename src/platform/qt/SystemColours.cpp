// The palette entries that stand in for the desktop's system colours.
#include "platform/qt/SystemColours.h"

namespace zelkova::platform {

const std::array<PaletteEntry, kSystemColourCount>& systemColourEntries() {
    // Qt's palette has no desktop and no window captions: the desktop and the active caption take
    // the selection colour (the desktop's accent), an inactive caption a mid shade. Shades of
    // buttons follow Qt's ladder Light > Midlight > Button > Mid > Dark > Shadow.
    static const std::array<PaletteEntry, kSystemColourCount> kEntries{{
        {QPalette::Active, QPalette::Button},            // 0 clScrollBar
        {QPalette::Active, QPalette::Highlight},         // 1 clBackground (the desktop)
        {QPalette::Active, QPalette::Highlight},         // 2 clActiveCaption
        {QPalette::Active, QPalette::Mid},               // 3 clInactiveCaption
        {QPalette::Active, QPalette::Window},            // 4 clMenu
        {QPalette::Active, QPalette::Base},              // 5 clWindow (window and edit backgrounds)
        {QPalette::Active, QPalette::Shadow},            // 6 clWindowFrame
        {QPalette::Active, QPalette::WindowText},        // 7 clMenuText
        {QPalette::Active, QPalette::Text},              // 8 clWindowText
        {QPalette::Active, QPalette::HighlightedText},   // 9 clCaptionText
        {QPalette::Active, QPalette::Window},            // 10 clActiveBorder
        {QPalette::Inactive, QPalette::Window},          // 11 clInactiveBorder
        {QPalette::Active, QPalette::Dark},              // 12 clAppWorkSpace
        {QPalette::Active, QPalette::Highlight},         // 13 clHighlight
        {QPalette::Active, QPalette::HighlightedText},   // 14 clHighlightText
        {QPalette::Active, QPalette::Button},            // 15 clBtnFace
        {QPalette::Active, QPalette::Dark},              // 16 clBtnShadow
        {QPalette::Disabled, QPalette::WindowText},      // 17 clGrayText
        {QPalette::Active, QPalette::ButtonText},        // 18 clBtnText
        {QPalette::Inactive, QPalette::HighlightedText}, // 19 clInactiveCaptionText
        {QPalette::Active, QPalette::Light},             // 20 clBtnHighlight
        {QPalette::Active, QPalette::Shadow},            // 21 cl3DDkShadow
        {QPalette::Active, QPalette::Midlight},          // 22 cl3DLight
        {QPalette::Active, QPalette::ToolTipText},       // 23 clInfoText
        {QPalette::Active, QPalette::ToolTipBase},       // 24 clInfoBk
    }};
    return kEntries;
}

std::optional<QColor> shownColour(ColourValue value, const QPalette& palette) {
    if (value == kNoColourValue)
        return std::nullopt;
    if (isSystemColour(value)) {
        // Looked up by the low byte, as the desktop does.
        const std::size_t index = value & 0xFFu;
        if (index >= systemColourEntries().size())
            return QColor(Qt::black);
        const PaletteEntry entry = systemColourEntries()[index];
        QColor colour = palette.color(entry.group, entry.role);
        colour.setAlpha(255);
        return colour;
    }
    return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                  static_cast<int>((value >> 16) & 0xFF));
}

ColourValue colourValueOf(const QColor& colour) {
    const QColor rgb = colour.toRgb();
    return static_cast<ColourValue>(rgb.red()) | static_cast<ColourValue>(rgb.green()) << 8 |
           static_cast<ColourValue>(rgb.blue()) << 16;
}

} // namespace zelkova::platform
