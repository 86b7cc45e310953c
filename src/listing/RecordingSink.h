// A print sink that keeps the drawing steps as text, one per step, for tests and dumps. Labels are
// measured as so many pixels per byte.
#pragma once

#include "listing/Printing.h"

#include <string>
#include <vector>

namespace zelkova::listing {

class RecordingSink final : public PrintSink {
public:
    explicit RecordingSink(int pixelsPerByte = 10) : m_pixelsPerByte(pixelsPerByte) {}

    struct Step {
        enum class Kind { Sheet, Label, Listing } kind;
        int sheet = 0; // the sheet the step belongs to
        int x = 0;
        int top = 0;
        std::string text; // UTF-8 for labels, code page 932 for listing text
    };

    int labelWidth(std::string_view utf8) override { return static_cast<int>(utf8.size()) * m_pixelsPerByte; }
    void beginSheet(int sheet) override;
    void drawLabel(int x, int top, std::string_view utf8) override;
    void drawListing(int x, int top, std::string_view cp932) override;

    const std::vector<Step>& steps() const { return m_steps; }
    int sheets() const { return m_sheet; }
    // The listing text drawn on `sheet`, in drawing order.
    std::vector<std::string> listingOn(int sheet) const;
    // The labels drawn on `sheet` (title first, then the page number when drawn).
    std::vector<std::string> labelsOn(int sheet) const;
    // "sheet 1", "label 10,40 TITLE", "text 30,60 ABC": one line per step.
    std::string dump() const;

private:
    int m_pixelsPerByte;
    int m_sheet = 0;
    std::vector<Step> m_steps;
};

} // namespace zelkova::listing
