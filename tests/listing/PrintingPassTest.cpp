// Shows which listing pages the printing pass puts on which sheet, the title, page number and text
// positions of each sheet, the page number texts, copies and the print range with its question.
#include "listing/Printing.h"
#include "listing/RecordingSink.h"

#include "ListingFixtures.h"
#include "TempDir.h"
#include "text/Failure.h"

#include <gtest/gtest.h>

using namespace zelkova::listing;
using zelkova::testing::TempDir;

namespace {

using Texts = std::vector<std::string>;

using zelkova::testing::listingOfPages;

class PrintingPass : public ::testing::Test {
protected:
    RecordingSink print(const std::string& bytes, const PrintJob& job) {
        const std::string file = dir.write("listing.lst", bytes);
        const PageLayout layout = checkFit(kPdfPrinterMetrics, job.lines).layout;
        RecordingSink sink;
        summary = printListing(file, job, layout, sink);
        return sink;
    }
    static PrintJob job(std::int32_t first, std::int32_t last, std::optional<std::int32_t> initial = 1) {
        PrintJob j;
        j.firstPage = first;
        j.lastPage = last;
        j.pageInitialValue = initial;
        j.title = "TITLE";
        return j;
    }

    TempDir dir;
    PrintSummary summary;
    const PageLayout layout = checkFit(kPdfPrinterMetrics, {140, 60}).layout;
};

} // namespace

TEST_F(PrintingPass, PagesThreeAndFourOfTenGoOnTwoSheetsNumberedFromTheInitialValue) {
    const RecordingSink sink = print(listingOfPages(10), job(3, 4));
    EXPECT_EQ(summary.sheets, 2);
    ASSERT_EQ(sink.sheets(), 2);
    EXPECT_EQ(sink.labelsOn(1), (Texts{"TITLE", "- 3 -"}));
    EXPECT_EQ(sink.labelsOn(2), (Texts{"TITLE", "- 4 -"}));
    ASSERT_EQ(sink.listingOn(1).size(), 60u);
    EXPECT_EQ(sink.listingOn(1).front(), "P3L1");
    EXPECT_EQ(sink.listingOn(1).back(), " P3L60");
    EXPECT_EQ(sink.listingOn(2).front(), "P4L1");
    EXPECT_EQ(sink.listingOn(2).back(), " P4L60");

    const RecordingSink eleven = print(listingOfPages(10), job(3, 4, 11));
    EXPECT_EQ(eleven.labelsOn(1), (Texts{"TITLE", "- 13 -"}));
    EXPECT_EQ(eleven.labelsOn(2), (Texts{"TITLE", "- 14 -"}));
}

TEST_F(PrintingPass, NoNumbersWithoutAnInitialValue) {
    const RecordingSink sink = print(listingOfPages(3), job(1, 3, std::nullopt));
    ASSERT_EQ(sink.sheets(), 3);
    for (int sheet = 1; sheet <= 3; ++sheet)
        EXPECT_EQ(sink.labelsOn(sheet), (Texts{"TITLE"}));
}

TEST_F(PrintingPass, NegativeAndLargeInitialValuesNumberEveryPage) {
    const RecordingSink sink = print(listingOfPages(3), job(1, 3, -5));
    EXPECT_EQ(sink.labelsOn(1)[1], "- -5 -");
    EXPECT_EQ(sink.labelsOn(3)[1], "- -3 -");
    const RecordingSink big = print(listingOfPages(2), job(1, 2, 2147483647));
    EXPECT_EQ(big.labelsOn(2)[1], "- 2147483648 -");
}

TEST_F(PrintingPass, TitleAndNumberAreCentredAndTextStartsAtTheLeftMarginLineByLine) {
    const RecordingSink sink = print("1TITLE\r\n0ABC\r\n ABC\r\n", job(1, 1));
    // Labels measure 10 pixels per byte in the recording sink.
    const std::string expected =
        "sheet 1\n"
        "label " +
        std::to_string((13567 - 50) / 2) +
        ",376 TITLE\n"
        "label " +
        std::to_string((13567 - 50) / 2) +
        ",9263 - 1 -\n"
        "text " +
        std::to_string(layout.leftMargin) +
        ",564 TITLE\n"
        "text " +
        std::to_string(layout.leftMargin) + "," + std::to_string(564 + 2 * layout.pitch) +
        " ABC\n"
        "text " +
        std::to_string(layout.leftMargin) + "," + std::to_string(564 + 3 * layout.pitch) + "  ABC\n";
    EXPECT_EQ(sink.dump(), expected);
}

TEST_F(PrintingPass, AnExactlyFullLastPageEndsWithASheetOfOnlyTitleAndNumber) {
    std::string bytes;
    for (int i = 0; i < 60; ++i)
        bytes += " LINE\r\n";
    const RecordingSink sink = print(bytes, job(1, 2));
    ASSERT_EQ(sink.sheets(), 2);
    EXPECT_EQ(sink.listingOn(1).size(), 60u);
    EXPECT_TRUE(sink.listingOn(2).empty());
    EXPECT_EQ(sink.labelsOn(2), (Texts{"TITLE", "- 2 -"}));
}

