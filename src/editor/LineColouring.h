// Which lines of a run file are shown black and which blue: the lines the runner acts on are black,
// comments blue. A comment block runs from a "{" line in column 1 up to and including the next "}"
// line; inside it every non-empty line is blue, whatever letter it begins with.
#pragma once

#include <cstddef>
#include <vector>

namespace zelkova::editor {

enum class LineColour {
    Unchanged, // an empty line: nothing to colour, and it neither opens nor closes a block
    Black,
    Blue,
};

// The colour of every line, from the first character of each (0 for an empty line).
std::vector<LineColour> colourLines(const std::vector<char32_t>& firstCharacters);

// The number of lines of a text area holding `blockCount` blocks: a last empty block after the
// final line end is no line of its own ("a\n" is one line, "" none).
std::size_t lineCountOf(std::size_t blockCount, bool lastBlockEmpty);

// Run-file detection examines a document only while it has fewer than 200 lines.
bool isExaminedForRunFile(std::size_t lineCount);

} // namespace zelkova::editor
