// The listing's PDF without the painter. Qt still decides everything the sheet's look depends on:
// the printer's page layout, the font it resolves for the printer, its metrics, the label widths
// and the glyphs and places of the labels (through a text layout, as the painter lays out text).
// Only the writing is our own.
#include "listing/qt/ListingPdf.h"

#include "listing/PdfListingWriter.h"
#include "platform/qt/QtText.h"
#include "text/Cp932.h"
#include "text/Dbcs.h"

#include <QFont>
#include <QFontMetrics>
#include <QGlyphRun>
#include <QPageLayout>
#include <QPrinter>
#include <QRawFont>
#include <QTextLayout>

#include <algorithm>
#include <functional>
#include <map>
#include <utility>
#include <vector>

namespace zelkova::listing {

namespace {

// Thrown when a sheet holds something only the painter can draw.
struct NeedsPainter {};

// A face the writer draws as the painter would: no synthesised or decorated style, no spacing.
bool plainFace(const QFont& font) {
    return !font.bold() && !font.italic() && !font.underline() && !font.overline() && !font.strikeOut() &&
           font.weight() == QFont::Normal && (font.stretch() == 0 || font.stretch() == 100) &&
           font.letterSpacing() == 0 && font.wordSpacing() == 0;
}

bool sameFace(const QRawFont& a, const QRawFont& b) {
    return a.familyName() == b.familyName() && a.styleName() == b.styleName() &&
           a.pixelSize() == b.pixelSize();
}

class PdfSink final : public PrintSink {
public:
    PdfSink(PdfListingWriter& writer, QPaintDevice& device, const QFont& font, const QRawFont& raw, int cell,
            std::function<void(int)> sheetStarted)
        : m_writer(writer), m_device(device), m_font(font), m_metrics(font, &device), m_raw(raw),
          m_cell(cell), m_ascent(m_metrics.ascent()), m_sheetStarted(std::move(sheetStarted)),
          m_glyphOf(0x10000, kUnknownGlyph) {
        m_glyphs.reserve(256);
    }

    // The width the painter path centres a label with: the font metrics' advance, which is the
    // text layout's width rounded as the metrics round it.
    int labelWidth(std::string_view utf8) override { return label(utf8).width; }

    void beginSheet(int sheet) override {
        m_writer.beginPage();
        if (m_sheetStarted)
            m_sheetStarted(sheet);
    }

    // A label goes where the painter's drawText puts it: its glyphs as a text layout shapes them,
    // from the pen position (x, baseline).
    void drawLabel(int x, int top, std::string_view utf8) override {
        const Label& shaped = label(utf8);
        const double baseline = top + m_ascent;
        m_glyphs.clear();
        for (const PdfGlyph& g : shaped.glyphs)
            m_glyphs.push_back({g.glyph, x + g.x, baseline + g.y});
        m_writer.drawGlyphs(m_raw.pixelSize(), m_glyphs);
    }

    // A piece of a listing line, as the painter path draws it: every character on the cell grid of
    // its bytes, blanks and the cells of undecodable bytes left empty.
    void drawListing(int x, int top, std::string_view cp932) override {
        const double baseline = top + m_ascent;
        m_glyphs.clear();
        if (std::all_of(cp932.begin(), cp932.end(),
                        [](char b) { return static_cast<unsigned char>(b) < 0x80; })) {
            // The usual line: one byte, one character, one cell.
            m_glyphs.resize(cp932.size());
            std::size_t count = 0;
            for (std::size_t byte = 0; byte < cp932.size(); ++byte)
                if (cp932[byte] != ' ')
                    m_glyphs[count++] = {glyphOf(static_cast<char16_t>(cp932[byte])),
                                         x + static_cast<double>(byte) * m_cell, baseline};
            m_writer.drawGlyphs(m_raw.pixelSize(), std::span<const PdfGlyph>(m_glyphs.data(), count));
            return;
        }
        const std::u16string text = text::decodeCp932(cp932);
        std::size_t byte = 0;
        for (const char16_t c : text) {
            const double at = x + static_cast<double>(byte) * m_cell;
            const bool placeholder =
                c == text::kRawBytePlaceholderBase + static_cast<unsigned char>(cp932[byte]);
            byte += placeholder ? 1 : text::charLengthAt(cp932, byte);
            if (placeholder || c == u' ')
                continue;
            m_glyphs.push_back({glyphOf(c), at, baseline});
        }
        m_writer.drawGlyphs(m_raw.pixelSize(), m_glyphs);
    }

private:
    static constexpr std::uint32_t kUnknownGlyph = 0xFFFFFFFF;

    // The raw font's glyph, as the painter path finds it; a character it lacks needs the painter's
    // font fallback.
    std::uint32_t glyphOf(char16_t c) {
        std::uint32_t& glyph = m_glyphOf[c];
        if (glyph == kUnknownGlyph) {
            const QChar character(c);
            quint32 index = 0;
            int count = 1;
            glyph = m_raw.glyphIndexesForChars(&character, 1, &index, &count) && count == 1 ? index : 0;
        }
        if (glyph == 0)
            throw NeedsPainter{};
        return glyph;
    }

