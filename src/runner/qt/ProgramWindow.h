// The started program's own window, the stand-in for a console window: a modal window titled with
// the program's path that shows the program's output as it comes, in the Japanese fixed-pitch
// font, and sends the program what the user types. The program runs on a pseudo-terminal, so it
// sees a terminal as a console program does.
//
// A program that ends by itself with status 0 closes the window, as a console window closes. Any
// other end (a non-zero status, a signal, a program that could not be started) adds one line
// saying so, and the window stays until the user closes it. Closing it while the program runs
// asks first, and ends the program as a closed terminal does.
#pragma once

#include "platform/MessageBoxes.h"
#include "platform/PosixProcessLauncher.h"
#include "runner/ConsoleLines.h"

#include <QDialog>
#include <QString>

#include <memory>
#include <string>
#include <vector>

class QCloseEvent;
class QSocketNotifier;
class QTimer;

namespace zelkova::runner {

class ConsoleView;

// The question before a running program is ended.
inline constexpr std::string_view kEndRunningProgramQuestion = "プログラムは実行中です。\r\n終了させますか？";

class ProgramWindow final : public QDialog {
    Q_OBJECT
public:
    static constexpr platform::TerminalProcess::Size kConsoleSize{80, 25};

    // A window for `process`, which is running; `title` is the program's path.
    ProgramWindow(std::unique_ptr<platform::TerminalProcess> process, const QString& title,
                  platform::MessageBoxes& messages, QWidget* parent = nullptr);
    // A window for a program that could not be started: it says so and stays until closed.
    ProgramWindow(const platform::LaunchResult& failedStart, const QString& title,
                  platform::MessageBoxes& messages, QWidget* parent = nullptr);
    ~ProgramWindow() override;

    // True once the program has ended and its end has been shown.
    bool isFinished() const { return m_finished; }
    // How the program ended. A program still running when this is asked (the window was never
    // shown modally) is killed first.
    const platform::LaunchResult& launchResult();

    // Escape and the close box: a running program is ended only when the user confirms it.
    void reject() override;

signals:
    // The program's end has been shown (or the window has closed itself on it).
    void programFinished();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void build(const QString& title);
    void readOutput();
    void checkEnd();
    void finish();
    void endProgram();
    void appendOutput(std::string_view bytes);
    void appendEndLine(const std::string& utf8);
    void refreshCursor();

    std::unique_ptr<platform::TerminalProcess> m_process;
    platform::MessageBoxes& m_messages;
    platform::LaunchResult m_result;
    ConsoleLines m_console{kConsoleSize.columns};
    ConsoleView* m_view = nullptr;
    QSocketNotifier* m_output = nullptr;
    QSocketNotifier* m_endNotice = nullptr;
    QTimer* m_endPoll = nullptr;    // where the system gives no end notice
    QTimer* m_lastOutput = nullptr; // after the end: how long the rest of the output may take
    QTimer* m_killTimer = nullptr;  // after a hang-up the program did not end on
    bool m_terminalClosed = false;
    bool m_ended = false;
    bool m_finished = false;
};

} // namespace zelkova::runner
