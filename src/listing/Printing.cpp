// The printing pass and the texts around it.
#include "listing/Printing.h"

#include "listing/Paginator.h"
#include "listing/Texts.h"
#include "text/Files.h"
#include "text/Lines.h"
#include "text/Numbers.h"

#include <algorithm>

namespace zelkova::listing {

PrintSink::~PrintSink() = default;

namespace {

// The printing pass's part of the rule: sheets for pages F to T, text for pages from F on.
class SheetWriter final : public PageOutput {
public:
    SheetWriter(const PrintJob& job, const PageLayout& layout, PrintSink& sink)
        : m_job(job), m_layout(layout), m_sink(sink) {}

    void startSheet(std::int32_t page) {
        ++m_sheets;
        m_sink.beginSheet(m_sheets);
        if (!m_job.title.empty())
            m_sink.drawLabel(centred(m_job.title), m_layout.titleTop, m_job.title);
        if (m_job.pageInitialValue) {
            const std::string number =
                pageNumberText(static_cast<long long>(*m_job.pageInitialValue) + page - 1);
            m_sink.drawLabel(centred(number), m_layout.pageNumberTop, number);
        }
    }

    bool pageBegins(std::int32_t page) override {
        if (page > m_job.lastPage)
            return false;
        if (page > m_job.firstPage)
            startSheet(page);
        return true;
    }

    void piece(std::int32_t page, int linesUsed, std::string_view bytes) override {
        if (page >= m_job.firstPage && !bytes.empty())
            m_sink.drawListing(m_layout.leftMargin, m_layout.lineTop(linesUsed), bytes);
    }

    int sheets() const { return m_sheets; }

private:
    int centred(std::string_view label) { return (m_layout.pageWidth - m_sink.labelWidth(label)) / 2; }

    const PrintJob& m_job;
    const PageLayout& m_layout;
    PrintSink& m_sink;
    int m_sheets = 0;
};

} // namespace

PrintSummary printListing(const std::string& fileName, const PrintJob& job, const PageLayout& layout,
                          PrintSink& sink) {
    SheetWriter writer(job, layout, sink);
    Paginator paginator(job.lines, &writer);
    std::string line;
    const int copies = std::max(job.copies, 1);
    for (int copy = 0; copy < copies; ++copy) {
        const text::InputFile file = text::openInputFile(fileName);
        text::LineReader reader(file.get());
        paginator.restart();
        // The first sheet of a copy carries page F, whichever page the file reaches first.
        writer.startSheet(job.firstPage);
        while (reader.next(line)) {
            if (!paginator.handleLine(line))
                break;
        }
    }
    return PrintSummary{writer.sheets()};
}

std::string pageNumberText(long long number) {
    return std::string(texts::kPageNumberOpen) + std::to_string(number) +
           std::string(texts::kPageNumberClose);
}

std::optional<std::int32_t> pageInitialValueFrom(std::string_view text) {
    if (text == texts::kNoPageNumbers)
        return std::nullopt;
    return text::toInteger(text);
}

PrintRange resolveRange(std::int32_t first, std::int32_t last, std::int32_t total) {
    PrintRange range{first, std::min(last, total), {}};
    if (range.first < 1) {
        range.problem = std::string(texts::kFirstPageAtLeastOne) + std::to_string(range.first) + "）";
    } else if (range.first > range.last) {
        range.problem = std::string(texts::kNothingInRange) + std::to_string(total) +
                        std::string(texts::kRangeFirst) + std::to_string(range.first) +
                        std::string(texts::kRangeAfterLast) + std::to_string(range.last) +
                        std::string(texts::kRangeEnd);
    }
    return range;
}

std::string confirmationText(std::int32_t total, const PrintRange& range) {
    const long long count = static_cast<long long>(range.last) - range.first + 1;
    return std::string(texts::kConfirmTotal) + std::to_string(total) +
           std::string(texts::kConfirmPagesPrinted) + std::to_string(range.first) +
           std::string(texts::kConfirmFrom) + std::to_string(range.last) + std::string(texts::kConfirmTo) +
           std::to_string(count) + std::string(texts::kConfirmEnd);
}

std::string progressText(int sheet) {
    return std::to_string(sheet) + std::string(texts::kPrintingSheet);
}

} // namespace zelkova::listing
