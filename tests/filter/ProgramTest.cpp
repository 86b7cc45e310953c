// Shows how Quillon gets its output file (the command line, or the file dialog and its
// questions), which failures it reports, and that it never loses a file the user has.
#include "filter/Program.h"

#include "filter/OutputFile.h"

#include "ExchangeText.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#else
#include "OrdinaryUser.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <cstdio>
#include <deque>
#include <sstream>

using namespace zelkova::filter;
using zelkova::testing::readBytes;
namespace fs = std::filesystem;

namespace {

struct Shown {
    std::string kind; // "file", "question" or "error"
    std::string caption;
    std::string text;
    Answer defaultAnswer = Answer::No;
};

class ScriptedDialogs final : public OutputDialogs {
public:
    ScriptedDialogs(std::deque<std::optional<fs::path>> files, std::deque<Answer> answers,
                    std::vector<Shown>& shown)
        : m_files(std::move(files)), m_answers(std::move(answers)), m_shown(shown) {}

    std::optional<fs::path> chooseFile(const std::string& title) override {
        m_shown.push_back({"file", title, "", Answer::No});
        if (m_files.empty()) {
            ADD_FAILURE() << "unscripted file dialog";
            return std::nullopt;
        }
        auto file = m_files.front();
        m_files.pop_front();
        return file;
    }
    Answer ask(const std::string& caption, const std::string& text, Answer defaultAnswer) override {
        m_shown.push_back({"question", caption, text, defaultAnswer});
        if (m_answers.empty()) {
            ADD_FAILURE() << "unscripted question: " << text;
            return Answer::Yes; // ends the program instead of asking for ever
        }
        const Answer answer = m_answers.front();
        m_answers.pop_front();
        return answer;
    }
    void showError(const std::string& caption, const std::string& text) override {
        m_shown.push_back({"error", caption, text, Answer::No});
    }

private:
    std::deque<std::optional<fs::path>> m_files;
    std::deque<Answer> m_answers;
    std::vector<Shown>& m_shown;
};

class QuillonRun : public ::testing::Test {
protected:
    QuillonRun() {
        exchange =
            dir.write("JWC_TEMP.TXT", zelkova::testing::crlfLines(zelkova::testing::numberedLines(10)));
    }

    ExitStatus runWith(std::vector<std::string> arguments) {
        return runQuillon(
            arguments, [] { return std::unique_ptr<OutputDialogs>(); }, out, err, exchange);
    }
    ExitStatus runWithDialogs(std::deque<std::optional<fs::path>> files, std::deque<Answer> answers) {
        return runQuillon(
            {},
            [&] { return std::make_unique<ScriptedDialogs>(std::move(files), std::move(answers), shown); },
            out, err, exchange);
    }
    std::size_t filesInFolder() const {
        return static_cast<std::size_t>(
            std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()));
    }

    zelkova::testing::TempDir dir;
    fs::path exchange;
    std::ostringstream out, err;
    std::vector<Shown> shown;
};

const std::string kLines9And10 = "L9\r\nL10\r\n";

} // namespace

TEST_F(QuillonRun, DialogClosedWithoutNameThenYesEndsWithNothingWritten) {
    EXPECT_EQ(runWithDialogs({std::nullopt}, {Answer::Yes}), ExitStatus::EndedByUser);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].kind, "file");
    EXPECT_EQ(shown[0].caption, "Open: Select File for Unit 7");
    EXPECT_EQ(shown[1].kind, "question");
    EXPECT_EQ(shown[1].caption, "File Open Error");
    EXPECT_EQ(shown[1].text, "A File Must be Selected\r\rTerminate Program?");
    EXPECT_EQ(shown[1].defaultAnswer, Answer::No);
    EXPECT_EQ(filesInFolder(), 1u);
    EXPECT_EQ(out.str(), "");
}

TEST_F(QuillonRun, NoToTheQuestionShowsTheDialogAgain) {
    const fs::path existing = dir.write("plot.txt", "old");
    EXPECT_EQ(runWithDialogs({std::nullopt, std::nullopt, existing}, {Answer::No, Answer::No}),
              ExitStatus::Done);
    ASSERT_EQ(shown.size(), 5u);
    EXPECT_EQ(shown[4].kind, "file");
    EXPECT_EQ(readBytes(existing), kLines9And10);
    EXPECT_EQ(out.str(), "Stop - Program terminated.\n");
}

