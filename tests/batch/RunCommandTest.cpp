// Shows that `zelkova-batch run` accepts only what the editor would run, runs it with the run
// file's full path as the opened file name, writes the run's messages to standard error exactly as
// the windows show them, notes a program that failed, and ends with 0 when the run finished, 1 when
// it stopped, 2 on bad usage.
#include "BatchRun.h"

#include "TempDir.h"
#include "text/Cp932.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

namespace zelkova::batch {
namespace {

namespace fs = std::filesystem;
using testing::readBytes;
using zelkova::testing::CurrentDirectory;

const fs::path kPrograms = ZK_TEST_PROGRAMS_DIR;

using testing::batch;
using testing::Result;

class RunCommandTest : public ::testing::Test {
protected:
    std::string installTransform(const std::string& relative) {
        const fs::path target = dir.path() / relative;
        fs::create_directories(target.parent_path());
        fs::copy_file(kPrograms / "zk_transform", target);
        fs::permissions(target, fs::perms::owner_all);
        return target.string();
    }
    std::string writeRunFile(const std::string& relative, const std::string& utf8Text) {
        return dir.write(relative, text::utf8ToCp932(utf8Text));
    }
    testing::TempDir dir;
};

TEST_F(RunCommandTest, UsageErrorsEndWithStatusTwo) {
    for (const Arguments& args : {Arguments{"run"}, Arguments{"run", "a.FRT", "b.FRT"},
                                  Arguments{"run", "--fast"}, Arguments{"run", ""}}) {
        const Result r = batch(args);
        EXPECT_EQ(r.status, 2) << args.size();
        EXPECT_NE(r.err.find("usage: zelkova-batch run RUNFILE"), std::string::npos);
    }
    const Result help = batch({"run", "--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("usage: zelkova-batch run RUNFILE"), std::string::npos);
}

TEST_F(RunCommandTest, FilesTheEditorWouldNotRunAreRefused) {
    std::string longFile = "P 'program'\r\n";
    for (int i = 1; i < 200; ++i)
        longFile += "comment\r\n";
    std::string lateMarker;
    for (int i = 0; i < 101; ++i)
        lateMarker += "comment\r\n";
    lateMarker += "P 'program'\r\n";
    for (const std::string& content :
         {longFile, lateMarker, std::string(" P 'indented'\r\n"), std::string()}) {
        const Result r = batch({"run", dir.write("NOT.FRT", content)});
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err, "このファイルはＥＸ文ではありません！\n");
    }
}

TEST_F(RunCommandTest, RunFileThatCannotBeReadIsAGeneralError) {
    Result r = batch({"run", dir.file("missing.FRT")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "ファイルが見つかりません.\n");
    r = batch({"run", dir.path().string()});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "ファイルへのアクセスが拒否されました.\n");
    r = batch({"run", dir.file("no such folder/RUN.FRT")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "不正なファイル名です.\n");
}

TEST_F(RunCommandTest, FinishedRunEndsWithStatusZeroAndSaysNothing) {
    const std::string program = installTransform("プログラム/TRANSFORM");
    dir.write("データ/in.txt", "input\n");
    const std::string runFile =
        writeRunFile("データ/RUN.FRT",
                     "R 'IN.DAT'='in.txt'\nW 'OUT.DAT'='out.txt'\nP '" + program + "'\n"); // LF line ends
    const Result r = batch({"run", runFile});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(readBytes(dir.file("データ/out.txt")), "INPUT\r\n");
}

TEST_F(RunCommandTest, RelativeRunFileNameStillResolvesActualNamesBesideIt) {
    const std::string program = installTransform("bin/TRANSFORM");
    dir.write("cases/in.txt", "beside the run file\n");
    writeRunFile("cases/RUN.FRT", "R 'IN.DAT'='in.txt'\r\nW 'OUT.DAT'='out.txt'\r\nP '" + program + "'\r\n");
    CurrentDirectory cd(dir.path());
    const Result r = batch({"run", "./cases/../cases/RUN.FRT"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(readBytes(dir.file("cases/out.txt")), "BESIDE THE RUN FILE\r\n");
}

TEST_F(RunCommandTest, StoppedRunEndsWithStatusOneAndTheMessageOnStandardError) {
    const std::string runFile =
        writeRunFile("RUN.FRT", "R 'IN.DAT'='入力.dat'\r\nP '" + installTransform("p/T") + "'\r\n");
    const Result r = batch({"run", runFile});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "READﾌｧｲﾙなし！\r\nFILE=" + dir.file("入力.dat") + "\n");
}

TEST_F(RunCommandTest, ProgramThatFailsGetsANoteOnStandardErrorAndTheRunGoesOnAsBefore) {
    const auto install = [&](const std::string& program, const std::string& relative) {
        const fs::path target = dir.path() / relative;
        fs::create_directories(target.parent_path());
        fs::copy_file(kPrograms / program, target);
        return target.string();
    };
    const std::string failing = install("zk_fail3", "bin/FAIL3");
    const std::string crashing = install("zk_crash", "bin/CRASH");
    dir.write("in.txt", "after the failure\n");
    // The failure is noted, and the next case runs: the run finishes with status 0.
    Result r =
        batch({"run", writeRunFile("A.FRT", "P '" + failing +
                                                "'\r\nR 'IN.DAT'='in.txt'\r\nW 'OUT.DAT'='out.txt'\r\nP '" +
                                                installTransform("bin/TRANSFORM") + "'\r\n")});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "FAIL3: 終了コード 3\n");
    EXPECT_EQ(readBytes(dir.file("out.txt")), "AFTER THE FAILURE\r\n");

    // A crash is named by its signal, before the runner's own message about the missing output.
    r = batch({"run", writeRunFile("B.FRT", "W 'OUT.DAT'='crash.txt'\r\nP '" + crashing + "'\r\n")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "CRASH: シグナル SIGSEGV\n"
                     "WRITEﾌｧｲﾙ名（＝の左側）に誤りがある！\r\nあるいはデータミス等によるエラーの発生！\r\n"
                     "このﾌｧｲﾙは存在しない。\r\nFILE=" +
                         dir.file("bin/OUT.DAT") + "\n");

    // A program file that may not be executed says why it did not start.
    const std::string notAProgram = dir.write("bin/DATA", "data\n");
    fs::permissions(notAProgram, fs::perms::owner_read | fs::perms::owner_write);
    r = batch({"run", writeRunFile("C.FRT", "P '" + notAProgram + "'\r\n")});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "DATA: 起動できません（ファイルへのアクセスが拒否されました）\n");
}

TEST_F(RunCommandTest, ErrorBoxesAndGeneralErrorsAlsoGoToStandardError) {
    if (!fs::is_regular_file("/proc/self/status"))
        GTEST_SKIP() << "no /proc here";
    Result r = batch({"run", writeRunFile("A.FRT", "W '/proc/self/status'='x'\r\nP '" +
                                                       installTransform("a/T") + "'\r\n")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "既存のWRITEﾌｧｲﾙ消去に失敗！\n");

    dir.write("in.txt", "x\n");
    r = batch({"run", writeRunFile("B.FRT", "R ='in.txt'\r\nP '" + installTransform("b/T") + "'\r\n")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "ファイルへのアクセスが拒否されました.\n");
}

} // namespace
} // namespace zelkova::batch
