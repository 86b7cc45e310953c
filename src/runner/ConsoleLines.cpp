// Console output into rows of code-page-932 bytes.
#include "runner/ConsoleLines.h"

#include "text/Dbcs.h"

#include <algorithm>

namespace zelkova::runner {

namespace {

constexpr char kEscape = 0x1B;
constexpr std::size_t kTabWidth = 8;

constexpr bool isTrailByte(unsigned char b) {
    return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC);
}

// The start of the character that covers column `at` of `row` (walking from the row's start, so a
// trail byte never passes for a lead byte).
std::size_t characterStart(std::string_view row, std::size_t at) {
    std::size_t i = 0;
    while (i < row.size()) {
        const std::size_t length = text::charLengthAt(row, i);
        if (i + length > at)
            return i;
        i += length;
    }
    return i;
}

} // namespace

ConsoleLines::ConsoleLines(std::size_t columns) : m_columns(std::max<std::size_t>(columns, 2)) {}

void ConsoleLines::startRow(std::vector<std::string>& completed) {
    completed.push_back(std::move(m_row));
    m_row.clear();
    m_column = 0;
}

void ConsoleLines::put(std::string_view character, std::vector<std::string>& completed) {
    const std::size_t width = character.size();
    if (m_column + width > m_columns)
        startRow(completed);
    if (m_row.size() < m_column)
        m_row.append(m_column - m_row.size(), ' ');
    // Half of a double-byte character that this one overwrites becomes a blank, as on a console.
    if (m_column < m_row.size()) {
        const std::size_t first = characterStart(m_row, m_column);
        if (first < m_column)
            m_row[first] = ' ';
        const std::size_t end = m_column + width;
        if (end < m_row.size()) {
            const std::size_t last = characterStart(m_row, end - 1);
            if (last + text::charLengthAt(m_row, last) > end)
                m_row[end] = ' ';
        }
    }
    m_row.replace(m_column, std::min(width, m_row.size() - m_column), character);
    m_column += width;
}

void ConsoleLines::write(std::string_view bytes, std::vector<std::string>& completed) {
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (m_escape == Escape::Start) {
            // ESC [ opens a control sequence; any other byte ends a two-byte escape.
            m_escape = c == '[' ? Escape::ControlSequence : Escape::None;
            continue;
        }
        if (m_escape == Escape::ControlSequence) {
            if (b >= 0x40 && b <= 0x7E)
                m_escape = Escape::None;
            continue;
        }
        if (m_hasLead) {
            m_hasLead = false;
            if (isTrailByte(b)) {
                const char pair[] = {m_lead, c};
                put(std::string_view(pair, 2), completed);
                continue;
            }
            // A lead byte without its trail byte stands for nothing that could be shown.
            put("?", completed);
        }
        if (c == kEscape) {
            m_escape = Escape::Start;
        } else if (c == '\r') {
            m_column = 0;
        } else if (c == '\n') {
            startRow(completed);
        } else if (c == '\b') {
            if (m_column > 0)
                --m_column;
        } else if (c == '\t') {
            const std::size_t next = std::min((m_column / kTabWidth + 1) * kTabWidth, m_columns);
            if (m_row.size() < next)
                m_row.append(next - m_row.size(), ' ');
            m_column = std::max(m_column, next);
        } else if (b < 0x20 || b == 0x7F) {
            // The bell and the other control characters show nothing.
        } else if (text::isLeadByte(b)) {
            m_lead = c;
            m_hasLead = true;
        } else {
            put(std::string_view(&c, 1), completed);
        }
    }
}

} // namespace zelkova::runner
