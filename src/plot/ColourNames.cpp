// The colour name table.
#include "plot/ColourNames.h"

#include "text/Numbers.h"

#include <array>
#include <cstdio>

namespace zelkova::plot {

namespace {
struct NamedColour {
    const char* name;
    std::uint32_t value;
};

constexpr std::uint32_t rgb(std::uint32_t r, std::uint32_t g, std::uint32_t b) {
    return r | g << 8 | b << 16;
}
constexpr std::uint32_t system(std::uint32_t index) {
    return kSystemColourFlag | index;
}

constexpr std::array<NamedColour, 42> kNames{{
    {"clBlack", rgb(0, 0, 0)},        {"clMaroon", rgb(128, 0, 0)},     {"clGreen", rgb(0, 128, 0)},
    {"clOlive", rgb(128, 128, 0)},    {"clNavy", rgb(0, 0, 128)},       {"clPurple", rgb(128, 0, 128)},
    {"clTeal", rgb(0, 128, 128)},     {"clGray", rgb(128, 128, 128)},   {"clSilver", rgb(192, 192, 192)},
    {"clRed", rgb(255, 0, 0)},        {"clLime", rgb(0, 255, 0)},       {"clYellow", rgb(255, 255, 0)},
    {"clBlue", rgb(0, 0, 255)},       {"clFuchsia", rgb(255, 0, 255)},  {"clAqua", rgb(0, 255, 255)},
    {"clWhite", rgb(255, 255, 255)},  {"clScrollBar", system(0)},       {"clBackground", system(1)},
    {"clActiveCaption", system(2)},   {"clInactiveCaption", system(3)}, {"clMenu", system(4)},
    {"clWindow", system(5)},          {"clWindowFrame", system(6)},     {"clMenuText", system(7)},
    {"clWindowText", system(8)},      {"clCaptionText", system(9)},     {"clActiveBorder", system(10)},
    {"clInactiveBorder", system(11)}, {"clAppWorkSpace", system(12)},   {"clHighlight", system(13)},
    {"clHighlightText", system(14)},  {"clBtnFace", system(15)},        {"clBtnShadow", system(16)},
    {"clGrayText", system(17)},       {"clBtnText", system(18)},        {"clInactiveCaptionText", system(19)},
    {"clBtnHighlight", system(20)},   {"cl3DDkShadow", system(21)},     {"cl3DLight", system(22)},
    {"clInfoText", system(23)},       {"clInfoBk", system(24)},         {"clNone", platform::kNoColourValue},
}};

bool sameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}
} // namespace

std::string colourName(Colour colour) {
    for (const NamedColour& entry : kNames)
        if (entry.value == colour.value)
            return entry.name;
    char text[16];
    std::snprintf(text, sizeof text, "$%08X", static_cast<unsigned>(colour.value));
    return text;
}

std::optional<Colour> colourFromName(std::string_view name) {
    for (const NamedColour& entry : kNames)
        if (sameIgnoringCase(entry.name, name))
            return Colour{entry.value};
    if (auto value = text::parseInteger(name))
        return Colour{static_cast<std::uint32_t>(*value)};
    return std::nullopt;
}

const SystemColourTable& classicSystemColours() {
    static constexpr SystemColourTable kClassic{{
        {rgb(212, 208, 200)}, {rgb(58, 110, 165)},  {rgb(10, 36, 106)},   {rgb(128, 128, 128)},
        {rgb(212, 208, 200)}, {rgb(255, 255, 255)}, {rgb(0, 0, 0)},       {rgb(0, 0, 0)},
        {rgb(0, 0, 0)},       {rgb(255, 255, 255)}, {rgb(212, 208, 200)}, {rgb(212, 208, 200)},
        {rgb(128, 128, 128)}, {rgb(10, 36, 106)},   {rgb(255, 255, 255)}, {rgb(212, 208, 200)},
        {rgb(128, 128, 128)}, {rgb(128, 128, 128)}, {rgb(0, 0, 0)},       {rgb(212, 208, 200)},
        {rgb(255, 255, 255)}, {rgb(64, 64, 64)},    {rgb(212, 208, 200)}, {rgb(0, 0, 0)},
        {rgb(255, 255, 225)},
    }};
    return kClassic;
}

Colour drawableColour(Colour colour, const SystemColourTable& systemColours) {
    if (colour == kNoColour)
        return colour;
    if (platform::isSystemColour(colour.value)) {
        // As the desktop looks it up: by the low byte.
        const std::uint32_t index = colour.value & 0xFFu;
        return index < systemColours.size() ? systemColours[index] : Colour{0};
    }
    return Colour{colour.value & 0xFFFFFFu};
}

} // namespace zelkova::plot
