// Shows that real programs started by the runner find their inputs, and leave their outputs, in
// their own folder under their fixed names; that they get their path alone as command line, their
// folder as current directory, Zelkova's environment and no descriptor of ours; and that programs
// failing, writing nothing or writing only part of their outputs stop the run with the right
// message. The programs are small C stand-ins and, where gfortran exists, the bundled demo. On
// Windows (under Wine) the stand-ins are Windows programs, started through CreateProcessA.
#include "runner/Runner.h"

#include "ScriptedMessageBoxes.h"
#include "TempDir.h"
#include "platform/SystemProcessLauncher.h"
#include "text/Cp932.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <unistd.h>
#endif

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace zelkova::runner {
namespace {

namespace fs = std::filesystem;
using testing::readBytes;
using testing::sameBytes;
using zelkova::testing::CurrentDirectory;

const fs::path kPrograms = ZK_TEST_PROGRAMS_DIR;
// What a program's file name ends with: ".EXE" on Windows, nothing on Linux.
const std::string kExe = std::string(ZK_PROGRAM_SUFFIX).empty() ? "" : ".EXE";

fs::path testProgram(const std::string& name) {
    return kPrograms / (name + ZK_PROGRAM_SUFFIX);
}

// Sets (or with nullptr removes) a variable of our environment, which started programs inherit.
void setVariable(const char* name, const char* value) {
#ifdef _WIN32
    SetEnvironmentVariableA(name, value);
    _putenv_s(name, value ? value : "");
#else
    if (value)
        ::setenv(name, value, 1);
    else
        ::unsetenv(name);
#endif
}

std::map<std::string, std::string> infoOf(const std::string& bytes) {
    std::map<std::string, std::string> info;
    std::istringstream in(bytes);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const auto eq = line.find('=');
        if (eq != std::string::npos)
            info[line.substr(0, eq)] = line.substr(eq + 1);
    }
    return info;
}

class ProgramRunTest : public ::testing::Test {
protected:
    // Copies the test program `name` to `relative` (+ kExe) inside the temporary folder and
    // returns its UTF-8 name.
    std::string installProgram(const std::string& name, const std::string& relative) {
        const fs::path target = dir.path() / testing::utf8Path(relative + kExe);
        fs::create_directories(target.parent_path());
        fs::copy_file(testProgram(name), target, fs::copy_options::overwrite_existing);
        fs::permissions(target, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec);
        return testing::utf8Name(target);
    }

    RunOutcome run(const std::string& runFileRelative, const std::vector<std::string>& lines) {
        std::string text;
        for (const std::string& line : lines)
            text += line + "\r\n";
        const std::string runFile = dir.write(runFileRelative, text::utf8ToCp932(text));
        RunRequest request{runFile, runFile, {}};
        return runRunFile(request, messages, launcher);
    }

    testing::TempDir dir;
    testing::ScriptedMessageBoxes messages;
    platform::SystemProcessLauncher launcher;
};

// The names of the files in `folder` (UTF-8), sorted.
std::vector<std::string> filesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(testing::utf8Path(folder)))
        names.push_back(testing::utf8Name(entry.path().filename()));
    std::sort(names.begin(), names.end());
    return names;
}

TEST_F(ProgramRunTest, ProgramReadsCopiesAndItsOutputsAreDeliveredWithCrLf) {
    const std::string program = installProgram("zk_transform", "prog/TRANSFORM");
    dir.write("data/input.txt", "first line\r\nsecond line\r\n");
    dir.write("data/input2.txt", "lf only\nlast without end");
    setVariable("ZK_PROBE", "inherited environment");
#ifndef _WIN32
    const int strayDescriptor = ::open(program.c_str(), O_RDONLY); // opened without close-on-exec
#endif
    const RunOutcome outcome =
        run("data/RUN.FRT", {"R 'IN.DAT'='input.txt'", "R 'IN2.DAT'='input2.txt'", "W 'OUT.DAT'='output.txt'",
                             "W 'OUT2.DAT'='output2.txt'", "W 'INFO.DAT'='info.txt'", "P '" + program + "'"});
#ifndef _WIN32
    ::close(strayDescriptor);
#endif
    setVariable("ZK_PROBE", nullptr);
    EXPECT_EQ(outcome, RunOutcome::Finished);
    EXPECT_TRUE(messages.shown().empty());
    EXPECT_TRUE(sameBytes("FIRST LINE\r\nSECOND LINE\r\n", readBytes(dir.file("data/output.txt"))));
    EXPECT_TRUE(sameBytes("LF ONLY\r\nLAST WITHOUT END\r\n", readBytes(dir.file("data/output2.txt"))));

    const auto info = infoOf(readBytes(dir.file("data/info.txt")));
    EXPECT_EQ(info.at("cwd"), dir.file("prog"));
#ifdef _WIN32
    EXPECT_EQ(info.at("commandline"), program); // unquoted, as the run file wrote it
#else
    EXPECT_EQ(info.at("argc"), "1");
    EXPECT_EQ(info.at("argv0"), program);
    EXPECT_EQ(info.at("extra-descriptors"), "0");
#endif
    EXPECT_EQ(info.at("probe"), "inherited environment");

    // After a finished case only the program remains in its folder.
    EXPECT_EQ(filesIn(dir.file("prog")), std::vector<std::string>{"TRANSFORM" + kExe});
}

