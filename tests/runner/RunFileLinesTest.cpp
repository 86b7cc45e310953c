// Shows that run-file lines are classified by column 1 alone, that comment blocks run from a "{"
// line to the next "}" line, and that quoted names are taken out of READ, WRITE and program lines
// by the first blank, the first "=", column 254 and the apostrophe rules.
#include "runner/RunFileLines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zelkova::runner {
namespace {

TEST(LineKinds, ColumnOneDecidesIgnoringLetterCase) {
    EXPECT_EQ(kindOf(""), LineKind::Empty);
    EXPECT_EQ(kindOf("R 'a'='b'"), LineKind::Read);
    EXPECT_EQ(kindOf("read 'a'='b'"), LineKind::Read);
    EXPECT_EQ(kindOf("W"), LineKind::Write);
    EXPECT_EQ(kindOf("write"), LineKind::Write);
    EXPECT_EQ(kindOf("Program 'x'"), LineKind::Program);
    EXPECT_EQ(kindOf("p 'x'"), LineKind::Program);
    EXPECT_EQ(kindOf("{"), LineKind::CommentStart);
    EXPECT_EQ(kindOf("}x"), LineKind::CommentEnd);
    // A blank in column 1 makes a comment, whatever follows; so does any other letter.
    EXPECT_EQ(kindOf(" R 'a'='b'"), LineKind::Comment);
    EXPECT_EQ(kindOf("\tP 'x'"), LineKind::Comment);
    EXPECT_EQ(kindOf("C comment"), LineKind::Comment);
    // Only the ASCII braces count; full-width ones (CP932 81 6F / 81 70) are comments.
    EXPECT_EQ(kindOf("\x81\x6F"), LineKind::Comment);
    EXPECT_EQ(kindOf("\x81\x70"), LineKind::Comment);
}

std::vector<LineKind> classifyAll(const std::vector<std::string>& lines) {
    CommentBlocks blocks;
    std::vector<LineKind> kinds;
    for (const std::string& line : lines)
        kinds.push_back(blocks.classify(line));
    return kinds;
}

TEST(CommentBlocks, BlockRunsFromOpeningLineToNextClosingLine) {
    const auto kinds = classifyAll({"R 'a'='b'", "{ start", "P 'x'", "", "{ again", "W 'c'='d'", "} end",
                                    "p 'y'", "} stray", "w 'e'='f'"});
    const std::vector<LineKind> expected = {
        LineKind::Read,    LineKind::Comment, LineKind::Comment, LineKind::Empty,   LineKind::Comment,
        LineKind::Comment, LineKind::Comment, LineKind::Program, LineKind::Comment, LineKind::Write};
    EXPECT_EQ(kinds, expected);
}

TEST(CommentBlocks, UnclosedBlockLastsToTheEnd) {
    CommentBlocks blocks;
    EXPECT_EQ(blocks.classify("{"), LineKind::Comment);
    EXPECT_TRUE(blocks.inBlock());
    EXPECT_EQ(blocks.classify("P 'x'"), LineKind::Comment);
    EXPECT_EQ(blocks.classify(" }"), LineKind::Comment); // not in column 1
    EXPECT_TRUE(blocks.inBlock());
}

TEST(QuotedValue, TrimsAndTakesTextBetweenApostrophes) {
    EXPECT_EQ(quotedValue("'IN.DAT'"), "IN.DAT");
    EXPECT_EQ(quotedValue("  \t'IN.DAT'  \r"), "IN.DAT");
    EXPECT_EQ(quotedValue("'a b c'"), "a b c");
    EXPECT_EQ(quotedValue("'prog' -x --y"), "prog"); // nothing after the closing apostrophe counts
    EXPECT_EQ(quotedValue("''"), "");
    // Codes below 0x21 go from both ends, not only blanks.
    EXPECT_EQ(quotedValue("\x01\x1F'x\x02"), ""); // trimmed to "'x": no closing apostrophe
    EXPECT_EQ(quotedValue("\x7F'x'"), "");        // 0x7F is not trimmed
    EXPECT_EQ(quotedValue("\x01\x1F'x'\x02"), "x");
}

TEST(QuotedValue, WithoutLeadingApostropheIsEmpty) {
    EXPECT_EQ(quotedValue("IN.DAT"), "");
    EXPECT_EQ(quotedValue("\"IN.DAT\""), "");
    EXPECT_EQ(quotedValue(""), "");
    EXPECT_EQ(quotedValue("   "), "");
    EXPECT_EQ(quotedValue("x'IN.DAT'"), "");
}

TEST(QuotedValue, DoubledApostrophesStandForOne) {
    EXPECT_EQ(quotedValue("'O''Neil.DAT'"), "O'Neil.DAT");
    EXPECT_EQ(quotedValue("''''"), "'");
    EXPECT_EQ(quotedValue("'a'''"), "a'");
    EXPECT_EQ(quotedValue("'a''''b'"), "a''b");
}

TEST(QuotedValue, MissingClosingApostropheDropsTheLastCharacter) {
    EXPECT_EQ(quotedValue("'IN.DAT"), "IN.DA");
    EXPECT_EQ(quotedValue("'x"), "");
    EXPECT_EQ(quotedValue("'"), "");
    EXPECT_EQ(quotedValue("'a''b"), "a'");
    // Trailing blanks are trimmed before the rule applies.
    EXPECT_EQ(quotedValue("'IN.DAT   "), "IN.DA");
    // A double-byte character at the end is dropped whole (CP932 "入力" = 93 FC 97 CD).
    EXPECT_EQ(quotedValue("'a\x93\xFC\x97\xCD"), "a\x93\xFC");
    // A trail byte in the lead-byte range is not taken for a lead byte ("ソ" = 83 5C, "\x83\x83").
    EXPECT_EQ(quotedValue("'\x83\x83\x83\x5C"), "\x83\x83");
}

TEST(QuotedValue, ApostropheSearchIsSafeInDoubleByteText) {
    // "表" is 95 5C and "ソ" 83 5C: the trail byte 5C is a backslash, never an apostrophe.
    EXPECT_EQ(quotedValue("'\x95\x5C\x83\x5C.DAT'"), "\x95\x5C\x83\x5C.DAT");
}

TEST(Bindings, UnitBetweenFirstBlankAndFirstEqualsActualAfterIt) {
    Binding b = bindingOf("R 'IN.DAT'='C:/data/in.txt'");
    EXPECT_EQ(b.unitName, "IN.DAT");
    EXPECT_EQ(b.actualName, "C:/data/in.txt");

    b = bindingOf("READ   'IN.DAT'   =   'in.txt'   comment");
    EXPECT_EQ(b.unitName, "IN.DAT");
    EXPECT_EQ(b.actualName, "in.txt");

    // The first "=" splits, even inside quotes: a name cannot hold "=" on the unit side.
    b = bindingOf("W 'A=B'='out'");
    EXPECT_EQ(b.unitName, "");
    EXPECT_EQ(b.actualName, "");

    // An "=" inside the actual name is kept.
    b = bindingOf("W 'OUT'='a=b.txt'");
    EXPECT_EQ(b.actualName, "a=b.txt");
}

TEST(Bindings, MissingBlankOrQuotesGiveEmptyNames) {
    Binding b = bindingOf("R'IN.DAT'='in.txt'");
    EXPECT_EQ(b.unitName, "");
    EXPECT_EQ(b.actualName, "in.txt");

    b = bindingOf("R IN.DAT='in.txt'");
    EXPECT_EQ(b.unitName, "");
    EXPECT_EQ(b.actualName, "in.txt");

    b = bindingOf("R 'IN.DAT'=in.txt");
    EXPECT_EQ(b.unitName, "IN.DAT");
    EXPECT_EQ(b.actualName, "");

    b = bindingOf("R 'IN.DAT' 'in.txt'"); // no "=" at all
    EXPECT_EQ(b.unitName, "");
    EXPECT_EQ(b.actualName, "");

    b = bindingOf("R='in.txt' 'x'"); // the "=" comes before the first blank
    EXPECT_EQ(b.unitName, "");
    EXPECT_EQ(b.actualName, "in.txt");
}

TEST(Bindings, ActualNameEndsAtColumn254) {
    const std::string head = "R 'IN'='"; // 8 bytes: the name starts in column 9
    // A name whose closing apostrophe is column 254 is whole.
    std::string name(245, 'a');
    EXPECT_EQ(bindingOf(head + name + "'").actualName, name);
    // One byte longer: column 254 holds the name's last byte, the apostrophe falls outside, and
    // the missing closing apostrophe drops that last byte.
    name += 'b';
    EXPECT_EQ(bindingOf(head + name + "'").actualName, std::string(245, 'a'));
    // The unit side has no column limit.
    const std::string longUnit(300, 'u');
    EXPECT_EQ(bindingOf("W '" + longUnit + "'='x'").unitName, longUnit);
    // An "=" beyond column 254 leaves nothing for the actual name.
    EXPECT_EQ(bindingOf("W " + std::string(260, ' ') + "='x'").actualName, "");
}

TEST(ProgramPaths, AfterFirstBlankUpToColumn254) {
    EXPECT_EQ(programPathOf("P '/opt/calc/CALC'"), "/opt/calc/CALC");
    EXPECT_EQ(programPathOf("PROGRAM  '/opt/calc/CALC' arguments are ignored"), "/opt/calc/CALC");
    EXPECT_EQ(programPathOf("P /opt/calc/CALC"), "");
    EXPECT_EQ(programPathOf("P'/opt/calc/CALC'"), "");
    EXPECT_EQ(programPathOf("P"), "");
    // "P '" is 3 bytes, so a path of 250 bytes closes in column 254.
    const std::string path(250, 'p');
    EXPECT_EQ(programPathOf("P '" + path + "'"), path);
    EXPECT_EQ(programPathOf("P '" + path + "x'"), path); // cut at 254: "x" taken for the quote
}

} // namespace
} // namespace zelkova::runner
