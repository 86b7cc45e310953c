// Shows that the editor window's file commands (start-up file, New, Open, Save, Save As, Exit, the
// close box, listing print, help) ask their questions, keep what the user has, and write files
// byte for byte.
#include "EditorWindowFixture.h"

#include "plot/qt/TForm2.h"

#include <QCloseEvent>
#include <QDialog>
#include <QLineEdit>

#include <filesystem>

namespace zelkova::testing {
namespace {

using platform::MessageKind;
using platform::Reply;
using zelkova::testing::CurrentDirectory;

constexpr const char* kCannotOpen =
    "開くことが出来ない！\r\nもしかすると、他の処理の作業中\r\n一旦Zelkovaを終了して開き直して下さい。";
constexpr const char* kCannotWrite = "書き込み出来ない！\r\n一旦Zelkovaを終了して開き直して下さい。";
constexpr const char* kInitialCaption = "Zelkova　（FortranのEXEの実行用エディター　第19版 2003.7.19";

// The current directory for the duration of a test.
using EditorStartUp = EditorWindowTest;

TEST_F(EditorStartUp, LoadsTheCommandLineFileUnderItsOwnName) {
    const std::string path = dir.write("data.txt", "line 1\r\nline 2\r\n");
    create(path);
    EXPECT_EQ(text(), "line 1\nline 2\n");
    EXPECT_EQ(caption(), path);
    EXPECT_EQ(form->documentName(), path);
    EXPECT_EQ(form->openedFileName(), path);
    EXPECT_FALSE(modified());
    EXPECT_FALSE(form->isRunFile());
    // The counting pass ran at creation and the page indicator reads it.
    EXPECT_EQ(pageCaption(), "    現在のｶｰｿﾙは 1 ﾍﾟｰｼﾞです。");
    EXPECT_TRUE(s.messages.shown().empty());
}

TEST_F(EditorStartUp, IgnoresAnArgumentThatNamesNoFile) {
    for (const std::string& argument : {dir.file("missing.txt"), dir.path().string()}) {
        create(argument);
        EXPECT_EQ(text(), "");
        EXPECT_EQ(caption(), kInitialCaption);
        EXPECT_EQ(form->documentName(), "");
        EXPECT_EQ(form->openedFileName(), "");
        EXPECT_FALSE(modified());
        EXPECT_EQ(pageCaption(), "　");
    }
    EXPECT_TRUE(s.messages.shown().empty());
    // The listing printer window exists all the same.
    EXPECT_NE(form->findChild<QDialog*>(QStringLiteral("prtForm1")), nullptr);
}

TEST_F(EditorStartUp, ExaminesOnlyFilesOfFewerThan200Lines) {
    std::string runFile = "R IN.DAT = A.DAT\r\n";
    for (int i = 1; i < 199; ++i)
        runFile += "comment\r\n";
    create(dir.write("199.FRT", runFile));
    EXPECT_TRUE(form->isRunFile());
    create(dir.write("200.FRT", runFile + "comment\r\n"));
    EXPECT_FALSE(form->isRunFile());
}

TEST_F(EditorStartUp, HasTheWindowLayout) {
    create();
    EXPECT_EQ(form->pos(), QPoint(108, 54));
    EXPECT_EQ(form->width(), 681);
    EXPECT_EQ(richEdit()->lineWrapMode(), QPlainTextEdit::NoWrap);
    EXPECT_EQ(child<QStatusBar>(form.get(), "StatusBar1")->height(), 19);
    EXPECT_TRUE(form->isVisible());
}

using EditorMenus = EditorWindowTest;

std::vector<std::pair<std::string, std::string>> itemsOf(QMenu* menu) {
    std::vector<std::pair<std::string, std::string>> items;
    for (QAction* action : menu->actions())
        items.emplace_back(action->objectName().toStdString(),
                           action->isSeparator() ? std::string("-") : action->text().toStdString());
    return items;
}

TEST_F(EditorMenus, HaveEveryCaptionInOrderWithoutShortcuts) {
    create();
    const auto top = form->menuBar()->actions();
    std::vector<std::string> topCaptions;
    for (QAction* action : top)
        topCaptions.push_back(action->text().toStdString());
    EXPECT_EQ(topCaptions, (std::vector<std::string>{"ファイル(&F)", "編集(&E)", "ﾌﾟﾛｸﾞﾗﾑの実行(&P)",
                                                     "結果図の作図(&G)", "ヘルプ(&H)", "　"}));
    EXPECT_EQ(top[4]->objectName().toStdString(), "Help1");
    EXPECT_EQ(top[4]->menu(), nullptr);

    using Items = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ(itemsOf(top[0]->menu()), (Items{{"New1", "新規作成(&N)"},
                                              {"Open1", "開く(&O)"},
                                              {"Save1", "上書き保存(&S)"},
                                              {"Save2", "名前を付けて保存(&A)"},
                                              {"", "-"},
                                              {"Print1", "普通の印刷(&P)"},
                                              {"", "-"},
                                              {"FOTRAN1", "FOTRANｱｳﾄﾌﾟｯﾄﾌｧｲﾙの印刷(&F)"},
                                              {"", "-"},
                                              {"Exit1", "終了(&X)"}}));
    EXPECT_EQ(itemsOf(top[1]->menu()), (Items{{"Undo1", "元に戻す（直前一回のみ）(&U)"},
                                              {"Copy1", "コピー(&C)"},
                                              {"Cut1", "切り取り(&T)"},
                                              {"Paste1", "貼り付け(&P)"},
                                              {"flnmpaste1", "参照からﾌｧｲﾙ名貼り付け(&N)"},
                                              {"Find1", "検索(&F)"},
                                              {"Replace1", "置き換え(&R)"}}));
    EXPECT_EQ(itemsOf(top[2]->menu()), (Items{{"prgrun", "EX文を実行します。ＯＫ(&O)"}}));
    EXPECT_EQ(itemsOf(top[3]->menu()), (Items{{"mngrfplot", "画面上に結果図を描画します。ＯＫ(&O)"}}));
    EXPECT_EQ(top[5]->menu()->objectName().toStdString(), "page1");
    EXPECT_EQ(itemsOf(top[5]->menu()), (Items{{"mnpage1", "上記ﾍﾟｰｼﾞはﾌｫｰﾄﾗﾝ出力印刷用ﾍﾟｰｼﾞです。"}}));
    EXPECT_EQ(itemsOf(child<QMenu>(form.get(), "PopupMenu1")),
              (Items{{"Undo2", "元に戻す（直前一回のみ）(&U)"},
                     {"Copy2", "コピー(&C)"},
                     {"Cut2", "切り取り(&T)"},
                     {"Paste2", "貼り付け(&P)"},
                     {"flnmpaste2", "参照からﾌｧｲﾙ名貼り付け(&N)"},
                     {"Find2", "検索(&F)"},
                     {"replace2", "置き換え(&R)"}}));
    for (QAction* action : form->findChildren<QAction*>())
        EXPECT_TRUE(action->shortcut().isEmpty()) << action->objectName().toStdString();
}

TEST_F(EditorMenus, PopupItemsDoWhatTheirEditMenuTwinsDo) {
    create();
    setText("abc");
    select(0, 2);
    trigger(form.get(), "Copy2");
    EXPECT_EQ(s.clipboard.text().toStdString(), "ab");
    trigger(form.get(), "Cut2");
    EXPECT_EQ(text(), "c");
    trigger(form.get(), "Paste2");
    EXPECT_EQ(text(), "abc");
    trigger(form.get(), "Undo2");
    EXPECT_EQ(text(), "c");
}

using EditorNew = EditorWindowTest;

TEST_F(EditorNew, AsksBeforeDiscardingEvenAnUnnamedDocument) {
    create();
    setText("typed");
    s.messages.answerNext(Reply::No);
    trigger(form.get(), "New1");
    ASSERT_EQ(s.messages.shown().size(), 1u);
    EXPECT_EQ(s.messages.shown()[0].text, "変更を保存します");
    EXPECT_EQ(s.messages.shown()[0].kind, MessageKind::Confirmation);
    EXPECT_EQ(s.messages.shown()[0].caption, "確認");
    EXPECT_EQ(text(), "");
    EXPECT_EQ(caption(), "新規ファイル.txt");
    EXPECT_EQ(form->documentName(), "新規ファイル.txt");
    EXPECT_FALSE(modified());
    EXPECT_FALSE(richEdit()->document()->isUndoAvailable());
}

TEST_F(EditorNew, KeepsTheTextWhenTheAskedSaveDoesNotHappen) {
    create();
    setText("typed");
    s.messages.answerNext(Reply::Yes);
    s.files.cancelNext(); // the unnamed document's save is a Save As
    trigger(form.get(), "New1");
    EXPECT_EQ(text(), "typed");
    EXPECT_TRUE(modified());
    EXPECT_EQ(caption(), kInitialCaption);
}

TEST_F(EditorNew, ThenSaveWritesTheNewFileNameInTheCurrentDirectory) {
    CurrentDirectory cwd(dir.path());
    create();
    trigger(form.get(), "New1");
    EXPECT_TRUE(s.messages.shown().empty());
    setText("one\ntwo");
    trigger(form.get(), "Save1");
    EXPECT_TRUE(s.files.requests().empty());
    EXPECT_TRUE(sameBytes("one\r\ntwo", readBytes(dir.path() / "新規ファイル.txt")));
    EXPECT_EQ(caption(), "新規ファイル.txt");
    EXPECT_FALSE(modified());
}

TEST_F(EditorNew, KeepsTheOpenedFileNameAndSetsTheSaveDialogFolder) {
    const std::string path = dir.write("sub/a.txt", "a\r\n");
    create(path);
    trigger(form.get(), "New1");
    EXPECT_EQ(form->openedFileName(), path);
    s.files.cancelNext();
    trigger(form.get(), "Save2");
    ASSERT_EQ(s.files.requests().size(), 1u);
    EXPECT_EQ(s.files.requests()[0].objectName.toStdString(), "SaveDialog1");
    EXPECT_EQ(s.files.requests()[0].initialFolder.toStdString(), (dir.path() / "sub").string() + "/");
    EXPECT_EQ(s.files.requests()[0].fileName.toStdString(), "新規ファイル.txt");
}

using EditorOpen = EditorWindowTest;

TEST_F(EditorOpen, LoadsTheChosenFileAndPaginatesIt) {
    create();
    const std::string path = dir.write("b.txt", "x\r\ny\r\n");
    s.files.chooseNext(QString::fromStdString(path));
    trigger(form.get(), "Open1");
    ASSERT_EQ(s.files.requests().size(), 1u);
    const auto& request = s.files.requests()[0];
    EXPECT_EQ(request.objectName.toStdString(), "OpenDialog1");
    EXPECT_EQ(request.defaultExtension.toStdString(), ".TXT");
    ASSERT_EQ(request.filters.size(), 5);
    EXPECT_EQ(request.filters[0].description.toStdString(),
              "ﾃｷｽﾄﾌｧｲﾙ(*.TXT)、実行用ﾌｧｲﾙ(*.FRT)、ﾌﾟﾛｸﾞﾗﾑﾌｧｲﾙ(*.for)");
    EXPECT_EQ(request.filters[0].patterns.toStdString(), "*.TXT;*.FRT;*.for");
    EXPECT_EQ(request.filters[4].description.toStdString(), "全てのﾌｧｲﾙ(*.*)");
    EXPECT_EQ(text(), "x\ny\n");
    EXPECT_EQ(caption(), path);
    EXPECT_EQ(form->documentName(), path);
    EXPECT_EQ(form->openedFileName(), path);
    EXPECT_FALSE(modified());
    EXPECT_FALSE(richEdit()->document()->isUndoAvailable());
    EXPECT_EQ(pageCaption(), "    現在のｶｰｿﾙは 1 ﾍﾟｰｼﾞです。");
    // The next Open starts in the document's folder.
    s.files.cancelNext();
    trigger(form.get(), "Open1");
    EXPECT_EQ(s.files.requests()[1].initialFolder.toStdString(), dir.path().string() + "/");
}

TEST_F(EditorOpen, OnAModifiedDocumentAnsweredNoDiscardsTheChanges) {
    create(dir.write("a.txt", "old\r\n"));
    setText("changed");
    s.files.chooseNext(QString::fromStdString(dir.write("b.txt", "new\r\n")));
    s.messages.answerNext(Reply::No);
    trigger(form.get(), "Open1");
    EXPECT_EQ(messageTexts(), std::vector<std::string>{"変更を保存します"});
    EXPECT_EQ(text(), "new\n");
    EXPECT_TRUE(sameBytes("old\r\n", readBytes(dir.path() / "a.txt")));
}

TEST_F(EditorOpen, OnAModifiedDocumentAnsweredYesSavesItFirst) {
    create(dir.write("a.txt", "old\r\n"));
    setText("changed\n");
    s.files.chooseNext(QString::fromStdString(dir.write("b.txt", "new\r\n")));
    s.messages.answerNext(Reply::Yes);
    trigger(form.get(), "Open1");
    EXPECT_TRUE(sameBytes("changed\r\n", readBytes(dir.path() / "a.txt")));
    EXPECT_EQ(text(), "new\n");
}

TEST_F(EditorOpen, CancelledAsksNothingAndChangesNothing) {
    create(dir.write("a.txt", "old\r\n"));
    setText("changed");
    s.files.cancelNext();
    trigger(form.get(), "Open1");
    EXPECT_TRUE(s.messages.shown().empty());
    EXPECT_EQ(text(), "changed");
    EXPECT_TRUE(modified());
}

TEST_F(EditorOpen, AFileThatCannotBeReadLeavesTheDocumentAsItWas) {
    const std::string path = dir.write("a.txt", "old\r\n");
    create(path);
    setText("kept");
    s.files.chooseNext(QString::fromStdString(dir.file("missing.txt")));
    s.messages.answerNext(Reply::No);
    trigger(form.get(), "Open1");
    ASSERT_EQ(messageTexts(), (std::vector<std::string>{"変更を保存します", kCannotOpen}));
    EXPECT_EQ(s.messages.shown()[1].kind, MessageKind::Plain);
    EXPECT_EQ(s.messages.shown()[1].caption, "Zelkova（ﾌｫｰﾄﾗﾝexe等の実行、ﾃﾞｰﾀ編集、作図用）");
    EXPECT_EQ(text(), "kept");
    EXPECT_EQ(caption(), path);
    EXPECT_EQ(form->documentName(), path);
    EXPECT_EQ(form->openedFileName(), path);
}

using EditorSaveAs = EditorWindowTest;

TEST_F(EditorSaveAs, OntoTheOpenedFileOverwritesWithoutAQuestion) {
    const std::string path = dir.write("a.txt", "old\r\n");
    create(path);
    setText("new\n");
    s.files.chooseNext(QString::fromStdString(path));
    trigger(form.get(), "Save2");
    EXPECT_TRUE(s.messages.shown().empty());
    EXPECT_TRUE(sameBytes("new\r\n", readBytes(path)));
    EXPECT_EQ(caption(), "a.txt");
    EXPECT_FALSE(modified());
}

TEST_F(EditorSaveAs, OntoAnotherFileDeclinedWritesNothingAndKeepsTheOldName) {
    const std::string path = dir.write("a.txt", "old\r\n");
    const std::string other = dir.write("b.txt", "other\r\n");
    create(path);
    setText("new\n");
    s.files.chooseNext(QString::fromStdString(other));
    s.messages.answerNext(Reply::No);
    trigger(form.get(), "Save2");
    EXPECT_EQ(messageTexts(), std::vector<std::string>{"ファイルを置き換えます。"});
    EXPECT_EQ(s.messages.shown()[0].kind, MessageKind::Confirmation);
    EXPECT_TRUE(sameBytes("other\r\n", readBytes(other)));
    EXPECT_TRUE(modified());
    trigger(form.get(), "Save1");
    EXPECT_TRUE(sameBytes("new\r\n", readBytes(path)));
    EXPECT_TRUE(sameBytes("other\r\n", readBytes(other)));
}

TEST_F(EditorSaveAs, ToAnotherFolderKeepsTheOpenedFileName) {
    const std::string path = dir.write("a.txt", "old\r\n");
    create(path);
    const std::string copy = dir.file("elsewhere/copy.txt");
    std::filesystem::create_directories(dir.path() / "elsewhere");
    s.files.chooseNext(QString::fromStdString(copy));
    trigger(form.get(), "Save2");
    EXPECT_TRUE(sameBytes("old\r\n", readBytes(copy)));
    EXPECT_EQ(form->documentName(), copy);
    EXPECT_EQ(form->openedFileName(), path);
    EXPECT_EQ(caption(), "copy.txt");
}

TEST_F(EditorSaveAs, AFailedWriteKeepsCaptionFlagAndTarget) {
    const std::string path = dir.write("a.txt", "old\r\n");
    create(path);
    setText("new\n");
    // A folder in the way: the write cannot replace it.
    std::filesystem::create_directories(dir.path() / "folder.txt");
    s.files.chooseNext(QString::fromStdString(dir.file("folder.txt")));
    trigger(form.get(), "Save2");
    ASSERT_EQ(messageTexts(), std::vector<std::string>{kCannotWrite});
    EXPECT_EQ(s.messages.shown()[0].kind, MessageKind::Plain);
    EXPECT_TRUE(modified());
    EXPECT_EQ(caption(), path);
    EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "folder.txt"));
    EXPECT_TRUE(sameBytes("old\r\n", readBytes(path)));
}

