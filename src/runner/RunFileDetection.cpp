// Run-file detection.
#include "runner/RunFileDetection.h"

#include <algorithm>

namespace zelkova::runner {

bool hasMarkerLine(std::size_t lineCount, const std::function<char32_t(std::size_t)>& firstCharacter) {
    const std::size_t n = std::min(lineCount, kDetectionLines);
    for (std::size_t i = 0; i < n; ++i)
        if (isMarkerLetter(firstCharacter(i)))
            return true;
    return false;
}

bool isRunFile(const std::vector<std::string_view>& lines) {
    if (lines.size() >= kExaminedBelowLines)
        return false;
    return hasMarkerLine(lines.size(), [&](std::size_t i) -> char32_t {
        return lines[i].empty() ? 0 : static_cast<unsigned char>(lines[i][0]);
    });
}

} // namespace zelkova::runner
