// Shows that the exchange file is read as text lines whatever their line ends and wherever the
// reading blocks fall, that Ctrl-Z ends it, and that it can be read again from the start.
#include "filter/ExchangeReader.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

using zelkova::filter::ExchangeReader;

namespace {

struct Closer {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

std::unique_ptr<std::FILE, Closer> fileWith(const std::string& bytes) {
    std::unique_ptr<std::FILE, Closer> file(std::tmpfile());
    std::fwrite(bytes.data(), 1, bytes.size(), file.get());
    std::rewind(file.get());
    return file;
}

std::vector<std::string> readAll(ExchangeReader& reader) {
    std::vector<std::string> lines;
    std::string_view head;
    while (reader.next(head))
        lines.emplace_back(head);
    return lines;
}

std::vector<std::string> linesOf(const std::string& bytes, std::size_t blockSize = 1 << 20) {
    auto file = fileWith(bytes);
    ExchangeReader reader(file.get(), "test", blockSize);
    return readAll(reader);
}

using Lines = std::vector<std::string>;

} // namespace

TEST(ExchangeReader, EndsLinesAtCrLfLoneCrAndLoneLfInEveryBlockSize) {
    for (std::size_t block = 1; block <= 9; ++block) {
        SCOPED_TRACE(block);
        EXPECT_EQ(linesOf("a\r\nbb\rc\ndd\r\n\r\n\n\re", block),
                  (Lines{"a", "bb", "c", "dd", "", "", "", "e"}));
        EXPECT_EQ(linesOf("a\r", block), (Lines{"a"}));
    }
    EXPECT_EQ(linesOf(""), Lines{});
    EXPECT_EQ(linesOf("\r\n"), (Lines{""}));
}

TEST(ExchangeReader, CtrlZEndsTheFile) {
    EXPECT_EQ(linesOf("a\r\nb\x1A\r\nc\r\n"), (Lines{"a", "b"}));
    EXPECT_EQ(linesOf("a\r\n\x1A"), (Lines{"a"}));
    EXPECT_EQ(linesOf("\x1A"
                      "a\r\n"),
              Lines{});
}

TEST(ExchangeReader, KeepsOnlyTheHeadOfALongLineAndReadsAgainAfterRewind) {
    auto file = fileWith(std::string(1000, 'x') + "\r\ny\r\n");
    ExchangeReader reader(file.get(), "test", 7);
    const Lines expected{std::string(255, 'x'), "y"};
    EXPECT_EQ(readAll(reader), expected);
    reader.rewind();
    EXPECT_EQ(readAll(reader), expected);
}
