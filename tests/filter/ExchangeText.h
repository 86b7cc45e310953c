// Exchange-file texts for the filter's tests: lines joined with CR LF, and the 8 header lines the
// CAD program writes at the top of every exchange file.
#pragma once

#include <string>
#include <vector>

namespace zelkova::testing {

inline std::string crlfLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    return text;
}

inline std::vector<std::string> exchangeHeader() {
    return {"hq",          "hk 0",      "hs 100 100 100 100", "hcw 2 2.5 3",
            "hch 2 2.5 3", "hcd 0 0 0", "hcc 6 6 6",          "hn 0 0 1 1"};
}

// Numbered lines "L1" to "Ln", with `replaced` lines put in at their numbers (from 1).
inline std::vector<std::string> numberedLines(int count,
                                              const std::vector<std::pair<int, std::string>>& replaced = {}) {
    std::vector<std::string> lines;
    for (int i = 1; i <= count; ++i)
        lines.push_back("L" + std::to_string(i));
    for (const auto& [number, text] : replaced)
        lines[static_cast<std::size_t>(number - 1)] = text;
    return lines;
}

} // namespace zelkova::testing
