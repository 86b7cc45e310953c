// Shows that the editor window's run command refuses a document that is not a run file, saves a
// modified run file the way the user answers before it runs it, runs the file as stored on disk
// with its names resolved against the folder of the file that was opened, and refuses to overwrite
// the plot file the plot viewer shows. Boxes, dialogs and program starts go through the scripted
// platform doubles.
#include "GuiHelpers.h"
#include "ScriptedServices.h"
#include "TempDir.h"
#include "editor/qt/TForm1.h"
#include "plot/qt/TForm2.h"
#include "text/Cp932.h"

#include <QPlainTextEdit>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

namespace zelkova::testing {
namespace {

namespace fs = std::filesystem;
using platform::LaunchResult;
using platform::MessageKind;
using platform::Reply;
using zelkova::testing::CurrentDirectory;

constexpr const char* kTitle = "Zelkova（ﾌｫｰﾄﾗﾝexe等の実行、ﾃﾞｰﾀ編集、作図用）";
constexpr const char* kNotARunFile = "このファイルはＥＸ文ではありません！";
constexpr const char* kSaveChanges = "変更を保存します";

class RunMenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        program = dir.write("prog/CALC", "stands for an executable");
        fs::create_directories(dir.file("data"));
    }
    ~RunMenuTest() override {
        viewer.reset();
        form.reset();
        processEvents();
    }

    // A run file on disk (UTF-8 lines, stored in CP932 with CR LF), loaded as the start-up file.
    std::string openRunFile(const std::string& relative, const std::string& utf8Lines) {
        std::string bytes = text::utf8ToCp932(utf8Lines);
        std::string crlf;
        for (char c : bytes)
            crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
        const std::string path = dir.write(relative, crlf);
        create(path);
        return path;
    }
    void create(const std::string& commandLineFile = {}) {
        form = std::make_unique<TForm1>(s.services, QString::fromStdString(commandLineFile));
    }
    QPlainTextEdit* richEdit() { return child<QPlainTextEdit>(form.get(), "RichEdit1"); }
    // Types `utf8` at the end of the document, as the user would.
    void typeAtEnd(const std::string& utf8) {
        QTextCursor cursor = richEdit()->textCursor();
        cursor.movePosition(QTextCursor::End);
        richEdit()->setTextCursor(cursor);
        richEdit()->insertPlainText(QString::fromStdString(utf8));
    }
    void runCommand() { trigger(form.get(), "prgrun"); }
    std::string programLine() const { return "P '" + program + "'\n"; }

    const platform::Message& onlyMessage() {
        EXPECT_EQ(s.messages.shown().size(), 1u);
        static const platform::Message none;
        return s.messages.shown().empty() ? none : s.messages.shown().front();
    }

    TempDir dir;
    ScriptedServices s;
    std::unique_ptr<TForm1> form;
    std::unique_ptr<TForm2> viewer;
    std::string program;
};

// --- refusal -----------------------------------------------------------------------------------

TEST_F(RunMenuTest, DocumentWithoutTheRunFileFlagIsRefusedBeforeAnythingElse) {
    openRunFile("data/notes.txt", " P 'indented, so not a program line'\nnotes\n");
    typeAtEnd("more notes"); // modified, yet nothing is saved
    runCommand();
    const platform::Message& m = onlyMessage();
    EXPECT_EQ(m.kind, MessageKind::Plain);
    EXPECT_EQ(m.caption, kTitle);
    EXPECT_EQ(m.text, kNotARunFile);
    EXPECT_TRUE(s.processes.starts().empty());
    EXPECT_TRUE(s.files.requests().empty());
}

TEST_F(RunMenuTest, RunFileOfTwoHundredLinesIsRefused) {
    std::string lines = programLine();
    for (int i = 1; i < 200; ++i)
        lines += "comment\n";
    openRunFile("data/LONG.FRT", lines);
    runCommand();
    EXPECT_EQ(onlyMessage().text, kNotARunFile);
    EXPECT_TRUE(s.processes.starts().empty());
}

TEST_F(RunMenuTest, NothingLoadedIsRefused) {
    create();
    runCommand();
    EXPECT_EQ(onlyMessage().text, kNotARunFile);
}

// --- the save step -----------------------------------------------------------------------------