    struct Label {
        std::vector<PdfGlyph> glyphs; // relative to the pen position
        int width = 0;
    };

    // A label's glyphs and width; the title, the same on every sheet, is laid out once.
    const Label& label(std::string_view utf8) {
        if (const auto it = m_labels.find(std::string(utf8)); it != m_labels.end())
            return it->second;
        const QString text = platform::fromUtf8(utf8);
        if (text.isEmpty())
            return m_labels.emplace(std::string(utf8), Label{}).first->second;
        for (const QChar c : text)
            if (c.unicode() < 0x20 || c.unicode() == 0x7F)
                throw NeedsPainter{};
        QTextLayout layout(text, m_font, &m_device);
        layout.beginLayout();
        QTextLine line = layout.createLine();
        if (!line.isValid())
            throw NeedsPainter{};
        line.setNumColumns(static_cast<int>(text.size()) + 1);
        layout.endLayout();
        Label shaped;
        // QFontMetrics::horizontalAdvance: the layout's width rounded half up; trailing blanks,
        // which a line's natural width leaves out, go the metrics' own way.
        shaped.width = text.back().isSpace() ? m_metrics.horizontalAdvance(text)
                                             : static_cast<int>(line.naturalTextWidth() + 0.5);
        std::vector<PdfGlyph>& glyphs = shaped.glyphs;
        for (const QGlyphRun& run : layout.glyphRuns()) {
            if (!sameFace(run.rawFont(), m_raw))
                throw NeedsPainter{}; // a fallback font
            const QList<quint32> indexes = run.glyphIndexes();
            const QList<QPointF> positions = run.positions();
            for (qsizetype i = 0; i < indexes.size(); ++i) {
                if (indexes[i] == 0)
                    throw NeedsPainter{}; // a character no font has
                glyphs.push_back({indexes[i], positions[i].x(), positions[i].y() - line.ascent()});
            }
        }
        // Only the title repeats; page numbers are met once each.
        if (m_labels.size() > 8)
            m_labels.clear();
        return m_labels.emplace(std::string(utf8), std::move(shaped)).first->second;
    }

    PdfListingWriter& m_writer;
    QPaintDevice& m_device;
    QFont m_font;
    QFontMetrics m_metrics;
    QRawFont m_raw;
    int m_cell; // w, the half-width cell
    int m_ascent;
    std::function<void(int)> m_sheetStarted;
    std::vector<std::uint32_t> m_glyphOf; // by UTF-16 unit
    std::map<std::string, Label> m_labels;
    std::vector<PdfGlyph> m_glyphs;
};

} // namespace

std::optional<PrintSummary> printListingPdf(QPrinter& printer, const QFont& printFont,
                                            const std::string& fileName, const PrintJob& job,
                                            const JobCallbacks& callbacks, const QString& pdfName,
                                            const std::string& failureText, bool& messagesShown) {
    const QFont font(fixedPitch(printFont), &printer);
    if (!plainFace(font))
        return std::nullopt;
    const QRawFont raw = QRawFont::fromFont(font);
    if (!raw.isValid())
        return std::nullopt;

    const QPageLayout page = printer.pageLayout();
    const int resolution = printer.resolution();
    const QRect paint = page.paintRectPixels(resolution);
    PdfSheet sheet;
    sheet.widthPoints = page.fullRectPoints().width();
    sheet.heightPoints = page.fullRectPoints().height();
    sheet.resolution = resolution;
    sheet.paintLeft = paint.left();
    sheet.paintTop = paint.top();
    const FontTableSource tables = [&raw](std::uint32_t tag) {
        const char name[4] = {static_cast<char>(tag >> 24), static_cast<char>(tag >> 16),
                              static_cast<char>(tag >> 8), static_cast<char>(tag)};
        const QByteArray bytes = raw.fontTable(name);
        return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    };
    PdfListingWriter writer(sheet, tables, failureText);
    if (!writer.usable())
        return std::nullopt;

    // The same check on the job as the painter path makes once its job has started.
    const PageMetrics metrics = measurePage(printer, font);
    const FitCheck check = checkFit(metrics, job.lines);
    messagesShown = true;
    if (callbacks.showMessage)
        for (const std::string& message : check.messages)
            callbacks.showMessage(message);
    PdfSink sink(writer, printer, font, raw, metrics.halfWidthCell, callbacks.sheetStarted);
    PrintSummary summary;
    try {
        summary = printListing(fileName, job, check.layout, sink);
    } catch (const NeedsPainter&) {
        return std::nullopt;
    }
    writer.write(platform::toUtf8(pdfName), platform::toUtf8(printer.docName()));
    return summary;
}

} // namespace zelkova::listing
