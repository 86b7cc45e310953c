// Shows that the runner reads a run file case by case, copies inputs in, clears stale outputs,
// starts each program in its folder, removes the input copies and delivers the outputs; that each
// failure shows its own message and stops the run with nothing undone; and that a program's
// output is never removed before the user's file holds all of it. The program is a double that
// plays what a program would do to the files of its folder.
#include "runner/Runner.h"

#include "FakeProcessLauncher.h"
#include "ScriptedMessageBoxes.h"
#include "TempDir.h"
#include "runner/RunnerMessages.h"
#include "text/Cp932.h"

#ifdef _WIN32
#include "text/SystemFiles.h"

#include <windows.h>
#else
#include "FileSizeLimit.h"
#include "OrdinaryUser.h"
#endif

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace zelkova::runner {
namespace {

namespace fs = std::filesystem;
using platform::LaunchResult;
using platform::MessageKind;
using testing::FakeProcessLauncher;
using testing::readBytes;
using testing::sameBytes;

constexpr const char* kTitle = "Zelkova（ﾌｫｰﾄﾗﾝexe等の実行、ﾃﾞｰﾀ編集、作図用）";

bool exists(const std::string& path) {
    return fs::exists(fs::symlink_status(path));
}

class RunnerTest : public ::testing::Test {
protected:
    void SetUp() override {
        program = dir.write("prog/CALC", "stands for an executable");
        programFolder = dir.file("prog/");
        dataFolder = dir.file("data/");
        fs::create_directories(dataFolder);
    }

    // Writes the run file (UTF-8 lines, stored in CP932 with CR LF) into the data folder and runs it.
    RunOutcome run(const std::vector<std::string>& lines) {
        std::string text;
        for (const std::string& line : lines)
            text += line + "\r\n";
        runFile = dir.write("data/RUN.FRT", text::utf8ToCp932(text));
        RunRequest request{runFile, openedFileName.empty() ? runFile : openedFileName,
                           [this] { return caption; }};
        return runRunFile(request, messages, processes);
    }

    std::string programLine() const { return "P '" + program + "'"; }
    std::string inProgram(const std::string& name) const { return programFolder + name; }
    std::string inData(const std::string& name) const { return dataFolder + name; }

    // The next start writes `files` (name in the program folder, bytes) as the program would.
    void programWrites(std::vector<std::pair<std::string, std::string>> files) {
        processes.onNext([this, files](const FakeProcessLauncher::Start&) {
            for (const auto& [name, bytes] : files)
                dir.write("prog/" + name, bytes);
            return LaunchResult{true, 0};
        });
    }

    // The only message shown, which must be a plain box.
    std::string onlyPlainMessage() const {
        EXPECT_EQ(messages.shown().size(), 1u);
        if (messages.shown().empty())
            return {};
        const platform::Message& m = messages.shown().front();
        EXPECT_EQ(m.kind, MessageKind::Plain);
        EXPECT_EQ(m.caption, kTitle);
        return m.text;
    }

    // The only message shown, which must be the general error report.
    std::string onlyGeneralError() const {
        EXPECT_EQ(messages.shown().size(), 1u);
        if (messages.shown().empty())
            return {};
        const platform::Message& m = messages.shown().front();
        EXPECT_EQ(m.kind, MessageKind::Error);
        EXPECT_EQ(m.caption, kTitle);
        return m.text;
    }

    testing::TempDir dir;
    testing::ScriptedMessageBoxes messages;
    FakeProcessLauncher processes;
    std::string program;
    std::string programFolder;
    std::string dataFolder;
    std::string runFile;
    std::string openedFileName; // empty: the run file itself
    std::string caption = "JW_CAD作図用出力データを用いた作図";
};

// --- reading the run file -------------------------------------------------------------------

TEST_F(RunnerTest, CommentsOnlyOrBindingsAfterTheLastProgramRunNothing) {
    EXPECT_EQ(run({"Comment", " P 'indented, so a comment'", "", "{", programLine(), "}"}),
              RunOutcome::Finished);
    EXPECT_TRUE(processes.starts().empty());
    EXPECT_TRUE(messages.shown().empty());

    EXPECT_EQ(run({programLine(), "R 'IN.DAT'='missing.dat'", "W 'OUT.DAT'='out.txt'"}),
              RunOutcome::Finished);
    EXPECT_EQ(processes.starts().size(), 1u);
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(RunnerTest, ProgramLinesStartTheProgramInItsFolderOncePerLine) {
    EXPECT_EQ(run({programLine(), "p '" + program + "' ignored arguments", "PROGRAM '" + program + "'"}),
              RunOutcome::Finished);
    ASSERT_EQ(processes.starts().size(), 3u);
    for (const auto& start : processes.starts()) {
        EXPECT_EQ(start.program, program);
        EXPECT_EQ(start.workingFolder, programFolder);
    }
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(RunnerTest, CommentBlocksHideLinesAndCarryOverBetweenCases) {
    dir.write("data/in.dat", "x\r\n");
    EXPECT_EQ(run({"{ the first case is switched off", "R 'IN.DAT'='nothing here'", programLine(),
                   "{ a second brace changes nothing", "", programLine(), "} back on", "r 'IN.DAT'='in.dat'",
                   "{", "}", programLine()}),
              RunOutcome::Finished);
    EXPECT_EQ(processes.starts().size(), 1u);
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(RunnerTest, RunFileLinesEndAtCrLfLoneCrOrLoneLfAndCtrlZEndsIt) {
    dir.write("data/in.dat", "x\n");
    // Lines ended each way; after the Ctrl-Z a program line would run a second time.
    runFile = dir.write("data/MIXED.FRT", "R 'IN.DAT'='in.dat'\rW 'OUT.DAT'='out.txt'\nP '" + program +
                                              "'\r\n\x1A" + "P '" + program + "'\r\n");
    programWrites({{"OUT.DAT", "done\n"}});
    RunRequest request{runFile, runFile, {}};
    EXPECT_EQ(runRunFile(request, messages, processes), RunOutcome::Finished);
    EXPECT_EQ(processes.starts().size(), 1u);
    EXPECT_EQ(readBytes(inData("out.txt")), "done\r\n");
    EXPECT_TRUE(messages.shown().empty());
}

// --- inputs ------------------------------------------------------------------------------------

TEST_F(RunnerTest, ReadCopiesExistWhileTheProgramRunsAndAreRemovedAfter) {
    dir.write("data/input one.dat", "first\nsecond\r\nthird\rlast");
    dir.write("data/in2.dat", "a\r\n\x1A"
                              "garbage after Ctrl-Z");
    dir.write("prog/IN2.DAT", "stale copy from an earlier run that must be overwritten");
    std::string seenIn, seenIn2;
    processes.onNext([&](const FakeProcessLauncher::Start&) {
        seenIn = readBytes(inProgram("IN.DAT"));
        seenIn2 = readBytes(inProgram("IN2.DAT"));
        return LaunchResult{true, 0};
    });
    EXPECT_EQ(run({"R 'IN.DAT' = 'input one.dat'", "read 'IN2.DAT'='in2.dat'", programLine()}),
              RunOutcome::Finished);
    EXPECT_TRUE(sameBytes("first\r\nsecond\r\nthird\r\nlast\r\n", seenIn));
    EXPECT_TRUE(sameBytes("a\r\n", seenIn2));
    EXPECT_FALSE(exists(inProgram("IN.DAT")));
    EXPECT_FALSE(exists(inProgram("IN2.DAT")));
    // The user's files are untouched.
    EXPECT_TRUE(sameBytes("first\nsecond\r\nthird\rlast", readBytes(inData("input one.dat"))));
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(RunnerTest, NamesWithFolderPartsAreUsedAsWritten) {
    const std::string elsewhere = dir.write("elsewhere/source.txt", "s\n");
    const std::string unit = dir.file("scratch/UNIT.DAT");
    fs::create_directories(dir.file("scratch"));
    std::string seen;
    processes.onNext([&](const FakeProcessLauncher::Start&) {
        seen = readBytes(unit);
        return LaunchResult{true, 0};
    });
    EXPECT_EQ(run({"R '" + unit + "'='" + elsewhere + "'", programLine()}), RunOutcome::Finished);
    EXPECT_EQ(seen, "s\r\n");
    EXPECT_FALSE(exists(unit));
}

TEST_F(RunnerTest, ActualNamesResolveAgainstTheOpenedFileNotTheRunFile) {
    // The document was saved under another folder after it was opened: names still resolve
    // against the folder of the file that was opened.
    openedFileName = dir.write("opened/ORIGINAL.FRT", "");
    dir.write("opened/in.dat", "from the opened folder\n");
    dir.write("data/in.dat", "from the run file's folder\n");
    std::string seen;
    processes.onNext([&](const FakeProcessLauncher::Start&) {
        seen = readBytes(inProgram("IN.DAT"));
        return LaunchResult{true, 0};
    });
    EXPECT_EQ(run({"R 'IN.DAT'='in.dat'", programLine()}), RunOutcome::Finished);
    EXPECT_EQ(seen, "from the opened folder\r\n");
}

TEST_F(RunnerTest, ListsGrowBeyondTwentyPairs) {
    std::vector<std::string> lines;
    std::vector<std::pair<std::string, std::string>> outputs;
    for (int i = 1; i <= 30; ++i) {
        const std::string n = std::to_string(i);
        dir.write("data/in" + n + ".dat", "input " + n + "\n");
        lines.push_back("R 'IN" + n + ".DAT'='in" + n + ".dat'");
        lines.push_back("W 'OUT" + n + ".DAT'='out" + n + ".txt'");
        outputs.push_back({"OUT" + n + ".DAT", "output " + n + "\n"});
    }
    lines.push_back(programLine());
    int copiesSeen = 0;
    processes.onNext([&](const FakeProcessLauncher::Start&) {
        for (int i = 1; i <= 30; ++i)
            copiesSeen += exists(inProgram("IN" + std::to_string(i) + ".DAT"));
        for (const auto& [name, bytes] : outputs)
            dir.write("prog/" + name, bytes);
        return LaunchResult{true, 0};
    });
    EXPECT_EQ(run(lines), RunOutcome::Finished);
    EXPECT_EQ(copiesSeen, 30);
    for (int i = 1; i <= 30; ++i)
        EXPECT_EQ(readBytes(inData("out" + std::to_string(i) + ".txt")),
                  "output " + std::to_string(i) + "\r\n");
    EXPECT_TRUE(messages.shown().empty());
}

// --- outputs -----------------------------------------------------------------------------------

TEST_F(RunnerTest, StaleOutputsAreDeletedBeforeTheRunAndNewOnesDelivered) {
    dir.write("prog/OUT.DAT", "stale output of an earlier run");
    dir.write("data/result.txt", "old result that is replaced\r\nwith more lines than the new one\r\n");
    bool staleGone = false;
    processes.onNext([&](const FakeProcessLauncher::Start&) {
        staleGone = !exists(inProgram("OUT.DAT"));
        dir.write("prog/OUT.DAT", "new\nresult");
        return LaunchResult{true, 0};
    });
    EXPECT_EQ(run({"W 'OUT.DAT'='result.txt'", programLine()}), RunOutcome::Finished);
    EXPECT_TRUE(staleGone);
    EXPECT_TRUE(sameBytes("new\r\nresult\r\n", readBytes(inData("result.txt"))));
    EXPECT_FALSE(exists(inProgram("OUT.DAT")));
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(RunnerTest, ProgramThatCannotStartIsReportedByItsFirstMissingOutput) {
    processes.failNextStart();
    EXPECT_EQ(run({"W 'OUT1.DAT'='one.txt'", "W 'OUT2.DAT'='two.txt'", programLine()}), RunOutcome::Stopped);
    EXPECT_EQ(onlyPlainMessage(),
              "WRITEﾌｧｲﾙ名（＝の左側）に誤りがある！\r\nあるいはデータミス等によるエラーの発生！\r\n"
              "このﾌｧｲﾙは存在しない。\r\nFILE=" +
                  inProgram("OUT1.DAT"));
}

TEST_F(RunnerTest, MissingOutputStopsAfterEarlierOutputsAreDelivered) {
    dir.write("data/in.dat", "x\n");
    programWrites({{"OUT1.DAT", "one\n"}});
    EXPECT_EQ(run({"R 'IN.DAT'='in.dat'", "W 'OUT1.DAT'='one.txt'", "W 'OUT2.DAT'='two.txt'", programLine(),
                   programLine()}),
              RunOutcome::Stopped);
    EXPECT_EQ(onlyPlainMessage(),
              "WRITEﾌｧｲﾙ名（＝の左側）に誤りがある！\r\nあるいはデータミス等によるエラーの発生！\r\n"
              "このﾌｧｲﾙは存在しない。\r\nFILE=" +
                  inProgram("OUT2.DAT"));
    EXPECT_EQ(readBytes(inData("one.txt")), "one\r\n");
    EXPECT_FALSE(exists(inProgram("IN.DAT"))); // input copies go before outputs are looked at
    EXPECT_EQ(processes.starts().size(), 1u);  // the second program line is never reached
}

TEST_F(RunnerTest, SecondCaseFailingLeavesTheFirstCasesOutputsDelivered) {
    dir.write("data/in.dat", "x\n");
    programWrites({{"OUT.DAT", "case one\n"}});
    processes.onNext([](const FakeProcessLauncher::Start&) {
        return LaunchResult{true, 1};
    }); // writes nothing
    EXPECT_EQ(run({"R 'IN.DAT'='in.dat'", "W 'OUT.DAT'='case1.txt'", programLine(), "W 'OUT.DAT'='case2.txt'",
                   programLine()}),
              RunOutcome::Stopped);
    EXPECT_EQ(readBytes(inData("case1.txt")), "case one\r\n");
    EXPECT_FALSE(exists(inData("case2.txt")));
    EXPECT_EQ(processes.starts().size(), 2u);
    ASSERT_EQ(messages.shown().size(), 1u);
}

TEST_F(RunnerTest, WriteSameNameOnBothSidesKeepsTheOutput) {
    program = dir.write("data/CALC", "program beside the run file");
    programWrites({{"../data/OUT.DAT", "result\n"}});
    EXPECT_EQ(run({"W 'OUT.DAT'='OUT.DAT'", "P '" + program + "'"}), RunOutcome::Stopped);
    EXPECT_EQ(onlyPlainMessage(), "WRITE文の行で\"＝\"の左右ﾌｧｲﾙ名同じ！\r\nﾌｧｲﾙ名＝" + inData("OUT.DAT"));
    EXPECT_EQ(readBytes(inData("OUT.DAT")), "result\n");
}

TEST_F(RunnerTest, WriteSameFileUnderAnotherPathFormKeepsTheOutput) {
    // Copying the output onto itself would empty it; the other form of the path is caught.
    programWrites({{"OUT.DAT", "result\n"}});
    const std::string otherForm = dataFolder + "../prog/./OUT.DAT";
    EXPECT_EQ(run({"W 'OUT.DAT'='" + otherForm + "'", programLine()}), RunOutcome::Stopped);
    EXPECT_EQ(onlyPlainMessage(), "WRITE文の行で\"＝\"の左右ﾌｧｲﾙ名同じ！\r\nﾌｧｲﾙ名＝" + inProgram("OUT.DAT"));
    EXPECT_EQ(readBytes(inProgram("OUT.DAT")), "result\n");
}

TEST_F(RunnerTest, NamesDifferingOnlyInLetterCaseAreTheSameFileOnlyWhereTheSystemSaysSo) {
    program = dir.write("data/CALC", "program beside the run file");
    programWrites({{"../data/OUT.DAT", "result\n"}});
#ifdef _WIN32
    // Windows' names ignore letter case: both sides name the program's output, which is never
    // copied onto itself.
    EXPECT_EQ(run({"W 'OUT.DAT'='out.dat'", "P '" + program + "'"}), RunOutcome::Stopped);
    EXPECT_EQ(onlyPlainMessage(), "WRITE文の行で\"＝\"の左右ﾌｧｲﾙ名同じ！\r\nﾌｧｲﾙ名＝" + inData("OUT.DAT"));
    EXPECT_EQ(readBytes(inData("OUT.DAT")), "result\n");
#else
    EXPECT_EQ(run({"W 'OUT.DAT'='out.dat'", "P '" + program + "'"}), RunOutcome::Finished);
    EXPECT_EQ(readBytes(inData("out.dat")), "result\r\n");
    EXPECT_FALSE(exists(inData("OUT.DAT")));
#endif
}

#ifdef _WIN32
// A file that another program holds open without sharing it, as an editor or a spreadsheet holds
// the file the user is looking at.
class HeldFile {
public:
    explicit HeldFile(const std::string& name)
        : m_handle(CreateFileW(text::wideName(name).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr)) {
        EXPECT_NE(m_handle, INVALID_HANDLE_VALUE) << name;
    }
    ~HeldFile() { CloseHandle(m_handle); }
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;

private:
    HANDLE m_handle;
};

TEST_F(RunnerTest, TargetHeldByAnotherProgramStopsWithTheInUseMessage) {
    programWrites({{"OUT.DAT", "result\n"}});
    dir.write("data/out.txt", "the user's previous result\r\n");
    HeldFile held(inData("out.txt"));
    EXPECT_EQ(run({"W 'OUT.DAT'='out.txt'", programLine()}), RunOutcome::Stopped);
    EXPECT_EQ(onlyPlainMessage(), "WRITEﾌｧｲﾙ＝" + inData("out.txt") +
                                      " error !\r\n\r\nこのﾌｧｲﾙは現在使用中で書き込めない！\r\n\r\n"
                                      "このﾌｧｲﾙを閉じてやり直して下さい");
    EXPECT_EQ(readBytes(inProgram("OUT.DAT")), "result\n");
}

TEST_F(RunnerTest, StaleOutputHeldByAnotherProgramStopsInAnErrorBox) {
    dir.write("prog/OUT.DAT", "an earlier run's output, still open elsewhere\n");
    HeldFile held(inProgram("OUT.DAT"));
    EXPECT_EQ(run({"W 'OUT.DAT'='out.txt'", programLine()}), RunOutcome::Stopped);
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown().front().kind, MessageKind::Error);
    EXPECT_EQ(messages.shown().front().text, "既存のWRITEﾌｧｲﾙ消去に失敗！");
    EXPECT_TRUE(processes.starts().empty());
}

TEST_F(RunnerTest, AReadOnlyTargetIsRefusedWithTheInUseMessage) {
    const std::string target = dir.write("data/result.txt", "kept\r\n");
    ASSERT_TRUE(SetFileAttributesW(text::wideName(target).c_str(), FILE_ATTRIBUTE_READONLY));
    programWrites({{"OUT.DAT", "new\n"}});
    EXPECT_EQ(run({"W 'OUT.DAT'='result.txt'", programLine()}), RunOutcome::Stopped);
    EXPECT_EQ(onlyPlainMessage(), "WRITEﾌｧｲﾙ＝" + target +
                                      " error !\r\n\r\nこのﾌｧｲﾙは現在使用中で書き込めない！\r\n\r\n"
                                      "このﾌｧｲﾙを閉じてやり直して下さい");
    SetFileAttributesW(text::wideName(target).c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(readBytes(target), "kept\r\n");
    EXPECT_EQ(readBytes(inProgram("OUT.DAT")), "new\n");
}

TEST_F(RunnerTest, InputHeldByAnotherProgramIsAccessDenied) {
    dir.write("data/in.dat", "x\n");
    HeldFile held(inData("in.dat"));
    EXPECT_EQ(run({"R 'IN.DAT'='in.dat'", programLine()}), RunOutcome::Stopped);
    EXPECT_EQ(onlyGeneralError(), "ファイルへのアクセスが拒否されました.");
    EXPECT_TRUE(processes.starts().empty());
}
#endif

TEST_F(RunnerTest, TargetShownInThePlotViewerIsRefusedIgnoringCase) {
    caption = inData("PLOT.TXT");
    dir.write("data/plot.txt", "ly\r\n");
    programWrites({{"PLOT.DAT", "ly\n 0 0 10 10\n"}});
    EXPECT_EQ(run({"W 'PLOT.DAT'='plot.txt'", programLine()}), RunOutcome::Stopped);
    EXPECT_EQ(onlyPlainMessage(), "WRITEﾌｧｲﾙ＝" + inData("plot.txt") +
                                      " error !\r\n\r\nこのﾌｧｲﾙは現在作図画面で使用中です！\r\n\r\n"
                                      "作図画面でのﾌｧｲﾙを閉じてやり直して下さい");
    EXPECT_EQ(readBytes(inData("plot.txt")), "ly\r\n");
    EXPECT_EQ(readBytes(inProgram("PLOT.DAT")), "ly\n 0 0 10 10\n");
}

TEST_F(RunnerTest, TargetShownInThePlotViewerUnderAnotherPathFormIsRefused) {
    dir.write("data/plot.txt", "ly\r\n");
    caption = dataFolder + "../data/plot.txt";
    programWrites({{"PLOT.DAT", "ly\n"}});
    EXPECT_EQ(run({"W 'PLOT.DAT'='plot.txt'", programLine()}), RunOutcome::Stopped);
    EXPECT_EQ(onlyPlainMessage(), "WRITEﾌｧｲﾙ＝" + inData("plot.txt") +
                                      " error !\r\n\r\nこのﾌｧｲﾙは現在作図画面で使用中です！\r\n\r\n"
                                      "作図画面でのﾌｧｲﾙを閉じてやり直して下さい");
    EXPECT_EQ(readBytes(inData("plot.txt")), "ly\r\n");
}

TEST_F(RunnerTest, OtherPlotFileInTheViewerDoesNotStopDelivery) {
    caption = inData("other.txt");
    programWrites({{"PLOT.DAT", "ly\n"}});
    EXPECT_EQ(run({"W 'PLOT.DAT'='plot.txt'", programLine()}), RunOutcome::Finished);
    EXPECT_EQ(readBytes(inData("plot.txt")), "ly\r\n");
}

TEST_F(RunnerTest, TargetThatCannotBeCreatedStopsWithTheInUseMessage) {
    programWrites({{"OUT.DAT", "result\n"}});
    const std::string target = dir.file("no such folder/out.txt");
    EXPECT_EQ(run({"W 'OUT.DAT'='" + target + "'", programLine()}), RunOutcome::Stopped);
    EXPECT_EQ(onlyPlainMessage(), "WRITEﾌｧｲﾙ＝" + target +
                                      " error !\r\n\r\nこのﾌｧｲﾙは現在使用中で書き込めない！\r\n\r\n"
                                      "このﾌｧｲﾙを閉じてやり直して下さい");
    EXPECT_EQ(readBytes(inProgram("OUT.DAT")), "result\n");
}

#ifndef _WIN32 // Linux's special files; Windows: the held files above
TEST_F(RunnerTest, DeliveryThatFailsMidwayKeepsTheProgramsOutput) {
    if (!exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full here";
    programWrites({{"OUT.DAT", "a result the full disk cannot take\n"}, {"OUT2.DAT", "second\n"}});
    EXPECT_EQ(run({"W 'OUT.DAT'='/dev/full'", "W 'OUT2.DAT'='two.txt'", programLine()}), RunOutcome::Stopped);
    EXPECT_EQ(onlyGeneralError(), "ディスクがいっぱいです\r\nWRITEﾌｧｲﾙ＝/dev/full\r\nﾌﾟﾛｸﾞﾗﾑの出力は " +
                                      inProgram("OUT.DAT") + " に残っています.");
    EXPECT_EQ(readBytes(inProgram("OUT.DAT")), "a result the full disk cannot take\n");
    EXPECT_EQ(readBytes(inProgram("OUT2.DAT")), "second\n");
    EXPECT_FALSE(exists(inData("two.txt")));
}
#endif

#ifndef _WIN32 // Linux's file size limit, links, modes and users; Windows: the held files above
TEST_F(RunnerTest, DeliveryOntoAFullDiskLeavesThePreviousResultWhole) {
    const std::string previous = "the result of yesterday's run\r\n";
    dir.write("data/result.txt", previous);
    std::optional<testing::FileSizeLimit> full;
    processes.onNext([&](const FakeProcessLauncher::Start&) {
        dir.write("prog/OUT.DAT", std::string(200000, 'n') + "\n");
        full.emplace(65536); // the program's output is there; no more than 64 KiB fit now
        return LaunchResult{true, 0};
    });
    EXPECT_EQ(run({"W 'OUT.DAT'='result.txt'", programLine()}), RunOutcome::Stopped);
    full.reset();
    EXPECT_EQ(onlyGeneralError(), "ディスクがいっぱいです\r\nWRITEﾌｧｲﾙ＝" + inData("result.txt") +
                                      "\r\nﾌﾟﾛｸﾞﾗﾑの出力は " + inProgram("OUT.DAT") + " に残っています.");
    EXPECT_EQ(readBytes(inData("result.txt")), previous);
    EXPECT_EQ(readBytes(inProgram("OUT.DAT")).size(), 200001u);
    EXPECT_EQ(std::distance(fs::directory_iterator(dataFolder), fs::directory_iterator()), 2)
        << "a temporary file was left";
}

TEST_F(RunnerTest, DeliveryReplacesTheTargetAndKeepsItsLinksAndMode) {
    const std::string real = dir.write("data/store/result.txt", "old\r\n");
    ::chmod(real.c_str(), 0640);
    fs::create_symlink("store/result.txt", inData("linked.txt"));
    programWrites({{"OUT.DAT", "new\n"}});
    EXPECT_EQ(run({"W 'OUT.DAT'='linked.txt'", programLine()}), RunOutcome::Finished);
    EXPECT_TRUE(messages.shown().empty());
    EXPECT_TRUE(fs::is_symlink(inData("linked.txt")));
    EXPECT_EQ(readBytes(real), "new\r\n");
    EXPECT_EQ(fs::status(real).permissions(), fs::perms(0640));
}

TEST_F(RunnerTest, AReadOnlyTargetIsRefusedWithTheInUseMessage) {
    const std::string target = dir.write("data/result.txt", "kept\r\n");
    ::chmod(target.c_str(), 0444);
    programWrites({{"OUT.DAT", "new\n"}});
    testing::OrdinaryUser user(dir.path());
    EXPECT_EQ(run({"W 'OUT.DAT'='result.txt'", programLine()}), RunOutcome::Stopped);
    EXPECT_EQ(onlyPlainMessage(), "WRITEﾌｧｲﾙ＝" + target +
                                      " error !\r\n\r\nこのﾌｧｲﾙは現在使用中で書き込めない！\r\n\r\n"
                                      "このﾌｧｲﾙを閉じてやり直して下さい");
    EXPECT_EQ(readBytes(target), "kept\r\n");
    EXPECT_EQ(readBytes(inProgram("OUT.DAT")), "new\n");
}

// A NUL byte would cut a name short for the system and make it name another file: such a name
// names no file at all.
#endif

TEST_F(RunnerTest, ANameHoldingANulByteNamesNoFile) {
    const std::string nul(1, '\0');
    dir.write("data/in.dat", "input\n");
    dir.write("data/out.txt", "previous\r\n");

    EXPECT_EQ(run({"P '" + program + nul + ".bak'"}), RunOutcome::Stopped);
    EXPECT_EQ(onlyPlainMessage(), "ﾌﾟﾛｸﾞﾗﾑﾌｧｲﾙなし！\r\nFILE=" + program + nul + ".bak");
    messages.clear();

    EXPECT_EQ(run({"R 'IN.DAT'='in.dat" + nul + "x'", programLine()}), RunOutcome::Stopped);
    EXPECT_EQ(onlyPlainMessage(), "READﾌｧｲﾙなし！\r\nFILE=" + inData("in.dat" + nul + "x"));
    messages.clear();

    EXPECT_EQ(run({"R 'IN.DAT" + nul + "x'='in.dat'", programLine()}), RunOutcome::Stopped);
    EXPECT_EQ(onlyGeneralError(), "不正なファイル名です.");
    EXPECT_FALSE(exists(inProgram("IN.DAT")));
    messages.clear();
    EXPECT_TRUE(processes.starts().empty());

    programWrites({{"OUT.DAT", "new\n"}});
    EXPECT_EQ(run({"W 'OUT.DAT" + nul + "x'='out.txt'", programLine()}), RunOutcome::Stopped);
    EXPECT_EQ(onlyPlainMessage(), std::string(kNoWriteOutputText) + inProgram("OUT.DAT" + nul + "x"));
    messages.clear();

    programWrites({{"OUT.DAT", "new\n"}});
    EXPECT_EQ(run({"W 'OUT.DAT'='out.txt" + nul + "x'", programLine()}), RunOutcome::Stopped);
    EXPECT_EQ(onlyPlainMessage(), "WRITEﾌｧｲﾙ＝" + inData("out.txt" + nul + "x") +
                                      " error !\r\n\r\nこのﾌｧｲﾙは現在使用中で書き込めない！\r\n\r\n"
                                      "このﾌｧｲﾙを閉じてやり直して下さい");
    EXPECT_EQ(readBytes(inData("out.txt")), "previous\r\n");
}

#ifndef _WIN32 // FIFOs
TEST_F(RunnerTest, InputsThatAreNoRegularFilesAreRefusedWithoutWaiting) {
    const std::string fifo = dir.file("data/RUN.FIFO");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    RunRequest request{fifo, fifo, {}};
    EXPECT_EQ(runRunFile(request, messages, processes), RunOutcome::Stopped);
    EXPECT_EQ(onlyGeneralError(), "ファイルへのアクセスが拒否されました.");
    messages.clear();

    // Nor is an input of a READ line, nor a FIFO the program leaves in place of its output.
    const std::string input = dir.file("data/in.fifo");
    ASSERT_EQ(::mkfifo(input.c_str(), 0644), 0);
    EXPECT_EQ(run({"R 'IN.DAT'='in.fifo'", programLine()}), RunOutcome::Stopped);
    EXPECT_EQ(onlyPlainMessage(), "READﾌｧｲﾙなし！\r\nFILE=" + input);
    messages.clear();
    processes.onNext([this](const FakeProcessLauncher::Start&) {
        ::mkfifo(inProgram("OUT.DAT").c_str(), 0644);
        return LaunchResult{true, 0};
    });
    EXPECT_EQ(run({"W 'OUT.DAT'='out.txt'", programLine()}), RunOutcome::Stopped);
    EXPECT_EQ(onlyPlainMessage(), std::string(kNoWriteOutputText) + inProgram("OUT.DAT"));
}
#endif

// --- the messages that stop a run ----------------------------------------------------------------

TEST_F(RunnerTest, MissingProgramIsNamedAsWritten) {
    EXPECT_EQ(run({"R 'IN.DAT'='in.dat'", "P 'no such folder/CALC'"}), RunOutcome::Stopped);
    EXPECT_EQ(onlyPlainMessage(), "ﾌﾟﾛｸﾞﾗﾑﾌｧｲﾙなし！\r\nFILE=no such folder/CALC");
    EXPECT_TRUE(processes.starts().empty());
}

TEST_F(RunnerTest, UnquotedOrFolderProgramPathIsMissing) {
    EXPECT_EQ(run({"P " + program}), RunOutcome::Stopped);
    EXPECT_EQ(onlyPlainMessage(), "ﾌﾟﾛｸﾞﾗﾑﾌｧｲﾙなし！\r\nFILE=");
    messages.clear();
    EXPECT_EQ(run({"P '" + programFolder + "'"}), RunOutcome::Stopped);
    EXPECT_EQ(onlyPlainMessage(), "ﾌﾟﾛｸﾞﾗﾑﾌｧｲﾙなし！\r\nFILE=" + programFolder);
    EXPECT_TRUE(processes.starts().empty());
}

TEST_F(RunnerTest, ReadSameNameOnBothSidesCopiesNothing) {
    program = dir.write("data/CALC", "program beside the run file");
    dir.write("data/IN.DAT", "the user's own input\r\n");
    EXPECT_EQ(run({"R 'IN.DAT'='IN.DAT'", "P '" + program + "'"}), RunOutcome::Stopped);
    EXPECT_EQ(onlyPlainMessage(), "READ 文の行で＝の左右ﾌｧｲﾙ名同じ！\r\nﾌｧｲﾙ名＝" + inData("IN.DAT"));
    EXPECT_EQ(readBytes(inData("IN.DAT")), "the user's own input\r\n");
    EXPECT_TRUE(processes.starts().empty());
}

TEST_F(RunnerTest, ReadSameFileUnderAnotherPathFormLeavesTheInputWhole) {
    dir.write("prog/IN.DAT", "an input that lives in the program's folder\n");
    EXPECT_EQ(run({"R 'IN.DAT'='" + dataFolder + "../prog/IN.DAT'", programLine()}), RunOutcome::Stopped);
    EXPECT_EQ(onlyPlainMessage(), "READ 文の行で＝の左右ﾌｧｲﾙ名同じ！\r\nﾌｧｲﾙ名＝" + inProgram("IN.DAT"));
    EXPECT_EQ(readBytes(inProgram("IN.DAT")), "an input that lives in the program's folder\n");
}

TEST_F(RunnerTest, MissingInputStopsBeforeTheProgramAndKeepsEarlierCopies) {
    dir.write("data/first.dat", "1\n");
    EXPECT_EQ(run({"R 'IN1.DAT'='first.dat'", "R 'IN2.DAT'='second.dat'", "R 'IN3.DAT'='first.dat'",
                   programLine()}),
              RunOutcome::Stopped);
    EXPECT_EQ(onlyPlainMessage(), "READﾌｧｲﾙなし！\r\nFILE=" + inData("second.dat"));
    EXPECT_EQ(readBytes(inProgram("IN1.DAT")), "1\r\n"); // nothing is undone
    EXPECT_FALSE(exists(inProgram("IN3.DAT")));
    EXPECT_TRUE(processes.starts().empty());
}

TEST_F(RunnerTest, UnquotedActualNameIsTheOpenedFilesFolder) {
    EXPECT_EQ(run({"R 'IN.DAT'=in.dat", programLine()}), RunOutcome::Stopped);
    EXPECT_EQ(onlyPlainMessage(), "READﾌｧｲﾙなし！\r\nFILE=" + dataFolder);
}

TEST_F(RunnerTest, UnquotedUnitNameIsTheProgramFolder) {
    dir.write("data/in.dat", "x\n");
    // The copy would go onto the program's folder itself: a folder cannot be written.
    EXPECT_EQ(run({"R IN.DAT='in.dat'", programLine()}), RunOutcome::Stopped);
    EXPECT_EQ(onlyGeneralError(), "ファイルへのアクセスが拒否されました.");
    EXPECT_TRUE(fs::is_directory(programFolder));
    messages.clear();
    // An output bound to the folder is never found.
    EXPECT_EQ(run({"W='out.txt'", programLine()}), RunOutcome::Stopped);
    EXPECT_EQ(onlyPlainMessage(),
              "WRITEﾌｧｲﾙ名（＝の左側）に誤りがある！\r\nあるいはデータミス等によるエラーの発生！\r\n"
              "このﾌｧｲﾙは存在しない。\r\nFILE=" +
                  programFolder);
}

#ifndef _WIN32 // Linux's special files; Windows: the held files above
TEST_F(RunnerTest, StaleOutputThatCannotBeDeletedStopsInAnErrorBox) {
    if (!fs::is_regular_file("/proc/self/status"))
        GTEST_SKIP() << "no /proc here";
    EXPECT_EQ(run({"W '/proc/self/status'='out.txt'", programLine()}), RunOutcome::Stopped);
    ASSERT_EQ(messages.shown().size(), 1u);
    const platform::Message& m = messages.shown().front();
    EXPECT_EQ(m.kind, MessageKind::Error);
    EXPECT_EQ(m.caption, "エラー");
    EXPECT_EQ(m.text, "既存のWRITEﾌｧｲﾙ消去に失敗！");
    EXPECT_TRUE(processes.starts().empty());
}
#endif

TEST_F(RunnerTest, EachPairsChecksComeInTheirOrder) {
    program = dir.write("data/CALC", "program beside the run file");
    const std::string beside = "P '" + program + "'";
    // The same name on both sides is found before the missing input.
    EXPECT_EQ(run({"R 'NONE.DAT'='NONE.DAT'", beside}), RunOutcome::Stopped);
    EXPECT_EQ(onlyPlainMessage(), "READ 文の行で＝の左右ﾌｧｲﾙ名同じ！\r\nﾌｧｲﾙ名＝" + inData("NONE.DAT"));
    messages.clear();
    // A missing output is found before the same name on both sides.
    EXPECT_EQ(run({"W 'OUT.DAT'='OUT.DAT'", beside}), RunOutcome::Stopped);
    EXPECT_EQ(onlyPlainMessage(),
              "WRITEﾌｧｲﾙ名（＝の左側）に誤りがある！\r\nあるいはデータミス等によるエラーの発生！\r\n"
              "このﾌｧｲﾙは存在しない。\r\nFILE=" +
                  inData("OUT.DAT"));
    messages.clear();
    // The plot viewer's file is refused before its folder is found unwritable.
    caption = dir.file("no such folder/plot.txt");
    programWrites({{"../data/PLOT.DAT", "ly\n"}});
    EXPECT_EQ(run({"W 'PLOT.DAT'='" + caption + "'", beside}), RunOutcome::Stopped);
    EXPECT_NE(onlyPlainMessage().find("このﾌｧｲﾙは現在作図画面で使用中です！"), std::string::npos);
}

TEST_F(RunnerTest, EveryStopClosesWhatTheRunOpened) {
#ifdef _WIN32
    auto openDescriptors = [] {
        DWORD handles = 0;
        GetProcessHandleCount(GetCurrentProcess(), &handles);
        return handles;
    };
#else
    if (!fs::is_directory("/proc/self/fd"))
        GTEST_SKIP() << "no /proc here";
    auto openDescriptors = [] {
        return std::distance(fs::directory_iterator("/proc/self/fd"), fs::directory_iterator{});
    };
#endif
    const auto before = openDescriptors();
    dir.write("data/in.dat", "x\n");
    // Stopped with the output open for reading (the plot viewer's file)...
    caption = inData("plot.txt");
    programWrites({{"PLOT.DAT", "ly\n"}});
    EXPECT_EQ(run({"R 'IN.DAT'='in.dat'", "W 'PLOT.DAT'='plot.txt'", programLine()}), RunOutcome::Stopped);
    // ...with the target not writable...
    programWrites({{"OUT.DAT", "r\n"}});
    EXPECT_EQ(run({"W 'OUT.DAT'='" + dir.file("no such folder/out.txt") + "'", programLine()}),
              RunOutcome::Stopped);
    // ...and in the middle of a copy.
    if (exists("/dev/full")) {
        programWrites({{"OUT.DAT", "r\n"}});
        EXPECT_EQ(run({"W 'OUT.DAT'='/dev/full'", programLine()}), RunOutcome::Stopped);
    }
    EXPECT_EQ(messages.shown().size(), exists("/dev/full") ? 3u : 2u);
    EXPECT_EQ(openDescriptors(), before);
}

// --- the general error report ---------------------------------------------------------------------

TEST_F(RunnerTest, RunFileThatCannotBeOpenedIsAGeneralError) {
    RunRequest request{dir.file("新規ファイル.txt"), "", {}};
    EXPECT_EQ(runRunFile(request, messages, processes), RunOutcome::Stopped);
    EXPECT_EQ(onlyGeneralError(), "ファイルが見つかりません.");
    messages.clear();
    // In a folder that does not exist the path itself is not found.
    request.runFilePath = dir.file("no such folder/RUN.FRT");
    EXPECT_EQ(runRunFile(request, messages, processes), RunOutcome::Stopped);
    EXPECT_EQ(onlyGeneralError(), "不正なファイル名です.");
}

TEST_F(RunnerTest, ReadCopyIntoAMissingFolderIsPathNotFound) {
    dir.write("data/in.dat", "x\n");
    EXPECT_EQ(run({"R '" + dir.file("no such folder/IN.DAT") + "'='in.dat'", programLine()}),
              RunOutcome::Stopped);
    EXPECT_EQ(onlyGeneralError(), "不正なファイル名です.");
    EXPECT_TRUE(processes.starts().empty());
}

#ifndef _WIN32 // Linux's special files; Windows: the held files above
TEST_F(RunnerTest, UnreadableInputIsAGeneralError) {
    const std::string unreadable = "/proc/sys/vm/drop_caches"; // write-only, even for root
    if (!fs::is_regular_file(unreadable))
        GTEST_SKIP() << "no " << unreadable << " here";
    EXPECT_EQ(run({"R 'IN.DAT'='" + unreadable + "'", programLine()}), RunOutcome::Stopped);
    EXPECT_EQ(onlyGeneralError(), "ファイルへのアクセスが拒否されました.");
    EXPECT_TRUE(processes.starts().empty());
}
#endif

TEST_F(RunnerTest, UnreadableOutputIsAGeneralErrorAndStaysPut) {
#ifdef _WIN32
    // The program's output held by another program without sharing.
    std::unique_ptr<HeldFile> held;
    processes.onNext([&](const FakeProcessLauncher::Start&) {
        dir.write("prog/OUT.DAT", "result\n");
        held = std::make_unique<HeldFile>(inProgram("OUT.DAT"));
        return LaunchResult{true, 0};
    });
#else
    const std::string unreadable = "/proc/sys/vm/drop_caches";
    if (!fs::is_regular_file(unreadable))
        GTEST_SKIP() << "no " << unreadable << " here";
    processes.onNext([&](const FakeProcessLauncher::Start&) {
        fs::create_symlink(unreadable, inProgram("OUT.DAT"));
        return LaunchResult{true, 0};
    });
#endif
    EXPECT_EQ(run({"W 'OUT.DAT'='out.txt'", programLine()}), RunOutcome::Stopped);
    EXPECT_EQ(onlyGeneralError(), "ファイルへのアクセスが拒否されました.");
    EXPECT_TRUE(exists(inProgram("OUT.DAT")));
    EXPECT_FALSE(exists(inData("out.txt")));
}

TEST_F(RunnerTest, ReadCopyGoneAfterTheRunIsAGeneralErrorAndOutputsStay) {
    dir.write("data/in.dat", "x\n");
    processes.onNext([&](const FakeProcessLauncher::Start&) {
        fs::remove(inProgram("IN.DAT")); // the program removed its own input
        dir.write("prog/OUT.DAT", "result\n");
        return LaunchResult{true, 0};
    });
    EXPECT_EQ(run({"R 'IN.DAT'='in.dat'", "W 'OUT.DAT'='out.txt'", programLine()}), RunOutcome::Stopped);
    EXPECT_EQ(onlyGeneralError(), "ファイルが見つかりません.");
    EXPECT_EQ(readBytes(inProgram("OUT.DAT")), "result\n");
}

// --- names in code page 932 --------------------------------------------------------------------------

TEST_F(RunnerTest, JapaneseNamesAndBlanksNameRealFiles) {
    program = dir.write("計算 プログラム/構造 計算", "program");
    const std::string folder = dir.file("計算 プログラム/");
    dir.write("data/荷重 データ.dat", text::utf8ToCp932("荷重\r\n"));
    processes.onNext([&](const FakeProcessLauncher::Start& start) {
        EXPECT_EQ(start.program, program);
        EXPECT_EQ(start.workingFolder, folder);
        dir.write("計算 プログラム/出力 結果.DAT", readBytes(folder + "入力 ファイル.DAT"));
        return LaunchResult{true, 0};
    });
    EXPECT_EQ(run({"R '入力 ファイル.DAT'='荷重 データ.dat'", "W '出力 結果.DAT'='結果 (ケース1).txt'",
                   "P '" + program + "'"}),
              RunOutcome::Finished);
    EXPECT_TRUE(messages.shown().empty());
    EXPECT_EQ(readBytes(inData("結果 (ケース1).txt")), text::utf8ToCp932("荷重\r\n"));
}

TEST_F(RunnerTest, MessagesShowJapaneseNamesInUnicode) {
    EXPECT_EQ(run({"P '" + dataFolder + "ソフト表.exe'"}), RunOutcome::Stopped);
    EXPECT_EQ(onlyPlainMessage(), "ﾌﾟﾛｸﾞﾗﾑﾌｧｲﾙなし！\r\nFILE=" + dataFolder + "ソフト表.exe");
}

TEST_F(RunnerTest, DoubledApostrophesNameFilesWithApostrophes) {
    dir.write("data/o'neil.dat", "q\n");
    programWrites({{"IT'S.OUT", "r\n"}});
    EXPECT_EQ(run({"R 'IN.DAT'='o''neil.dat'", "W 'IT''S.OUT'='it''s.txt'", programLine()}),
              RunOutcome::Finished);
    EXPECT_EQ(readBytes(inData("it's.txt")), "r\r\n");
}

} // namespace
} // namespace zelkova::runner
