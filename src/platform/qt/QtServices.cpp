// Qt dialogs, message boxes and clipboard behind the platform services.
#include "platform/qt/QtServices.h"

#include "platform/qt/QtText.h"
#include "platform/qt/SystemColours.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QFontInfo>
#include <QMessageBox>
#include <QMimeData>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>

namespace zelkova::platform {

FileDialogs::~FileDialogs() = default;
PrintDialogs::~PrintDialogs() = default;
FontDialogs::~FontDialogs() = default;
ColourDialogs::~ColourDialogs() = default;
Clipboard::~Clipboard() = default;
ModalRunner::~ModalRunner() = default;

namespace {

QString buttonText(Reply reply) {
    switch (reply) {
    case Reply::Ok:
        return QStringLiteral("OK");
    case Reply::Yes:
        return QStringLiteral("はい(&Y)");
    case Reply::No:
        return QStringLiteral("いいえ(&N)");
    case Reply::Cancel:
        return QStringLiteral("キャンセル");
    }
    return {};
}

QMessageBox::ButtonRole roleOf(Reply reply) {
    switch (reply) {
    case Reply::Ok:
    case Reply::Yes:
        return QMessageBox::AcceptRole;
    case Reply::No:
        return QMessageBox::NoRole;
    case Reply::Cancel:
        return QMessageBox::RejectRole;
    }
    return QMessageBox::AcceptRole;
}

// The window a message box belongs to, which it is centred over: the modal dialog on top, else the
// active window, else (while the application is not active, as after a run) the main window shown.
QWidget* messageOwner() {
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    if (QWidget* active = QApplication::activeWindow())
        return active;
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows)
        if (window->isVisible() && window->windowType() == Qt::Window && !window->parentWidget())
            return window;
    return nullptr;
}

// A file name as a full path: absolute, without "." and ".." parts.
QString fullPath(const QString& path) {
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

// "desc|*.A;*.B" filters as Qt takes them: "desc (*.A *.B)". The dialog shows only the
// description, which names its patterns itself.
QString qtFilter(const FileFilter& filter) {
    QString patterns = filter.patterns;
    patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
    return filter.description + QStringLiteral(" (") + patterns + QLatin1Char(')');
}

std::optional<FileChoice> runFileDialog(const FileDialogOptions& options, QWidget* parent, bool save) {
    QFileDialog dialog(parent, options.title);
    dialog.setObjectName(options.objectName);
    // Qt's own dialog speaks the application's language; a desktop's native one would not.
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setOption(QFileDialog::HideNameFilterDetails, true);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !(save && options.confirmOverwrite));
    QStringList filters;
    for (const FileFilter& f : options.filters)
        filters << qtFilter(f);
    dialog.setNameFilters(filters);
    if (options.filterIndex >= 1 && options.filterIndex <= filters.size())
        dialog.selectNameFilter(filters.at(options.filterIndex - 1));
    QString ext = options.defaultExtension;
    if (ext.startsWith(QLatin1Char('.')))
        ext.remove(0, 1);
    dialog.setDefaultSuffix(ext);
    if (!options.initialFolder.isEmpty())
        dialog.setDirectory(fullPath(options.initialFolder));
    if (!options.fileName.isEmpty()) {
        const QFileInfo info(options.fileName);
        if (info.isAbsolute())
            dialog.setDirectory(info.absolutePath());
        dialog.selectFile(info.fileName());
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    FileChoice choice;
    choice.path = fullPath(dialog.selectedFiles().constFirst());
    choice.filterIndex = static_cast<int>(filters.indexOf(dialog.selectedNameFilter())) + 1;
    if (choice.filterIndex < 1)
        choice.filterIndex = 1;
    return choice;
}

// The font as it is drawn: the face the font substitution resolved it to, at its size in points.
// A font dialog lists real faces only; given a substituted name it would open on another face.
QFont resolvedFont(const QFont& font) {
    const QFontInfo info(font);
    QFont resolved(info.family());
    resolved.setPointSizeF(font.pointSizeF() > 0 ? font.pointSizeF() : info.pointSizeF());
    resolved.setWeight(static_cast<QFont::Weight>(info.weight()));
    resolved.setItalic(info.italic());
    resolved.setUnderline(font.underline());
    resolved.setStrikeOut(font.strikeOut());
    return resolved;
}

bool sameChoice(const QFont& a, const QFont& b) {
    return a.family() == b.family() && qFuzzyCompare(a.pointSizeF(), b.pointSizeF()) &&
           a.weight() == b.weight() && a.italic() == b.italic() && a.underline() == b.underline() &&
           a.strikeOut() == b.strikeOut();
}

} // namespace

Reply QtMessageBoxes::show(const Message& message) {
    QMessageBox box(messageOwner());
    box.setWindowTitle(fromUtf8(message.caption));
    QString text = fromUtf8(message.text);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    box.setText(text);
    box.setTextFormat(Qt::PlainText);
    switch (message.kind) {
    case MessageKind::Plain:
        box.setIcon(QMessageBox::NoIcon);
        break;
    case MessageKind::Confirmation:
        box.setIcon(QMessageBox::Question);
        break;
    case MessageKind::Error:
        box.setIcon(QMessageBox::Critical);
        break;
    }
    std::vector<std::pair<QAbstractButton*, Reply>> buttons;
    for (Reply reply : message.buttons) {
        QAbstractButton* button = box.addButton(buttonText(reply), roleOf(reply));
        buttons.emplace_back(button, reply);
        if (reply == message.defaultReply)
            box.setDefaultButton(qobject_cast<QPushButton*>(button));
    }
    box.exec();
    for (const auto& [button, reply] : buttons)
        if (box.clickedButton() == button)
            return reply;
    // Closed by Esc or the close box: the answer of the last button, as Windows does for No.
    return message.buttons.empty() ? Reply::Ok : message.buttons.back();
}

std::optional<FileChoice> QtFileDialogs::open(const FileDialogOptions& options, QWidget* parent) {
    return runFileDialog(options, parent, false);
}

std::optional<FileChoice> QtFileDialogs::save(const FileDialogOptions& options, QWidget* parent) {
    return runFileDialog(options, parent, true);
}

bool QtPrintDialogs::print(ApplicationPrinter& printer, QWidget* parent) {
    QPrintDialog dialog(&printer.printer(), parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    printer.acceptDialogChoice();
    return true;
}

bool QtPrintDialogs::printerSetup(ApplicationPrinter& printer, QWidget* parent) {
    QPrintDialog dialog(&printer.printer(), parent);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    printer.acceptDialogChoice();
    return true;
}

std::optional<QFont> QtFontDialogs::chooseFont(const QFont& initial, QWidget* parent) {
    const QFont offered = resolvedFont(initial);
    bool ok = false;
    const QFont font =
        QFontDialog::getFont(&ok, offered, parent, QString(), QFontDialog::DontUseNativeDialog);
    if (!ok)
        return std::nullopt;
    // OK without a change keeps the font in force exactly as it was.
    if (sameChoice(font, offered))
        return initial;
    return font;
}

std::optional<ColourValue> QtColourDialogs::chooseColour(ColourValue initial, QWidget* parent) {
    const QColor preset = shownColour(initial, QGuiApplication::palette()).value_or(QColor(Qt::white));
    QColorDialog dialog(preset, parent);
    dialog.setObjectName(QStringLiteral("ColorDialog1"));
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    if (dialog.exec() != QDialog::Accepted || !dialog.selectedColor().isValid())
        return std::nullopt;
    return colourValueOf(dialog.selectedColor());
}

QString QtClipboard::text() const {
    return QGuiApplication::clipboard()->text();
}

void QtClipboard::setText(const QString& text) {
    QGuiApplication::clipboard()->setText(text);
}

void QtClipboard::setMimeData(QMimeData* data) {
    QGuiApplication::clipboard()->setMimeData(data);
}

int QtModalRunner::exec(QDialog& dialog) {
    return dialog.exec();
}

QtServiceSet::QtServiceSet(ProcessLauncher& processes)
    : m_printer(ApplicationPrinter::Mode::System), m_services{m_messages,  m_files,   m_print,
                                                              m_fonts,     m_colours, m_printer,
                                                              m_clipboard, processes, m_modal} {}

} // namespace zelkova::platform