TEST_F(ProgramRunTest, ProgramFailingOnItsInputIsReportedByItsMissingOutput) {
    const std::string program = installProgram("zk_transform", "prog/TRANSFORM");
    // No READ line: the program finds no IN.DAT, writes nothing and fails.
    EXPECT_EQ(run("data/RUN.FRT", {"W 'OUT.DAT'='output.txt'", "P '" + program + "'"}), RunOutcome::Stopped);
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].text,
              "WRITEﾌｧｲﾙ名（＝の左側）に誤りがある！\r\nあるいはデータミス等によるエラーの発生！\r\n"
              "このﾌｧｲﾙは存在しない。\r\nFILE=" +
                  dir.file("prog/OUT.DAT"));
    EXPECT_FALSE(fs::exists(dir.file("data/output.txt")));
}

TEST_F(ProgramRunTest, ProgramWritingOnlySomeOutputsDeliversThoseBeforeTheMissingOne) {
    const std::string program = installProgram("zk_partial", "prog/PARTIAL");
    EXPECT_EQ(
        run("data/RUN.FRT", {"W 'OUT1.DAT'='one.txt'", "W 'OUT2.DAT'='two.txt'", "P '" + program + "'"}),
        RunOutcome::Stopped);
    EXPECT_EQ(readBytes(dir.file("data/one.txt")), "first output\r\n");
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_NE(messages.shown()[0].text.find("FILE=" + dir.file("prog/OUT2.DAT")), std::string::npos);
}

TEST_F(ProgramRunTest, TwoCasesRunOneAfterTheOtherAndTheSecondMayFail) {
    const std::string program = installProgram("zk_transform", "prog/TRANSFORM");
    dir.write("data/case1.txt", "case one\n");
    EXPECT_EQ(
        run("data/RUN.FRT", {"{ case 1", "}", "R 'IN.DAT'='case1.txt'", "W 'OUT.DAT'='result1.txt'",
                             "P '" + program + "'", "{ case 2: its input is missing", "}",
                             "R 'IN.DAT'='case2.txt'", "W 'OUT.DAT'='result2.txt'", "P '" + program + "'"}),
        RunOutcome::Stopped);
    EXPECT_EQ(readBytes(dir.file("data/result1.txt")), "CASE ONE\r\n");
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].text, "READﾌｧｲﾙなし！\r\nFILE=" + dir.file("data/case2.txt"));
}

