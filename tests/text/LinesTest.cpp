// Shows that lines end at CR LF, a lone CR and a lone LF, that Ctrl-Z ends the file, and that the
// streaming reader agrees with the whole-text split across buffer boundaries.
#include "text/Lines.h"

#include "TempDir.h"
#include "text/Failure.h"

#include <gtest/gtest.h>

#include <cstdio>

using namespace zelkova::text;

namespace {
std::vector<std::string> split(std::string_view s) {
    std::vector<std::string> out;
    for (auto v : splitLines(s))
        out.emplace_back(v);
    return out;
}

std::vector<std::string> stream(const std::string& data, std::size_t bufferSize) {
    zelkova::testing::TempDir dir;
    const std::string path = dir.write("f.txt", data);
    std::FILE* f = std::fopen(path.c_str(), "rb");
    LineReader reader(f, bufferSize);
    std::vector<std::string> out;
    std::string line;
    while (reader.next(line))
        out.push_back(line);
    std::fclose(f);
    return out;
}
using Lines = std::vector<std::string>;
} // namespace

TEST(LineSplitting, EachOfTheThreeLineEndsEndsALine) {
    EXPECT_EQ(split("a\r\nb\rc\nd"), (Lines{"a", "b", "c", "d"}));
    EXPECT_EQ(split("a\r\n"), (Lines{"a"}));
    EXPECT_EQ(split("a\n\n"), (Lines{"a", ""}));
    EXPECT_EQ(split("\r\n\r\n"), (Lines{"", ""}));
    EXPECT_EQ(split("\n\r"), (Lines{"", ""})); // LF then a lone CR: two line ends
    EXPECT_EQ(split(""), Lines{});
}

TEST(LineSplitting, CtrlZEndsTheFile) {
    EXPECT_EQ(split("a\r\nb\x1A"
                    "c\r\nd"),
              (Lines{"a", "b"}));
    EXPECT_EQ(split("\x1A"
                    "abc"),
              Lines{});
    EXPECT_EQ(split("a\r\n\x1A"), (Lines{"a"}));
}

TEST(LineSplitting, LineEndConventionIsRecognised) {
    EXPECT_EQ(lineEndsOf("a\r\nb\r\n"), LineEnds::CrLf);
    EXPECT_EQ(lineEndsOf("a\nb"), LineEnds::Lf);
    EXPECT_EQ(lineEndsOf("a\rb\r"), LineEnds::Cr);
    EXPECT_EQ(lineEndsOf("a\r\nb\n"), LineEnds::Mixed);
    EXPECT_EQ(lineEndsOf("abc"), LineEnds::None);
}

TEST(LineReaderTest, AgreesWithSplitForEveryBufferSize) {
    const std::string data = "first\r\nsecond\rthird\n\nfifth\r\n\r\nlast";
    const Lines expected = split(data);
    for (std::size_t size = 1; size <= data.size() + 1; ++size)
        EXPECT_EQ(stream(data, size), expected) << "buffer " << size;
}

TEST(LineReaderTest, AgreesWithSplitAboutCtrlZForEveryBufferSize) {
    const std::string data = "cr only\rlines\rthen lf\nonly\n\nand\r\ncr lf\r\x1A"
                             "gone\r\nafter";
    const Lines expected = split(data);
    for (std::size_t size = 1; size <= data.size() + 1; ++size)
        EXPECT_EQ(stream(data, size), expected) << "buffer " << size;
}

TEST(LineReaderTest, CrAtTheEndOfABufferAndLfAtTheStartOfTheNextAreOneLineEnd) {
    EXPECT_EQ(stream("abc\r\ndef\r\n", 4), (Lines{"abc", "def"}));
    EXPECT_EQ(stream("abc\r", 4), (Lines{"abc"}));
}

TEST(LineReaderTest, CtrlZStopsTheStream) {
    EXPECT_EQ(stream("a\r\nbb\x1Azz\r\nq", 2), (Lines{"a", "bb"}));
    EXPECT_EQ(stream("\x1A", 8), Lines{});
}

#ifndef _WIN32
TEST(LineReaderTest, ReadErrorIsAFailureNotAnEndOfFile) {
    std::FILE* f = std::fopen("/proc/self/mem", "rb"); // reading offset 0 fails with EIO
    ASSERT_NE(f, nullptr);
    LineReader reader(f, 16);
    std::string line;
    EXPECT_THROW((void)reader.next(line), Failure);
    std::fclose(f);
}
#endif
