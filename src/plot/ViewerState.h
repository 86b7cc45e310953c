// The plot viewer's state, shared by drawing, navigation, output and the settings: the view
// rectangle, the magnification, the step sizes, the colour and layer modes, the nine pens and the
// scale. One instance lives in the viewer window; the batch tool builds its own.
#pragma once

#include "plot/Colour.h"
#include "plot/Picture.h"

#include <array>
#include <cstdint>
#include <string>

namespace zelkova::plot {

// The pen panel's defaults, pens 1 to 9: the swatch colour and the width edit's text.
struct PenDefault {
    Colour colour;
    const char* widthText;
};
inline constexpr std::array<PenDefault, 9> kPenDefaults{{
    {Colour::fromRgb(0, 0, 0), "2"},       // clBlack
    {Colour::fromRgb(0, 255, 255), "3"},   // clAqua
    {Colour::fromRgb(255, 0, 0), "3"},     // clRed
    {Colour::fromRgb(0, 0, 255), "3"},     // clBlue
    {Colour{33023}, "3"},                  // orange, $000080FF
    {Colour::fromRgb(0, 128, 0), "3"},     // clGreen
    {Colour::fromRgb(255, 0, 255), "3"},   // clFuchsia
    {Colour::fromRgb(128, 128, 128), "3"}, // clGray
    {kNoColour, "3"},                      // clNone
}};

// The step sizes the viewer starts with.
inline constexpr double kDefaultMoveFraction = 0.2;
inline constexpr double kDefaultZoomStep = 1.414;

// A point of the view image, in its pixels.
struct ViewPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
    friend constexpr bool operator==(ViewPoint, ViewPoint) = default;
};

struct ViewerState {
    ViewRect viewRect;        // where the whole picture frame is shown, view-image pixels
    double magnification = 1; // 1 is "100%"
    double moveFraction = kDefaultMoveFraction;
    double zoomStep = kDefaultZoomStep;
    bool colourMode = true;                    // false: monochrome display
    bool layerMode = true;                     // true: a new figure for each layer
    std::array<std::string, 9> penColourNames; // as the name labels show them
    double scaleDenominator = 1;               // N of the scale 1/N, as the scale panel last accepted it
    bool selectionFlag = false;                // a selection frame is left on the view image
    ViewPoint pressPoint;                      // where the last press on the view image happened:
                                               // one corner of the selection frame
    ViewPoint currentPoint;                    // where the mouse was at the last move of that press:
                                               // the opposite corner

    ViewerState();
};

} // namespace zelkova::plot