TEST_F(RunMenuTest, UnmodifiedRunFileRunsWithoutAQuestion) {
    dir.write("data/in.dat", "x\r\n");
    openRunFile("data/RUN.FRT", "R 'IN.DAT'='in.dat'\n" + programLine());
    runCommand();
    EXPECT_TRUE(s.messages.shown().empty());
    ASSERT_EQ(s.processes.starts().size(), 1u);
    EXPECT_EQ(s.processes.starts()[0].program, program);
    EXPECT_EQ(s.processes.starts()[0].workingFolder, dir.file("prog/"));
}

TEST_F(RunMenuTest, AnsweringNoToSavingRunsNothingAndKeepsTheEdit) {
    const std::string path = openRunFile("data/RUN.FRT", programLine());
    typeAtEnd(programLine());
    s.messages.answerNext(Reply::No);
    runCommand();
    const platform::Message& m = onlyMessage();
    EXPECT_EQ(m.kind, MessageKind::Confirmation);
    EXPECT_EQ(m.caption, "確認");
    EXPECT_EQ(m.text, kSaveChanges);
    EXPECT_TRUE(s.processes.starts().empty());
    EXPECT_TRUE(form->isModified());
    EXPECT_EQ(readBytes(path), "P '" + program + "'\r\n");
}

TEST_F(RunMenuTest, AnsweringYesSavesThenRunsWhatWasSaved) {
    const std::string path = openRunFile("data/RUN.FRT", "comment\n");
    form->setWindowTitle("changed by the test");
    typeAtEnd(programLine() + programLine());
    s.messages.answerNext(Reply::Yes);
    runCommand();
    EXPECT_EQ(s.messages.texts(), std::vector<std::string>{kSaveChanges});
    EXPECT_EQ(readBytes(path), "comment\r\nP '" + program + "'\r\nP '" + program + "'\r\n");
    EXPECT_FALSE(form->isModified());
    EXPECT_EQ(form->windowTitle().toStdString(), "RUN.FRT");
    // The two program lines typed in ran: the run read the file just saved.
    EXPECT_EQ(s.processes.starts().size(), 2u);
}

TEST_F(RunMenuTest, SaveThatFailsIsAGeneralErrorAndRunsNothing) {
    const std::string path = openRunFile("data/sub/RUN.FRT", programLine());
    typeAtEnd(programLine());
    fs::remove_all(dir.file("data/sub")); // the folder went away under the editor
    s.messages.answerNext(Reply::Yes);
    runCommand();
    ASSERT_EQ(s.messages.shown().size(), 2u);
    const platform::Message& m = s.messages.shown()[1];
    EXPECT_EQ(m.kind, MessageKind::Error);
    EXPECT_EQ(m.caption, kTitle);
    EXPECT_EQ(m.text, "ファイル " + path + " を作成できません.");
    EXPECT_TRUE(s.processes.starts().empty());
    EXPECT_TRUE(form->isModified());
}

TEST_F(RunMenuTest, NewDocumentIsSavedAsAndRunsUnderTheChosenName) {
    CurrentDirectory cd(dir.file("data"));
    create();
    trigger(form.get(), "New1");
    typeAtEnd(programLine());
    ASSERT_TRUE(form->isRunFile());
    const std::string chosen = dir.file("data/NEW RUN.FRT");
    s.files.chooseNext(QString::fromStdString(chosen));
    runCommand();
    EXPECT_TRUE(s.messages.shown().empty());
    EXPECT_EQ(readBytes(chosen), "P '" + program + "'\r\n");
    EXPECT_EQ(form->documentName(), chosen);
    EXPECT_EQ(s.processes.starts().size(), 1u);
}

TEST_F(RunMenuTest, SaveAsCancelledForANewDocumentEndsInTheGeneralErrorReport) {
    CurrentDirectory cd(dir.file("data"));
    create();
    trigger(form.get(), "New1");
    typeAtEnd(programLine());
    s.files.cancelNext();
    runCommand();
    // "新規ファイル.txt" was never written, so the run file cannot be opened.
    const platform::Message& m = onlyMessage();
    EXPECT_EQ(m.kind, MessageKind::Error);
    EXPECT_EQ(m.caption, kTitle);
    EXPECT_EQ(m.text, "ファイルが見つかりません.");
    EXPECT_TRUE(s.processes.starts().empty());
    EXPECT_FALSE(fs::exists(dir.file("data/新規ファイル.txt")));
}

