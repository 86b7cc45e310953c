// Scripted doubles of every Qt-level platform service, bundled as the windows take them. A test
// scripts answers ("choose this file in the next open dialog") and reads back what was asked.
#pragma once

#include "FakeProcessLauncher.h"
#include "ScriptedMessageBoxes.h"
#include "platform/qt/ApplicationPrinter.h"
#include "platform/qt/Services.h"

#include <QDialog>
#include <QMimeData>
#include <QPrinter>

#include <deque>
#include <functional>
#include <memory>
#include <vector>

namespace zelkova::testing {

class ScriptedFileDialogs final : public platform::FileDialogs {
public:
    void chooseNext(const QString& path, int filterIndex = 1) {
        m_answers.push_back(platform::FileChoice{path, filterIndex});
    }
    void cancelNext() { m_answers.push_back(std::nullopt); }
    const std::vector<platform::FileDialogOptions>& requests() const { return m_requests; }
    std::optional<platform::FileChoice> open(const platform::FileDialogOptions& o, QWidget*) override {
        return answer(o);
    }
    std::optional<platform::FileChoice> save(const platform::FileDialogOptions& o, QWidget*) override {
        return answer(o);
    }

private:
    std::optional<platform::FileChoice> answer(const platform::FileDialogOptions& o) {
        m_requests.push_back(o);
        if (m_answers.empty()) {
            ADD_FAILURE() << "unscripted file dialog " << o.objectName.toStdString();
            return std::nullopt;
        }
        auto a = m_answers.front();
        m_answers.pop_front();
        return a;
    }
    std::deque<std::optional<platform::FileChoice>> m_answers;
    std::vector<platform::FileDialogOptions> m_requests;
};

class ScriptedPrintDialogs final : public platform::PrintDialogs {
public:
    // The next print dialog answers `accept`; `copies` (when set) is what the user chose, and
    // `pdfFile` (when set) the output file typed in.
    void answerNext(bool accept, int copies = 0, const QString& pdfFile = {}) {
        m_answers.push_back({accept, copies, pdfFile});
    }
    // The output file each print dialog showed when it opened.
    std::vector<QString> shownPdfFiles;
    int printCalls = 0;
    int setupCalls = 0;
    bool print(platform::ApplicationPrinter& printer, QWidget*) override {
        ++printCalls;
        return answer(printer);
    }
    bool printerSetup(platform::ApplicationPrinter& printer, QWidget*) override {
        ++setupCalls;
        return answer(printer);
    }

private:
    struct Answer {
        bool accept;
        int copies;
        QString pdfFile;
    };
    bool answer(platform::ApplicationPrinter& printer) {
        shownPdfFiles.push_back(printer.printer().outputFileName());
        if (m_answers.empty()) {
            ADD_FAILURE() << "unscripted print dialog";
            return false;
        }
        const Answer a = m_answers.front();
        m_answers.pop_front();
        if (!a.accept)
            return false;
        if (a.copies > 0)
            printer.printer().setCopyCount(a.copies);
        if (!a.pdfFile.isEmpty())
            printer.printer().setOutputFileName(a.pdfFile);
        printer.acceptDialogChoice();
        return true;
    }
    std::deque<Answer> m_answers;
};

class ScriptedFontDialogs final : public platform::FontDialogs {
public:
    void chooseNext(std::optional<QFont> font) { m_answers.push_back(std::move(font)); }
    std::vector<QFont> initials;
    std::optional<QFont> chooseFont(const QFont& initial, QWidget*) override {
        initials.push_back(initial);
        if (m_answers.empty()) {
            ADD_FAILURE() << "unscripted font dialog";
            return std::nullopt;
        }
        auto a = m_answers.front();
        m_answers.pop_front();
        return a;
    }

private:
    std::deque<std::optional<QFont>> m_answers;
};

// Answers the colour dialog with colour values; `whileShown` (when set) runs as the dialog is
// "open", to look at the window behind it.
class ScriptedColourDialogs final : public platform::ColourDialogs {
public:
    void chooseNext(platform::ColourValue colour) { m_answers.push_back(colour); }
    void cancelNext() { m_answers.push_back(std::nullopt); }
    std::vector<platform::ColourValue> initials;
    std::function<void()> whileShown;
    std::optional<platform::ColourValue> chooseColour(platform::ColourValue initial, QWidget*) override {
        initials.push_back(initial);
        if (whileShown)
            whileShown();
        if (m_answers.empty()) {
            ADD_FAILURE() << "unscripted colour dialog";
            return std::nullopt;
        }
        auto a = m_answers.front();
        m_answers.pop_front();
        return a;
    }

private:
    std::deque<std::optional<platform::ColourValue>> m_answers;
};

class MemoryClipboard final : public platform::Clipboard {
public:
    QString text() const override { return m_data && m_data->hasText() ? m_data->text() : QString(); }
    void setText(const QString& text) override {
        auto* data = new QMimeData;
        data->setText(text);
        setMimeData(data);
    }
    void setMimeData(QMimeData* data) override { m_data.reset(data); }
    const QMimeData* mimeData() const { return m_data.get(); }

private:
    std::unique_ptr<QMimeData> m_data;
};

// Runs our own modal forms without exec(): calls the scripted action (if any) with the form
// "shown", then returns the scripted result.
class ScriptedModalRunner final : public platform::ModalRunner {
public:
    using Action = std::function<int(QDialog&)>;
    void onNext(Action action) { m_actions.push_back(std::move(action)); }
    std::vector<QString> shownObjectNames;
    std::vector<QString> shownTitles;
    int exec(QDialog& dialog) override {
        shownObjectNames.push_back(dialog.objectName());
        shownTitles.push_back(dialog.windowTitle());
        if (m_actions.empty())
            return QDialog::Rejected;
        Action action = std::move(m_actions.front());
        m_actions.pop_front();
        return action(dialog);
    }

private:
    std::deque<Action> m_actions;
};

// One of each, with a PDF application printer whose output file the test sets (or, in NoPrinter
// mode, the PDF fallback of a system without printers).
struct ScriptedServices {
    ScriptedServices() = default;
    explicit ScriptedServices(platform::ApplicationPrinter::Mode printerMode) : printer(printerMode) {}

    ScriptedMessageBoxes messages;
    ScriptedFileDialogs files;
    ScriptedPrintDialogs printDialogs;
    ScriptedFontDialogs fonts;
    ScriptedColourDialogs colours;
    platform::ApplicationPrinter printer{platform::ApplicationPrinter::Mode::PdfFile};
    MemoryClipboard clipboard;
    FakeProcessLauncher processes;
    ScriptedModalRunner modal;
    platform::Services services{messages, files,     printDialogs, fonts, colours,
                                printer,  clipboard, processes,    modal};
};

} // namespace zelkova::testing
