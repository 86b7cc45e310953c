// Drawing listings through QPainter. Lines are fixed-pitch text without shaping needs, so they are
// drawn as glyph runs from the raw font (a run per line, glyphs at the font's own advances), which
// is several times faster than laying out each line; a character the font lacks is drawn as text in
// its own cells, so that font fallback still finds a glyph for it and the columns stay in place.
#include "listing/qt/PrinterJob.h"

#include "listing/Texts.h"
#include "listing/qt/ListingPdf.h"
#include "platform/qt/Fonts.h"
#include "platform/qt/QtText.h"
#include "text/Cp932.h"
#include "text/Dbcs.h"
#include "text/Failure.h"
#include "text/Files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGlyphRun>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QRawFont>
#include <QTemporaryFile>

#include <cmath>
#include <optional>
#include <utility>
#include <vector>

namespace zelkova::listing {

namespace {

const QString kMeasureText = QStringLiteral("石");

class PainterSink final : public PrintSink {
public:
    PainterSink(QPainter& painter, QPagedPaintDevice& device, const QFont& font, int cell,
                std::function<void(int)> sheetStarted, std::string failureText)
        : m_painter(painter), m_device(device), m_metrics(font, &device), m_raw(QRawFont::fromFont(font)),
          m_cell(cell), m_sheetStarted(std::move(sheetStarted)), m_failureText(std::move(failureText)) {
        m_painter.setFont(font);
        m_painter.setPen(Qt::black);
        m_ascent = m_metrics.ascent();
        m_glyphs.reserve(256);
        m_positions.reserve(256);
    }

    int labelWidth(std::string_view utf8) override {
        return m_metrics.horizontalAdvance(platform::fromUtf8(utf8));
    }

    void beginSheet(int sheet) override {
        if (sheet > 1 && !m_device.newPage())
            throw text::Failure(m_failureText);
        if (m_sheetStarted)
            m_sheetStarted(sheet);
    }

    void drawLabel(int x, int top, std::string_view utf8) override {
        m_painter.drawText(QPoint(x, top + m_ascent), platform::fromUtf8(utf8));
    }

    void drawListing(int x, int top, std::string_view cp932) override {
        const std::u16string text = text::decodeCp932(cp932);
        if (!drawOnCells(QPointF(x, top + m_ascent), cp932, text))
            m_painter.drawText(QPoint(x, top + m_ascent), QString::fromUtf16(text.data(), text.size()));
    }

private:
    // Draws the text as one glyph run with every character on the cell grid of its bytes: a byte
    // is a half-width cell w wide, so columns line up whatever the glyphs' own advances, and the
    // text block is the w * K wide the fit check allowed for. Blanks are left out of the run: they
    // draw nothing, and a listing is mostly blanks, each of which would cost the PDF a glyph.
    // False when the raw font cannot be used at all.
    bool drawOnCells(const QPointF& baseline, std::string_view bytes, const std::u16string& text) {
        if (!m_raw.isValid())
            return false;
        int count = static_cast<int>(text.size());
        m_glyphs.resize(count);
        if (!m_raw.glyphIndexesForChars(reinterpret_cast<const QChar*>(text.data()), count, m_glyphs.data(),
                                        &count) ||
            count != static_cast<int>(text.size()))
            return false;
        m_positions.resize(count);
        m_missing.clear();
        qsizetype kept = 0;
        std::size_t byte = 0;
        for (int i = 0; i < count; ++i) {
            const quint32 glyph = m_glyphs[i];
            const qreal x = static_cast<qreal>(byte) * m_cell;
            // A placeholder of an undecodable byte stands for that one byte and leaves its cell
            // empty, so that the rest of the line keeps its columns.
            const bool placeholder =
                text[i] == text::kRawBytePlaceholderBase + static_cast<unsigned char>(bytes[byte]);
            byte += placeholder ? 1 : text::charLengthAt(bytes, byte);
            if (placeholder || text[i] == u' ')
                continue;
            if (glyph == 0) {
                m_missing.push_back({x, QChar(text[i])});
                continue;
            }
            m_glyphs[kept] = glyph;
            m_positions[kept] = QPointF(x, 0);
            ++kept;
        }
        if (kept > 0) {
            m_glyphs.resize(kept);
            m_positions.resize(kept);
            QGlyphRun run;
            run.setRawFont(m_raw);
            run.setGlyphIndexes(m_glyphs);
            run.setPositions(m_positions);
            m_painter.drawGlyphRun(baseline, run);
        }
        for (const auto& [x, character] : m_missing)
            m_painter.drawText(baseline + QPointF(x, 0), QString(character));
        return true;
    }