// --- the run -----------------------------------------------------------------------------------

TEST_F(RunMenuTest, NamesResolveAgainstTheOpenedFileEvenAfterSavingElsewhere) {
    dir.write("data/in.dat", "from the opened file's folder\n");
    openRunFile("data/RUN.FRT", "R 'IN.DAT'='in.dat'\nW 'OUT.DAT'='out.txt'\n");
    typeAtEnd(programLine());
    fs::create_directories(dir.file("copy"));
    s.files.chooseNext(QString::fromStdString(dir.file("copy/RUN.FRT")));
    trigger(form.get(), "Save2"); // 名前を付けて保存
    ASSERT_FALSE(form->isModified());
    std::string seen;
    s.processes.onNext([&](const FakeProcessLauncher::Start&) {
        seen = readBytes(dir.file("prog/IN.DAT"));
        dir.write("prog/OUT.DAT", "result\n");
        return LaunchResult{true, 0};
    });
    runCommand();
    EXPECT_TRUE(s.messages.shown().empty());
    EXPECT_EQ(seen, "from the opened file's folder\r\n");
    EXPECT_EQ(readBytes(dir.file("data/out.txt")), "result\r\n");
    EXPECT_FALSE(fs::exists(dir.file("copy/out.txt")));
}

TEST_F(RunMenuTest, RunnerMessagesReachTheScriptedBoxes) {
    openRunFile("data/RUN.FRT", "R 'IN.DAT'='無い ファイル.dat'\n" + programLine());
    runCommand();
    const platform::Message& m = onlyMessage();
    EXPECT_EQ(m.kind, MessageKind::Plain);
    EXPECT_EQ(m.caption, kTitle);
    EXPECT_EQ(m.text, "READﾌｧｲﾙなし！\r\nFILE=" + dir.file("data/無い ファイル.dat"));
    EXPECT_TRUE(s.processes.starts().empty());
}

TEST_F(RunMenuTest, PlotFileShownInTheViewerIsNotOverwritten) {
    const std::string plot = dir.write("data/PLOT.TXT", "ly\r\n 0 0 10 10\r\n");
    openRunFile("data/RUN.FRT", "W 'PLOT.DAT'='plot.txt'\n" + programLine());
    viewer = std::make_unique<TForm2>(s.services, form->openedFileName());
    form->setPlotViewer(viewer.get());
    s.files.chooseNext(QString::fromStdString(plot));
    viewer->file1Click();
    ASSERT_EQ(viewer->viewerCaption(), plot);
    s.messages.clear();
    s.processes.onNext([&](const FakeProcessLauncher::Start&) {
        dir.write("prog/PLOT.DAT", "ly\n 0 0 20 20\n");
        return LaunchResult{true, 0};
    });
    runCommand();
    EXPECT_EQ(onlyMessage().text, "WRITEﾌｧｲﾙ＝" + dir.file("data/plot.txt") +
                                      " error !\r\n\r\nこのﾌｧｲﾙは現在作図画面で使用中です！\r\n\r\n"
                                      "作図画面でのﾌｧｲﾙを閉じてやり直して下さい");
    EXPECT_EQ(readBytes(plot), "ly\r\n 0 0 10 10\r\n");
    EXPECT_EQ(readBytes(dir.file("prog/PLOT.DAT")), "ly\n 0 0 20 20\n");
}

TEST_F(RunMenuTest, ViewerWithoutAPlotFileLetsTheOutputThrough) {
    openRunFile("data/RUN.FRT", "W 'PLOT.DAT'='PLOT.TXT'\n" + programLine());
    viewer = std::make_unique<TForm2>(s.services, form->openedFileName());
    form->setPlotViewer(viewer.get());
    ASSERT_EQ(viewer->viewerCaption(), "JW_CAD作図用出力データを用いた作図");
    s.processes.onNext([&](const FakeProcessLauncher::Start&) {
        dir.write("prog/PLOT.DAT", "ly\n");
        return LaunchResult{true, 0};
    });
    runCommand();
    EXPECT_TRUE(s.messages.shown().empty());
    EXPECT_EQ(readBytes(dir.file("data/PLOT.TXT")), "ly\r\n");
}

} // namespace
} // namespace zelkova::testing
