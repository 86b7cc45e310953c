// Listings made up for tests.
#pragma once

#include <string>

namespace zelkova::testing {

// A listing of `pages` pages of 60 lines, each page opened by '1', lines "P<page>L<line>", CR LF.
inline std::string listingOfPages(int pages) {
    std::string out;
    for (int p = 1; p <= pages; ++p)
        for (int l = 1; l <= 60; ++l)
            out += (l == 1 ? "1" : " ") + ("P" + std::to_string(p) + "L" + std::to_string(l)) + "\r\n";
    return out;
}

} // namespace zelkova::testing