TEST_F(EditorSaveAs, AFailedSaveLeavesTheOldFileWhole) {
    const std::string path = dir.write("sub/a.txt", "old\r\n");
    create(path);
    setText("new\n");
    // The folder becomes a file: nothing can be written beside the target any more.
    std::filesystem::rename(dir.path() / "sub", dir.path() / "moved");
    dir.write("sub", "a file now");
    trigger(form.get(), "Save1");
    EXPECT_EQ(messageTexts(), std::vector<std::string>{kCannotWrite});
    EXPECT_TRUE(modified());
    EXPECT_TRUE(sameBytes("old\r\n", readBytes(dir.path() / "moved" / "a.txt")));
}

using EditorSaving = EditorWindowTest;

TEST_F(EditorSaving, AnUneditedJapaneseFileIsWrittenBackByteForByte) {
    for (const char* sample :
         {"plotfiles/sample06.txt", "plotfiles/sample02.txt", "listings/mf2005-l1b2k_bath.lst"}) {
        const std::string original = readBytes(corpusDir() / sample);
        const std::string path = dir.write("copy.txt", original);
        create(path);
        setText(text() + "x"); // an edit undone is no edit
        trigger(form.get(), "Undo1");
        trigger(form.get(), "Save1");
        EXPECT_TRUE(sameBytes(original, readBytes(path))) << sample;
    }
}

