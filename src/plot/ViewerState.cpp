// The viewer state's start values.
#include "plot/ViewerState.h"

#include "plot/ColourNames.h"
#include "plot/Renderer.h"

namespace zelkova::plot {

ViewerState::ViewerState() {
    for (std::size_t n = 0; n < kPenDefaults.size(); ++n)
        penColourNames[n] = colourName(kPenDefaults[n].colour);
}

FigureSettings::FigureSettings() {
    for (std::size_t n = 0; n < kPenDefaults.size(); ++n) {
        penWidthTexts[n] = kPenDefaults[n].widthText;
        penColourNames[n] = colourName(kPenDefaults[n].colour);
    }
}

} // namespace zelkova::plot
