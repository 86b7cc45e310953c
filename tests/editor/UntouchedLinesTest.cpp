// Shows that an edit rewrites only the lines it changed: every other line is saved with the bytes
// it was loaded from, its own line end included, whatever codes and line ends the file mixes.
#include "EditorWindowFixture.h"

namespace zelkova::testing {
namespace {

// Characters that code page 932 can write two ways, in the form Windows does not write, on lines
// with all three line ends; a lone lead byte; a last line without a line end. Most lines end with
// CR LF, so changed lines get CR LF.
const std::string kLine0 = "line 0 \x87\x90";    // NEC row 13 ≒ (Windows writes 81 E0)
const std::string kLine1 = "\x87\x95 root";      // NEC row 13 √ (81 E3)
const std::string kLine2 = "\xED\x40 kanji";     // NEC-selected IBM 纊 (FA 5C)
const std::string kLine3 = "\xFA\x54 not";       // IBM ￢ (81 CA)
const std::string kLine4 = "\xEE\xF9 not";       // NEC-selected IBM ￢ (81 CA)
const std::string kLine5 = "\xEE\xEF small one"; // NEC-selected IBM ⅰ (FA 40)
const std::string kLine6 = "\xFA\x59 number";    // IBM № (87 82)
const std::string kLine7 = "lone lead \x82";
const std::string kLine8 = "last \xED\x40";
const std::string kFile = kLine0 + "\r\n" + kLine1 + "\n" + kLine2 + "\r" + kLine3 + "\r\n" + kLine4 +
                          "\r\n" + kLine5 + "\n" + kLine6 + "\r\n" + kLine7 + "\r\n" + kLine8;

class UntouchedLines : public EditorWindowTest {
protected:
    std::string open(const std::string& bytes = kFile) {
        const std::string path = dir.write("mixed.txt", bytes);
        create(path);
        return path;
    }
    // Puts the caret at `column` of `line` and types `keys` there ("\n" is Enter, "\b" Backspace).
    void typeAt(int line, int column, std::string_view keys) {
        const QTextBlock block = richEdit()->document()->findBlockByNumber(line);
        select(block.position() + column, block.position() + column);
        for (const char key : keys) {
            if (key == '\n')
                QTest::keyClick(richEdit(), Qt::Key_Return);
            else if (key == '\b')
                QTest::keyClick(richEdit(), Qt::Key_Backspace);
            else
                QTest::keyClick(richEdit(), key);
        }
    }
    std::string saved(const std::string& path) {
        trigger(form.get(), "Save1");
        return readBytes(path);
    }
};

TEST_F(UntouchedLines, TypingOnTheFirstLineRewritesThatLineOnly) {
    const std::string path = open();
    typeAt(0, 4, "X");
    EXPECT_TRUE(sameBytes("lineX 0 \x81\xE0\r\n" + kFile.substr(kLine0.size() + 2), saved(path)));
}

TEST_F(UntouchedLines, AChangedLineTakesTheWindowsCodesAndTheFilesLineEnd) {
    const std::string path = open();
    typeAt(1, 0, "X"); // an LF line in a file of CR LF lines
    typeAt(5, 0, "Y"); // another
    const std::string expected = kLine0 + "\r\n" + "X\x81\xE3 root\r\n" + kLine2 + "\r" + kLine3 + "\r\n" +
                                 kLine4 + "\r\n" + "Y\xFA\x40 small one\r\n" + kLine6 + "\r\n" + kLine7 +
                                 "\r\n" + kLine8;
    EXPECT_TRUE(sameBytes(expected, saved(path)));
}

TEST_F(UntouchedLines, TheLastLineStaysWithoutALineEnd) {
    const std::string path = open();
    typeAt(8, 0, "Z");
    EXPECT_TRUE(sameBytes(kFile.substr(0, kFile.size() - kLine8.size()) + "Zlast \xFA\x5C", saved(path)));
}

TEST_F(UntouchedLines, NewLinesLeaveTheLinesAroundThemAlone) {
    const std::string path = open();
    // Enter at the end of the CR line and at the start of the LF line above it.
    typeAt(2, static_cast<int>(richEdit()->document()->findBlockByNumber(2).length()) - 1, "\n");
    typeAt(1, 0, "new\n");
    const std::string expected = kLine0 + "\r\n" + "new\r\n" + kLine1 + "\n" + kLine2 + "\r" + "\r\n" +
                                 kLine3 + "\r\n" + kLine4 + "\r\n" + kLine5 + "\n" + kLine6 + "\r\n" +
                                 kLine7 + "\r\n" + kLine8;
    EXPECT_TRUE(sameBytes(expected, saved(path)));

    // A line added after the last one gives that line the file's line end.
    typeAt(10, static_cast<int>(kLine8.size()) - 1, "\nend");
    EXPECT_TRUE(sameBytes(expected + "\r\nend", saved(path)));
}

TEST_F(UntouchedLines, ShiftEnterStartsALineAsEnterDoes) {
    const std::string path = open("a\r\nb");
    select(1, 1);
    QTest::keyClick(richEdit(), Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(richEdit()->document()->blockCount(), 3);
    EXPECT_TRUE(sameBytes("a\r\n\r\nb", saved(path)));
}

TEST_F(UntouchedLines, DeletedLinesComeBackByteForByteWithUndo) {
    // Lines 2 to 5, whole.
    auto deleteLines = [this] {
        const QTextDocument* document = richEdit()->document();
        select(document->findBlockByNumber(2).position(), document->findBlockByNumber(6).position());
        QTest::keyClick(richEdit(), Qt::Key_Delete);
    };
    std::string path = open();
    deleteLines();
    EXPECT_TRUE(
        sameBytes(kLine0 + "\r\n" + kLine1 + "\n" + kLine6 + "\r\n" + kLine7 + "\r\n" + kLine8, saved(path)));

    path = open();
    deleteLines();
    trigger(form.get(), "Undo1");
    EXPECT_TRUE(sameBytes(kFile, saved(path)));

    // The line break between lines 0 and 1.
    typeAt(1, 0, "\b");
    EXPECT_TRUE(sameBytes(
        "line 0 \x81\xE0\x81\xE3 root\r\n" + kFile.substr(kLine0.size() + kLine1.size() + 3), saved(path)));
    path = open();
    typeAt(1, 0, "\b");
    trigger(form.get(), "Undo1");
    EXPECT_TRUE(sameBytes(kFile, saved(path)));
}

TEST_F(UntouchedLines, WhatFollowsACtrlZStaysAfterAnEdit) {
    const std::string file = "a \x87\x90\r\nb \x87\x90\n\x1A\x87\x90 tail\r\n";
    const std::string path = open(file);
    typeAt(0, 0, "A");
    EXPECT_TRUE(sameBytes("Aa \x81\xE0\r\nb \x87\x90\n\x1A\x87\x90 tail\r\n", saved(path)));
}

TEST_F(UntouchedLines, SavingTwiceKeepsWhatTheFirstSaveWrote) {
    const std::string path = open();
    typeAt(0, 0, "1");
    const std::string first = saved(path);
    typeAt(3, 0, "2");
    EXPECT_TRUE(sameBytes(first.substr(0, first.find(kLine3)) + "2\x81\xCA not\r\n" +
                              first.substr(first.find(kLine3) + kLine3.size() + 2),
                          saved(path)));
}

} // namespace
} // namespace zelkova::testing
