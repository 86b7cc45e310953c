// The recording print sink.
#include "listing/RecordingSink.h"

namespace zelkova::listing {

void RecordingSink::beginSheet(int sheet) {
    m_sheet = sheet;
    m_steps.push_back({Step::Kind::Sheet, sheet, 0, 0, {}});
}

void RecordingSink::drawLabel(int x, int top, std::string_view utf8) {
    m_steps.push_back({Step::Kind::Label, m_sheet, x, top, std::string(utf8)});
}

void RecordingSink::drawListing(int x, int top, std::string_view cp932) {
    m_steps.push_back({Step::Kind::Listing, m_sheet, x, top, std::string(cp932)});
}

std::vector<std::string> RecordingSink::listingOn(int sheet) const {
    std::vector<std::string> out;
    for (const Step& step : m_steps)
        if (step.sheet == sheet && step.kind == Step::Kind::Listing)
            out.push_back(step.text);
    return out;
}

std::vector<std::string> RecordingSink::labelsOn(int sheet) const {
    std::vector<std::string> out;
    for (const Step& step : m_steps)
        if (step.sheet == sheet && step.kind == Step::Kind::Label)
            out.push_back(step.text);
    return out;
}

std::string RecordingSink::dump() const {
    std::string out;
    for (const Step& step : m_steps) {
        switch (step.kind) {
        case Step::Kind::Sheet:
            out += "sheet " + std::to_string(step.sheet);
            break;
        case Step::Kind::Label:
            out += "label " + std::to_string(step.x) + "," + std::to_string(step.top) + " " + step.text;
            break;
        case Step::Kind::Listing:
            out += "text " + std::to_string(step.x) + "," + std::to_string(step.top) + " " + step.text;
            break;
        }
        out += '\n';
    }
    return out;
}

} // namespace zelkova::listing
