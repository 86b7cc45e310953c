// The application printer and its PDF fallback.
#include "platform/qt/ApplicationPrinter.h"

#include "platform/qt/Services.h"

#include <QFileInfo>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>

#include <utility>

namespace zelkova::platform {

namespace {
void makePdf(QPrinter& printer) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageMargins(QMarginsF(ApplicationPrinter::kPdfMarginMm, ApplicationPrinter::kPdfMarginMm,
                                     ApplicationPrinter::kPdfMarginMm, ApplicationPrinter::kPdfMarginMm),
                           QPageLayout::Millimeter);
}
} // namespace

ApplicationPrinter::ApplicationPrinter(Mode mode) : m_mode(mode) {
    if (mode == Mode::System && !QPrinterInfo::defaultPrinter().isNull()) {
        m_printer = std::make_unique<QPrinter>(QPrinterInfo::defaultPrinter(), QPrinter::HighResolution);
        m_pdf = false;
    } else {
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        makePdf(*m_printer);
        m_pdf = true;
    }
}

ApplicationPrinter::~ApplicationPrinter() = default;

QPrinter& ApplicationPrinter::printer() {
    return *m_printer;
}

bool ApplicationPrinter::isPdf() const {
    return m_pdf || m_printer->outputFormat() == QPrinter::PdfFormat;
}

void ApplicationPrinter::offerJob(const QString& jobTitle, const QString& suggestedPdfName) {
    m_printer->setDocName(jobTitle);
    m_chosenPdf.clear();
    // Only a printer that writes PDF files gets a file name: on a real printer it would turn the
    // output into a PDF file.
    if (isPdf() && m_mode != Mode::PdfFile)
        m_printer->setOutputFileName(suggestedPdfName);
}

void ApplicationPrinter::offerNextJob(const QString& suggestedPdfName) {
    if (!m_chosenPdf.isEmpty() && m_chosenPdf == m_printer->outputFileName())
        return;
    offerJob(m_printer->docName(), suggestedPdfName);
}

void ApplicationPrinter::acceptDialogChoice() {
    m_chosenPdf = isPdf() ? m_printer->outputFileName() : QString();
}

bool ApplicationPrinter::prepareJob(const QString& jobTitle, const QString& suggestedPdfName,
                                    FileDialogs& files, QWidget* parent) {
    m_printer->setDocName(jobTitle);
    // A file a dialog named serves one job.
    const QString chosen = std::exchange(m_chosenPdf, QString());
    if (!isPdf())
        return true;
    if (m_mode == Mode::PdfFile)
        return !m_printer->outputFileName().isEmpty();
    if (!chosen.isEmpty() && chosen == m_printer->outputFileName())
        return true;
    FileDialogOptions options;
    options.objectName = QStringLiteral("PdfSaveDialog");
    options.title = QStringLiteral("PDFファイルに印刷");
    options.initialFolder = QFileInfo(suggestedPdfName).absolutePath();
    options.fileName = suggestedPdfName;
    options.defaultExtension = QStringLiteral(".pdf");
    options.filters = {{QStringLiteral("PDFファイル(*.pdf)"), QStringLiteral("*.pdf")}};
    options.confirmOverwrite = true;
    const auto choice = files.save(options, parent);
    if (!choice)
        return false;
    QString path = choice->path;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".pdf");
    m_printer->setOutputFileName(path);
    return true;
}

} // namespace zelkova::platform
