// The pagination rule: how the lines of a listing, by the carriage-control character in column 1,
// fill listing pages of L lines of at most K bytes. The counting pass and the printing pass share
// it; the printing pass adds its output through a PageOutput.
#pragma once

#include "listing/PageLayout.h"

#include <cstdint>
#include <string_view>

namespace zelkova::listing {

// What the printing pass adds to the rule. The counting pass has none.
class PageOutput {
public:
    virtual ~PageOutput();
    // Listing page `page` begins after a full page or a '1'. False ends the pass.
    virtual bool pageBegins(std::int32_t page) = 0;
    // A piece of a line (code page 932 bytes, possibly empty) on listing page `page`, with
    // `linesUsed` lines of that page above it.
    virtual void piece(std::int32_t page, int linesUsed, std::string_view bytes) = 0;
};

// The page counter stops at the largest 32-bit page number: a listing of more than 2^31 - 1 pages
// (over two thousand million lines) puts all its further lines on that last page, instead of
// counting on into negative numbers.
class Paginator {
public:
    // `settings` must have passed settingsProblems (K and L at least 1).
    explicit Paginator(const LineSettings& settings, PageOutput* output = nullptr);

    // Handles one line of the file (without its line end). Returns false once the pass has ended;
    // only an output ends a pass.
    bool handleLine(std::string_view line);

    // Back to the start of a file: no lines used, on page `page` (1 for a listing; a later page
    // continues a count, as tests near the counter's limit do).
    void restart(std::int32_t page = 1);

    std::int32_t page() const { return m_page; }
    int linesUsed() const { return m_linesUsed; }
    bool ended() const { return m_ended; }

private:
    bool advance();
    bool newPage();
    bool layOut(std::string_view text);

    LineSettings m_settings;
    PageOutput* m_output;
    std::int32_t m_page = 1;
    int m_linesUsed = 0;
    bool m_ended = false;
};

} // namespace zelkova::listing
