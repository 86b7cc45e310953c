// Shows that a listing printed into a PDF file the direct way reads back exactly as the same job
// printed through the painter and Qt's PDF engine: pdftotext -bbox gives the same sheets, words and
// places, to the last digit, for every carriage control, wrapped and double-byte lines, bytes
// outside the code page, titles, page numbers, ranges, copies, other font sizes and the corpus
// listings; that what only the painter can draw still goes through it; and that the writer's
// numbers are the painter path's.
#include "listing/PdfListingWriter.h"
#include "listing/qt/PrinterJob.h"
#include "platform/qt/ApplicationPrinter.h"
#include "platform/qt/Fonts.h"

#include "TempDir.h"

#include <QFontInfo>
#include <QPageLayout>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QString>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace zelkova::testing {
namespace {

namespace fs = std::filesystem;
using listing::PdfWriting;

// The pages of a PDF as pdftotext -bbox reads them: every page and word line, with its box.
std::string readBack(const std::string& pdf) {
    QProcess process;
    process.start(QStringLiteral("pdftotext"),
                  {QStringLiteral("-bbox"), QString::fromStdString(pdf), QStringLiteral("-")});
    if (!process.waitForFinished(120000) || process.exitCode() != 0) {
        ADD_FAILURE() << "pdftotext failed on " << pdf;
        return {};
    }
    std::string out;
    for (const QByteArray& line : process.readAllStandardOutput().split('\n'))
        if (line.contains("<page ") || line.contains("<word ") || line.contains("</page>"))
            out += line.toStdString() + '\n';
    return out;
}

struct Job {
    std::string title = "TITLE";
    listing::LineSettings lines;
    std::int32_t first = 1;
    std::int32_t last = 999;
    std::optional<std::int32_t> start = 1;
    int copies = 1;
    int points = 8;
    QString face = QString::fromUtf8(platform::kJapaneseFixedFace);
};

class ListingPdf : public ::testing::Test {
protected:
    void SetUp() override {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
        platform::installFontSubstitutions();
    }

    // Prints `listing` one way into `pdf`; the sheets printed.
    int print(const std::string& listing, const Job& j, PdfWriting how, const std::string& pdf,
              const listing::JobCallbacks& callbacks = {}) {
        platform::ApplicationPrinter printer(platform::ApplicationPrinter::Mode::PdfFile);
        printer.printer().setPageOrientation(QPageLayout::Landscape);
        printer.printer().setOutputFileName(QString::fromStdString(pdf));
        printer.printer().setDocName(QString::fromStdString(j.title));
        QFont font(j.face, j.points);
        font.setStyleHint(QFont::Monospace);
        listing::PrintJob job;
        job.lines = j.lines;
        job.firstPage = j.first;
        job.lastPage = j.last;
        job.pageInitialValue = j.start;
        job.copies = j.copies;
        job.title = j.title;
        return listing::printOnPrinter(printer.printer(), font, listing, job, callbacks, how).sheets;
    }

    // Prints `listing` both ways and expects the same read-back; true when the direct way wrote
    // the file itself.
    bool expectSameSheets(const std::string& listing, const Job& job = {}) {
        const std::string painted = dir.file("painted.pdf");
        const std::string direct = dir.file("direct.pdf");
        const int sheets = print(listing, job, PdfWriting::Painter, painted);
        EXPECT_EQ(print(listing, job, PdfWriting::Direct, direct), sheets);
        const std::string expected = readBack(painted);
        EXPECT_NE(expected.find("<word "), std::string::npos);
        EXPECT_EQ(readBack(direct), expected) << listing;
        return readBytes(direct).find("/Producer(Zelkova)") != std::string::npos;
    }