    QPainter& m_painter;
    QPagedPaintDevice& m_device;
    QFontMetrics m_metrics;
    QRawFont m_raw;
    int m_cell; // w, the half-width cell
    std::function<void(int)> m_sheetStarted;
    std::string m_failureText; // when a new page cannot be started
    int m_ascent = 0;
    QList<quint32> m_glyphs;
    QList<QPointF> m_positions;
    std::vector<std::pair<qreal, QChar>> m_missing; // characters of a line the font lacks
};

// Restores the printer's copy count when the job ends, however it ends.
class CopyCountGuard {
public:
    explicit CopyCountGuard(QPrinter& printer) : m_printer(printer), m_copies(printer.copyCount()) {
        m_printer.setCopyCount(1);
    }
    ~CopyCountGuard() { m_printer.setCopyCount(m_copies); }
    CopyCountGuard(const CopyCountGuard&) = delete;
    CopyCountGuard& operator=(const CopyCountGuard&) = delete;

private:
    QPrinter& m_printer;
    int m_copies;
};

// Puts the printer's output file name back when the job ends, however it ends.
class OutputNameGuard {
public:
    explicit OutputNameGuard(QPrinter& printer) : m_printer(printer), m_name(printer.outputFileName()) {}
    ~OutputNameGuard() {
        if (m_printer.outputFileName() != m_name)
            m_printer.setOutputFileName(m_name);
    }
    OutputNameGuard(const OutputNameGuard&) = delete;
    OutputNameGuard& operator=(const OutputNameGuard&) = delete;

private:
    QPrinter& m_printer;
    QString m_name;
};

// Copies the finished PDF from its scratch file into the output file and puts that in place.
void deliverPdf(QTemporaryFile& part, text::FileReplacement& target, const std::string& failureText) {
    try {
        if (!part.open())
            throw text::Failure(failureText);
        std::vector<char> buffer(1 << 20);
        for (;;) {
            const qint64 n = part.read(buffer.data(), static_cast<qint64>(buffer.size()));
            if (n < 0)
                throw text::Failure(failureText);
            if (n == 0)
                break;
            target.write(std::string_view(buffer.data(), static_cast<std::size_t>(n)));
        }
        target.commit();
    } catch (const text::Failure&) {
        throw text::Failure(failureText);
    }
}

bool isSameFile(const QString& a, const QString& b) {
    const QFileInfo first(a), second(b);
    return first.exists() && second.exists() && first.canonicalFilePath() == second.canonicalFilePath();
}

} // namespace

QFont initialPrintFont() {
    QFont font(QString::fromUtf8(platform::kJapaneseFixedFace), 8);
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    return font;
}

QFont fixedPitch(const QFont& font) {
    QFont fixed(font);
    fixed.setFixedPitch(true);
    return fixed;
}

PageMetrics measurePage(QPaintDevice& device, const QFont& printFont) {
    const QFontMetrics metrics(fixedPitch(printFont), &device);
    PageMetrics m;
    m.pageWidth = device.width();
    m.pageHeight = device.height();
    m.halfWidthCell = metrics.horizontalAdvance(kMeasureText) / 2;
    m.charHeight = metrics.height();
    m.fontPoints = printFont.pointSize() > 0 ? printFont.pointSize()
                                             : static_cast<int>(std::lround(printFont.pointSizeF()));
    return m;
}

PrintSummary printOnPrinter(QPrinter& printer, const QFont& printFont, const std::string& fileName,
                            const PrintJob& job, const JobCallbacks& callbacks, PdfWriting pdfWriting) {
    const bool pdf = printer.outputFormat() == QPrinter::PdfFormat;
    const QString output = printer.outputFileName();
    if (pdf && isSameFile(output, platform::fromUtf8(fileName)))
        throw text::Failure(std::string(texts::kSameAsListing) + platform::toUtf8(output) +
                            std::string(texts::kSameAsListingEnd));
    const std::string failureText =
        pdf ? text::cannotCreateText(platform::toUtf8(output)) : std::string(texts::kNoDefaultPrinter);

    // A PDF goes through the one writer of output files: the target is checked before anything is
    // drawn (a file this user cannot write is refused), the PDF engine writes into a scratch file
    // of the system's temporary folder, and the writer puts that in place once the job is done, so
    // that a print that fails half-way leaves an earlier file of that name whole.
    std::optional<text::FileReplacement> target;
    QTemporaryFile part(QDir::tempPath() + QStringLiteral("/zelkova-listing-XXXXXX.pdf"));
    if (pdf) {
        try {
            target.emplace(platform::toUtf8(output));
        } catch (const text::Failure&) {
            throw text::Failure(failureText);
        }
        if (output.isEmpty() || !part.open())
            throw text::Failure(failureText);
        part.close();
    }
    // A PDF goes the fast way unless only the painter can draw the listing.
    bool messagesShown = false;
    if (pdf && pdfWriting == PdfWriting::Direct) {
        if (const auto summary = printListingPdf(printer, printFont, fileName, job, callbacks,
                                                 part.fileName(), failureText, messagesShown)) {
            deliverPdf(part, *target, failureText);
            return *summary;
        }
    }
    const OutputNameGuard restoreName(printer);
    if (pdf)
        printer.setOutputFileName(part.fileName());

    CopyCountGuard copies(printer);
    QPainter painter;
    if (!painter.begin(&printer))
        throw text::Failure(failureText);

    // The same check on the started job; its metrics are those of the job's device.
    const QFont font(fixedPitch(printFont), &printer);
    const PageMetrics metrics = measurePage(printer, font);
    const FitCheck check = checkFit(metrics, job.lines);
    if (callbacks.showMessage && !messagesShown)
        for (const std::string& message : check.messages)
            callbacks.showMessage(message);

    PainterSink sink(painter, printer, font, metrics.halfWidthCell, callbacks.sheetStarted, failureText);
    PrintSummary summary;
    try {
        summary = printListing(fileName, job, check.layout, sink);
    } catch (...) {
        printer.abort();
        throw;
    }
    if (!painter.end())
        throw text::Failure(failureText);
    if (pdf)
        deliverPdf(part, *target, failureText);
    return summary;
}

} // namespace zelkova::listing
