// Shows that files become text-area lines and back without losing bytes: every line end is found,
// the prevailing convention is kept for saving, and what follows a Ctrl-Z survives.
#include "editor/DocumentText.h"

#include "TempDir.h"

#include <gtest/gtest.h>

using namespace zelkova::editor;
using zelkova::testing::sameBytes;

TEST(DocumentText, TurnsEveryLineEndIntoANewline) {
    EXPECT_EQ(documentTextOf("a\r\nb\nc\rd").lines, "a\nb\nc\nd");
    EXPECT_EQ(documentTextOf("a\r\n").lines, "a\n");
    EXPECT_EQ(documentTextOf("\r\r\n\n").lines, "\n\n\n");
    EXPECT_EQ(documentTextOf("").lines, "");
}

TEST(DocumentText, ALeadByteBeforeALineEndDoesNotSwallowIt) {
    // 0x82 is a lead byte; before CR LF it stands alone and the line still ends.
    const DocumentText text = documentTextOf("\x82\r\n\x82\xA0x\n");
    EXPECT_EQ(text.lines, "\x82\n\x82\xA0x\n");
}

TEST(DocumentText, KeepsWhatFollowsACtrlZForSaving) {
    const DocumentText text = documentTextOf("a\r\nb\x1A\r\nafter\r\n");
    EXPECT_EQ(text.lines, "a\nb");
    EXPECT_EQ(text.tail, "\x1A\r\nafter\r\n");
    EXPECT_TRUE(sameBytes("a\r\nb\x1A\r\nafter\r\n", fileBytesOf(text.lines, text.lineEnd, text.tail)));
}

TEST(DocumentText, LineEndsAfterACtrlZDoNotDecideTheConvention) {
    EXPECT_EQ(documentTextOf("a\nb\n\x1A\r\n\r\n\r\n").lineEnd, LineEnd::Lf);
}

TEST(PrevailingLineEnd, IsTheOneMostLinesHave) {
    EXPECT_EQ(prevailingLineEnd("a\r\nb\r\nc\n"), LineEnd::CrLf);
    EXPECT_EQ(prevailingLineEnd("a\nb\nc\r\n"), LineEnd::Lf);
    EXPECT_EQ(prevailingLineEnd("a\rb\rc\n"), LineEnd::Cr);
    EXPECT_EQ(prevailingLineEnd("a\n\n"), LineEnd::Lf);
}

TEST(PrevailingLineEnd, TiesAndTextsWithoutLineEndsGetCrLf) {
    EXPECT_EQ(prevailingLineEnd(""), LineEnd::CrLf);
    EXPECT_EQ(prevailingLineEnd("one line"), LineEnd::CrLf);
    EXPECT_EQ(prevailingLineEnd("a\r\nb\n"), LineEnd::CrLf);
    EXPECT_EQ(prevailingLineEnd("a\nb\r"), LineEnd::Lf);
}

TEST(FileBytesOf, WritesEachNewlineAsTheConvention) {
    EXPECT_TRUE(sameBytes("a\r\n\r\nb", fileBytesOf("a\n\nb", LineEnd::CrLf, "")));
    EXPECT_TRUE(sameBytes("a\n\nb", fileBytesOf("a\n\nb", LineEnd::Lf, "")));
    EXPECT_TRUE(sameBytes("a\r\rb", fileBytesOf("a\n\nb", LineEnd::Cr, "")));
}

TEST(FileBytesOf, UniformFilesComeBackByteForByte) {
    for (const std::string_view file :
         {std::string_view("R 'a'='b'\r\nP 'x'\r\n"), std::string_view("line\nline\n\n"),
          std::string_view("no end"), std::string_view("\x81\x40\x82\xA0\r\n\xED\x40\r\n")}) {
        const DocumentText text = documentTextOf(file);
        EXPECT_TRUE(sameBytes(file, fileBytesOf(text.lines, text.lineEnd, text.tail)));
    }
}

TEST(FileBytesOf, MixedFilesAreSavedWithTheMajorityLineEnd) {
    const DocumentText text = documentTextOf("a\r\nb\nc\r\nd\r");
    EXPECT_TRUE(sameBytes("a\r\nb\r\nc\r\nd\r\n", fileBytesOf(text.lines, text.lineEnd, text.tail)));
}
