// The pagination rule.
#include "listing/Paginator.h"

#include "text/Dbcs.h"

#include <cassert>
#include <limits>

namespace zelkova::listing {

PageOutput::~PageOutput() = default;

Paginator::Paginator(const LineSettings& settings, PageOutput* output)
    : m_settings(settings), m_output(output) {
    assert(settings.chars >= 1 && settings.lines >= 1 &&
           "a piece must shorten the line; a page must hold a line");
}

void Paginator::restart(std::int32_t page) {
    m_page = page;
    m_linesUsed = 0;
    m_ended = false;
}

// A page that becomes full begins the next page at once, so a file whose last page is exactly full
// counts one page more.
bool Paginator::advance() {
    ++m_linesUsed;
    if (m_linesUsed >= m_settings.lines)
        return newPage();
    return true;
}

bool Paginator::newPage() {
    if (m_page < std::numeric_limits<std::int32_t>::max())
        ++m_page;
    if (m_output && !m_output->pageBegins(m_page)) {
        m_ended = true;
        return false;
    }
    m_linesUsed = 0;
    return true;
}

// At least one piece, so empty text still takes a line. A piece is K bytes, or K + 1 when byte K
// is the lead byte of a double-byte character: the boundary is found by walking the characters, so
// a trail byte in the lead-byte range is never taken for a lead byte.
bool Paginator::layOut(std::string_view text) {
    const auto k = static_cast<std::size_t>(m_settings.chars);
    do {
        const std::size_t length = text::pieceLength(text, k);
        if (m_output)
            m_output->piece(m_page, m_linesUsed, text.substr(0, length));
        text.remove_prefix(length);
        if (!advance())
            return false;
    } while (!text.empty());
    return true;
}

bool Paginator::handleLine(std::string_view line) {
    if (m_ended)
        return false;
    if (line.empty())
        return advance();
    switch (line.front()) {
    case '1':
        // A '1' at the top of a page (the first line of the file included) leaves no empty page.
        if (m_linesUsed > 0 && !newPage())
            return false;
        m_linesUsed = 0;
        if (line.size() == 1)
            return true;
        return layOut(line.substr(1));
    case '0':
        if (!advance())
            return false;
        return layOut(line.substr(1));
    default:
        // Blank, '+', letters, other digits, double-byte characters: all printed as they stand.
        return layOut(line);
    }
}

} // namespace zelkova::listing
