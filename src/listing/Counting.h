// The counting pass: paginates a listing file without output and records the listing page of
// every line in the listing page table.
#pragma once

#include "listing/PageLayout.h"
#include "listing/PageTable.h"

#include <cstdint>
#include <cstdio>
#include <string>

namespace zelkova::listing {

struct PageCount {
    std::int32_t pages = 1; // N, the final page counter
    std::size_t lines = 0;  // lines read
};

// Reads the whole file (native name) by the pagination rule and records, for each line i, the page
// on which line i stands before its own first character takes effect. The table changes only when
// the whole file has been read: a file that fails half-way leaves it as it was. Throws
// text::Failure when the file cannot be opened or read.
PageCount countPages(const std::string& fileName, const LineSettings& settings, ListingPageTable& table);

// The same over an open file, from its current position; the file stays the caller's.
PageCount countPages(std::FILE* file, const LineSettings& settings, ListingPageTable& table);

} // namespace zelkova::listing