    TempDir dir;
};

// Carriage control, a line wrapped at a double-byte character, Shift-JIS text (kanji, kana,
// half-width kana, full-width blanks and symbols), bytes outside the code page, an empty page, a
// page exactly full.
std::string everyKindOfLine() {
    std::string out = "1 TITLE LINE                                   PAGE 1\r\n"
                      "0 ELEMENT  STRESS\r\n"
                      " \x93\xfa\x96\x7b\x8c\xea\x82\xcc\x83\x65\x83\x4c\x83\x58\x83\x67 \xb6\xc0\xb6\xc5 "
                      "\x81\x40\x81\x9a\x81\x99 \x87\x40\x87\x54\r\n"
                      "+OVERPRINT\r\n"
                      " \xff\x80\xa0 AFTER BAD BYTES \x82\r\n"
                      "\r\n"
                      "1\r\n"
                      "1\r\n"
                      "0\r\n";
    std::string wide = " ";
    for (int i = 0; i < 69; ++i)
        wide += "X1";
    wide += "\x8a\xbf\x8e\x9a";
    for (int i = 0; i < 100; ++i)
        wide += static_cast<char>('A' + i % 26);
    out += wide + "\r\n";
    for (int i = 0; i < 130; ++i)
        out += " " + std::to_string(i) + "  " + std::to_string(i * 1.25) + "E+00   -" +
               std::to_string(i * 7) + "\r\n";
    return out;
}

TEST_F(ListingPdf, ReadsBackAsThePaintersSheets) {
    const std::string file = dir.write("mixed.lst", everyKindOfLine());
    EXPECT_TRUE(expectSameSheets(file));

    Job titled;
    titled.title =
        "/home/\xe8\xa7\xa3\xe6\x9e\x90/\xe7\xb5\x90\xe6\x9e\x9c \xef\xbd\xb1\xef\xbd\xb3\xef\xbe\x84.lst";
    titled.first = 2;
    titled.last = 3;
    titled.start = 11;
    titled.copies = 2;
    EXPECT_TRUE(expectSameSheets(file, titled));

    Job other;
    other.points = 11;
    other.lines = {100, 45};
    other.start = std::nullopt;
    EXPECT_TRUE(expectSameSheets(file, other));
}

TEST_F(ListingPdf, ReadsBackAsThePaintersSheetsForTheCorpusListings) {
    for (const char* name : {"nastran95-d01002a.out", "mf2005-twri.lst"}) {
        Job job;
        job.title = name;
        EXPECT_TRUE(expectSameSheets((corpusDir() / "listings" / name).string(), job)) << name;
    }
}

TEST_F(ListingPdf, WhatOnlyThePainterCanDrawGoesThroughIt) {
    const std::string file = dir.write("kanji.lst", " AB \x93\xfa\x96\x7b CD\r\n");
    // A title the print font cannot show needs a fallback font.
    Job title;
    title.title = "\xd8\xb9\xd8\xb1\xd8\xa8\xd9\x8a \xe2\x9c\x93";
    EXPECT_FALSE(expectSameSheets(file, title));
    // So does a listing character a font without kanji lacks.
    Job latin;
    latin.face = QStringLiteral("DejaVu Sans Mono");
    if (QFontInfo(QFont(latin.face)).family() == latin.face) {
        EXPECT_FALSE(expectSameSheets(file, latin));
    }
}

TEST_F(ListingPdf, TheFitChecksMessagesShowOnceWhicheverWayTheJobGoes) {
    const std::string file = dir.write("kanji.lst", " AB \x93\xfa\x96\x7b CD\r\n");
    Job tooWide;
    tooWide.lines = {260, 60};
    Job latin = tooWide; // a font without kanji sends the job back to the painter
    latin.face = QStringLiteral("DejaVu Sans Mono");
    for (const Job& job : {tooWide, latin}) {
        const auto messagesOf = [&](PdfWriting how) {
            std::vector<std::string> shown;
            listing::JobCallbacks callbacks;
            callbacks.showMessage = [&shown](const std::string& message) { shown.push_back(message); };
            print(file, job, how, dir.file("wide.pdf"), callbacks);
            return shown;
        };
        const std::vector<std::string> painted = messagesOf(PdfWriting::Painter);
        ASSERT_FALSE(painted.empty());
        EXPECT_EQ(painted[0].rfind("文字数が多すぎます。", 0), 0u);
        EXPECT_EQ(messagesOf(PdfWriting::Direct), painted) << job.face.toStdString();
    }
}

TEST(PdfNumbers, AreCutAtNineDigitsAsThePainterPathWritesThem) {
    const auto text = [](double value) {
        std::string out;
        listing::appendPdfNumber(out, value);
        return out;
    };
    EXPECT_EQ(text(5619), "5619 ");
    EXPECT_EQ(text(-493), "-493 ");
    EXPECT_EQ(text(66.5), "66.5000000 ");
    EXPECT_EQ(text(72. / 1200), "0.060000000 ");
    EXPECT_EQ(text(-72. / 1200), "-0.060000000 ");
    EXPECT_EQ(text(233 * (72. / 1200)), "13.9799999 "); // cut, not rounded
    EXPECT_EQ(text(1802 * (1000. / 2048)), "879.882812 ");
    EXPECT_EQ(text(0.5), "0.500000000 ");
    EXPECT_EQ(text(1e12), "0 ");
}

} // namespace
} // namespace zelkova::testing
