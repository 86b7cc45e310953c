// Page metrics of the printer, the page layout derived from them and the fit check that refuses
// settings whose characters or lines would overlap on the sheet.
#pragma once

#include <string>
#include <vector>

namespace zelkova::listing {

// What the printer and the print font measure, in printer device pixels (the printable area).
struct PageMetrics {
    int pageWidth = 0;
    int pageHeight = 0;
    int halfWidthCell = 0; // w: the width of "石" in the print font, div 2
    int charHeight = 0;    // h: the height of "石" in the print font
    int fontPoints = 0;    // the print font's size, for the messages
};

// The application's PDF printer (A4 landscape, 5 mm margins, 1200 dpi) with the initial print font
// (IPA Gothic standing in for "ＭＳ ゴシック", 8 points). Pagination without a printer uses these, so
// counts never depend on the machine's printers; a GUI test keeps them equal to what Qt measures.
inline constexpr PageMetrics kPdfPrinterMetrics{13567, 9451, 66, 143, 8};

// Where things go on a sheet, all in device pixels, integer arithmetic.
struct PageLayout {
    int pageWidth = 0;
    int pageHeight = 0;
    int unit = 0;          // u = page height div 100
    int titleTop = 0;      // 4u
    int textTop = 0;       // 6u: the top of a page's first line
    int bottomSpace = 0;   // 3u kept free below the text block
    int pageNumberTop = 0; // page height - 2u
    int leftMargin = 0;    // x0 = (page width - w * K) div 2
    int pitch = 0;         // p = (page height - 9u) div L

    int lineTop(int linesUsed) const { return textTop + linesUsed * pitch; }
};

// K and L of a pass; both must be at least 1 (see settingsProblems).
struct LineSettings {
    int chars = 140;
    int lines = 60;
};

struct FitCheck {
    PageLayout layout;
    // The characters message, then the lines message, for those that apply. Empty when it fits.
    std::vector<std::string> messages;

    bool fits() const { return messages.empty(); }
};

// Messages for K < 1 and L < 1, which no pass can work with (a piece of no bytes never shortens a
// line, and no pitch exists for no lines). Empty when both are usable.
std::vector<std::string> settingsProblems(const LineSettings& settings);

// The layout of `metrics` for `settings`, and the messages of what does not fit. `settings` must
// have passed settingsProblems.
FitCheck checkFit(const PageMetrics& metrics, const LineSettings& settings);

} // namespace zelkova::listing
