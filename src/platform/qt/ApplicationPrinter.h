// The one printer of the application: every print and printer-setup dialog works on it, so a
// printer or setting chosen anywhere holds for all later printing in the run.
//
// Without an installed printer (no CUPS server, or no queue) it is a PDF printer on A4 with margins
// like a laser printer's unprintable border, and a print job asks for the PDF file's name first.
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
        System,  // the system's default printer, or the PDF fallback when there is none
        PdfFile, // always a PDF printer (tests and the batch tool); the file name is set by the caller
    };
    explicit ApplicationPrinter(Mode mode = Mode::System);
    ~ApplicationPrinter();
    ApplicationPrinter(const ApplicationPrinter&) = delete;
    ApplicationPrinter& operator=(const ApplicationPrinter&) = delete;

    QPrinter& printer();
    // True when there is no real printer and jobs go to a PDF file.
    bool isPdf() const;

    // Makes the printer ready for a job titled `jobTitle`. In the PDF fallback of System mode it
    // asks for the file name in a save dialog proposing `suggestedPdfName` (a full path) and returns
    // false when the user cancels. In PdfFile mode it only checks that a file name is set.
    bool prepareJob(const QString& jobTitle, const QString& suggestedPdfName, FileDialogs& files,
                    QWidget* parent);

    // The margin of the PDF fallback, millimetres on every side.
    static constexpr double kPdfMarginMm = 5.0;

private:
    std::unique_ptr<QPrinter> m_printer;
    Mode m_mode;
    bool m_pdf = false;
};

} // namespace zelkova::platform