TEST_F(EditorSaving, EveryByteSurvivesAnEditElsewhere) {
    // Each byte alone on its line (a lead byte there has no trail byte), then double-byte text,
    // then a lead byte as the very last byte of the file.
    std::string body;
    for (int b = 0; b < 256; ++b)
        if (b != '\r' && b != '\n' && b != 0x1A)
            body += std::string(1, static_cast<char>(b)) + "\r\n";
    body += "\x93\xfa\x96\x7b\x8c\xea \x81\x40\x82\xa0\xfc\xfc\r\n\x82";
    const std::string path = dir.write("bytes.txt", "first\r\n" + body);
    create(path);
    select(0, 5);
    richEdit()->insertPlainText(QStringLiteral("FIRST"));
    trigger(form.get(), "Save1");
    EXPECT_TRUE(sameBytes("FIRST\r\n" + body, readBytes(path)));
}

TEST_F(EditorSaving, KeepsTheFileLineEndsAfterAnEdit) {
    const std::string lf = dir.write("lf.txt", "a\nb\n");
    create(lf);
    richEdit()->moveCursor(QTextCursor::End);
    richEdit()->insertPlainText(QStringLiteral("c\n"));
    trigger(form.get(), "Save1");
    EXPECT_TRUE(sameBytes("a\nb\nc\n", readBytes(lf)));

    const std::string crlf = dir.write("crlf.txt", "a\r\nb\r\n\x1A"
                                                   "after");
    create(crlf);
    richEdit()->moveCursor(QTextCursor::End);
    richEdit()->insertPlainText(QStringLiteral("c\n"));
    trigger(form.get(), "Save1");
    EXPECT_TRUE(sameBytes("a\r\nb\r\nc\r\n\x1A"
                          "after",
                          readBytes(crlf)));
}

