// The program window: output through the console line model into a text view, keys to the
// program's terminal, the end of the program watched through the system's end notice.
#include "runner/qt/ProgramWindow.h"

#include "platform/qt/Fonts.h"
#include "platform/qt/QtText.h"
#include "runner/ProgramEnd.h"
#include "text/Cp932.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSocketNotifier>
#include <QTextBlock>
#include <QTimer>
#include <QVBoxLayout>

#include <functional>

namespace zelkova::runner {

namespace {

constexpr int kCellHeight = 16;        // the console's character cell, in pixels
constexpr int kScrollbackRows = 10000; // rows kept above the cursor
constexpr int kEndPollMilliseconds = 20;
constexpr int kLastOutputMilliseconds = 1000;
constexpr int kKillAfterHangUpMilliseconds = 3000;
constexpr std::size_t kReadsPerWakeUp = 64; // a flood of output still leaves the window responsive

// Control keys as a terminal sends them.
constexpr char kEraseCharacter = 0x7F; // the line discipline's erase character
constexpr char kEraseLine = 0x15;      // ^U, the line discipline's kill character

} // namespace

// The text view of the window. It takes no edits of its own: keys and input-method text go to
// the program, which echoes them through its terminal.
class ConsoleView final : public QPlainTextEdit {
public:
    explicit ConsoleView(QWidget* parent) : QPlainTextEdit(parent) {
        setReadOnly(true);
        setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
        setAttribute(Qt::WA_InputMethodEnabled, true);
        setLineWrapMode(QPlainTextEdit::NoWrap); // the console model wraps rows itself
        setUndoRedoEnabled(false);
        setMaximumBlockCount(kScrollbackRows);
        setCursorWidth(2);
    }

    std::function<void(std::string_view)> send;
    bool accepting = true;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        event->accept();
        if (!accepting || !send) {
            // Once the program has ended, Escape and Enter close the window that stayed open.
            const int key = event->key();
            if (key == Qt::Key_Escape || key == Qt::Key_Return || key == Qt::Key_Enter)
                window()->close();
            return;
        }
        switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            m_typed.clear();
            send("\r");
            return;
        case Qt::Key_Backspace:
            // A double-byte character is two bytes to the line discipline: erase both.
            send(std::string(m_typed.empty() ? 1 : m_typed.back(), kEraseCharacter));
            if (!m_typed.empty())
                m_typed.pop_back();
            return;
        case Qt::Key_Escape:
            // A console clears the typed line on Escape.
            m_typed.clear();
            send(std::string(1, kEraseLine));
            return;
        default:
            break;
        }
        const Qt::KeyboardModifiers modifiers = event->modifiers();
        if ((modifiers & Qt::ControlModifier) && !(modifiers & Qt::AltModifier) &&
            event->key() >= Qt::Key_A && event->key() <= Qt::Key_Z) {
            // Ctrl+C interrupts, Ctrl+D ends the input, Ctrl+Z reaches the program as its byte.
            m_typed.clear();
            send(std::string(1, static_cast<char>(event->key() - Qt::Key_A + 1)));
            return;
        }
        type(event->text());
    }

    void inputMethodEvent(QInputMethodEvent* event) override {
        if (accepting && send)
            type(event->commitString());
        event->accept();
    }

private:
    void type(const QString& text) {
        std::string bytes;
        for (const QChar c : text) {
            if (c.unicode() < 0x20 && c != QLatin1Char('\t'))
                continue;
            const std::string character = platform::toCp932(QString(c));
            m_typed.push_back(character.size());
            bytes += character;
        }
        if (!bytes.empty())
            send(bytes);
    }

    std::vector<std::size_t> m_typed; // byte lengths of the characters typed on this line
};

ProgramWindow::ProgramWindow(std::unique_ptr<platform::TerminalProcess> process, const QString& title,
                             platform::MessageBoxes& messages, QWidget* parent)
    : QDialog(parent), m_process(std::move(process)), m_messages(messages) {
    build(title);
    m_result.started = true;
    m_view->send = [this](std::string_view bytes) { m_process->write(bytes); };

    m_output = new QSocketNotifier(m_process->terminalDescriptor(), QSocketNotifier::Read, this);
    connect(m_output, &QSocketNotifier::activated, this, &ProgramWindow::readOutput);
    if (m_process->endDescriptor() >= 0) {
        m_endNotice = new QSocketNotifier(m_process->endDescriptor(), QSocketNotifier::Read, this);
        connect(m_endNotice, &QSocketNotifier::activated, this, &ProgramWindow::checkEnd);
    } else {
        m_endPoll = new QTimer(this);
        connect(m_endPoll, &QTimer::timeout, this, &ProgramWindow::checkEnd);
        m_endPoll->start(kEndPollMilliseconds);
    }
    connect(m_lastOutput, &QTimer::timeout, this, &ProgramWindow::finish);
    connect(m_killTimer, &QTimer::timeout, this, [this] { m_process->kill(); });
}

ProgramWindow::ProgramWindow(const platform::LaunchResult& failedStart, const QString& title,
                             platform::MessageBoxes& messages, QWidget* parent)
    : QDialog(parent), m_messages(messages), m_result(failedStart) {
    build(title);
    m_ended = true;
    m_terminalClosed = true;
    m_view->accepting = false;
    finish();
}

ProgramWindow::~ProgramWindow() {
    // The notifiers watch the process's descriptors: they go before the process closes them.
    delete m_output;
    delete m_endNotice;
}

