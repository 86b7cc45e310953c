// The plot viewer's output: printing the figure on screen, copying the selection as a bitmap or a
// metafile, and saving the figure as a BMP or EMF file. Every output draws the retained picture
// afresh (PictureExport); none copies pixels from the screen.
#include "plot/qt/TForm2.h"

#include "platform/qt/ApplicationPrinter.h"
#include "platform/qt/QtText.h"
#include "plot/qt/PictureExport.h"
#include "plot/qt/ViewImage.h"
#include "text/Failure.h"
#include "text/Files.h"
#include "text/Paths.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMimeData>

#include <exception>
#include <string_view>

using namespace zelkova;

void TForm2::wireOutput() {
    connect(prtorg, &QAction::triggered, this, &TForm2::Print1Click);
    connect(prtset, &QAction::triggered, this, &TForm2::prtsetClick);
    connect(N7, &QAction::triggered, this, &TForm2::N7Click);
    connect(N6, &QAction::triggered, this, &TForm2::N6Click);
    connect(N1, &QAction::triggered, this, &TForm2::N1Click);
    connect(N5, &QAction::triggered, this, &TForm2::N5Click);
    // The save items are present but disabled from the start; nothing enables them.
    N1->setEnabled(false);
    N5->setEnabled(false);
}

QString TForm2::outputFolder() const {
    if (m_session.isOpen())
        return platform::fromUtf8(text::folderPart(m_session.path()));
    return m_initialFolder.isEmpty() ? QDir::homePath() : m_initialFolder;
}

QString TForm2::suggestedPdfName() const {
    // Named after the plot file, never the plot file itself.
    if (!m_session.isOpen())
        return QDir(outputFolder()).filePath(QStringLiteral("plot.pdf"));
    const QFileInfo plot(platform::fromUtf8(m_session.path()));
    QString name = plot.absolutePath() + QLatin1Char('/') + plot.completeBaseName() + QStringLiteral(".pdf");
    if (QFileInfo(name) == plot)
        name += QStringLiteral(".pdf");
    return name;
}

void TForm2::Print1Click() {
    // No dialog: the printer's current settings apply; without a printer, the PDF file named in
    // the last printer dialog, or else one asked for now.
    platform::ApplicationPrinter& printer = m_services.printer;
    if (!printer.prepareJob(windowTitle(), suggestedPdfName(), m_services.files, this))
        return;
    try {
        const plot::ViewRect printed =
            plot::printedRectOn(printer.printer(), m_state.viewRect, Image1->width(), Image1->height());
        plot::printPicture(printer.printer(), m_session.picture(), printed);
    } catch (const text::Failure& failure) {
        m_services.messages.generalError(failure.what());
    }
}

void TForm2::prtsetClick() {
    // What is chosen stays on the one application printer, for every later print of the run.
    m_services.printer.offerNextJob(suggestedPdfName());
    (void)m_services.printDialogs.printerSetup(m_services.printer, this);
}

std::optional<plot::OutputFrame> TForm2::copyFrame() const {
    if (!m_state.selectionFlag)
        return std::nullopt;
    const plot::OutputFrame frame =
        plot::selectionFrame(m_state.viewRect, m_state.pressPoint, m_state.currentPoint);
    // A click without a drag leaves a frame without area: nothing is put on the clipboard, and
    // what it held stays.
    if (!frame.hasArea())
        return std::nullopt;
    return frame;
}

void TForm2::N7Click() {
    if (const auto frame = copyFrame())
        if (auto data = plot::bitmapCopy(m_session.picture(), *frame))
            m_services.clipboard.setMimeData(data.release());
}

void TForm2::N6Click() {
    if (const auto frame = copyFrame())
        if (auto data = plot::metafileCopy(m_session.picture(), *frame))
            m_services.clipboard.setMimeData(data.release());
}

void TForm2::N1Click() {
    const plot::Picture* picture = m_session.picture();
    const std::optional<plot::OutputFrame> frame = picture ? plot::wholeFigureFrame(*picture) : std::nullopt;
    if (!frame) {
        // Nothing drawn: the figure has no extent to save, and no file is asked for.
        m_services.messages.plain(plot::kNothingToSaveText);
        return;
    }
    saveFrame(*frame);
}

void TForm2::N5Click() {
    saveFrame(plot::viewFrame(Image1->width(), Image1->height(), m_state.viewRect));
}

void TForm2::saveFrame(const plot::OutputFrame& frame) {
    platform::FileDialogOptions options;
    options.objectName = QStringLiteral("SaveDialog1");
    options.initialFolder = outputFolder();
    options.defaultExtension = QStringLiteral(".bmp");
    options.filters = {{QStringLiteral("ビットマップﾟ（一般）(*.bmp)"), QStringLiteral("*.bmp")},
                       {QStringLiteral("メタファイル（鮮明）(*.emf)"), QStringLiteral("*.emf")}};
    const auto choice = m_services.files.save(options, this);
    if (!choice)
        return;
    const bool metafile = choice->filterIndex == 2;
    QString path = choice->path;
    if (QFileInfo(path).suffix().isEmpty())
        path += metafile ? QStringLiteral(".emf") : QStringLiteral(".bmp");
    const auto bytes = plot::exportFrame(m_session.picture(), frame,
                                         metafile ? plot::ExportFormat::Emf : plot::ExportFormat::Bmp);
    if (!bytes) {
        m_services.messages.plain(plot::kTooLargeText);
        return;
    }
    try {
        text::writeFileAtomically(
            QFile::encodeName(path).toStdString(),
            std::string_view(bytes->constData(), static_cast<std::size_t>(bytes->size())));
    } catch (const std::exception&) {
        m_services.messages.plain(plot::kCannotWriteText);
    }
}