TEST_F(EditorSaving, UnnamedDocumentSaveIsASaveAs) {
    create();
    setText("x");
    const std::string path = dir.file("chosen.txt");
    s.files.chooseNext(QString::fromStdString(path));
    trigger(form.get(), "Save1");
    EXPECT_EQ(s.files.requests().at(0).objectName.toStdString(), "SaveDialog1");
    EXPECT_TRUE(sameBytes("x", readBytes(path)));
    EXPECT_EQ(form->documentName(), path);
    EXPECT_EQ(caption(), "chosen.txt");
}

using EditorExit = EditorWindowTest;

TEST_F(EditorExit, UnmodifiedEndsAtOnce) {
    create();
    trigger(form.get(), "Exit1");
    EXPECT_EQ(ending->count(), 1);
    EXPECT_TRUE(s.messages.shown().empty());
}

TEST_F(EditorExit, ModifiedAnsweredNoEndsWithoutSaving) {
    create(dir.write("a.txt", "old\r\n"));
    setText("new");
    s.messages.answerNext(Reply::No);
    trigger(form.get(), "Exit1");
    EXPECT_EQ(ending->count(), 1);
    EXPECT_TRUE(s.files.requests().empty());
    EXPECT_TRUE(sameBytes("old\r\n", readBytes(dir.path() / "a.txt")));
}

