// The fuzz target of listing pagination: the input's first two bytes pick K (1 to 160 characters
// a line) and L (1 to 100 lines a page), the rest is a listing. Checked on every input:
// - pages never go down, each new page is the one after the last, and no line is drawn below the
//   page's last line;
// - the pieces of a line put back together are the line's text, each at most K + 1 bytes, and a
//   piece never ends inside a double-byte character;
// - every line gets a page, the same one a plain model of the carriage-control rule gives it, and
//   the counting pass over the file records exactly those pages and the model's total.
#include "listing/Counting.h"
#include "listing/Paginator.h"
#include "text/Lines.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace zelkova::listing;

void check(bool condition) {
    if (!condition)
        std::abort();
}

bool isLead(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// The carriage-control rule, written out plainly: the page of each line before it takes effect,
// and the final page counter.
struct Model {
    Model(int k, int l) : chars(static_cast<std::size_t>(k)), lines(l) {}

    void advance() {
        if (++used >= lines) {
            ++page;
            used = 0;
        }
    }
    void layOut(std::string_view s) {
        do {
            std::size_t cut = 0; // whole characters, at least K bytes where the text has them
            while (cut < chars && cut < s.size())
                cut += isLead(static_cast<unsigned char>(s[cut])) && cut + 1 < s.size() ? 2 : 1;
            s.remove_prefix(cut);
            advance();
        } while (!s.empty());
    }
    void handle(std::string_view line) {
        pages.push_back(page);
        if (line.empty()) {
            advance();
        } else if (line[0] == '1') {
            if (used > 0)
                ++page;
            used = 0;
            if (line.size() > 1)
                layOut(line.substr(1));
        } else if (line[0] == '0') {
            advance();
            layOut(line.substr(1));
        } else {
            layOut(line);
        }
    }

    std::size_t chars;
    int lines;
    std::int32_t page = 1;
    int used = 0;
    std::vector<std::int32_t> pages;
};

class CheckingOutput final : public PageOutput {
public:
    CheckingOutput(std::size_t chars, int lines) : m_chars(chars), m_lines(lines) {}

    bool pageBegins(std::int32_t page) override {
        check(page == m_page + 1);
        m_page = page;
        return true;
    }
    void piece(std::int32_t page, int linesUsed, std::string_view bytes) override {
        check(page == m_page && linesUsed >= 0 && linesUsed < m_lines);
        check(bytes.size() <= m_chars + 1);
        pieces += bytes;
        ends.push_back(pieces.size());
    }

    std::string pieces;            // of the current line
    std::vector<std::size_t> ends; // where each piece of it ends
    std::int32_t m_page = 1;

private:
    std::size_t m_chars;
    int m_lines;
};

// The text a line lays out: all of it, or what follows its '1' or '0'.
std::string_view laidOut(std::string_view line) {
    return !line.empty() && (line[0] == '1' || line[0] == '0') ? line.substr(1) : line;
}

// True when `cut` bytes of `text` end on a character boundary, walking from its start.
bool onBoundary(std::string_view text, std::size_t cut) {
    std::size_t at = 0;
    while (at < cut)
        at += isLead(static_cast<unsigned char>(text[at])) && at + 1 < text.size() ? 2 : 1;
    return at == cut;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2)
        return 0;
    const LineSettings settings{1 + data[0] % 160, 1 + data[1] % 100};
    const std::string_view listing(reinterpret_cast<const char*>(data) + 2, size - 2);
    const std::vector<std::string_view> lines = zelkova::text::splitLines(listing);

    Model model(settings.chars, settings.lines);
    CheckingOutput output(static_cast<std::size_t>(settings.chars), settings.lines);
    Paginator paginator(settings, &output);
    for (const std::string_view line : lines) {
        const std::int32_t before = paginator.page();
        model.handle(line);
        check(before == model.pages.back());
        output.pieces.clear();
        output.ends.clear();
        check(paginator.handleLine(line));
        check(paginator.page() >= before && paginator.page() == model.page);
        const std::string_view text = laidOut(line);
        check(output.pieces == text);
        for (const std::size_t end : output.ends)
            check(onBoundary(text, end));
    }

    // The counting pass over the same listing as a file.
    if (!listing.empty()) {
        std::FILE* file = ::fmemopen(const_cast<char*>(listing.data()), listing.size(), "rb");
        check(file != nullptr);
        ListingPageTable table;
        const PageCount count = countPages(file, settings, table);
        std::fclose(file);
        check(count.lines == lines.size() && count.pages == model.page);
        for (std::size_t i = 0; i < lines.size(); ++i)
            check(table.pageOf(i) == model.pages[i]);
    }
    return 0;
}
