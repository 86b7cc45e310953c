// The layout arithmetic and the fit check's two messages.
#include "listing/PageLayout.h"

#include "listing/Texts.h"

#include <cassert>

namespace zelkova::listing {

namespace {

std::string number(long long value) {
    return std::to_string(value);
}

std::string charactersMessage(const PageMetrics& m, int chars) {
    std::string text(texts::kTooManyCharacters);
    text += number(m.fontPoints);
    text += texts::kPoints;
    text += "\r\n";
    text += texts::kCurrentHalfWidth;
    text += number(m.halfWidthCell);
    text += texts::kPixels;
    text += "\r\n";
    text += texts::kCurrentPaperWidth;
    text += number(m.pageWidth);
    text += texts::kPixels;
    text += "\r\n";
    text += texts::kCurrentCharacters;
    text += number(chars);
    text += texts::kOverlap;
    return text;
}

std::string linesMessage(const PageMetrics& m, const PageLayout& layout, int lines) {
    std::string text(texts::kTooManyLines);
    text += number(m.fontPoints);
    text += texts::kPoints;
    text += "\r\n";
    text += texts::kCurrentCharHeight;
    text += number(m.charHeight);
    text += texts::kPixels;
    text += "\r\n";
    text += texts::kCurrentPaperHeight;
    text += number(m.pageHeight);
    text += texts::kPixels;
    text += "\r\n";
    text += texts::kHeightLeft;
    text += number(m.pageHeight - 9 * layout.unit);
    text += texts::kPixelsSoThat;
    text += "\r\n";
    text += texts::kCurrentLines;
    text += number(lines);
    text += texts::kOverlap;
    return text;
}

} // namespace

std::vector<std::string> settingsProblems(const LineSettings& settings) {
    std::vector<std::string> problems;
    if (settings.chars < 1)
        problems.push_back(std::string(texts::kCharactersAtLeastOne) + number(settings.chars) +
                           std::string(texts::kCannotPrint));
    if (settings.lines < 1)
        problems.push_back(std::string(texts::kLinesAtLeastOne) + number(settings.lines) +
                           std::string(texts::kCannotPrint));
    return problems;
}

FitCheck checkFit(const PageMetrics& metrics, const LineSettings& settings) {
    assert(settings.chars >= 1 && settings.lines >= 1 && "settingsProblems refuses these first");
    FitCheck check;
    PageLayout& layout = check.layout;
    layout.pageWidth = metrics.pageWidth;
    layout.pageHeight = metrics.pageHeight;
    layout.unit = metrics.pageHeight / 100;
    layout.titleTop = 4 * layout.unit;
    layout.textTop = 6 * layout.unit;
    layout.bottomSpace = 3 * layout.unit;
    layout.pageNumberTop = metrics.pageHeight - 2 * layout.unit;
    // 64 bits: a typed K is used unclamped, and w * K must not wrap into a "fitting" margin.
    const long long textWidth = static_cast<long long>(metrics.halfWidthCell) * settings.chars;
    const long long leftMargin = (metrics.pageWidth - textWidth) / 2;
    layout.leftMargin = static_cast<int>(leftMargin > 0 ? leftMargin : 0);
    layout.pitch =
        (metrics.pageHeight - layout.titleTop - 2 * layout.unit - layout.bottomSpace) / settings.lines;
    if (leftMargin <= 0)
        check.messages.push_back(charactersMessage(metrics, settings.chars));
    if (layout.pitch < metrics.charHeight)
        check.messages.push_back(linesMessage(metrics, layout, settings.lines));
    return check;
}

} // namespace zelkova::listing
