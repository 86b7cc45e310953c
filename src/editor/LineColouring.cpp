// Run-file line colours, block state carried from line to line.
#include "editor/LineColouring.h"

#include "runner/RunFileDetection.h"

namespace zelkova::editor {

std::vector<LineColour> colourLines(const std::vector<char32_t>& firstCharacters) {
    std::vector<LineColour> colours;
    colours.reserve(firstCharacters.size());
    bool inBlock = false;
    for (const char32_t first : firstCharacters) {
        if (first == 0) {
            colours.push_back(LineColour::Unchanged);
            continue;
        }
        if (inBlock) {
            // Only "}" ends a block; a further "{" inside it changes nothing.
            colours.push_back(LineColour::Blue);
            if (first == U'}')
                inBlock = false;
            continue;
        }
        colours.push_back(runner::isMarkerLetter(first) ? LineColour::Black : LineColour::Blue);
        if (first == U'{')
            inBlock = true;
    }
    return colours;
}

std::size_t lineCountOf(std::size_t blockCount, bool lastBlockEmpty) {
    if (blockCount == 0)
        return 0;
    return lastBlockEmpty ? blockCount - 1 : blockCount;
}

bool isExaminedForRunFile(std::size_t lineCount) {
    return lineCount < runner::kExaminedBelowLines;
}

} // namespace zelkova::editor
