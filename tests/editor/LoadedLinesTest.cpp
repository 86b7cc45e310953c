// Shows how the editor decides which lines of an edited text are written with their loaded bytes:
// the origin an edit leaves a line, the lines an edit forgot and its neighbours still place, and a
// loaded line that two lines of the same text claim.
#include "editor/LoadedLines.h"

#include "TempDir.h"

#include <gtest/gtest.h>

using namespace zelkova::editor;
using zelkova::testing::sameBytes;

namespace {

// Lines 1 and 3 hold NEC codes that encode afresh as 81 E0 (≒); line 2 ends with a lone LF.
const std::string kFile = "zero\r\none \x87\x90\r\ntwo\nthree \x87\x90\r\nfour";

std::vector<std::u16string> lines(std::initializer_list<const char16_t*> texts) {
    return {texts.begin(), texts.end()};
}

} // namespace

TEST(LoadedLines, LinesAnEditForgotAreFoundAgainBetweenKeptLines) {
    LoadedLines loaded(kFile);
    std::vector<std::u16string> text = lines({u"zero", u"one ≒", u"two", u"three ≒", u"four"});
    auto textOf = [&text](std::size_t i) { return text[i]; };
    // Lines 1 to 3 deleted whole: line 1 now holds what line 4 held.
    text = lines({u"zero", u"four"});
    loaded.linesReplaced(1, 4, 1, textOf);
    EXPECT_TRUE(sameBytes("zero\r\nfour", loaded.fileBytes(text)));
    // Undone: the lines come back as new lines of the text area, with their old texts.
    text = lines({u"zero", u"one ≒", u"two", u"three ≒", u"four"});
    loaded.linesReplaced(1, 1, 4, textOf);
    EXPECT_TRUE(sameBytes(kFile, loaded.fileBytes(text)));
}

TEST(LoadedLines, ALoadedLineServesOneLineOnly) {
    LoadedLines loaded(kFile);
    // Line 1 copied below itself: the copy is new and takes the code Windows writes.
    std::vector<std::u16string> text = lines({u"zero", u"one ≒", u"one ≒", u"two", u"three ≒", u"four"});
    loaded.linesReplaced(1, 1, 2, [&text](std::size_t i) { return text[i]; });
    EXPECT_TRUE(sameBytes("zero\r\none \x87\x90\r\none \x81\xE0\r\ntwo\nthree \x87\x90\r\nfour",
                          loaded.fileBytes(text)));
}

TEST(LoadedLines, ANewDocumentIsSavedWithCrLf) {
    const LoadedLines loaded;
    EXPECT_EQ(loaded.text(), "");
    EXPECT_EQ(loaded.lineCount(), 1u);
    EXPECT_TRUE(sameBytes("a\r\n\x81\xE0", loaded.fileBytes(lines({u"a", u"≒"}))));
}