TEST_F(EditorExit, ModifiedAnsweredYesAlwaysAsksForTheName) {
    const std::string path = dir.write("a.txt", "old\r\n");
    create(path);
    setText("new");
    s.messages.answerNext(Reply::Yes);
    s.files.chooseNext(QString::fromStdString(path));
    trigger(form.get(), "Exit1");
    EXPECT_EQ(s.files.requests().size(), 1u);
    EXPECT_TRUE(sameBytes("new", readBytes(path)));
    EXPECT_EQ(ending->count(), 1);
}

TEST_F(EditorExit, ACancelledOrFailedSaveAsKeepsTheApplicationOpen) {
    create(dir.write("a.txt", "old\r\n"));
    setText("new");
    s.messages.answerNext(Reply::Yes);
    s.files.cancelNext();
    trigger(form.get(), "Exit1");
    EXPECT_EQ(ending->count(), 0);
    EXPECT_EQ(text(), "new");

    std::filesystem::create_directories(dir.path() / "folder");
    s.messages.answerNext(Reply::Yes);
    s.files.chooseNext(QString::fromStdString(dir.file("folder")));
    trigger(form.get(), "Exit1");
    EXPECT_EQ(ending->count(), 0);
    EXPECT_EQ(messageTexts().back(), kCannotWrite);
}