TEST_F(ProgramRunTest, ProgramThatDoesNothingFinishesAWholeRun) {
    const std::string program = installProgram("zk_nothing", "prog/NOTHING");
    EXPECT_EQ(run("data/RUN.FRT", {"P '" + program + "'", "P '" + program + "'"}), RunOutcome::Finished);
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(ProgramRunTest, FileThatCannotBeExecutedGoesOnAsIfItHadEnded) {
    // Neither an executable file format nor (on Linux) an execute bit.
    const std::string notAProgram = dir.write("prog/DATA.TXT", "not a program\n");
    EXPECT_EQ(run("data/RUN.FRT", {"W 'OUT.DAT'='out.txt'", "P '" + notAProgram + "'"}), RunOutcome::Stopped);
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_NE(messages.shown()[0].text.find("FILE=" + dir.file("prog/OUT.DAT")), std::string::npos);
}

TEST_F(ProgramRunTest, JapaneseFolderAndFileNamesWithBlanksWork) {
    const std::string program = installProgram("zk_transform", "計算 プログラム/変換 計算");
    dir.write("データ 置場/荷重 ケース１.txt", text::utf8ToCp932("荷重＝１０ｋＮ\r\n"));
    EXPECT_EQ(run("データ 置場/実行 ファイル.FRT",
                  {"Ｒ is not a marker: a comment", "R 'IN.DAT'='荷重 ケース１.txt'",
                   "W 'OUT.DAT'='結果 ケース１.txt'", "W 'INFO.DAT'='情報.txt'", "P '" + program + "'"}),
              RunOutcome::Finished);
    EXPECT_TRUE(messages.shown().empty());
    EXPECT_EQ(readBytes(dir.file("データ 置場/結果 ケース１.txt")), text::utf8ToCp932("荷重＝１０ｋＮ\r\n"));
    EXPECT_EQ(infoOf(readBytes(dir.file("データ 置場/情報.txt"))).at("cwd"), dir.file("計算 プログラム"));
}

TEST_F(ProgramRunTest, ThePathAsWrittenRunsNotAProgramNamedByItsFirstWord) {
    // "prog/RUN ME/TRANSFORM" read word by word begins with "prog/RUN", the name of another
    // program in the same folder.
    const std::string program = installProgram("zk_transform", "prog/RUN ME/TRANSFORM");
    installProgram("zk_partial", "prog/RUN");
    dir.write("data/in.txt", "the right program\n");
    EXPECT_EQ(run("data/RUN.FRT", {"R 'IN.DAT'='in.txt'", "W 'OUT.DAT'='out.txt'", "W 'INFO.DAT'='info.txt'",
                                   "P '" + program + "'"}),
              RunOutcome::Finished);
    EXPECT_TRUE(messages.shown().empty());
    EXPECT_EQ(readBytes(dir.file("data/out.txt")), "THE RIGHT PROGRAM\r\n");
#ifdef _WIN32
    EXPECT_EQ(infoOf(readBytes(dir.file("data/info.txt"))).at("commandline"), program); // still unquoted
#endif
}

TEST_F(ProgramRunTest, RelativeProgramPathsAreTakenFromTheCurrentDirectory) {
    installProgram("zk_transform", "work/bin dir/TRANSFORM");
    dir.write("work/data/in.txt", "relative\n");
    CurrentDirectory cd(dir.file("work"));
    // The program folder "bin dir/" is relative too; the child enters it before it starts.
    EXPECT_EQ(run("work/data/RUN.FRT", {"R 'IN.DAT'='in.txt'", "W 'OUT.DAT'='out.txt'",
                                        "W 'INFO.DAT'='info.txt'", "P 'bin dir/TRANSFORM" + kExe + "'"}),
              RunOutcome::Finished);
    EXPECT_TRUE(messages.shown().empty());
    EXPECT_EQ(readBytes(dir.file("work/data/out.txt")), "RELATIVE\r\n");
    const auto info = infoOf(readBytes(dir.file("work/data/info.txt")));
#ifdef _WIN32
    EXPECT_EQ(info.at("cwd"), dir.file("work\\bin dir")); // as the system writes it
    EXPECT_EQ(info.at("commandline"), "bin dir/TRANSFORM.EXE");
#else
    EXPECT_EQ(info.at("cwd"), dir.file("work/bin dir"));
    EXPECT_EQ(info.at("argv0"), "bin dir/TRANSFORM");
#endif
}

TEST_F(ProgramRunTest, ProgramWithoutFolderPartRunsInZelkovasCurrentDirectory) {
    installProgram("zk_transform", "here/TRANSFORM");
    dir.write("data/in.txt", "here\n");
    CurrentDirectory cd(dir.file("here"));
    EXPECT_EQ(
        run("data/RUN.FRT", {"R 'IN.DAT'='in.txt'", "W 'OUT.DAT'='out.txt'", "P 'TRANSFORM" + kExe + "'"}),
        RunOutcome::Finished);
    EXPECT_TRUE(messages.shown().empty());
    EXPECT_EQ(readBytes(dir.file("data/out.txt")), "HERE\r\n");
}

#ifndef _WIN32
TEST_F(ProgramRunTest, ProgramReadsZelkovasOwnStandardInput) {
    // A program that reads its standard input gets ours, here a pipe holding a few bytes and then
    // its end, never a pipe of its own that nobody writes.
    const std::string program = installProgram("zk_stdin", "prog/STDIN");
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    ASSERT_EQ(::write(ends[1], "typed", 5), 5);
    ::close(ends[1]);
    const int saved = ::dup(0);
    ::dup2(ends[0], 0);
    ::close(ends[0]);
    const RunOutcome outcome = run("data/RUN.FRT", {"W 'STDIN.DAT'='stdin.txt'", "P '" + program + "'"});
    ::dup2(saved, 0);
    ::close(saved);
    EXPECT_EQ(outcome, RunOutcome::Finished);
    EXPECT_EQ(readBytes(dir.file("data/stdin.txt")), "typed\r\n");
}

TEST(PosixProcessLauncher, ReportsStartsAndExitCodes) {
    platform::PosixProcessLauncher launcher;
    const platform::LaunchResult missing = launcher.runAndWait("/no/such/program", "");
    EXPECT_FALSE(missing.started);
    EXPECT_FALSE(launcher.runAndWait("", "").started);
    const platform::LaunchResult nothing = launcher.runAndWait((kPrograms / "zk_nothing").string(), "/");
    EXPECT_TRUE(nothing.started);
    EXPECT_EQ(nothing.exitCode, 0);
    const platform::LaunchResult partial =
        launcher.runAndWait((kPrograms / "zk_partial").string(), "/no/such/dir");
    EXPECT_FALSE(partial.started); // a folder that cannot be entered
    EXPECT_EQ(partial.startError, ENOENT);
    const platform::LaunchResult failing = launcher.runAndWait((kPrograms / "zk_fail3").string(), "/");
    EXPECT_EQ(failing.exitCode, 3);
    EXPECT_EQ(failing.signal, 0);
    const platform::LaunchResult crashing = launcher.runAndWait((kPrograms / "zk_crash").string(), "/");
    EXPECT_TRUE(crashing.started);
    EXPECT_EQ(crashing.signal, SIGSEGV);
}
#else
TEST(WindowsProcessLauncher, ReportsStartsAndExitCodes) {
    testing::TempDir dir;
    platform::WindowsProcessLauncher launcher;
    const platform::LaunchResult missing = launcher.runAndWait(dir.file("NOSUCH.EXE"), "");
    EXPECT_FALSE(missing.started);
    EXPECT_EQ(missing.startError, ENOENT);
    EXPECT_FALSE(launcher.runAndWait("", "").started);
    const std::string folder = dir.file("");
    const platform::LaunchResult nothing =
        launcher.runAndWait(testing::utf8Name(testProgram("zk_nothing")), folder);
    EXPECT_TRUE(nothing.started);
    EXPECT_EQ(nothing.exitCode, 0);
    const platform::LaunchResult partial =
        launcher.runAndWait(testing::utf8Name(testProgram("zk_partial")), dir.file("no such folder"));
    EXPECT_FALSE(partial.started); // a folder that cannot be entered
    EXPECT_NE(partial.startError, 0);
    const platform::LaunchResult failing =
        launcher.runAndWait(testing::utf8Name(testProgram("zk_fail3")), folder);
    EXPECT_TRUE(failing.started);
    EXPECT_EQ(failing.exitCode, 3);
    const platform::LaunchResult notAProgram = launcher.runAndWait(dir.write("DATA.TXT", "text\r\n"), folder);
    EXPECT_FALSE(notAProgram.started);
    EXPECT_EQ(notAProgram.startError, ENOEXEC);
}

TEST(WindowsProcessLauncher, NamesOutsideTheAnsiCodePageCannotBeStarted) {
    // CreateProcessA takes the system's ANSI code page (932 here, as on a Japanese Windows): a
    // Japanese name reaches it whole, a Korean one cannot be written in it at all.
    ASSERT_EQ(GetACP(), 932u) << "the tests run under a Japanese locale (scripts/wine-run.sh)";
    testing::TempDir dir;
    platform::WindowsProcessLauncher launcher;
    for (const char* folder : {"計算", "한국"}) {
        const fs::path program = dir.path() / testing::utf8Path(folder) / "NOTHING.EXE";
        fs::create_directories(program.parent_path());
        fs::copy_file(testProgram("zk_nothing"), program);
        const platform::LaunchResult result = launcher.runAndWait(testing::utf8Name(program), "");
        EXPECT_EQ(result.started, std::string(folder) == "計算") << folder;
    }
}
#endif

#ifdef ZK_DEMO_PROGRAM
// The bundled demo laid out as in the repository: examples/demo with its run file, its data and
// the program in bin/, under a temporary folder that serves as Zelkova's current directory (the
// run file names the program relative to the repository's root).
class DemoRunTest : public ProgramRunTest {
protected:
    void SetUp() override {
        const fs::path demo = testing::sourceDir() / "examples" / "demo";
        fs::create_directories(dir.file("examples/demo/bin"));
        for (const char* file : {"DEMO.FRT", "CASE1.DAT", "CASE2.DAT"})
            fs::copy_file(demo / file, dir.path() / "examples/demo" / file);
        fs::copy_file(ZK_DEMO_PROGRAM, dir.path() / "examples/demo/bin/BEAM");
        runFile = dir.file("examples/demo/DEMO.FRT");
    }
    RunOutcome runDemo() {
        CurrentDirectory cd(dir.path());
        RunRequest request{runFile, runFile, {}};
        return runRunFile(request, messages, launcher);
    }
    std::string demoFile(const std::string& name) const {
        return readBytes(dir.path() / "examples/demo" / name);
    }

    std::string runFile;
};

TEST_F(DemoRunTest, BothCasesRunStraightFromTheRunFile) {
    EXPECT_EQ(runDemo(), RunOutcome::Finished);
    for (const auto& m : messages.shown())
        ADD_FAILURE() << m.text;
    for (const char* output : {"RESULT1.LST", "PLOT1.TXT", "RESULT2.LST", "PLOT2.TXT"}) {
        const std::string bytes = demoFile(output);
        ASSERT_FALSE(bytes.empty()) << output;
        EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), std::count(bytes.begin(), bytes.end(), '\r'))
            << output << " has CR LF line ends throughout";
        EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n") << output;
    }
    // Nothing is left in the program's folder but the program.
    std::vector<std::string> left;
    for (const auto& entry : fs::directory_iterator(dir.file("examples/demo/bin")))
        left.push_back(entry.path().filename().string());
    EXPECT_EQ(left, std::vector<std::string>{"BEAM"});
}

