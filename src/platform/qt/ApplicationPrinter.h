// The one printer of the application: every print and printer-setup dialog works on it, so a
// printer or setting chosen anywhere holds for all later printing in the run.
//
// Without an installed printer (no CUPS server, or no queue) it is a PDF printer on A4 with margins
// like a laser printer's unprintable border. A job then writes the PDF file named in the print
// dialog just before it (the file that dialog asked about overwriting); only a job that follows no
// such dialog asks for the file's name, once.
#pragma once

#include <QString>

#include <memory>

class QPrinter;
class QWidget;

namespace zelkova::platform {

class FileDialogs;

class ApplicationPrinter {
public:
    enum class Mode {
        System,    // the system's default printer, or the PDF fallback when there is none
        NoPrinter, // the PDF fallback, as on a system without printers (tests)
        PdfFile,   // always a PDF printer (tests and the batch tool); the file name is set by the caller
    };
    explicit ApplicationPrinter(Mode mode = Mode::System);
    ~ApplicationPrinter();
    ApplicationPrinter(const ApplicationPrinter&) = delete;
    ApplicationPrinter& operator=(const ApplicationPrinter&) = delete;

    QPrinter& printer();
    // True when there is no real printer and jobs go to a PDF file.
    bool isPdf() const;

    // Before the print dialog of a job titled `jobTitle`: when jobs go to a PDF file, the dialog
    // proposes `suggestedPdfName` (a full path) as the file to write.
    void offerJob(const QString& jobTitle, const QString& suggestedPdfName);
    // Before a printer-setup dialog, whose choice holds for the next job: as offerJob, except that
    // a PDF file named in an earlier dialog and not yet written stays proposed.
    void offerNextJob(const QString& suggestedPdfName);
    // Called by the print and printer-setup dialogs on OK: when jobs go to a PDF file, the file
    // named there is the one the next job writes, without asking again.
    void acceptDialogChoice();

    // Makes the printer ready for a job titled `jobTitle`. When jobs go to a PDF file that no
    // dialog has named since the last job, it asks for the file's name in a save dialog proposing
    // `suggestedPdfName` (a full path), which asks before it replaces a file, and returns false
    // when the user cancels. In PdfFile mode it only checks that a file name is set.
    bool prepareJob(const QString& jobTitle, const QString& suggestedPdfName, FileDialogs& files,
                    QWidget* parent);

    // The margin of the PDF fallback, millimetres on every side.
    static constexpr double kPdfMarginMm = 5.0;

private:
    std::unique_ptr<QPrinter> m_printer;
    Mode m_mode;
    bool m_pdf = false;
    QString m_chosenPdf; // the PDF file a dialog named for the next job, empty when none
};

} // namespace zelkova::platform
