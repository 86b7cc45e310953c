// Shows that `zelkova-batch pages` lists the listing page of every line and the page total, counts
// settings that would not fit on the PDF sheet after the fit check's note, refuses settings no
// pass can use and unreadable files with status 1 and bad usage with status 2, and paginates every
// real listing of the corpus.
#include "BatchRun.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>

namespace zelkova::batch {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

using testing::batch;
using testing::Result;

std::string repeatLines(const std::string& line, int times) {
    std::string out;
    for (int i = 0; i < times; ++i)
        out += line + "\r\n";
    return out;
}

std::string lastLine(const std::string& text) {
    const std::size_t end = text.find_last_not_of('\n');
    const std::size_t start = text.rfind('\n', end);
    return text.substr(start == std::string::npos ? 0 : start + 1,
                       end - (start == std::string::npos ? 0 : start + 1) + 1);
}

TEST(PagesCommand, ListsEveryLineWithItsPageThenTheTotal) {
    TempDir dir;
    const std::string file = dir.write("a.lst", " A\r\n1B\r\n C\n\r\n0\r");
    const Result r = batch({"pages", file, "--lines", "3"});
    EXPECT_EQ(r.status, 0) << r.err;
    // " C" ends page 2's second line; the empty line fills page 2; "0" takes page 3's two lines.
    EXPECT_EQ(r.out, "1\t1\n2\t1\n3\t2\n4\t2\n5\t3\npages: 3\n");
    EXPECT_EQ(r.err, "");
}

TEST(PagesCommand, DefaultsAre140CharactersAnd60Lines) {
    TempDir dir;
    const Result sixtyOne = batch({"pages", dir.write("b.lst", repeatLines(" L", 61))});
    EXPECT_EQ(lastLine(sixtyOne.out), "pages: 2");
    EXPECT_NE(sixtyOne.out.find("60\t1\n61\t2\n"), std::string::npos);
    // 141 bytes wrap at the default K, not at 140 with K = 141.
    const std::string wide = dir.write("c.lst", std::string(141, 'X') + "\r\n" + repeatLines(" L", 58));
    EXPECT_EQ(lastLine(batch({"pages", wide}).out), "pages: 2");
    EXPECT_EQ(lastLine(batch({"pages", wide, "--chars", "141"}).out), "pages: 1");
}

TEST(PagesCommand, CountsSettingsThatDoNotFitTheSheetAfterTheFitCheckNote) {
    TempDir dir;
    const std::string file = dir.write("d.lst", repeatLines(" L", 67));
    const Result r = batch({"pages", file, "--lines", "66"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(lastLine(r.out), "pages: 2");
    EXPECT_EQ(r.err.rfind("行数が多すぎます。\r\n", 0), 0u) << r.err;
    EXPECT_NE(r.err.find(" 現在の行数 66 では文字が重なります。)"), std::string::npos);
}

TEST(PagesCommand, RefusesNoCharactersOrNoLinesAndUnreadableFiles) {
    TempDir dir;
    const std::string file = dir.write("e.lst", " A\r\n");
    const Result noLines = batch({"pages", file, "--lines", "0"});
    EXPECT_EQ(noLines.status, 1);
    EXPECT_EQ(noLines.out, "");
    EXPECT_EQ(noLines.err, "行数は1以上の整数にして下さい。\r\n\r\n（現在の行数 0 では印刷できません。)\n");
    const Result noChars = batch({"pages", file, "--chars", "-1"});
    EXPECT_EQ(noChars.status, 1);
    EXPECT_EQ(noChars.err,
              "文字数は1以上の整数にして下さい。\r\n\r\n（現在の文字数 -1 では印刷できません。)\n");

    const Result missing = batch({"pages", dir.file("missing.lst")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.out, "");
    EXPECT_EQ(missing.err, "ファイルが見つかりません.\n");
    // A folder is not a listing.
    EXPECT_EQ(batch({"pages", dir.path().string()}).status, 1);
}

TEST(PagesCommand, BadUsageEndsWithStatusTwo) {
    TempDir dir;
    const std::string file = dir.write("f.lst", " A\r\n");
    EXPECT_EQ(batch({"pages"}).status, 2);
    EXPECT_EQ(batch({"pages", file, file}).status, 2);
    EXPECT_EQ(batch({"pages", file, "--lines"}).status, 2);
    EXPECT_EQ(batch({"pages", file, "--pages", "3"}).status, 2);
    const Result notANumber = batch({"pages", file, "--chars", "8O"});
    EXPECT_EQ(notANumber.status, 2);
    EXPECT_EQ(notANumber.err.rfind("'8O' は整数ではありません\n", 0), 0u);
    EXPECT_EQ(batch({"pages", "--help"}).status, 0);
}

TEST(PagesCommand, PaginatesEveryCorpusListing) {
    // Totals checked against a separately written model of the carriage-control rule.
    const std::pair<const char*, int> totals[] = {
        {"mf2005-bcf2ss.lst", 14},      {"mf2005-etsdrt.lst", 9},       {"mf2005-l1b2k_bath.lst", 30},
        {"mf2005-tr2k_s3.lst", 305},    {"mf2005-twri.lst", 11},        {"nastran95-d01002a.out", 4},
        {"nastran95-d01011b.out", 32},  {"nastran95-d01151a.out", 308}, {"nastran95-d02034a.out", 507},
        {"nastran95-t09071a.out", 331},
    };
    const fs::path folder = testing::corpusDir() / "listings";
    int listings = 0;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string ext = entry.path().extension().string();
        if (ext == ".lst" || ext == ".out")
            ++listings;
    }
    EXPECT_EQ(listings, static_cast<int>(std::size(totals))) << "a corpus listing without a total here";
    for (const auto& [name, total] : totals) {
        const Result r = batch({"pages", (folder / name).string()});
        EXPECT_EQ(r.status, 0) << name << ": " << r.err;
        EXPECT_EQ(lastLine(r.out), "pages: " + std::to_string(total)) << name;
        // Pages never go down from one line to the next.
        std::istringstream lines(r.out);
        std::string line;
        int previous = 1;
        while (std::getline(lines, line) && line.rfind("pages:", 0) != 0) {
            const int page = std::stoi(line.substr(line.find('\t') + 1));
            EXPECT_GE(page, previous) << name << " " << line;
            previous = page;
        }
    }
}

} // namespace
} // namespace zelkova::batch
