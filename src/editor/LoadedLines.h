// The file a document was loaded from, line by line with each line's own bytes and line end, and
// which line of the text area descends from which loaded line. Saving writes every line the user
// did not change with the bytes it was loaded from, its own line end included; only the lines an
// edit changed are encoded afresh (a character with two codes then takes the code Windows writes)
// and end with the file's prevailing line end.
//
// A line counts as unchanged when its text is still the text its loaded line decodes to. Which
// loaded line a text-area line descends from is followed edit by edit (linesReplaced); at saving,
// the lines whose origin was lost in an edit of several lines (an undone deletion, for one) are
// matched again where the lines around them leave no doubt.
#pragma once

#include "editor/DocumentText.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zelkova::editor {

class LoadedLines {
public:
    // A new document: one empty line, saved with CR LF.
    LoadedLines();
    explicit LoadedLines(std::string_view fileBytes);

    // The text for the text area: the lines in code page 932 separated by "\n", up to a Ctrl-Z.
    // Handed over once; the text area keeps it from then on.
    std::string takeText() { return std::move(m_text); }
    LineEnd lineEnd() const { return m_lineEnd; }
    // The lines of the text area followed: as many as the text has, until edits change the count.
    std::size_t lineCount() const { return m_origins.size(); }

    // An edit replaced `removed` lines of the text area, from line `first` on, with `added` lines;
    // an edit within one line replaces that line with itself (1 and 1). `textOf(i)` is line i of
    // the text area after the edit.
    void linesReplaced(std::size_t first, std::size_t removed, std::size_t added,
                       const std::function<std::u16string(std::size_t)>& textOf);

    // The bytes to save for the text area's `lines`: unchanged lines as loaded, the others
    // encoded afresh, then what followed the Ctrl-Z.
    std::string fileBytes(const std::vector<std::u16string>& lines) const;

private:
    struct Line {
        std::size_t begin = 0;  // offset in m_bytes
        std::size_t length = 0; // bytes before the line end
        std::size_t endLength = 0;
    };
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

    std::string_view bytesOf(std::size_t line) const;
    std::string_view endOf(std::size_t line) const;
    bool hasText(std::size_t line, std::u16string_view text) const;
    std::vector<std::size_t> matchLines(const std::vector<std::u16string>& lines) const;

    std::string m_bytes; // the whole file
    std::string m_text;
    std::size_t m_tailBegin = 0;
    LineEnd m_lineEnd = LineEnd::CrLf;
    std::vector<Line> m_lines;
    std::vector<std::size_t> m_origins; // per text-area line: its loaded line, or kNone
};

} // namespace zelkova::editor