TEST_F(EditorExit, TheCloseBoxAsksForAModifiedDocument) {
    create();
    setText("new");
    s.messages.answerNext(Reply::Yes);
    s.files.cancelNext();
    EXPECT_FALSE(form->close());
    EXPECT_EQ(ending->count(), 0);
    s.messages.answerNext(Reply::No);
    EXPECT_TRUE(form->close());
    EXPECT_EQ(ending->count(), 1);
    EXPECT_EQ(messageTexts(), (std::vector<std::string>{"変更を保存します", "変更を保存します"}));
}

using EditorCommands = EditorWindowTest;

TEST_F(EditorCommands, ListingPrintNeedsADocumentName) {
    create();
    trigger(form.get(), "FOTRAN1");
    EXPECT_EQ(messageTexts(), std::vector<std::string>{"印刷したいﾌｧｲﾙが開かれていない！"});
    EXPECT_EQ(s.messages.shown()[0].kind, MessageKind::Plain);
    EXPECT_TRUE(s.modal.shownObjectNames.empty());

    // After New with nothing opened, the window opens with an empty title.
    trigger(form.get(), "New1");
    std::string title = "unset";
    s.modal.onNext([&title](QDialog& dialog) {
        title = dialog.findChild<QLineEdit*>(QStringLiteral("Edit1"))->text().toStdString();
        return 0;
    });
    trigger(form.get(), "FOTRAN1");
    ASSERT_EQ(s.modal.shownObjectNames.size(), 1u);
    EXPECT_EQ(s.modal.shownObjectNames[0].toStdString(), "prtForm1");
    EXPECT_EQ(title, "");
}

TEST_F(EditorCommands, ListingPrintTitlesTheOpenedFile) {
    const std::string path = dir.write("out.lst", "1 PAGE\r\n");
    create(path);
    std::string title;
    s.modal.onNext([&title](QDialog& dialog) {
        title = dialog.findChild<QLineEdit*>(QStringLiteral("Edit1"))->text().toStdString();
        return 0;
    });
    trigger(form.get(), "FOTRAN1");
    EXPECT_EQ(title, path);
}

TEST_F(EditorCommands, RelativeNamesBecomeFullPaths) {
    dir.write("examples/demo/DEMO.FRT", "R IN.DAT = A.DAT\r\n");
    dir.write("examples/demo/RESULT1.LST", "1 RESULT\r\n");
    const CurrentDirectory current(dir.path());
    const std::string folder = dir.path().string() + "/examples/demo/";
    auto listingTitle = [this] {
        std::string title;
        s.modal.onNext([&title](QDialog& dialog) {
            title = dialog.findChild<QLineEdit*>(QStringLiteral("Edit1"))->text().toStdString();
            return 0;
        });
        trigger(form.get(), "FOTRAN1");
        return title;
    };
    // The command-line file keeps its caption as typed.
    create("examples/demo/DEMO.FRT");
    EXPECT_EQ(caption(), "examples/demo/DEMO.FRT");
    EXPECT_EQ(form->documentName(), folder + "DEMO.FRT");
    EXPECT_EQ(form->openedFileName(), folder + "DEMO.FRT");
    EXPECT_EQ(listingTitle(), folder + "DEMO.FRT");

    s.files.chooseNext(QStringLiteral("examples/demo/./RESULT1.LST"));
    trigger(form.get(), "Open1");
    EXPECT_EQ(caption(), folder + "RESULT1.LST");
    EXPECT_EQ(form->documentName(), folder + "RESULT1.LST");
    EXPECT_EQ(form->openedFileName(), folder + "RESULT1.LST");
    EXPECT_EQ(listingTitle(), folder + "RESULT1.LST");
}

