// Keeping the loaded bytes of every line an edit did not change.
#include "editor/LoadedLines.h"

#include "text/Cp932.h"

#include <algorithm>

namespace zelkova::editor {

LoadedLines::LoadedLines() : LoadedLines(std::string_view()) {}

LoadedLines::LoadedLines(std::string_view fileBytes) : m_bytes(fileBytes) {
    DocumentText document = documentTextOf(fileBytes);
    m_text = std::move(document.lines);
    m_lineEnd = document.lineEnd;
    m_tailBegin = m_bytes.size() - document.tail.size();
    // The lines as documentTextOf splits them: at CR LF, a lone CR and a lone LF, up to the Ctrl-Z.
    // The last line is what follows the last line end, empty when the file ends with one.
    Line line;
    for (std::size_t i = 0; i < m_tailBegin; ++i) {
        const char c = m_bytes[i];
        if (c != '\r' && c != '\n')
            continue;
        line.length = i - line.begin;
        line.endLength = c == '\r' && i + 1 < m_tailBegin && m_bytes[i + 1] == '\n' ? 2 : 1;
        m_lines.push_back(line);
        i += line.endLength - 1;
        line = Line{i + 1, 0, 0};
    }
    line.length = m_tailBegin - line.begin;
    m_lines.push_back(line);
    m_origins.resize(m_lines.size());
    for (std::size_t i = 0; i < m_origins.size(); ++i)
        m_origins[i] = i;
}

std::string_view LoadedLines::bytesOf(std::size_t line) const {
    return std::string_view(m_bytes).substr(m_lines[line].begin, m_lines[line].length);
}

std::string_view LoadedLines::endOf(std::size_t line) const {
    return std::string_view(m_bytes).substr(m_lines[line].begin + m_lines[line].length,
                                            m_lines[line].endLength);
}

bool LoadedLines::hasText(std::size_t line, std::u16string_view text) const {
    return line < m_lines.size() && text::decodeCp932(bytesOf(line)) == text;
}

void LoadedLines::linesReplaced(std::size_t first, std::size_t removed, std::size_t added,
                                const std::function<std::u16string(std::size_t)>& textOf) {
    first = std::min(first, m_origins.size());
    removed = std::min(removed, m_origins.size() - first);
    if (removed == added)
        return; // line for line: each line keeps its origin
    // The first new line begins as the first replaced line did and the last ends as the last
    // replaced line did; what stands between is new. One line left of several is the one of the two
    // whose text it still has.
    const std::size_t head = removed > 0 ? m_origins[first] : kNone;
    const std::size_t tail = removed > 0 ? m_origins[first + removed - 1] : kNone;
    std::vector<std::size_t> window(added, kNone);
    if (added == 1) {
        const std::u16string text = textOf(first);
        window.front() = !hasText(head, text) && hasText(tail, text) ? tail : head;
    } else if (added > 1) {
        window.front() = head;
        window.back() = tail;
    }
    const auto at = m_origins.begin() + static_cast<std::ptrdiff_t>(first);
    m_origins.erase(at, at + static_cast<std::ptrdiff_t>(removed));
    m_origins.insert(m_origins.begin() + static_cast<std::ptrdiff_t>(first), window.begin(), window.end());
}

// For each text-area line, the loaded line whose bytes it is written with, or kNone. A loaded line
// serves one text-area line at most.
std::vector<std::size_t> LoadedLines::matchLines(const std::vector<std::u16string>& lines) const {
    std::vector<std::size_t> matched(lines.size(), kNone);
    std::vector<bool> used(m_lines.size(), false);
    std::vector<std::size_t> anchors;
    for (std::size_t i = 0; i < lines.size() && i < m_origins.size(); ++i) {
        const std::size_t origin = m_origins[i];
        if (origin == kNone || origin >= m_lines.size() || used[origin] || !hasText(origin, lines[i]))
            continue;
        matched[i] = origin;
        used[origin] = true;
        anchors.push_back(i);
    }
    // Between two kept lines, the lines that still read as the loaded lines between their origins,
    // counted from either end, are those loaded lines: an edit of several lines forgot them, the
    // text did not.
    auto fill = [&](std::size_t line, std::size_t lineEnd, std::size_t origin, std::size_t originEnd) {
        while (line < lineEnd && origin < originEnd && !used[origin] && hasText(origin, lines[line])) {
            matched[line++] = origin;
            used[origin++] = true;
        }
        while (line < lineEnd && origin < originEnd && !used[originEnd - 1] &&
               hasText(originEnd - 1, lines[lineEnd - 1])) {
            matched[--lineEnd] = --originEnd;
            used[originEnd] = true;
        }
    };
    std::size_t line = 0;
    std::size_t origin = 0;
    for (const std::size_t anchor : anchors) {
        if (matched[anchor] < origin)
            continue; // a line moved before its neighbours: no gap to speak of
        fill(line, anchor, origin, matched[anchor]);
        line = anchor + 1;
        origin = matched[anchor] + 1;
    }
    fill(line, lines.size(), origin, m_lines.size());
    return matched;
}

std::string LoadedLines::fileBytes(const std::vector<std::u16string>& lines) const {
    const std::vector<std::size_t> matched = matchLines(lines);
    const std::string_view lineEnd = m_lineEnd == LineEnd::CrLf ? "\r\n"
                                     : m_lineEnd == LineEnd::Lf ? "\n"
                                                                : "\r";
    std::string bytes;
    bytes.reserve(m_bytes.size() + m_bytes.size() / 16);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const bool kept = matched[i] != kNone;
        if (kept)
            bytes += bytesOf(matched[i]);
        else
            bytes += text::encodeCp932(lines[i]);
        if (i + 1 == lines.size())
            break;
        // A kept line that was the last one of the file has no line end of its own to keep.
        if (kept && !endOf(matched[i]).empty())
            bytes += endOf(matched[i]);
        else
            bytes += lineEnd;
    }
    bytes += std::string_view(m_bytes).substr(m_tailBegin);
    return bytes;
}

} // namespace zelkova::editor