TEST_F(DemoRunTest, ListingAndPlotCarryTheCaseThroughInCodePage932) {
    ASSERT_EQ(runDemo(), RunOutcome::Finished);
    const std::string title = text::utf8ToCp932("単純梁の計算例　ケース１（集中荷重２点と等分布荷重）");
    const std::string listing = demoFile("RESULT1.LST");
    // Carriage control in column 1: the listing opens on a new page under the case's title.
    EXPECT_EQ(listing.substr(0, 1 + title.size()), "1" + title);
    EXPECT_GE(std::count(listing.begin(), listing.end(), '\n'), 100);
    EXPECT_NE(listing.find("\r\n0REACTION RA     =      69.000 KN\r\n"), std::string::npos);
    EXPECT_NE(listing.find("\r\n REACTION RB     =      61.000 KN\r\n"), std::string::npos);
    EXPECT_NE(listing.find("MAXIMUM MOMENT     =     186.100 KN*M  AT X =     3.800 M"), std::string::npos);

    const std::string plot = demoFile("PLOT1.TXT");
    // One layer per figure: the beam, shear force, bending moment and deflection.
    std::size_t layers = 0;
    for (std::size_t at = plot.find("\r\nly\r\n"); at != std::string::npos;
         at = plot.find("\r\nly\r\n", at + 1))
        ++layers;
    EXPECT_EQ(layers, 4u);
    EXPECT_NE(plot.find("\"" + title + "\r\n"), std::string::npos);
    EXPECT_NE(plot.find("\r\nci "), std::string::npos);
    EXPECT_NE(plot.find("\r\n      40.00    100.00    260.00    100.00\r\n"), std::string::npos);

    const std::string second = demoFile("RESULT2.LST");
    EXPECT_EQ(second.substr(0, 1 + 18), "1" + text::utf8ToCp932("単純梁の計算例　ケース２").substr(0, 18));
}

