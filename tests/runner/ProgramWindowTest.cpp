// Shows that the editor's run command runs each program in a window of its own: the window, titled
// with the program's path and modal before the editor, shows the program's output as a console
// does and closes itself when the program ends with status 0; a question of the program is
// answered by typing into the window; a program that fails, crashes or cannot be started leaves
// its window open with one line saying how it ended, and the run goes on once it is closed;
// closing the window while the program runs asks first and ends the program as a hang-up. Every
// window is driven by the test (typed into, closed) and waited for with a time limit.
#include "runner/qt/ProgramWindow.h"
#include "GuiHelpers.h"
#include "ScriptedServices.h"
#include "TempDir.h"
#include "editor/qt/TForm1.h"
#include "runner/qt/ProgramWindowLauncher.h"
#include "text/Cp932.h"

#include <QDeadlineTimer>
#include <QInputMethodEvent>
#include <QPlainTextEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace zelkova::testing {
namespace {

namespace fs = std::filesystem;
using platform::MessageKind;
using platform::Reply;
using runner::ProgramWindow;

const fs::path kPrograms = ZK_TEST_PROGRAMS_DIR;

// Lets events run until `done` holds, for at most 10 seconds.
bool waitUntil(const std::function<bool()>& done) {
    QDeadlineTimer deadline(10000);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QTest::qWait(5);
    }
    return true;
}

QPlainTextEdit* outputView(QDialog& window) {
    return child<QPlainTextEdit>(&window, "ProgramOutput");
}

std::string outputOf(QDialog& window) {
    QPlainTextEdit* view = outputView(window);
    return view ? view->toPlainText().toStdString() : std::string();
}

class ProgramWindowTest : public ::testing::Test {
protected:
    ~ProgramWindowTest() override {
        form.reset();
        processEvents();
    }

    // Copies a stand-in program into the test's program folder.
    std::string install(const std::string& program) {
        const fs::path target = dir.path() / "prog" / program;
        fs::create_directories(target.parent_path());
        fs::copy_file(kPrograms / program, target, fs::copy_options::overwrite_existing);
        return target.string();
    }

    // Writes the run file (UTF-8 lines, stored in CP932 with CR LF), opens it in the editor and
    // runs it from the menu.
    void run(const std::vector<std::string>& lines) {
        std::string text;
        for (const std::string& line : lines)
            text += text::utf8ToCp932(line) + "\r\n";
        const std::string runFile = dir.write("data/RUN.FRT", text);
        form = std::make_unique<TForm1>(services, QString::fromStdString(runFile));
        trigger(form.get(), "prgrun");
    }

    // What the test does with the next program window, which is shown modally meanwhile.
    void onNextWindow(std::function<void(ProgramWindow&)> drive) {
        s.modal.onNext([drive](QDialog& dialog) {
            auto* window = qobject_cast<ProgramWindow*>(&dialog);
            EXPECT_TRUE(window) << "not a program window: " << dialog.objectName().toStdString();
            if (!window)
                return int(QDialog::Rejected);
            dialog.show();
            drive(*window);
            return dialog.result();
        });
    }

    // Waits for the program's end and checks that its window closed itself.
    static void expectClosesItself(ProgramWindow& window) {
        ASSERT_TRUE(waitUntil([&] { return window.isFinished(); })) << outputOf(window);
        EXPECT_FALSE(window.isVisible());
        EXPECT_EQ(window.result(), QDialog::Accepted);
    }
    // Waits for the program's end and checks that its window stays open with `endLine` last.
    static void expectStaysWith(ProgramWindow& window, const std::string& endLine) {
        ASSERT_TRUE(waitUntil([&] { return window.isFinished(); })) << outputOf(window);
        QTest::qWait(50);
        EXPECT_TRUE(window.isVisible());
        // The line stands on a row of its own, the last one.
        const std::string text = outputOf(window);
        const std::size_t at = text.rfind(endLine);
        EXPECT_TRUE(at != std::string::npos && at + endLine.size() == text.size() &&
                    (at == 0 || text[at - 1] == '\n'))
            << text;
    }

    TempDir dir;
    ScriptedServices s;
    runner::ProgramWindowLauncher launcher{s.messages, s.modal};
    platform::Services services{s.messages, s.files,     s.printDialogs, s.fonts, s.colours,
                                s.printer,  s.clipboard, launcher,       s.modal};
    std::unique_ptr<TForm1> form;
};

TEST_F(ProgramWindowTest, ProgramThatPrintsAndEndsClosesItsWindowAndItsOutputIsDelivered) {
    const std::string program = install("zk_progress");
    bool modalBeforeTheEditor = false;
    std::string shown;
    onNextWindow([&](ProgramWindow& window) {
        modalBeforeTheEditor = QApplication::activeModalWidget() == &window;
        expectClosesItself(window);
        shown = outputOf(window);
    });
    run({"W 'OUT.DAT'='out.txt'", "P '" + program + "'"});
    EXPECT_TRUE(s.messages.shown().empty());
    EXPECT_EQ(s.modal.shownTitles, std::vector<QString>{QString::fromStdString(program)});
    EXPECT_TRUE(modalBeforeTheEditor);
    // The counter overwritten in place by CR, and the code page 932 line decoded.
    EXPECT_EQ(shown, "step 3 of 3\n計算終了\n");
    EXPECT_EQ(readBytes(dir.file("data/out.txt")), "progress done\r\n");
}

