// A file's bytes as the editor shows them and back. The text area holds lines separated by "\n";
// lines that an edit changed are saved with the file's prevailing line end, and every other line
// with the bytes it was loaded from (LoadedLines).
//
// A Ctrl-Z byte ends the text, as every reader of the system sees it (the runner and the listing
// printer stop there too, so the lines shown are the lines they read). What follows it is kept and
// written back after the text, so saving never drops it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zelkova::editor {

enum class LineEnd { CrLf, Lf, Cr };

struct DocumentText {
    std::string lines;               // code page 932 bytes, every line end turned into "\n"
    std::string tail;                // from the first Ctrl-Z on, as it stood in the file
    LineEnd lineEnd = LineEnd::CrLf; // the convention the file is saved with after an edit
};

// Splits a file's bytes at CR LF, a lone CR and a lone LF, up to a Ctrl-Z.
DocumentText documentTextOf(std::string_view fileBytes);

// The line end most lines of `text` (before any Ctrl-Z) end with. A tie prefers CR LF, then LF; a
// text without any line end gets CR LF, as a new document does.
LineEnd prevailingLineEnd(std::string_view text);

// The bytes to save: `lines` ("\n"-separated, code page 932) with each "\n" written as `lineEnd`,
// then `tail`.
std::string fileBytesOf(std::string_view lines, LineEnd lineEnd, std::string_view tail);

} // namespace zelkova::editor
