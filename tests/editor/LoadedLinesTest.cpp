// Shows that a loaded line's bytes serve one line of the edited text only: a copy of a line with
// the same text is a new line. (The editor window's tests show the rest through real edits.)
#include "editor/LoadedLines.h"

#include "TempDir.h"

#include <gtest/gtest.h>

using namespace zelkova::editor;
using zelkova::testing::sameBytes;

namespace {

// Lines 1 and 3 hold an NEC code that encodes afresh as 81 E0 (≒); line 2 ends with a lone LF.
const std::string kFile = "zero\r\none \x87\x90\r\ntwo\nthree \x87\x90\r\nfour";

std::vector<std::u16string> lines(std::initializer_list<const char16_t*> texts) {
    return {texts.begin(), texts.end()};
}

} // namespace

TEST(LoadedLines, ALoadedLineServesOneLineOnly) {
    LoadedLines loaded(kFile);
    // Line 1 copied below itself: the copy is new and takes the code Windows writes.
    std::vector<std::u16string> text = lines({u"zero", u"one ≒", u"one ≒", u"two", u"three ≒", u"four"});
    loaded.linesReplaced(1, 1, 2, [&text](std::size_t i) { return text[i]; });
    EXPECT_TRUE(sameBytes("zero\r\none \x87\x90\r\none \x81\xE0\r\ntwo\nthree \x87\x90\r\nfour",
                          loaded.fileBytes(text)));
}