TEST_F(QuillonRun, ANewNameIsTakenOnlyOnceTheUserAgreesToCreateIt) {
    const fs::path refused = dir.path() / "refused.txt";
    const fs::path created = dir.path() / "created.txt";
    EXPECT_EQ(runWithDialogs({refused, created}, {Answer::No, Answer::Yes}), ExitStatus::Done);
    ASSERT_EQ(shown.size(), 4u);
    EXPECT_EQ(shown[1].kind, "question");
    EXPECT_EQ(shown[1].caption, "Open: Select File for Unit 7");
    EXPECT_EQ(shown[1].text,
              refused.string() + "\r\nこのファイルは存在しません。\r\nファイルを作成しますか？");
    EXPECT_EQ(shown[1].defaultAnswer, Answer::Yes);
    EXPECT_FALSE(fs::exists(refused));
    EXPECT_EQ(readBytes(created), kLines9And10);
}

TEST_F(QuillonRun, AFolderIsNotAcceptedAsTheOutputFile) {
    const fs::path existing = dir.write("plot.txt", "");
    EXPECT_EQ(runWithDialogs({dir.path(), existing}, {}), ExitStatus::Done);
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[1].kind, "error");
    EXPECT_EQ(shown[1].text,
              dir.path().string() +
                  "\r\nはファイルではありません。\r\nファイルを選ぶか、新しい名前を入力して下さい。");
    EXPECT_EQ(readBytes(existing), kLines9And10);
}

TEST_F(QuillonRun, AnArgumentNamesTheOutputAndNeedsNoDialogs) {
    bool asked = false;
    const fs::path output = dir.path() / "plot.txt";
    const ExitStatus status = runQuillon(
        {output.string(), "ignored"},
        [&] {
            asked = true;
            return std::unique_ptr<OutputDialogs>();
        },
        out, err, exchange);
    EXPECT_EQ(status, ExitStatus::Done);
    EXPECT_FALSE(asked);
    EXPECT_EQ(readBytes(output), kLines9And10);
    EXPECT_EQ(err.str(), "");
}

TEST_F(QuillonRun, AMissingExchangeFileLeavesTheOutputFileAsItWas) {
    const fs::path output = dir.write("plot.txt", "the user's old plot\r\n");
    fs::remove(exchange);
    EXPECT_EQ(runWithDialogs({output}, {}), ExitStatus::Failed);
    EXPECT_NE(err.str().find("JWC_TEMP.TXT"), std::string::npos);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[1].kind, "error");
    EXPECT_EQ(shown[1].text + "\n", err.str().substr(9)); // after "quillon: "
    EXPECT_EQ(readBytes(output), "the user's old plot\r\n");
    EXPECT_EQ(filesInFolder(), 1u);
}

TEST_F(QuillonRun, TheExchangeFileIsNeverTakenAsTheOutput) {
    const std::string before = readBytes(exchange);
    EXPECT_EQ(runWith({exchange.string()}), ExitStatus::Failed);
    EXPECT_NE(err.str().find("exchange file itself"), std::string::npos);
    EXPECT_EQ(readBytes(exchange), before);
}

TEST_F(QuillonRun, OutputThatCannotBeCreatedIsReported) {
    EXPECT_EQ(runWith({(dir.path() / "no such folder" / "plot.txt").string()}), ExitStatus::Failed);
    EXPECT_NE(err.str().find("Cannot create"), std::string::npos);
    EXPECT_EQ(runWith({""}), ExitStatus::Failed);
    EXPECT_EQ(filesInFolder(), 1u);
}