TEST_F(PrintingPass, AWrappedLineContinuesOnTheNextSheetAtTheTextTop) {
    PrintJob j = job(1, 2);
    j.lines = {140, 2};
    const RecordingSink sink = print(std::string(300, 'X') + "\r\n", j);
    ASSERT_EQ(sink.sheets(), 2);
    EXPECT_EQ(sink.listingOn(1), (Texts{std::string(140, 'X'), std::string(140, 'X')}));
    EXPECT_EQ(sink.listingOn(2), (Texts{std::string(20, 'X')}));
    const auto& last = sink.steps().back();
    EXPECT_EQ(last.top, 564);
}

TEST_F(PrintingPass, StopsReadingAfterTheLastPage) {
    // Page 1 only: the sheet holds 60 lines, no second sheet starts.
    const RecordingSink sink = print(listingOfPages(5), job(1, 1));
    EXPECT_EQ(sink.sheets(), 1);
    EXPECT_EQ(sink.listingOn(1).size(), 60u);
}

TEST_F(PrintingPass, EachCopyIsTheSameSetOfSheets) {
    PrintJob j = job(2, 3);
    j.copies = 2;
    const RecordingSink sink = print(listingOfPages(4), j);
    ASSERT_EQ(sink.sheets(), 4);
    EXPECT_EQ(sink.labelsOn(1), (Texts{"TITLE", "- 2 -"}));
    EXPECT_EQ(sink.labelsOn(2), (Texts{"TITLE", "- 3 -"}));
    EXPECT_EQ(sink.labelsOn(3), (Texts{"TITLE", "- 2 -"}));
    EXPECT_EQ(sink.labelsOn(4), (Texts{"TITLE", "- 3 -"}));
    EXPECT_EQ(sink.listingOn(3), sink.listingOn(1));
    EXPECT_EQ(sink.listingOn(4), sink.listingOn(2));
}

TEST_F(PrintingPass, AnEmptyFilePrintsOneSheetWithTitleAndNumber) {
    const RecordingSink sink = print("", job(1, 1));
    EXPECT_EQ(sink.sheets(), 1);
    EXPECT_EQ(sink.labelsOn(1), (Texts{"TITLE", "- 1 -"}));
}

TEST_F(PrintingPass, AMissingFileFails) {
    const PageLayout l = layout;
    RecordingSink sink;
    EXPECT_THROW((void)printListing(dir.file("missing.lst"), job(1, 1), l, sink), zelkova::text::Failure);
}

TEST(PageNumbers, InitialValueMinus777SwitchesNumbersOffAndOthersMustBeIntegers) {
    EXPECT_EQ(pageInitialValueFrom("-777"), std::nullopt);
    EXPECT_EQ(pageInitialValueFrom("11"), 11);
    EXPECT_EQ(pageInitialValueFrom(" -776"), -776);
    try {
        (void)pageInitialValueFrom("1a");
        FAIL() << "no failure";
    } catch (const zelkova::text::Failure& failure) {
        EXPECT_STREQ(failure.what(), "'1a' は整数ではありません");
    }
    EXPECT_EQ(pageNumberText(3), "- 3 -");
}

TEST(PrintRange, LastPageIsClampedToTheTotal) {
    const PrintRange range = resolveRange(1, 999, 7);
    EXPECT_TRUE(range.usable());
    EXPECT_EQ(range.last, 7);
    EXPECT_EQ(confirmationText(7, range),
              "このファイルは全部で7ページです。\r\n印刷されるのは\r\n1ﾍﾟｰｼﾞ～7ﾍﾟｰｼﾞまでの"
              "\r\n\r\n     計 7 ﾍﾟｰｼﾞです。\r\n\r\n印刷しますか？");
    EXPECT_EQ(resolveRange(3, 4, 10).last, 4);
}

TEST(PrintRange, NothingToPrintGetsAMessageInsteadOfAnEmptyJob) {
    const PrintRange after = resolveRange(5, 999, 3);
    EXPECT_FALSE(after.usable());
    EXPECT_EQ(after.problem, "印刷するﾍﾟｰｼﾞがありません。\r\n\r\nこのファイルは全部で3ページです。\r\n"
                             "開始ﾍﾟｰｼﾞ 5 が最終ﾍﾟｰｼﾞ 3 より後ろです。");
    EXPECT_FALSE(resolveRange(4, 3, 10).usable());
    const PrintRange zero = resolveRange(0, 3, 10);
    EXPECT_EQ(zero.problem, "開始ﾍﾟｰｼﾞは1以上にして下さい。\r\n\r\n（現在の開始ﾍﾟｰｼﾞ 0）");
}
