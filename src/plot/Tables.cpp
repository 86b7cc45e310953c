// The plot file's tables.
#include "plot/Tables.h"

#include <array>

namespace zelkova::plot {

namespace {
constexpr std::array<Colour, 16> kIndexedColours{
    Colour::fromRgb(0, 0, 0),       Colour::fromRgb(128, 0, 0),     Colour::fromRgb(0, 128, 0),
    Colour::fromRgb(128, 128, 0),   Colour::fromRgb(0, 0, 128),     Colour::fromRgb(128, 0, 128),
    Colour::fromRgb(0, 128, 128),   Colour::fromRgb(128, 128, 128), Colour::fromRgb(192, 192, 192),
    Colour::fromRgb(255, 0, 0),     Colour::fromRgb(0, 255, 0),     Colour::fromRgb(255, 255, 0),
    Colour::fromRgb(0, 0, 255),     Colour::fromRgb(255, 0, 255),   Colour::fromRgb(0, 255, 255),
    Colour::fromRgb(255, 255, 255),
};
} // namespace

std::optional<Colour> colourOfIndex(std::int32_t index) {
    if (index == 0)
        return kNoColour;
    if (index >= 1 && index <= 16)
        return kIndexedColours[static_cast<std::size_t>(index - 1)];
    return std::nullopt;
}

std::optional<FillPattern> fillPatternOfIndex(std::int32_t index) {
    if (index < 0 || index > 7)
        return std::nullopt;
    return static_cast<FillPattern>(index);
}

std::optional<LineStyle> lineStyleOfType(std::int32_t type) {
    switch (type) {
    case 1:
        return LineStyle::Solid;
    case 2:
    case 3:
        return LineStyle::Dotted;
    case 4:
        return LineStyle::Dashed;
    case 5:
    case 6:
        return LineStyle::DashDot;
    case 7:
    case 8:
        return LineStyle::DashDotDot;
    case 9:
        return LineStyle::Invisible;
    default:
        return std::nullopt;
    }
}

std::optional<double> textSizeMm(std::int32_t size) {
    static constexpr std::array<double, 10> kSizes{2.0, 2.5, 3.0, 4.0, 5.0, 6.0, 7.0, 8.0, 9.0, 10.0};
    if (size < 1 || size > 10)
        return std::nullopt;
    return kSizes[static_cast<std::size_t>(size - 1)];
}

std::optional<RasterMode> rasterModeOfNumber(std::int32_t number) {
    if (number < 1 || number > 16)
        return std::nullopt;
    return static_cast<RasterMode>(number);
}

} // namespace zelkova::plot