TEST_F(QuillonRun, AFileTheUserMayNotWriteIsNotReplaced) {
    const fs::path output = dir.write("plot.txt", "kept");
    fs::permissions(output, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
#ifndef _WIN32 // (On Windows that makes the file read-only, which binds every user.)
    zelkova::testing::OrdinaryUser user(dir.path());
#endif
    EXPECT_EQ(runWith({output.string()}), ExitStatus::Failed);
    EXPECT_NE(err.str().find("Cannot write"), std::string::npos);
    EXPECT_EQ(readBytes(output), "kept");
    EXPECT_EQ(filesInFolder(), 2u);
}

TEST_F(QuillonRun, AShortExchangeFileIsReportedAndLeavesTheOutputAsItWas) {
    dir.write("JWC_TEMP.TXT", zelkova::testing::crlfLines({"hq", "lc10 255", "x"}));
    const fs::path output = dir.write("plot.txt", "old");
    EXPECT_EQ(runWith({output.string()}), ExitStatus::Failed);
    EXPECT_NE(err.str().find("ends after 3 lines"), std::string::npos) << err.str();
    EXPECT_EQ(readBytes(output), "old");
    EXPECT_EQ(out.str(), "");
    // Nor is a new output made.
    EXPECT_EQ(runWith({(dir.path() / "new.txt").string()}), ExitStatus::Failed);
    EXPECT_EQ(filesInFolder(), 2u);
}

#ifdef _WIN32
TEST_F(QuillonRun, OnWindowsADeviceIsWrittenWhereItIsAndNeverReadAsTheExchangeFile) {
    EXPECT_EQ(runWith({"NUL"}), ExitStatus::Done) << err.str();
    const fs::path output = dir.write("plot.txt", "old");
    EXPECT_EQ(runQuillon(
                  {output.string()}, [] { return std::unique_ptr<OutputDialogs>(); }, out, err, "NUL"),
              ExitStatus::Failed);
    EXPECT_NE(err.str().find("is not a regular file"), std::string::npos) << err.str();
    EXPECT_EQ(readBytes(output), "old");
}

TEST_F(QuillonRun, OnWindowsAnOutputHeldByAnotherProgramIsNotReplaced) {
    const fs::path output = dir.write("plot.txt", "kept");
    const HANDLE held = CreateFileW(output.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_EQ(runWith({output.string()}), ExitStatus::Failed);
    CloseHandle(held);
    EXPECT_NE(err.str().find("Cannot write"), std::string::npos) << err.str();
    EXPECT_EQ(readBytes(output), "kept");
    EXPECT_EQ(filesInFolder(), 2u);
}

TEST_F(QuillonRun, OnWindowsTheCommandLineGivesJapaneseNamesWhole) {
    EXPECT_EQ(argumentsOf(L"quillon.exe"), std::vector<std::string>{});
    EXPECT_EQ(argumentsOf(L"\"C:\\JWW\\quillon.exe\" \"C:\\作図 結果\\図１.txt\" x"),
              (std::vector<std::string>{"C:\\作図 結果\\図１.txt", "x"}));
    // Korean is in no ANSI code page a Japanese Windows has.
    const std::string name = dir.file("한국 図.txt");
    const std::vector<std::string> arguments =
        argumentsOf(L"quillon \"" + zelkova::testing::utf8Path(name).wstring() + L"\"");
    ASSERT_EQ(arguments, std::vector<std::string>{name});
    EXPECT_EQ(runWith(arguments), ExitStatus::Done) << err.str();
    EXPECT_EQ(readBytes(name), kLines9And10);
}
#else
TEST_F(QuillonRun, AnExchangeFileThatIsNoRegularFileIsRefusedAtOnce) {
    const fs::path output = dir.write("plot.txt", "old");
    const fs::path fifo = dir.path() / "exchange.fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    for (const fs::path& exchangeFile : {fs::path("/dev/zero"), fifo}) {
        err.str("");
        EXPECT_EQ(
            runQuillon(
                {output.string()}, [] { return std::unique_ptr<OutputDialogs>(); }, out, err, exchangeFile),
            ExitStatus::Failed);
        EXPECT_NE(err.str().find("is not a regular file"), std::string::npos) << err.str();
    }
    EXPECT_EQ(readBytes(output), "old");
}

TEST_F(QuillonRun, AFifoOrADeviceIsWrittenWhereItIs) {
    const fs::path fifo = dir.path() / "plot.fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    EXPECT_EQ(runWith({fifo.string()}), ExitStatus::Failed) << "nothing reads it: refused, not waited for";
    const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    EXPECT_EQ(runWith({fifo.string()}), ExitStatus::Done) << err.str();
    char buffer[64] = {};
    EXPECT_EQ(::read(reader, buffer, sizeof buffer), static_cast<ssize_t>(kLines9And10.size()));
    EXPECT_EQ(buffer, kLines9And10);
    ::close(reader);
    EXPECT_TRUE(fs::is_fifo(fifo));

    const fs::path null = dir.path() / "null";
    fs::create_symlink("/dev/null", null);
    EXPECT_EQ(runWith({null.string()}), ExitStatus::Done) << err.str();
    EXPECT_TRUE(fs::is_symlink(null));
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
    EXPECT_EQ(filesInFolder(), 3u);
}

TEST_F(QuillonRun, LinksAreFollowedAndHardLinksStayJoined) {
    const fs::path real = dir.write("plots/real.txt", "old");
    fs::create_symlink("plots/real.txt", dir.path() / "link.txt");
    EXPECT_EQ(runWith({(dir.path() / "link.txt").string()}), ExitStatus::Done) << err.str();
    EXPECT_TRUE(fs::is_symlink(dir.path() / "link.txt"));
    EXPECT_EQ(readBytes(real), kLines9And10);

    const fs::path second = dir.path() / "plots/second.txt";
    fs::create_hard_link(real, second);
    dir.write("JWC_TEMP.TXT", zelkova::testing::crlfLines(zelkova::testing::numberedLines(9)));
    EXPECT_EQ(runWith({real.string()}), ExitStatus::Done) << err.str();
    EXPECT_EQ(readBytes(real), "L9\r\n");
    EXPECT_EQ(readBytes(second), "L9\r\n");
    EXPECT_EQ(fs::hard_link_count(real), 2u);
}

TEST_F(QuillonRun, AWritableOutputInAFolderThatTakesNoNewFileIsWrittenInPlace) {
    const fs::path output = dir.write("locked/plot.txt", "a longer old plot file\r\n");
    fs::permissions(output, fs::perms(0666));
    zelkova::testing::OrdinaryUser user(dir.path());
    fs::permissions(dir.path() / "locked", fs::perms(0555));
    EXPECT_EQ(runWith({output.string()}), ExitStatus::Done) << err.str();
    EXPECT_EQ(readBytes(output), kLines9And10);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path() / "locked"), fs::directory_iterator()), 1);
    fs::permissions(dir.path() / "locked", fs::perms(0755));
}