void ProgramWindow::build(const QString& title) {
    setObjectName(QStringLiteral("ProgramWindow"));
    setWindowTitle(title);
    setModal(true);
    setWindowModality(Qt::ApplicationModal);
    setSizeGripEnabled(true);

    m_lastOutput = new QTimer(this);
    m_lastOutput->setSingleShot(true);
    m_killTimer = new QTimer(this);
    m_killTimer->setSingleShot(true);

    m_view = new ConsoleView(this);
    m_view->setObjectName(QStringLiteral("ProgramOutput"));
    m_view->setFont(platform::japaneseFixedFont(kCellHeight));
    // Light grey on black, as a console shows it.
    QPalette colours = m_view->palette();
    colours.setColor(QPalette::Base, Qt::black);
    colours.setColor(QPalette::Text, QColor(0xC0, 0xC0, 0xC0));
    colours.setColor(QPalette::Highlight, QColor(0xC0, 0xC0, 0xC0));
    colours.setColor(QPalette::HighlightedText, Qt::black);
    m_view->setPalette(colours);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);

    const QFontMetrics metrics(m_view->font());
    const int frame = 2 * m_view->frameWidth() + 2 * static_cast<int>(m_view->document()->documentMargin());
    resize(metrics.horizontalAdvance(QLatin1Char('0')) * kConsoleSize.columns + frame +
               m_view->verticalScrollBar()->sizeHint().width(),
           metrics.lineSpacing() * kConsoleSize.rows + frame);
    m_view->setFocus();
}

const platform::LaunchResult& ProgramWindow::launchResult() {
    if (!m_finished && m_process)
        m_result = m_process->killAndWait();
    return m_result;
}

void ProgramWindow::readOutput() {
    std::string bytes;
    for (std::size_t i = 0; i < kReadsPerWakeUp; ++i) {
        const platform::TerminalProcess::ReadState state = m_process->read(bytes);
        if (state == platform::TerminalProcess::ReadState::Nothing)
            break;
        if (state == platform::TerminalProcess::ReadState::Closed) {
            // Every holder of the terminal has let go of it: nothing more will come.
            m_terminalClosed = true;
            m_output->setEnabled(false);
            break;
        }
    }
    if (!bytes.empty())
        appendOutput(bytes);
    if (m_terminalClosed && m_ended)
        finish();
}

void ProgramWindow::checkEnd() {
    if (m_ended || !m_process->ended())
        return;
    m_ended = true;
    m_result = m_process->result();
    m_view->accepting = false;
    m_killTimer->stop();
    if (m_endNotice)
        m_endNotice->setEnabled(false);
    if (m_endPoll)
        m_endPoll->stop();
    // What the program wrote last may still be on its way through the terminal; it has arrived
    // when the terminal reads as closed. A program that left something running on the terminal
    // never lets it close, so the wait is short.
    readOutput();
    if (!m_finished)
        m_lastOutput->start(kLastOutputMilliseconds);
}

void ProgramWindow::finish() {
    if (m_finished)
        return;
    if (m_process && m_output->isEnabled())
        readOutput();
    m_finished = true;
    m_lastOutput->stop();
    const std::string end = programEndText(m_result);
    if (end.empty()) {
        emit programFinished();
        done(QDialog::Accepted);
        return;
    }
    appendEndLine(end);
    emit programFinished();
}

void ProgramWindow::reject() {
    if (m_finished || !m_process) {
        QDialog::reject();
        return;
    }
    checkEnd();
    if (m_ended) {
        finish();
        return;
    }
    if (m_killTimer->isActive())
        return; // already being ended
    if (m_messages.confirm(kEndRunningProgramQuestion))
        endProgram();
}

void ProgramWindow::closeEvent(QCloseEvent* event) {
    if (m_finished) {
        QDialog::closeEvent(event);
        return;
    }
    event->ignore();
    reject();
}

void ProgramWindow::endProgram() {
    // As a terminal that is closed: a hang-up, and the end is reported as any end by a signal.
    // A program that does not end on it is killed.
    m_process->hangUp();
    m_killTimer->start(kKillAfterHangUpMilliseconds);
}

void ProgramWindow::appendOutput(std::string_view bytes) {
    std::vector<std::string> completed;
    m_console.write(bytes, completed);
    QString text;
    for (const std::string& row : completed) {
        text += platform::fromCp932(row);
        text += QLatin1Char('\n');
    }
    text += platform::fromCp932(m_console.currentRow());
    // The last block of the view is the row the cursor is on; it is replaced with what it has
    // become, followed by the rows after it.
    QTextCursor cursor(m_view->document());
    cursor.movePosition(QTextCursor::End);
    cursor.movePosition(QTextCursor::StartOfBlock, QTextCursor::KeepAnchor);
    cursor.insertText(text);
    refreshCursor();
}

void ProgramWindow::appendEndLine(const std::string& utf8) {
    // The line stands on a row of its own, as a shell's next prompt would.
    appendOutput((m_console.currentRow().empty() ? std::string() : std::string("\r\n")) +
                 text::utf8ToCp932(utf8));
}

void ProgramWindow::refreshCursor() {
    if (m_view->textCursor().hasSelection())
        return; // the user is selecting text to copy
    const std::string& row = m_console.currentRow();
    const int characters =
        platform::fromCp932(std::string_view(row).substr(0, std::min(row.size(), m_console.column()))).size();
    QTextCursor cursor(m_view->document()->lastBlock());
    cursor.setPosition(m_view->document()->lastBlock().position() + characters);
    m_view->setTextCursor(cursor);
    m_view->ensureCursorVisible();
}

} // namespace zelkova::runner
