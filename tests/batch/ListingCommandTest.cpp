// Shows that `zelkova-batch listing` prints the chosen pages of a listing into a PDF file with the
// title centred at the top of every sheet, the page number "- k -" centred at the bottom and the
// text on the half-width cell grid from the left margin, as pdftotext reads them back; that every
// corpus listing prints; and that a refused or failed print leaves no PDF and an earlier one whole.
#include "BatchRun.h"

#include "ListingFixtures.h"
#include "TempDir.h"
#include "listing/qt/PrinterJob.h"
#include "platform/qt/ApplicationPrinter.h"

#include <QFontInfo>
#include <QPageLayout>
#include <QPrinter>

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QString>

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

namespace zelkova::batch {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

using testing::batch;
using testing::Result;

// A word as pdftotext places it, in points from the sheet's top left corner.
struct Word {
    double left, top, right;
    std::string text;
    double centre() const { return (left + right) / 2; }
};
using Sheet = std::vector<Word>;

// The words of every sheet of a PDF file, read back with pdftotext.
std::vector<Sheet> readPdf(const std::string& pdf) {
    QProcess process;
    process.start(QStringLiteral("pdftotext"),
                  {QStringLiteral("-bbox"), QString::fromStdString(pdf), QStringLiteral("-")});
    if (!process.waitForFinished(60000) || process.exitCode() != 0) {
        ADD_FAILURE() << "pdftotext failed on " << pdf;
        return {};
    }
    const QString html = QString::fromUtf8(process.readAllStandardOutput());
    static const QRegularExpression word(QString::fromLatin1(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="[\d.]+">([^<]*)</word>)re"));
    std::vector<Sheet> sheets;
    for (const QString& page : html.split(QStringLiteral("<page "), Qt::SkipEmptyParts).mid(1)) {
        Sheet sheet;
        for (auto it = word.globalMatch(page); it.hasNext();) {
            const auto m = it.next();
            sheet.push_back({m.captured(1).toDouble(), m.captured(2).toDouble(), m.captured(3).toDouble(),
                             m.captured(4).toStdString()});
        }
        sheets.push_back(std::move(sheet));
    }
    return sheets;
}

// The sheet's words from top to bottom, left to right, joined by blanks: "TITLE ABC - 1 -".
std::string wordsOf(const Sheet& sheet) {
    std::string out;
    for (const Word& w : sheet)
        out += (out.empty() ? "" : " ") + w.text;
    return out;
}

// The words above the text block (the title) or below it (the page number), joined by blanks.
std::string wordsBetween(const Sheet& sheet, double fromTop, double toTop) {
    std::string out;
    for (const Word& w : sheet)
        if (w.top >= fromTop && w.top < toTop)
            out += (out.empty() ? "" : " ") + w.text;
    return out;
}
std::string headerOf(const Sheet& sheet) {
    return wordsBetween(sheet, 0.0, 45.0);
}
std::string footerOf(const Sheet& sheet) {
    return wordsBetween(sheet, 560.0, 1000.0);
}

const Word* find(const Sheet& sheet, const std::string& text, int nth = 0) {
    for (const Word& w : sheet)
        if (w.text == text && nth-- == 0)
            return &w;
    ADD_FAILURE() << "no word '" << text << "' on the sheet: " << wordsOf(sheet);
    return nullptr;
}

// A4 landscape in points, and the PDF printer's grid: a half-width cell of 66 pixels and a line
// pitch of 143 pixels at 1200 dpi.
constexpr double kSheetWidth = 842.0;
constexpr double kCell = 66 * 72.0 / 1200;
constexpr double kPitch = 143 * 72.0 / 1200;

using zelkova::testing::listingOfPages;

class ListingCommand : public ::testing::Test {
protected:
    void SetUp() override {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    }
    TempDir dir;
    const std::string pdf = dir.file("out.pdf");
};

TEST_F(ListingCommand, PutsTitleNumberAndTextWhereTheLayoutSays) {
    const std::string file = dir.write("a.lst", "1TITLE\r\n0ABC\r\n ABC\r\n\x93\xfa\x96\x7b TEXT\r\n" +
                                                    std::string(300, 'X') + "\r\n");
    const Result r = batch({"listing", file, "-o", pdf, "--title", "見出し"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "pages: 1\nsheets: 1\n");
    const std::vector<Sheet> sheets = readPdf(pdf);
    ASSERT_EQ(sheets.size(), 1u);
    const Sheet& s = sheets[0];

    const Word* title = find(s, "見出し");
    const Word* text = find(s, "TITLE");
    const Word* zeroLine = find(s, "ABC", 0);
    const Word* blankLine = find(s, "ABC", 1);
    const Word* kanji = find(s, "日本");
    const Word* after = find(s, "TEXT");
    const Word* number = find(s, "1");
    ASSERT_TRUE(title && text && zeroLine && blankLine && kanji && after && number);
    EXPECT_NEAR(title->centre(), kSheetWidth / 2, 1.0);
    EXPECT_NEAR(number->centre(), kSheetWidth / 2, 1.0);
    EXPECT_GT(number->top, 560.0);
    EXPECT_LT(title->top, text->top);
    // The '1' and '0' lines start at the left margin; the blank control stands one cell right.
    EXPECT_NEAR(zeroLine->left, text->left, 0.1);
    EXPECT_NEAR(blankLine->left, text->left + kCell, 0.1);
    // "0ABC" leaves one empty line; the others follow line by line.
    EXPECT_NEAR(zeroLine->top - text->top, 2 * kPitch, 0.1);
    EXPECT_NEAR(blankLine->top - zeroLine->top, kPitch, 0.1);
    // A double-byte character takes two cells: " TEXT" starts at byte 5.
    EXPECT_NEAR(kanji->left, text->left, 0.1);
    EXPECT_NEAR(after->left, text->left + 5 * kCell, 0.1);
    // 300 bytes at K = 140: 140, 140 and 20 on three lines.
    std::vector<const Word*> xs;
    for (const Word& w : s)
        if (w.text.find_first_not_of('X') == std::string::npos)
            xs.push_back(&w);
    ASSERT_EQ(xs.size(), 3u);
    EXPECT_EQ(xs[0]->text.size(), 140u);
    EXPECT_EQ(xs[1]->text.size(), 140u);
    EXPECT_EQ(xs[2]->text.size(), 20u);
    EXPECT_NEAR(xs[2]->top - xs[0]->top, 2 * kPitch, 0.1);
}

TEST_F(ListingCommand, BytesOutsideTheCodePageLeaveTheirCellsEmptyAndKeepTheColumns) {
    const std::string file = dir.write("bad.lst", "1START\r\n \xff\x80\xa0 AFTER\r\n");
    ASSERT_EQ(batch({"listing", file, "-o", pdf}).status, 0);
    const std::vector<Sheet> sheets = readPdf(pdf);
    ASSERT_EQ(sheets.size(), 1u);
    const Word* start = find(sheets[0], "START");
    const Word* after = find(sheets[0], "AFTER");
    ASSERT_TRUE(start && after);
    EXPECT_NEAR(after->left, start->left + 5 * kCell, 0.1);
}

TEST_F(ListingCommand, CharactersTheFontLacksStillKeepTheColumns) {
    // DejaVu Sans Mono has no kanji: they come from a fallback font, each in its own two cells.
    const std::string file = dir.write("kanji.lst", " AB XXXX CD\r\n AB \x93\xfa\x96\x7b CD\r\n");
    platform::ApplicationPrinter printer(platform::ApplicationPrinter::Mode::PdfFile);
    printer.printer().setPageOrientation(QPageLayout::Landscape);
    printer.printer().setOutputFileName(QString::fromStdString(pdf));
    QFont font(QStringLiteral("DejaVu Sans Mono"), 8);
    if (QFontInfo(font).family() != font.family())
        GTEST_SKIP() << "DejaVu Sans Mono is not installed";
    listing::PrintJob job;
    job.lastPage = 1;
    (void)listing::printOnPrinter(printer.printer(), font, file, job, {});
    const std::vector<Sheet> sheets = readPdf(pdf);
    ASSERT_EQ(sheets.size(), 1u);
    const Word* ascii = find(sheets[0], "CD", 0);
    const Word* kanji = find(sheets[0], "CD", 1);
    ASSERT_TRUE(ascii && kanji);
    EXPECT_NEAR(kanji->left, ascii->left, 0.1);
}

TEST_F(ListingCommand, PrintsTheRangeWithNumbersFromTheInitialValue) {
    const std::string file = dir.write("ten.lst", listingOfPages(10));
    const Result r = batch({"listing", file, "-o", pdf, "--first", "3", "--last", "4", "--title", "T"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "pages: 11\nsheets: 2\n");
    std::vector<Sheet> sheets = readPdf(pdf);
    ASSERT_EQ(sheets.size(), 2u);
    EXPECT_EQ(sheets[0].front().text, "T");
    EXPECT_EQ(sheets[0][1].text, "P3L1");
    EXPECT_EQ(wordsOf(sheets[0]).substr(wordsOf(sheets[0]).size() - 11), "P3L60 - 3 -");
    EXPECT_EQ(sheets[1][1].text, "P4L1");
    EXPECT_EQ(wordsOf(sheets[1]).substr(wordsOf(sheets[1]).size() - 11), "P4L60 - 4 -");

    ASSERT_EQ(batch({"listing", file, "-o", pdf, "--first", "3", "--last", "4", "--start", "11"}).status, 0);
    sheets = readPdf(pdf);
    ASSERT_EQ(sheets.size(), 2u);
    EXPECT_TRUE(find(sheets[0], "13") && find(sheets[1], "14"));

    ASSERT_EQ(batch({"listing", file, "-o", pdf, "--last", "2", "--start", "-777", "--title", "T"}).status,
              0);
    sheets = readPdf(pdf);
    ASSERT_EQ(sheets.size(), 2u);
    for (const Sheet& sheet : sheets) {
        EXPECT_EQ(sheet.size(), 61u) << "title and 60 lines, no number: " << wordsOf(sheet);
        EXPECT_EQ(footerOf(sheet), "");
    }
}

TEST_F(ListingCommand, AnExactlyFullPageEndsWithASheetOfTitleAndNumberOnly) {
    std::string bytes;
    for (int i = 0; i < 60; ++i)
        bytes += " LINE\r\n";
    const Result r = batch({"listing", dir.write("full.lst", bytes), "-o", pdf, "--title", "T"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "pages: 2\nsheets: 2\n");
    const std::vector<Sheet> sheets = readPdf(pdf);
    ASSERT_EQ(sheets.size(), 2u);
    EXPECT_EQ(wordsOf(sheets[1]), "T - 2 -");
}

TEST_F(ListingCommand, CopiesRepeatTheSameSheets) {
    const Result r = batch({"listing", dir.write("three.lst", listingOfPages(3)), "-o", pdf, "--copies", "2",
                            "--first", "2", "--title", "T"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "pages: 4\nsheets: 6\n");
    const std::vector<Sheet> sheets = readPdf(pdf);
    ASSERT_EQ(sheets.size(), 6u);
    EXPECT_EQ(wordsOf(sheets[0]), wordsOf(sheets[3]));
    EXPECT_EQ(wordsOf(sheets[2]), "T - 4 -");
    EXPECT_EQ(wordsOf(sheets[5]), "T - 4 -");
}

TEST_F(ListingCommand, PrintsEveryCorpusListing) {
    const fs::path folder = testing::corpusDir() / "listings";
    int printed = 0;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string ext = entry.path().extension().string();
        if (ext != ".lst" && ext != ".out")
            continue;
        const std::string name = entry.path().filename().string();
        const Result r = batch({"listing", entry.path().string(), "-o", pdf, "--title", name});
        ASSERT_EQ(r.status, 0) << name << ": " << r.err;
        const std::string pages = r.out.substr(7, r.out.find('\n') - 7);
        EXPECT_EQ(r.out, "pages: " + pages + "\nsheets: " + pages + "\n") << name;
        const std::vector<Sheet> sheets = readPdf(pdf);
        ASSERT_EQ(std::to_string(sheets.size()), pages) << name;
        for (std::size_t i = 0; i < sheets.size(); ++i) {
            ASSERT_FALSE(sheets[i].empty()) << name;
            EXPECT_EQ(headerOf(sheets[i]), name) << name << " sheet " << i + 1;
            EXPECT_EQ(footerOf(sheets[i]), "- " + std::to_string(i + 1) + " -") << name << " sheet " << i + 1;
        }
        ++printed;
    }
    EXPECT_EQ(printed, 10);
}

TEST_F(ListingCommand, RefusedOrFailedPrintsLeaveAnEarlierPdfWhole) {
    const std::string file = dir.write("three.lst", listingOfPages(3));
    const std::string earlier = dir.write("out.pdf", "EARLIER");

    const Result after = batch({"listing", file, "-o", pdf, "--first", "5"});
    EXPECT_EQ(after.status, 1);
    EXPECT_EQ(after.err, "印刷するﾍﾟｰｼﾞがありません。\r\n\r\nこのファイルは全部で4ページです。\r\n"
                         "開始ﾍﾟｰｼﾞ 5 が最終ﾍﾟｰｼﾞ 4 より後ろです。\n");
    const Result wide = batch({"listing", file, "-o", pdf, "--chars", "206"});
    EXPECT_EQ(wide.status, 1);
    EXPECT_EQ(wide.err.rfind("文字数が多すぎます。", 0), 0u);
    const Result missing = batch({"listing", dir.file("missing.lst"), "-o", pdf});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "ファイルが見つかりません.\n");
    const Result itself = batch({"listing", file, "-o", file});
    EXPECT_EQ(itself.status, 1);
    EXPECT_NE(itself.err.find("印刷先のファイルが印刷するファイルと同じです。"), std::string::npos);
    EXPECT_EQ(testing::readBytes(file), listingOfPages(3));
    const Result noFolder = batch({"listing", file, "-o", dir.file("no/such/folder/out.pdf")});
    EXPECT_EQ(noFolder.status, 1);
    EXPECT_NE(noFolder.err.find("を作成できません"), std::string::npos) << noFolder.err;

    EXPECT_EQ(testing::readBytes(earlier), "EARLIER");
    std::vector<std::string> left;
    for (const auto& entry : fs::directory_iterator(dir.path()))
        left.push_back(entry.path().filename().string());
    EXPECT_EQ(left.size(), 2u) << "no part files left behind";
}

TEST_F(ListingCommand, BadUsageEndsWithStatusTwo) {
    const std::string file = dir.write("a.lst", " A\r\n");
    EXPECT_EQ(batch({"listing", file}).status, 2);
    EXPECT_EQ(batch({"listing", "-o", pdf}).status, 2);
    EXPECT_EQ(batch({"listing", file, "-o", pdf, "--copies", "0"}).status, 2);
    EXPECT_EQ(batch({"listing", file, "-o", pdf, "--font-size", "0"}).status, 2);
    const Result start = batch({"listing", file, "-o", pdf, "--start", "x1"});
    EXPECT_EQ(start.status, 2);
    EXPECT_EQ(start.err.rfind("'x1' は整数ではありません\n", 0), 0u);
    EXPECT_FALSE(fs::exists(pdf));
    const Result noLines = batch({"listing", file, "-o", pdf, "--lines", "0"});
    EXPECT_EQ(noLines.status, 1);
    EXPECT_EQ(noLines.err, "行数は1以上の整数にして下さい。\r\n\r\n（現在の行数 0 では印刷できません。)\n");
}

} // namespace
} // namespace zelkova::batch
