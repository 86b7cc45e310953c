// Shows that a program started on a pseudo-terminal sees a terminal on its three standard streams,
// leads a session of its own with that terminal as its controlling terminal and runs in its
// folder; that its output, a prompt without a line end included, arrives at our end, and what is
// typed reaches it through the line discipline (echo and erase); that its end is reported as an
// exit status or a signal, a hang-up ending it as a closed terminal does; and that a program that
// cannot be started is reported with the reason.
#include "platform/PosixProcessLauncher.h"

#include "TempDir.h"
#include "text/Cp932.h"

#include <poll.h>
#include <signal.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <functional>
#include <string>

namespace zelkova::platform {
namespace {

namespace fs = std::filesystem;
using testing::readBytes;

const fs::path kPrograms = ZK_TEST_PROGRAMS_DIR;

class TerminalProcessTest : public ::testing::Test {
protected:
    std::unique_ptr<TerminalProcess> start(const std::string& program) {
        const fs::path target = dir.path() / "prog" / program;
        fs::create_directories(target.parent_path());
        fs::copy_file(kPrograms / program, target, fs::copy_options::overwrite_existing);
        int error = -1;
        auto process = TerminalProcess::start(target.string(), dir.file("prog") + "/", {80, 25}, error);
        EXPECT_TRUE(process) << "error " << error;
        EXPECT_EQ(error, 0);
        return process;
    }

    // Reads the output until `done` holds, for at most 10 seconds; false on time-out.
    bool readUntil(TerminalProcess& process, const std::function<bool()>& done) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!done()) {
            if (std::chrono::steady_clock::now() > deadline)
                return false;
            // A closed terminal polls as ready for ever: once it is closed only the end is waited for.
            pollfd fds[2] = {{closed ? -1 : process.terminalDescriptor(), POLLIN, 0},
                             {process.endDescriptor(), POLLIN, 0}};
            ::poll(fds, process.endDescriptor() >= 0 ? 2 : 1, 50);
            if (!closed && process.read(output) == TerminalProcess::ReadState::Closed)
                closed = true;
        }
        return true;
    }
    // Reads everything until the program has ended and has let go of the terminal.
    bool readToTheEnd(TerminalProcess& process) {
        return readUntil(process, [&] { return closed && process.ended(); });
    }

    testing::TempDir dir;
    std::string output;
    bool closed = false;
};

TEST_F(TerminalProcessTest, ProgramRunsOnATerminalOfItsOwnSessionAndShowsItsOutput) {
    auto process = start("zk_progress");
    ASSERT_TRUE(process);
    ASSERT_TRUE(readToTheEnd(*process)) << output;
    EXPECT_TRUE(process->result().started);
    EXPECT_EQ(process->result().exitCode, 0);
    EXPECT_EQ(process->result().signal, 0);
    // The terminal turns each LF into CR LF, as a console shows a line end.
    EXPECT_EQ(output,
              "\rstep 1 of 3\rstep 2 of 3\rstep 3 of 3\r\r\n" + text::utf8ToCp932("計算終了") + "\r\n");
    EXPECT_EQ(readBytes(dir.file("prog/TTY.DAT")),
              "terminals=111\nsession-leader=1\ncontrolling-terminal=1\n");
    EXPECT_EQ(readBytes(dir.file("prog/OUT.DAT")), "progress done\n");
}

TEST_F(TerminalProcessTest, PromptShowsBeforeTheProgramReadsAndTypedLineIsEchoedAndEdited) {
    auto process = start("zk_ask");
    ASSERT_TRUE(process);
    const std::string prompt = text::utf8ToCp932("荷重 P (kN) = ");
    ASSERT_TRUE(readUntil(*process, [&] { return output == prompt; })) << output;
    // "9" typed and erased, then "42" and Enter.
    process->write("9\x7F");
    process->write("42\r");
    ASSERT_TRUE(readToTheEnd(*process)) << output;
    EXPECT_EQ(process->result().exitCode, 0);
    EXPECT_EQ(output, prompt + "9\b \b42\r\nP = 42 kN\r\n");
    EXPECT_EQ(readBytes(dir.file("prog/ANSWER.DAT")), "P=42\n");
}

TEST_F(TerminalProcessTest, EndsByStatusSignalAndHangUpAreReported) {
    auto failing = start("zk_fail3");
    ASSERT_TRUE(failing);
    ASSERT_TRUE(readToTheEnd(*failing));
    EXPECT_EQ(output, "DATA ERROR IN CARD 17\r\n");
    EXPECT_EQ(failing->result().exitCode, 3);
    EXPECT_EQ(failing->result().signal, 0);

    auto crashing = start("zk_crash");
    ASSERT_TRUE(crashing);
    closed = false;
    ASSERT_TRUE(readToTheEnd(*crashing));
    EXPECT_EQ(crashing->result().signal, SIGSEGV);

    // A program that waits for ever ends on the hang-up of its terminal; typed input no longer
    // matters once it has ended.
    auto endless = start("zk_endless");
    ASSERT_TRUE(endless);
    closed = false;
    output.clear();
    ASSERT_TRUE(readUntil(*endless, [&] { return output == "running until ended\r\n"; })) << output;
    EXPECT_FALSE(endless->ended());
    endless->hangUp();
    ASSERT_TRUE(readToTheEnd(*endless));
    EXPECT_EQ(endless->result().signal, SIGHUP);
    endless->write("too late\r");
    EXPECT_EQ(endless->killAndWait().signal, SIGHUP);
}

TEST_F(TerminalProcessTest, RunningProgramIsKilledWhenItsHandleGoes) {
    auto endless = start("zk_endless");
    ASSERT_TRUE(endless);
    ASSERT_TRUE(readUntil(*endless, [&] { return !output.empty(); }));
    EXPECT_EQ(endless->killAndWait().signal, SIGKILL);
    endless.reset(); // ended already: nothing more to wait for
}

TEST_F(TerminalProcessTest, ProgramThatCannotBeStartedIsReportedWithTheReason) {
    int error = 0;
    const std::string notAProgram = dir.write("prog/DATA.TXT", "not a program\n");
    EXPECT_FALSE(TerminalProcess::start(notAProgram, dir.file("prog") + "/", {80, 25}, error));
    EXPECT_EQ(error, EACCES);
    fs::permissions(notAProgram, fs::perms::owner_all);
    EXPECT_FALSE(TerminalProcess::start(notAProgram, dir.file("prog") + "/", {80, 25}, error));
    EXPECT_EQ(error, ENOEXEC);
    EXPECT_FALSE(
        TerminalProcess::start((kPrograms / "zk_nothing").string(), "/no/such/folder/", {80, 25}, error));
    EXPECT_EQ(error, ENOENT);
    EXPECT_FALSE(TerminalProcess::start("", "", {80, 25}, error));
    EXPECT_EQ(error, ENOENT);
}

} // namespace
} // namespace zelkova::platform
