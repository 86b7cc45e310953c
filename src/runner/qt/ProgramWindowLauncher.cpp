// A program in its window, waited for behind it.
#include "runner/qt/ProgramWindowLauncher.h"

#include "platform/PosixProcessLauncher.h"
#include "platform/qt/QtText.h"
#include "runner/qt/ProgramWindow.h"

#include <QApplication>

namespace zelkova::runner {

platform::LaunchResult ProgramWindowLauncher::runAndWait(const std::string& program,
                                                         const std::string& workingFolder) {
    const QString title = platform::fromUtf8(program);
    QWidget* parent = QApplication::activeWindow();
    int error = 0;
    std::unique_ptr<platform::TerminalProcess> process =
        platform::TerminalProcess::start(program, workingFolder, ProgramWindow::kConsoleSize, error);
    if (!process) {
        // The window says why; the run then goes on as after any end.
        platform::LaunchResult failed;
        failed.startError = error;
        ProgramWindow window(failed, title, m_messages, parent);
        m_modal.exec(window);
        return failed;
    }
    ProgramWindow window(std::move(process), title, m_messages, parent);
    m_modal.exec(window);
    return window.launchResult();
}

} // namespace zelkova::runner
