// Shows that a document is a run file exactly when one of its first 101 lines begins with a READ,
// WRITE or program letter, and that a document of 200 lines or more is never examined.
#include "runner/RunFileDetection.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zelkova::runner {
namespace {

std::vector<std::string_view> views(const std::vector<std::string>& lines) {
    return {lines.begin(), lines.end()};
}

// `count` comment lines with `marker` as line number `at` (from 0).
std::vector<std::string> document(std::size_t count, std::size_t at, const std::string& marker) {
    std::vector<std::string> lines(count, "comment");
    if (at < count)
        lines[at] = marker;
    return lines;
}

TEST(RunFileDetection, EachMarkerLetterInColumnOneMakesARunFile) {
    for (const char* marker : {"R", "r 'a'='b'", "W", "w", "P 'x'", "p"})
        EXPECT_TRUE(isRunFile(views({"", "; header", marker}))) << marker;
    for (const char* other : {" R", "x", "{", "}", "Ｒ", "", "\tP", "#P"})
        EXPECT_FALSE(isRunFile(views({other, "comment"}))) << other;
}

TEST(RunFileDetection, OnlyTheFirst101LinesAreExamined) {
    EXPECT_TRUE(isRunFile(views(document(150, 100, "P 'x'"))));
    EXPECT_FALSE(isRunFile(views(document(150, 101, "P 'x'"))));
}

TEST(RunFileDetection, DocumentsOf200LinesOrMoreAreNeverRunFiles) {
    EXPECT_TRUE(isRunFile(views(document(199, 0, "P 'x'"))));
    EXPECT_FALSE(isRunFile(views(document(200, 0, "P 'x'"))));
    EXPECT_FALSE(isRunFile(views(document(5000, 0, "P 'x'"))));
}

TEST(RunFileDetection, CommentBlocksPlayNoPart) {
    EXPECT_TRUE(isRunFile(views({"{", "P 'inside a block'", "}"})));
}

TEST(RunFileDetection, EmptyDocumentIsNotARunFile) {
    EXPECT_FALSE(isRunFile({}));
    EXPECT_FALSE(hasMarkerLine(0, [](std::size_t) -> char32_t { return U'P'; }));
}

TEST(RunFileDetection, MarkerTestWorksOnCharactersOfAnyWidth) {
    // The editor passes the first character of each of its lines.
    const std::u32string firsts = U"ｒ漢Ｐ p";
    EXPECT_FALSE(hasMarkerLine(3, [&](std::size_t i) { return firsts[i]; }));
    EXPECT_TRUE(hasMarkerLine(firsts.size(), [&](std::size_t i) { return firsts[i]; }));
}

} // namespace
} // namespace zelkova::runner