TEST_F(ProgramWindowTest, AnswerTypedIntoTheWindowReachesTheProgram) {
    const std::string program = install("zk_ask");
    std::string beforeTyping;
    std::string afterEnd;
    onNextWindow([&](ProgramWindow& window) {
        // The prompt shows while the program waits for its answer.
        ASSERT_TRUE(waitUntil([&] { return outputOf(window) == "荷重 P (kN) = "; })) << outputOf(window);
        beforeTyping = outputOf(window);
        QPlainTextEdit* view = outputView(window);
        // "5", then "あ" through the input method, erased with one Backspace, then "0" and Enter.
        QTest::keyClicks(view, "5");
        QInputMethodEvent composed;
        composed.setCommitString(QStringLiteral("あ"));
        QApplication::sendEvent(view, &composed);
        QTest::keyClick(view, Qt::Key_Backspace);
        QTest::keyClicks(view, "0");
        QTest::keyClick(view, Qt::Key_Return);
        expectClosesItself(window);
        afterEnd = outputOf(window);
    });
    run({"W 'ANSWER.DAT'='answer.txt'", "P '" + program + "'"});
    EXPECT_TRUE(s.messages.shown().empty());
    EXPECT_EQ(readBytes(dir.file("data/answer.txt")), "P=50\r\n");
    // The terminal echoed what was typed, the erased character blanked.
    EXPECT_EQ(afterEnd, "荷重 P (kN) = 50 \nP = 50 kN\n");
}

TEST_F(ProgramWindowTest, FailedProgramKeepsItsWindowWithItsExitCodeThenTheRunGoesOn) {
    const std::string failing = install("zk_fail3");
    const std::string progress = install("zk_progress");
    onNextWindow([&](ProgramWindow& window) {
        expectStaysWith(window, "終了コード 3");
        EXPECT_EQ(outputOf(window), "DATA ERROR IN CARD 17\n終了コード 3");
        // Typing goes nowhere now; Enter closes the window without a question.
        QTest::keyClicks(outputView(window), "x");
        EXPECT_TRUE(window.isVisible());
        QTest::keyClick(outputView(window), Qt::Key_Return);
        EXPECT_FALSE(window.isVisible());
    });
    onNextWindow([&](ProgramWindow& window) { expectClosesItself(window); });
    run({"P '" + failing + "'", "W 'OUT.DAT'='out.txt'", "P '" + progress + "'"});
    EXPECT_TRUE(s.messages.shown().empty());
    EXPECT_EQ(s.modal.shownTitles.size(), 2u);
    EXPECT_EQ(readBytes(dir.file("data/out.txt")), "progress done\r\n");
}

TEST_F(ProgramWindowTest, CrashIsNamedBySignalAndTheMissingOutputIsReportedAfterwards) {
    const std::string program = install("zk_crash");
    onNextWindow([&](ProgramWindow& window) {
        expectStaysWith(window, "シグナル SIGSEGV");
        EXPECT_EQ(outputOf(window), "starting\nシグナル SIGSEGV");
        EXPECT_TRUE(s.messages.shown().empty()); // the runner speaks only once the window is closed
        window.close();
    });
    run({"W 'RESULT.DAT'='result.txt'", "P '" + program + "'"});
    ASSERT_EQ(s.messages.shown().size(), 1u);
    EXPECT_EQ(s.messages.shown()[0].text,
              "WRITEﾌｧｲﾙ名（＝の左側）に誤りがある！\r\nあるいはデータミス等によるエラーの発生！\r\n"
              "このﾌｧｲﾙは存在しない。\r\nFILE=" +
                  dir.file("prog/RESULT.DAT"));
}

TEST_F(ProgramWindowTest, ClosingWhileTheProgramRunsAsksAndEndsItAsASignal) {
    const std::string program = install("zk_endless");
    onNextWindow([&](ProgramWindow& window) {
        ASSERT_TRUE(waitUntil([&] { return outputOf(window) == "running until ended\n"; }))
            << outputOf(window);
        // No: the program goes on and the window stays.
        s.messages.answerNext(Reply::No);
        window.close();
        ASSERT_EQ(s.messages.shown().size(), 1u);
        const platform::Message& question = s.messages.shown()[0];
        EXPECT_EQ(question.kind, MessageKind::Confirmation);
        EXPECT_EQ(question.caption, "確認");
        EXPECT_EQ(question.text, "プログラムは実行中です。\r\n終了させますか？");
        QTest::qWait(100);
        EXPECT_FALSE(window.isFinished());
        EXPECT_TRUE(window.isVisible());
        // Yes: the program is hung up on, and its end is shown as any end by a signal.
        s.messages.answerNext(Reply::Yes);
        window.close();
        expectStaysWith(window, "シグナル SIGHUP");
        window.close();
        EXPECT_FALSE(window.isVisible());
    });
    run({"P '" + program + "'"});
    EXPECT_EQ(s.messages.shown().size(), 2u); // the two questions, nothing after them
    EXPECT_EQ(s.messages.unusedAnswers(), 0u);
}

TEST_F(ProgramWindowTest, ProgramThatCannotBeStartedSaysSoInItsWindow) {
    const std::string notAProgram = dir.write("prog/DATA.EXE", "MZ: not for this system\n");
    fs::permissions(notAProgram, fs::perms::owner_all);
    onNextWindow([&](ProgramWindow& window) {
        expectStaysWith(window, "起動できません（実行できる形式ではありません）");
        EXPECT_EQ(outputOf(window), "起動できません（実行できる形式ではありません）");
        window.close();
    });
    run({"W 'OUT.DAT'='out.txt'", "P '" + notAProgram + "'"});
    ASSERT_EQ(s.messages.shown().size(), 1u);
    EXPECT_NE(s.messages.shown()[0].text.find("FILE=" + dir.file("prog/OUT.DAT")), std::string::npos);
}

} // namespace
} // namespace zelkova::testing
