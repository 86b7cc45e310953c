// Run-file detection: a document is a run file when one of its first 101 lines begins with a
// READ, WRITE or program letter, and it is examined only while it has fewer than 200 lines.
#pragma once

#include <cstddef>
#include <functional>
#include <string_view>
#include <vector>

namespace zelkova::runner {

inline constexpr std::size_t kDetectionLines = 101;     // lines 0 to 100
inline constexpr std::size_t kExaminedBelowLines = 200; // documents of 200 lines or more are not examined

// "r", "R", "w", "W", "p", "P": the letters of READ, WRITE and program lines in column 1.
constexpr bool isMarkerLetter(char32_t c) {
    return c == 'r' || c == 'R' || c == 'w' || c == 'W' || c == 'p' || c == 'P';
}

// The detection step alone: true when one of the first 101 non-empty lines begins with a marker
// letter. `firstCharacter(i)` gives the first character of line i, or 0 for an empty line.
bool hasMarkerLine(std::size_t lineCount, const std::function<char32_t(std::size_t)>& firstCharacter);

// Detection as a freshly loaded document gets it: not examined at all from 200 lines on.
bool isRunFile(const std::vector<std::string_view>& lines);

} // namespace zelkova::runner
