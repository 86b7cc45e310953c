// Shows that a program's console output becomes the rows a console shows: CR LF, a lone CR and a
// lone LF each handled as a console does, a CR letting the next output overwrite the row, the
// line discipline's "\b \b" erasing what was typed, full rows continuing on the next one without
// ever splitting a double-byte character, double-byte characters cut between two reads put back
// together, escape sequences dropped; and that a program's end is put into words.
#include "runner/ConsoleLines.h"
#include "runner/ProgramEnd.h"

#include "text/Cp932.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <string>
#include <vector>

namespace zelkova::runner {
namespace {

// Feeds `pieces` in turn and returns every row (the current one last) as UTF-8.
std::vector<std::string> rowsAfter(const std::vector<std::string>& pieces, std::size_t columns = 80) {
    ConsoleLines console(columns);
    std::vector<std::string> rows;
    for (const std::string& piece : pieces)
        console.write(piece, rows);
    rows.push_back(console.currentRow());
    for (std::string& row : rows)
        row = text::cp932ToUtf8(row);
    return rows;
}

using Rows = std::vector<std::string>;

TEST(ConsoleLines, LineEndsAsAConsoleHandlesThem) {
    // A terminal turns the program's LF into CR LF; raw CR LF, LF and CR come through as well.
    EXPECT_EQ(rowsAfter({"one\r\ntwo\nthree\rTH"}), (Rows{"one", "two", "THree"}));
    EXPECT_EQ(rowsAfter({"a\r\r\nb"}), (Rows{"a", "b"}));
    EXPECT_EQ(rowsAfter({"\n\n"}), (Rows{"", "", ""}));
    // A progress counter overwritten in place, its CR at the end of one read and the next
    // figure in the following one.
    EXPECT_EQ(rowsAfter({"step 1 of 3\r", "step 2 of 3\r", "step 3\r\n"}), (Rows{"step 3 of 3", ""}));
}

TEST(ConsoleLines, TypedLineEditedByTheLineDisciplineShowsWhatRemains) {
    // "12" typed, the 2 erased ("\b \b"), then "5": the row reads "x = 15" with the cursor after it.
    ConsoleLines console;
    std::vector<std::string> rows;
    console.write("x = 12\b \b5", rows);
    EXPECT_TRUE(rows.empty());
    EXPECT_EQ(console.currentRow(), "x = 15");
    EXPECT_EQ(console.column(), 6u);
    // A backspace at the start of a row stays there.
    console.write("\r\b\bX", rows);
    EXPECT_EQ(console.currentRow(), "X = 15");
}

TEST(ConsoleLines, DoubleByteCharactersAreTwoColumnsAndNeverCut) {
    const std::string wide = text::utf8ToCp932("荷重"); // two characters, four bytes
    // Cut between lead and trail byte, across reads of any size.
    for (std::size_t cut = 0; cut <= wide.size(); ++cut)
        EXPECT_EQ(rowsAfter({wide.substr(0, cut), wide.substr(cut) + "!"}), (Rows{"荷重!"})) << cut;
    ConsoleLines console;
    std::vector<std::string> rows;
    console.write(wide, rows);
    EXPECT_EQ(console.column(), 4u);

    // A row of 5 columns: "ab" and two wide characters; the second one does not fit in the last
    // column and starts the next row whole.
    EXPECT_EQ(rowsAfter({"ab" + wide + "c"}, 5), (Rows{"ab荷", "重c"}));
    // Exactly full: the next character, not the full row, starts the next row.
    EXPECT_EQ(rowsAfter({"abcde"}, 5), (Rows{"abcde"}));
    EXPECT_EQ(rowsAfter({"abcde\r\n"}, 5), (Rows{"abcde", ""}));
    EXPECT_EQ(rowsAfter({"abcdef"}, 5), (Rows{"abcde", "f"}));
}

TEST(ConsoleLines, OverwritingHalfADoubleByteCharacterBlanksItsOtherHalf) {
    const std::string wide = text::utf8ToCp932("荷重");
    EXPECT_EQ(rowsAfter({wide + "\rx"}), (Rows{"x 重"}));         // the lead half overwritten
    EXPECT_EQ(rowsAfter({"a" + wide + "\rxy"}), (Rows{"xy 重"})); // the trail half overwritten
    // A wide character over two narrow ones, and over the halves of two wide ones.
    EXPECT_EQ(rowsAfter({"abcd\r" + text::utf8ToCp932("荷")}), (Rows{"荷cd"}));
    EXPECT_EQ(rowsAfter({"a" + wide + "\r" + "a" + "b" + text::utf8ToCp932("梁")}), (Rows{"ab梁 "}));
}

TEST(ConsoleLines, TabsControlCharactersAndEscapeSequences) {
    EXPECT_EQ(rowsAfter({"a\tb\tc"}), (Rows{"a       b       c"}));
    // Bell, NUL and DEL show nothing; colour and cursor sequences are dropped, even cut in two.
    EXPECT_EQ(rowsAfter({std::string("\a\x00ok\x7F", 5)}), (Rows{"ok"}));
    EXPECT_EQ(rowsAfter({"\x1B[1;3", "1mred\x1B[0m \x1B"
                                     "7done"}),
              (Rows{"red done"}));
    // A lead byte without its trail byte stands as "?" and never swallows the line end.
    EXPECT_EQ(rowsAfter({"x\x82\r\ny"}), (Rows{"x?", "y"}));
    // Half-width katakana are single bytes.
    EXPECT_EQ(rowsAfter({"\xB6\xC5"}, 2), (Rows{"ｶﾅ"}));
}

TEST(ProgramEnd, EveryEndButAnOrdinaryOneIsPutIntoWords) {
    platform::LaunchResult result;
    result.started = true;
    EXPECT_EQ(programEndText(result), "");
    result.exitCode = 2;
    EXPECT_EQ(programEndText(result), "終了コード 2");
    result.exitCode = 0;
    result.signal = SIGSEGV;
    EXPECT_EQ(programEndText(result), "シグナル SIGSEGV");
    result.signal = SIGHUP;
    EXPECT_EQ(programEndText(result), "シグナル SIGHUP");

    platform::LaunchResult failed;
    failed.startError = ENOEXEC;
    EXPECT_EQ(programEndText(failed), "起動できません（実行できる形式ではありません）");
    failed.startError = EACCES;
    EXPECT_EQ(programEndText(failed), "起動できません（ファイルへのアクセスが拒否されました）");
}

} // namespace
} // namespace zelkova::runner
