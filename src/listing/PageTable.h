// The listing page table and the count-only request: owned by the editor side for the whole run,
// written only by the listing printer's counting pass, read by the editor's page indicator.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zelkova::listing {

class ListingPageTable {
public:
    static constexpr std::size_t kInitialLines = 50001;

    // The page recorded for line `line` (from 0); 0 for a line no count has reached.
    std::int32_t pageOf(std::size_t line) const { return line < m_pages.size() ? m_pages[line] : 0; }

    // Records `page` for `line`; the table grows for files of more than 50,001 lines. Entries
    // past the last line of a count keep the values of an earlier, longer count.
    void record(std::size_t line, std::int32_t page) {
        if (line >= m_pages.size())
            m_pages.resize(line + 1 + line / 2, 0);
        m_pages[line] = page;
    }

    std::size_t size() const { return m_pages.size(); }

    // The one-shot flag that makes the next pagination count only.
    bool countOnlyRequest = false;

private:
    std::vector<std::int32_t> m_pages = std::vector<std::int32_t>(kInitialLines, 0);
};

} // namespace zelkova::listing
