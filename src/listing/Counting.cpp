// The counting pass.
#include "listing/Counting.h"

#include "listing/Paginator.h"
#include "text/Files.h"
#include "text/Lines.h"

#include <vector>

namespace zelkova::listing {

PageCount countPages(std::FILE* file, const LineSettings& settings, ListingPageTable& table) {
    Paginator paginator(settings);
    text::LineReader reader(file);
    std::vector<std::int32_t> pages;
    pages.reserve(ListingPageTable::kInitialLines);
    std::string line;
    while (reader.next(line)) {
        pages.push_back(paginator.page());
        (void)paginator.handleLine(line);
    }
    for (std::size_t i = 0; i < pages.size(); ++i)
        table.record(i, pages[i]);
    return PageCount{paginator.page(), pages.size()};
}

PageCount countPages(const std::string& fileName, const LineSettings& settings, ListingPageTable& table) {
    const text::InputFile file = text::openInputFile(fileName);
    return countPages(file.get(), settings, table);
}

} // namespace zelkova::listing