TEST_F(EditorCommands, HelpShowsAFreshHelpWindowModally) {
    create();
    trigger(form.get(), "Help1");
    trigger(form.get(), "Help1");
    ASSERT_EQ(s.modal.shownTitles.size(), 2u);
    EXPECT_EQ(s.modal.shownTitles[0].toStdString(), "ヘルプ画面");
    EXPECT_EQ(s.modal.shownObjectNames[1].toStdString(), "Form3");
    // Each one is gone when it closes.
    processEvents();
    EXPECT_EQ(form->findChild<QDialog*>(QStringLiteral("Form3")), nullptr);
}

// The pages of a PDF file that Qt wrote.
int pdfPages(const std::string& pdf) {
    int pages = 0;
    for (std::size_t at = pdf.find("/Type /Page\n"); at != std::string::npos;
         at = pdf.find("/Type /Page\n", at + 1))
        ++pages;
    return pages;
}

TEST_F(EditorCommands, PlainPrintGoesToThePrinterOnlyOnOk) {
    create();
    std::string lines;
    for (int i = 0; i < 100; ++i)
        lines += "print me\n";
    setText(lines);
    s.printDialogs.answerNext(false);
    trigger(form.get(), "Print1");
    const std::string pdf = dir.file("plain.pdf");
    s.printer.printer().setOutputFileName(QString::fromStdString(pdf));
    s.printDialogs.answerNext(true);
    trigger(form.get(), "Print1");
    EXPECT_EQ(s.printDialogs.printCalls, 2);
    EXPECT_EQ(readBytes(pdf).substr(0, 5), "%PDF-");
    // At the size the screen shows, 100 lines do not fit on one A4 sheet.
    EXPECT_GE(pdfPages(readBytes(pdf)), 2);
    EXPECT_EQ(richEdit()->document()->defaultFont().pixelSize(), richEdit()->font().pixelSize());
    EXPECT_EQ(s.printer.printer().docName().toStdString(), caption());
}

// Without a printer, plain print asks for the PDF file once: in the print dialog, which proposes
// one beside the document, and the file named there is the one written.
TEST(EditorWithoutPrinter, PlainPrintWritesTheFileThePrintDialogNamed) {
    ScriptedServices s(platform::ApplicationPrinter::Mode::NoPrinter);
    TempDir dir;
    TForm1 form(s.services, QString::fromStdString(dir.write("doc.txt", "text\r\n")));
    const std::string named = dir.file("named.pdf");
    s.printDialogs.answerNext(true, 0, QString::fromStdString(named));
    trigger(&form, "Print1");
    EXPECT_TRUE(s.files.requests().empty()) << "no second dialog";
    EXPECT_EQ(readBytes(named).substr(0, 5), "%PDF-");
    EXPECT_EQ(s.printDialogs.shownPdfFiles.at(0).toStdString(), dir.file("doc.pdf"));

    // OK on what the dialog proposed writes that file.
    s.printDialogs.answerNext(true);
    trigger(&form, "Print1");
    EXPECT_TRUE(s.files.requests().empty());
    EXPECT_EQ(readBytes(dir.file("doc.pdf")).substr(0, 5), "%PDF-");
    EXPECT_TRUE(s.messages.shown().empty());
}

TEST_F(EditorCommands, ThePlotViewerTakesTheEditorsPlace) {
    create();
    TForm2 viewer(s.services, form->openedFileName());
    form->setPlotViewer(&viewer);
    trigger(form.get(), "mngrfplot");
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(viewer.isVisible());
}

using EditorEditing = EditorWindowTest;

