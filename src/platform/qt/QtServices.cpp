// Qt dialogs, message boxes and clipboard behind the platform services.
#include "platform/qt/QtServices.h"

#include "platform/qt/QtText.h"
#include "platform/qt/SystemColours.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
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

// "desc|*.A;*.B" filters as Qt writes them: "desc (*.A *.B)".
QString qtFilter(const FileFilter& filter) {
    QString patterns = filter.patterns;
    patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
    return filter.description + QStringLiteral(" (") + patterns + QLatin1Char(')');
}

std::optional<FileChoice> runFileDialog(const FileDialogOptions& options, QWidget* parent, bool save) {
    QFileDialog dialog(parent, options.title);
    dialog.setObjectName(options.objectName);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
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
        dialog.setDirectory(options.initialFolder);
    if (!options.fileName.isEmpty()) {
        const QFileInfo info(options.fileName);
        if (info.isAbsolute())
            dialog.setDirectory(info.absolutePath());
        dialog.selectFile(info.fileName());
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    FileChoice choice;
    choice.path = dialog.selectedFiles().constFirst();
    choice.filterIndex = static_cast<int>(filters.indexOf(dialog.selectedNameFilter())) + 1;
    if (choice.filterIndex < 1)
        choice.filterIndex = 1;
    return choice;
}

} // namespace

Reply QtMessageBoxes::show(const Message& message) {
    QMessageBox box(QApplication::activeWindow());
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
    return dialog.exec() == QDialog::Accepted;
}

bool QtPrintDialogs::printerSetup(ApplicationPrinter& printer, QWidget* parent) {
    QPrintDialog dialog(&printer.printer(), parent);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    return dialog.exec() == QDialog::Accepted;
}

std::optional<QFont> QtFontDialogs::chooseFont(const QFont& initial, QWidget* parent) {
    bool ok = false;
    const QFont font = QFontDialog::getFont(&ok, initial, parent);
    if (!ok)
        return std::nullopt;
    return font;
}

std::optional<ColourValue> QtColourDialogs::chooseColour(ColourValue initial, QWidget* parent) {
    const QColor preset = shownColour(initial, QGuiApplication::palette()).value_or(QColor(Qt::white));
    QColorDialog dialog(preset, parent);
    dialog.setObjectName(QStringLiteral("ColorDialog1"));
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
