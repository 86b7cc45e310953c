// The services that stood in Win32 for the windows: dialogs, the one application printer, the
// clipboard, modal showing of our own forms. Each is a small abstract class; main() builds the Qt
// set (QtServices.h) and tests build scripted doubles (tests/support). Windows get the bundle.
#pragma once

#include "platform/ColourValue.h"
#include "platform/MessageBoxes.h"
#include "platform/ProcessLauncher.h"

#include <QFont>
#include <QImage>
#include <QList>
#include <QString>

#include <optional>

class QDialog;
class QPrinter;
class QWidget;
class QMimeData;

namespace zelkova::platform {

class ApplicationPrinter;

struct FileFilter {
    QString description; // "ﾃｷｽﾄﾌｧｲﾙ(*.TXT)"
    QString patterns;    // "*.TXT;*.FRT"
};

struct FileDialogOptions {
    QString objectName; // the component's name, "OpenDialog1"
    QString title;      // empty: the platform's default title
    QString initialFolder;
    QString fileName;         // proposed name (Save As: the document name)
    QString defaultExtension; // ".TXT"; empty for none
    QList<FileFilter> filters;
    int filterIndex = 1;           // counted from 1
    bool confirmOverwrite = false; // a save dialog asks before a chosen existing file is replaced
};

struct FileChoice {
    QString path;        // full path
    int filterIndex = 1; // the filter in use when the dialog closed, from 1
};

class FileDialogs {
public:
    virtual ~FileDialogs();
    // The dialogs do not insist on an existing file and, unless the options ask for it, ask
    // nothing about overwriting. The chosen path is a full path.
    virtual std::optional<FileChoice> open(const FileDialogOptions& options, QWidget* parent) = 0;
    virtual std::optional<FileChoice> save(const FileDialogOptions& options, QWidget* parent) = 0;
};

class PrintDialogs {
public:
    virtual ~PrintDialogs();
    // The system print dialog on the application printer; what is chosen (printer, settings,
    // copies, the PDF file) stays on the printer. True on OK, after telling the printer
    // (ApplicationPrinter::acceptDialogChoice).
    virtual bool print(ApplicationPrinter& printer, QWidget* parent) = 0;
    // The printer-setup dialog; what is chosen stays on the printer, as with print.
    virtual bool printerSetup(ApplicationPrinter& printer, QWidget* parent) = 0;
};

class FontDialogs {
public:
    virtual ~FontDialogs();
    // Opens on `initial`, the font in force, as it is drawn: the face a substitution resolved it to,
    // at its size. The chosen font, `initial` itself when OK changed nothing, or nothing on Cancel.
    virtual std::optional<QFont> chooseFont(const QFont& initial, QWidget* parent) = 0;
};

class ColourDialogs {
public:
    virtual ~ColourDialogs();
    // The system colour dialog, preset with `initial` (a system colour shows in the desktop's
    // current colour, no colour as white). The chosen colour, always a plain red-green-blue value,
    // or nothing on Cancel.
    virtual std::optional<ColourValue> chooseColour(ColourValue initial, QWidget* parent) = 0;
};

class Clipboard {
public:
    virtual ~Clipboard();
    virtual QString text() const = 0;
    virtual void setText(const QString& text) = 0;
    // Replaces the clipboard's contents; takes ownership of `data`.
    virtual void setMimeData(QMimeData* data) = 0;
};

// Shows our own modal forms (the listing printer settings, the help window). A test substitutes
// what happens while the form is "shown" and what it returns.
class ModalRunner {
public:
    virtual ~ModalRunner();
    virtual int exec(QDialog& dialog) = 0;
};

struct Services {
    MessageBoxes& messages;
    FileDialogs& files;
    PrintDialogs& printDialogs;
    FontDialogs& fonts;
    ColourDialogs& colours;
    ApplicationPrinter& printer;
    Clipboard& clipboard;
    ProcessLauncher& processes;
    ModalRunner& modal;
};

} // namespace zelkova::platform