TEST_F(EditorEditing, ClipboardCommandsUseTheApplicationClipboard) {
    create();
    setText("line1\nline2");
    select(3, 8);
    trigger(form.get(), "Copy1");
    EXPECT_EQ(s.clipboard.text().toStdString(), "e1\nli");
    trigger(form.get(), "Cut1");
    EXPECT_EQ(text(), "linne2");
    select(0, 0);
    s.clipboard.setText(QStringLiteral("日本\r\n"));
    trigger(form.get(), "Paste1");
    EXPECT_EQ(text(), "日本\nlinne2");
    // The keyboard's copy goes the same way.
    select(0, 2);
    QTest::keyClick(richEdit(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(s.clipboard.text().toStdString(), "日本");
}

TEST_F(EditorEditing, UndoGoesBackOneStepOnly) {
    create();
    setText("a");
    select(1, 1);
    richEdit()->insertPlainText(QStringLiteral("b"));
    richEdit()->moveCursor(QTextCursor::Start);
    richEdit()->insertPlainText(QStringLiteral("c"));
    trigger(form.get(), "Undo1");
    EXPECT_EQ(text(), "ab");
    trigger(form.get(), "Undo1");
    EXPECT_EQ(text(), "ab");
}

TEST_F(EditorEditing, UndoNeverClearsTheModifiedFlagOfAChangedText) {
    create(dir.write("a.txt", "x"));
    richEdit()->moveCursor(QTextCursor::End);
    richEdit()->insertPlainText(QStringLiteral("1"));
    richEdit()->moveCursor(QTextCursor::Start);
    richEdit()->insertPlainText(QStringLiteral("2"));
    trigger(form.get(), "Undo1"); // "x1" remains, and it is not the file
    EXPECT_TRUE(modified());
    richEdit()->moveCursor(QTextCursor::Start);
    richEdit()->insertPlainText(QStringLiteral("3"));
    trigger(form.get(), "Undo1");
    EXPECT_EQ(text(), "x1");
    EXPECT_TRUE(modified());
    // Undoing the only edit since loading is back at the file.
    create(dir.write("b.txt", "y"));
    richEdit()->insertPlainText(QStringLiteral("1"));
    trigger(form.get(), "Undo1");
    EXPECT_FALSE(modified());
}

TEST_F(EditorEditing, TabsStopEveryEightColumns) {
    create();
    setText("\tX\n        X\n\t\tY\n                Y");
    auto xOf = [this](int line, int column) {
        QTextCursor cursor(richEdit()->document()->findBlockByNumber(line));
        cursor.setPosition(cursor.position() + column);
        return richEdit()->cursorRect(cursor).x();
    };
    EXPECT_EQ(xOf(0, 1), xOf(1, 8));
    EXPECT_EQ(xOf(2, 2), xOf(3, 16));
}

TEST_F(EditorEditing, APasteIsAnUndoStepOfItsOwn) {
    create();
    setText("R IN = ");
    richEdit()->moveCursor(QTextCursor::End);
    s.files.chooseNext(QStringLiteral("/data/IN.DAT"));
    trigger(form.get(), "flnmpaste1");
    QTest::keyClicks(richEdit(), " x");
    trigger(form.get(), "Undo1");
    EXPECT_EQ(text(), "R IN = /data/IN.DAT");

    // The clipboard's paste, with typing before and after it.
    QTest::keyClicks(richEdit(), "ab");
    s.clipboard.setText(QStringLiteral("cd"));
    trigger(form.get(), "Paste1");
    QTest::keyClicks(richEdit(), "ef");
    trigger(form.get(), "Undo1");
    EXPECT_EQ(text(), "R IN = /data/IN.DATabcd");
    QTest::keyClicks(richEdit(), "gh");
    QTest::keyClick(richEdit(), Qt::Key_V, Qt::ControlModifier);
    trigger(form.get(), "Undo1");
    EXPECT_EQ(text(), "R IN = /data/IN.DATabcdgh");
}

TEST_F(EditorEditing, FileNamePasteInsertsThePathUnquotedAndMarksModified) {
    const std::string doc = dir.write("docs/run.FRT", "R IN = \r\n");
    create(doc);
    select(7, 7);
    const std::string chosen = dir.write("data dir/入力.DAT", "1");
    s.files.chooseNext(QString::fromStdString(chosen));
    trigger(form.get(), "flnmpaste1");
    const auto& request = s.files.requests().at(0);
    EXPECT_EQ(request.objectName.toStdString(), "OpenDialog2");
    EXPECT_EQ(request.initialFolder.toStdString(), (dir.path() / "docs").string() + "/");
    EXPECT_TRUE(request.defaultExtension.isEmpty());
    ASSERT_EQ(request.filters.size(), 2);
    EXPECT_EQ(request.filters[0].description.toStdString(), "ﾃｷｽﾄﾌｧｲﾙ(*.TXT)、実行ﾌｧｲﾙ(*.EXE)");
    EXPECT_EQ(request.filters[1].description.toStdString(), "全てのﾌｧｲﾙ");
    EXPECT_EQ(text(), "R IN = " + chosen + "\n");
    EXPECT_TRUE(modified());

    // The selection is replaced, and the next dialog starts in the reference file's folder.
    select(0, 1);
    s.files.chooseNext(QStringLiteral("/x"));
    trigger(form.get(), "flnmpaste2");
    EXPECT_EQ(s.files.requests().at(1).initialFolder.toStdString(), (dir.path() / "data dir").string() + "/");
    EXPECT_EQ(text().substr(0, 3), "/x ");

    s.files.cancelNext();
    const std::string before = text();
    trigger(form.get(), "flnmpaste1");
    EXPECT_EQ(text(), before);
}

} // namespace
} // namespace zelkova::testing
