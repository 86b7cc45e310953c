// Shows which lines count as the pivot line, how the layer records in force there are followed,
// and what each copied line looks like.
#include "filter/Reorder.h"

#include "ExchangeText.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

using namespace zelkova::filter;
using zelkova::testing::crlfLines;
using zelkova::testing::exchangeHeader;
using Lines = std::vector<std::string>;

namespace {

class MemorySink final : public LineSink {
public:
    void writeLine(std::string_view line) override { lines.emplace_back(line); }
    Lines lines;
};

struct Reordered {
    ReorderResult result;
    Lines lines;
};

Reordered reorderBytes(const std::string& bytes) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::tmpfile(), &std::fclose);
    std::fwrite(bytes.data(), 1, bytes.size(), file.get());
    std::rewind(file.get());
    ExchangeReader reader(file.get(), "JWC_TEMP.TXT");
    MemorySink sink;
    const ReorderResult result = reorderExchange(reader, sink);
    return {result, sink.lines};
}

// The header followed by `body`; the result is what the filter writes.
Lines reorderBody(const Lines& body) {
    Lines lines = exchangeHeader();
    lines.insert(lines.end(), body.begin(), body.end());
    return reorderBytes(crlfLines(lines)).lines;
}

} // namespace

TEST(PivotLine, IsAnLc10RecordWithoutBlankOrATextRecordWhoseSixthFieldOpensAnImage) {
    const std::vector<std::pair<std::string, bool>> cases = {
        {"lc10 65408", true},
        {"lc10", true},
        {"lc 10 65408", false},
        {" lc10 65408", false},
        {"LC10 65408", false},
        {R"(ch 100 200 1 0 "^@BMplan.bmp,100,30)", true},
        {R"(ch,100,200,1,0,"^@BMplan.bmp)", true},
        {R"(ch 100 200 1 0 "^@BM)", true},
        {R"(ch 100 200 1 "^@BMplan.bmp,100,30)", false}, // fifth field
        {R"(ch 100 200 1 0 ^@BMplan.bmp)", false},       // no quote before it
        {R"(ch 100 200 1 0 "^@bmplan.bmp)", false},
        {R"(cv 100 200 1 0 "^@BMplan.bmp)", false},
        {R"(ch100 200 1 0 "^@BMplan.bmp)", false}, // the keyword and x make one field
    };
    for (const auto& [text, pivot] : cases)
        EXPECT_EQ(isPivotLine(LineBuffer(text)), pivot) << text;
}

TEST(Reorder, FollowsLayerRecordsFromTheFirstLineAndOnlyUntilThePivot) {
    Lines header = exchangeHeader();
    header[2] = "ly5 header layer";
    Lines lines = header;
    for (const char* line : {"lgA", " 1 2 3 4", "lc10 255", "ly7", "lg3"})
        lines.emplace_back(line);
    const Reordered out = reorderBytes(crlfLines(lines));
    EXPECT_EQ(out.result.pivotLine, 11u);
    EXPECT_EQ(out.lines, (Lines{"lgA", "ly5", "lc10 255", "ly7", "lg3", "lgA", " 1 2 3 4"}));
}

TEST(Reorder, CopiesLinesWithoutTrailingBlanksAndLinesOfBlanksAsEmptyLines) {
    EXPECT_EQ(reorderBody({"  1 2 3 4   ", std::string(10, ' '), "ly1\t ", std::string(280, 'x') + "y"}),
              (Lines{"  1 2 3 4", "", "ly1\t", std::string(254, 'x')}));
}

TEST(Reorder, ReadsALastLineWithoutLineEndAndStopsAtCtrlZ) {
    std::string bytes = crlfLines(exchangeHeader()) + "a\r\nb";
    EXPECT_EQ(reorderBytes(bytes).lines, (Lines{"a", "b"}));
    bytes = crlfLines(exchangeHeader()) + "a\r\n\x1A" + "lc10 1\r\n";
    EXPECT_EQ(reorderBytes(bytes).lines, (Lines{"a"}));
}

TEST(Reorder, ReportsAFileThatEndsInsideTheHeaderAfterWritingFromThePivotOn) {
    Reordered out = reorderBytes(crlfLines({"hq", "lc10 255", "ly2", "x"}));
    EXPECT_EQ(out.result.outcome, ReorderResult::Outcome::ShortExchangeFile);
    EXPECT_EQ(out.result.linesRead, 4u);
    EXPECT_EQ(out.lines, (Lines{"lg0", "ly0", "lc10 255", "ly2", "x"}));

    out = reorderBytes(crlfLines({"hq", "hk", "hs", "hcw", "hch", "hcd", "hcc"}));
    EXPECT_EQ(out.result.outcome, ReorderResult::Outcome::ShortExchangeFile);
    EXPECT_TRUE(out.lines.empty());

    out = reorderBytes(crlfLines(exchangeHeader()));
    EXPECT_EQ(out.result.outcome, ReorderResult::Outcome::Complete);
    EXPECT_TRUE(out.lines.empty());
}
