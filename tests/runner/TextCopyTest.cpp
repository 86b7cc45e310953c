// Shows that the text copy ends every line with CR LF whatever line end it had, stops at a Ctrl-Z,
// keeps CR LF text byte for byte, does so across every buffer boundary, and passes on a failure
// of its destination instead of finishing quietly.
#include "runner/TextCopy.h"

#include "TempDir.h"
#include "text/Failure.h"
#include "text/SystemFiles.h"

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#endif

#include <gtest/gtest.h>

#include <string>

namespace zelkova::runner {
namespace {

using testing::sameBytes;

class StringSource final : public ByteSource {
public:
    explicit StringSource(std::string data) : m_data(std::move(data)) {}
    std::size_t read(char* buffer, std::size_t size) override {
        const std::size_t n = std::min(size, m_data.size() - m_pos);
        m_data.copy(buffer, n, m_pos);
        m_pos += n;
        return n;
    }

private:
    std::string m_data;
    std::size_t m_pos = 0;
};

class StringSink final : public ByteSink {
public:
    void write(std::string_view bytes) override { data.append(bytes); }
    std::string data;
};

// Accepts `limit` bytes, then fails as a full disk does.
class FailingSink final : public ByteSink {
public:
    explicit FailingSink(std::size_t limit) : m_limit(limit) {}
    void write(std::string_view bytes) override {
        if (written + bytes.size() > m_limit)
            throw text::Failure("ディスクがいっぱいです");
        written += bytes.size();
    }
    std::size_t written = 0;

private:
    std::size_t m_limit;
};

std::string copied(const std::string& input, std::size_t bufferSize = kCopyBufferSize) {
    StringSource source(input);
    StringSink sink;
    copyText(source, sink, bufferSize);
    return sink.data;
}

TEST(TextCopy, EveryLineEndBecomesCrLf) {
    EXPECT_TRUE(sameBytes("a\r\nb\r\n", copied("a\r\nb\r\n")));
    EXPECT_TRUE(sameBytes("a\r\nb\r\n", copied("a\nb\n")));
    EXPECT_TRUE(sameBytes("a\r\nb\r\n", copied("a\rb\r")));
    EXPECT_TRUE(sameBytes("a\r\nb\r\nc\r\nd\r\n", copied("a\r\nb\nc\rd")));
    // Empty lines of each kind stay lines.
    EXPECT_TRUE(sameBytes("\r\n\r\n\r\n\r\n", copied("\r\n\n\r\r\n")));
    // LF CR is two line ends, not one.
    EXPECT_TRUE(sameBytes("a\r\n\r\nb\r\n", copied("a\n\rb")));
}

TEST(TextCopy, LastLineGetsItsLineEndAndEmptySourceStaysEmpty) {
    EXPECT_TRUE(sameBytes("", copied("")));
    EXPECT_TRUE(sameBytes("x\r\n", copied("x")));
    EXPECT_TRUE(sameBytes("a\r\nlast\r\n", copied("a\r\nlast")));
}

TEST(TextCopy, CtrlZEndsTheFile) {
    EXPECT_TRUE(sameBytes("a\r\n", copied("a\r\n\x1A"
                                          "after\r\n")));
    EXPECT_TRUE(sameBytes("ab\r\n", copied("ab\x1A"
                                           "cd")));
    EXPECT_TRUE(sameBytes("", copied("\x1A"
                                     "everything\r\n")));
    // A CR right before the Ctrl-Z is a line end of its own.
    EXPECT_TRUE(sameBytes("a\r\n", copied("a\r\x1A\n")));
}

TEST(TextCopy, KeepsEveryOtherByteIncludingDoubleByteTextAndNul) {
    std::string all;
    for (int b = 0; b < 256; ++b)
        if (b != '\r' && b != '\n' && b != 0x1A)
            all += static_cast<char>(b);
    EXPECT_TRUE(sameBytes(all + "\r\n", copied(all)));
    // "出力" in CP932 with a trail byte of 0x5C and a lone lead byte before the line end.
    EXPECT_TRUE(sameBytes("\x8F\x6F\x97\xCD\x83\x5C\x81\r\n", copied("\x8F\x6F\x97\xCD\x83\x5C\x81\n")));
}

TEST(TextCopy, SameResultAtEveryBufferBoundary) {
    const std::string input = "line one\r\nsecond\nthird\r\r\n\nCR at end\r\x1A tail";
    const std::string expected = "line one\r\nsecond\r\nthird\r\n\r\n\r\nCR at end\r\n";
    for (std::size_t size = 1; size <= input.size() + 1; ++size)
        EXPECT_TRUE(sameBytes(expected, copied(input, size))) << "buffer of " << size << " bytes";
}

TEST(TextCopy, CrAtTheEndOfOneBufferAndLfAtTheStartOfTheNextAreOneLineEnd) {
    // 4-byte buffers: "abc\r" and "\ndef".
    EXPECT_TRUE(sameBytes("abc\r\ndef\r\n", copied("abc\r\ndef", 4)));
    // A lone CR at the end of a buffer followed by text.
    EXPECT_TRUE(sameBytes("abc\r\ndef\r\n", copied("abc\rdef", 4)));
    // A CR that ends the whole source.
    EXPECT_TRUE(sameBytes("abc\r\n", copied("abc\r", 4)));
}

TEST(TextCopy, LongLinesAndLargeSourcesPassWhole) {
    std::string input;
    std::string expected;
    for (int i = 0; i < 5000; ++i) {
        // Never empty: an empty line after a lone CR would join it into one CR LF.
        const std::string line(static_cast<std::size_t>(i % 97) * 13 + 1, static_cast<char>('a' + i % 26));
        input += line + (i % 3 == 0 ? "\n" : i % 3 == 1 ? "\r\n" : "\r");
        expected += line + "\r\n";
    }
    const std::string huge(3 << 20, 'h'); // one line longer than the copy buffer
    input += huge;
    expected += huge + "\r\n";
    EXPECT_TRUE(sameBytes(expected, copied(input)));
    EXPECT_TRUE(sameBytes(expected, copied(input, 4096)));
}

// The rule written the slow, obvious way, one byte at a time.
std::string copiedByTheRule(const std::string& input) {
    std::string out;
    bool lineOpen = false;
    for (std::size_t i = 0; i < input.size() && input[i] != '\x1A'; ++i) {
        const char c = input[i];
        if (c == '\r' || c == '\n') {
            out += "\r\n";
            lineOpen = false;
            if (c == '\r' && i + 1 < input.size() && input[i + 1] == '\n')
                ++i;
        } else {
            out += c;
            lineOpen = true;
        }
    }
    if (lineOpen)
        out += "\r\n";
    return out;
}

TEST(TextCopy, AgreesWithTheRuleOnRandomTextAtRandomBufferSizes) {
    // Mostly CR LF lines, as real files are, with every kind of odd line end and Ctrl-Z mixed in.
    unsigned state = 2024;
    auto next = [&state] {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    };
    const char* pieces[] = {"\r\n", "\r\n",   "\r\n",     "\r",       "\n",
                            "\n\r", "\r\r\n", "\r\n\r\n", "\x82\xA0", "x"};
    for (int round = 0; round < 300; ++round) {
        std::string input;
        const unsigned length = next() % 400;
        for (unsigned i = 0; i < length; ++i) {
            const unsigned k = next() % 40;
            input += k < 10 ? std::string(pieces[k]) : std::string(1, static_cast<char>('a' + k % 26));
        }
        if (round % 4 == 0 && !input.empty())
            input.insert(next() % input.size(), 1, '\x1A');
        const std::size_t bufferSize = 1 + next() % 70;
        EXPECT_TRUE(sameBytes(copiedByTheRule(input), copied(input, bufferSize)))
            << "round " << round << ", buffer of " << bufferSize << " bytes";
    }
}

TEST(TextCopy, DestinationFailurePassesOnAfterWhatFitted) {
    std::string input;
    for (int i = 0; i < 2000; ++i)
        input += "a line of some forty bytes of result..\n";
    StringSource source(input);
    FailingSink sink(10000);
    try {
        copyText(source, sink, 1024);
        FAIL() << "a failing destination must not look like a finished copy";
    } catch (const text::Failure& failure) {
        EXPECT_STREQ(failure.what(), "ディスクがいっぱいです");
    }
    EXPECT_LE(sink.written, 10000u);
}

#ifndef _WIN32
TEST(TextCopy, DescriptorSinkReportsAFullDevice) {
    const int fd = ::open("/dev/full", O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        GTEST_SKIP() << "no /dev/full here";
    StringSource source("result\n");
    DescriptorSink sink(fd);
    try {
        copyText(source, sink);
        ADD_FAILURE() << "writing to /dev/full succeeded";
    } catch (const text::Failure& failure) {
        EXPECT_STREQ(failure.what(), "ディスクがいっぱいです");
    }
    ::close(fd);
}
#endif

TEST(TextCopy, DescriptorsCopyAFileByTheSameRule) {
    testing::TempDir dir;
    const std::string from = dir.write("from.txt", "one\ntwo\r\nthree");
    const std::string to = dir.file("to.txt");
    const int in = text::openForReading(from);
    const int out = text::createOrEmpty(to);
    ASSERT_GE(in, 0);
    ASSERT_GE(out, 0);
    DescriptorSource source(in);
    DescriptorSink sink(out);
    copyText(source, sink);
    EXPECT_EQ(text::closeFile(in), 0);
    EXPECT_EQ(text::closeFile(out), 0);
    EXPECT_TRUE(sameBytes("one\r\ntwo\r\nthree\r\n", testing::readBytes(to)));
}

} // namespace
} // namespace zelkova::runner