TEST_F(DemoRunTest, BadDataInTheSecondCaseStopsAfterTheFirstIsDelivered) {
    dir.write("examples/demo/CASE2.DAT", "bad case: no stations\r\n6.0  0  8.0E4\r\n0  1.0\r\n");
    EXPECT_EQ(runDemo(), RunOutcome::Stopped);
    ASSERT_EQ(messages.shown().size(), 1u);
    // The run file names the program relatively, so the unit file's name is relative too.
    EXPECT_EQ(messages.shown()[0].text,
              "WRITEﾌｧｲﾙ名（＝の左側）に誤りがある！\r\nあるいはデータミス等によるエラーの発生！\r\n"
              "このﾌｧｲﾙは存在しない。\r\nFILE=examples/demo/bin/BEAM.LST");
    EXPECT_FALSE(demoFile("RESULT1.LST").empty());
    EXPECT_FALSE(demoFile("PLOT1.TXT").empty());
    EXPECT_FALSE(fs::exists(dir.file("examples/demo/RESULT2.LST")));
    EXPECT_FALSE(fs::exists(dir.file("examples/demo/bin/BEAM.IN"))); // the input copy went all the same
}
#else
TEST(DemoRunTest, NeedsAFortranCompiler) {
    GTEST_SKIP() << "no Fortran compiler here: the demo program was not built";
}
#endif

} // namespace
} // namespace zelkova::runner
