// The printing pass: which listing pages reach a sheet, what each sheet carries (title, page
// number, the text lines) and where, emitted as drawing steps to a sink. The Qt layer's sink draws
// them on the printer; tests record them.
#pragma once

#include "listing/PageLayout.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zelkova::listing {

// Receives the drawing steps of a print job. Coordinates are device pixels of the printable area;
// `top` is the top of the text, not its baseline.
class PrintSink {
public:
    virtual ~PrintSink();
    // The width of a label (title or page number, UTF-8) in the print font.
    virtual int labelWidth(std::string_view utf8) = 0;
    // Sheet `sheet` of the job begins (from 1; the job's first sheet needs no new page).
    virtual void beginSheet(int sheet) = 0;
    virtual void drawLabel(int x, int top, std::string_view utf8) = 0;
    // A piece of a listing line, code page 932 bytes.
    virtual void drawListing(int x, int top, std::string_view cp932) = 0;
};

struct PrintJob {
    LineSettings lines;
    std::int32_t firstPage = 1; // F, at least 1
    std::int32_t lastPage = 1;  // T, at most the page total (see resolveRange)
    // The number that listing page 1 bears; none when the page initial value is "-777".
    std::optional<std::int32_t> pageInitialValue = 1;
    int copies = 1;
    std::string title; // UTF-8
};

struct PrintSummary {
    int sheets = 0;
};

// Prints pages F to T of the file (native name) `copies` times. Each copy reads the file again
// from its first line, starts on a sheet of its own and numbers its pages as the first does, so
// every copy is the same set of sheets. Pages before F are paginated but not drawn; page F goes
// on a copy's first sheet and each later page up to T on a sheet of its own. Throws text::Failure
// when the file cannot be opened or read.
PrintSummary printListing(const std::string& fileName, const PrintJob& job, const PageLayout& layout,
                          PrintSink& sink);

// "- k -".
std::string pageNumberText(long long number);

// The page initial value from its field's text: none for exactly "-777", else the strict integer
// conversion (throws text::Failure with the conversion error).
std::optional<std::int32_t> pageInitialValueFrom(std::string_view text);

struct PrintRange {
    std::int32_t first = 1;
    std::int32_t last = 1; // T clamped to the page total
    std::string problem;   // a message when nothing can be printed; empty otherwise

    bool usable() const { return problem.empty(); }
};

// T is clamped to the total N. A first page below 1, or after the (clamped) last page, leaves
// nothing to print and gets a message instead of an empty job.
PrintRange resolveRange(std::int32_t first, std::int32_t last, std::int32_t total);

// The question asked before a print.
std::string confirmationText(std::int32_t total, const PrintRange& range);

// "<sheet>ページ目を印刷中".
std::string progressText(int sheet);

} // namespace zelkova::listing