TEST_F(QuillonRun, AReplacedOutputKeepsItsModeAndWhereAllowedItsOwner) {
    const fs::path output = dir.write("plot.txt", "old");
    fs::permissions(output, fs::perms(0640));
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::chown(output.c_str(), zelkova::testing::nobodyUser(), zelkova::testing::nobodyGroup()),
                  0);
    }
    EXPECT_EQ(runWith({output.string()}), ExitStatus::Done) << err.str();
    struct stat st {};
    ASSERT_EQ(::stat(output.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    if (root) {
        EXPECT_EQ(st.st_uid, zelkova::testing::nobodyUser());
        EXPECT_EQ(st.st_gid, zelkova::testing::nobodyGroup());
    }
    EXPECT_EQ(readBytes(output), kLines9And10);
}

TEST_F(QuillonRun, AnOutputNameOfTheLongestLengthIsWritten) {
    std::string name;
    for (int i = 0; i < 83; ++i)
        name += "図"; // 249 bytes
    name += ".TXT";
    const fs::path output = dir.path() / name;
    dir.write(name, "old");
    EXPECT_EQ(runWith({output.string()}), ExitStatus::Done) << err.str();
    EXPECT_EQ(readBytes(output), kLines9And10);
    EXPECT_EQ(filesInFolder(), 2u);
}

TEST_F(QuillonRun, ASignalThatEndsTheProgramRemovesTheTemporaryFile) {
    const fs::path output = dir.write("plot.txt", "old");
    for (const int signalNumber : {SIGTERM, SIGINT}) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            OutputFile file(output);
            file.writeLine("half of the plot");
            ::raise(signalNumber);
            ::_exit(0);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signalNumber) << status;
        EXPECT_EQ(readBytes(output), "old");
        EXPECT_EQ(filesInFolder(), 2u);
    }
}
#endif
