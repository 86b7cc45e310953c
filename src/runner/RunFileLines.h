// The lines of a run file: what column 1 makes of a line, and how the quoted file names are taken
// out of READ, WRITE and program lines. Everything here works on code-page-932 bytes.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zelkova::runner {

// Only bytes up to and including this column (counted from 1) belong to an actual file name or
// a program path.
inline constexpr std::size_t kValueLastColumn = 254;

enum class LineKind {
    Empty,        // nothing at all on the line
    CommentStart, // "{" in column 1: this line and the following ones up to a "}" line are comments
    CommentEnd,   // "}" in column 1: ends a comment block; itself a comment
    Read,         // "R" or "r"
    Write,        // "W" or "w"
    Program,      // "P" or "p"
    Comment,      // any other first character, a blank included
};

// The kind of `line` by its first byte alone, ignoring comment blocks.
LineKind kindOf(std::string_view line);

// Follows comment blocks through the lines of a run file, one line at a time.
class CommentBlocks {
public:
    // The kind the runner acts on: Read, Write or Program outside a block, Empty for an empty
    // line, Comment for everything else (the brace lines included).
    LineKind classify(std::string_view line);
    bool inBlock() const { return m_inBlock; }

private:
    bool m_inBlock = false;
};

// The value of a quoted name: `text` trimmed of leading and trailing bytes below 0x21 must begin
// with an apostrophe; the value runs to the next single apostrophe, two apostrophes standing for
// one. Without a leading apostrophe the value is empty; without a closing one it is the rest of
// the text less its last character.
std::string quotedValue(std::string_view text);

// The names of a READ or WRITE line, still in code page 932.
struct Binding {
    std::string unitName;   // between the line's first blank and its first "="
    std::string actualName; // after the first "=", up to column 254
};
Binding bindingOf(std::string_view line);

// The program path of a program line: after the line's first blank, up to column 254.
std::string programPathOf(std::string_view line);

} // namespace zelkova::runner
