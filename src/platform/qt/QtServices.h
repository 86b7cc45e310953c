// The Qt implementations of the platform services, for the real application.
#pragma once

#include "platform/qt/ApplicationPrinter.h"
#include "platform/qt/Services.h"

#include <memory>

namespace zelkova::platform {

class QtMessageBoxes final : public MessageBoxes {
public:
    Reply show(const Message& message) override;
};

class QtFileDialogs final : public FileDialogs {
public:
    std::optional<FileChoice> open(const FileDialogOptions& options, QWidget* parent) override;
    std::optional<FileChoice> save(const FileDialogOptions& options, QWidget* parent) override;
};

class QtPrintDialogs final : public PrintDialogs {
public:
    bool print(ApplicationPrinter& printer, QWidget* parent) override;
    bool printerSetup(ApplicationPrinter& printer, QWidget* parent) override;
};

class QtFontDialogs final : public FontDialogs {
public:
    std::optional<QFont> chooseFont(const QFont& initial, QWidget* parent) override;
};

class QtColourDialogs final : public ColourDialogs {
public:
    std::optional<ColourValue> chooseColour(ColourValue initial, QWidget* parent) override;
};

class QtClipboard final : public Clipboard {
public:
    QString text() const override;
    void setText(const QString& text) override;
    void setMimeData(QMimeData* data) override;
};

class QtModalRunner final : public ModalRunner {
public:
    int exec(QDialog& dialog) override;
};

// Owns one of each, with the system printer and the given process launcher.
class QtServiceSet {
public:
    explicit QtServiceSet(ProcessLauncher& processes);
    Services& services() { return m_services; }

private:
    QtMessageBoxes m_messages;
    QtFileDialogs m_files;
    QtPrintDialogs m_print;
    QtFontDialogs m_fonts;
    QtColourDialogs m_colours;
    ApplicationPrinter m_printer;
    QtClipboard m_clipboard;
    QtModalRunner m_modal;
    Services m_services;
};

} // namespace zelkova::platform
