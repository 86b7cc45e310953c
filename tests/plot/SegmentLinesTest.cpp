// Shows that line segment lines read a batch at a time, in one pass where they stand in the block
// read, give what reading them one by one gives: the same values (the sign of a zero included),
// the same failures, and the reader left at the same place, whatever the numbers look like, however
// the lines end and wherever the blocks end.
#include "plot/Lexer.h"
#include "plot/Reader.h"
#include "text/Failure.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace zelkova::plot {
namespace {

using Values = std::array<double, 4>;

std::string failureOf(auto&& action) {
    try {
        action();
    } catch (const text::Failure& failure) {
        return failure.what();
    }
    return "";
}

// A number of one of the shapes a field meets: mostly short ones, also long, exponent, signed
// zero and malformed ones.
std::string randomNumber(std::mt19937& random) {
    const auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    const auto digits = [&](int n) {
        std::string d;
        for (int i = 0; i < n; ++i)
            d += static_cast<char>('0' + pick(10));
        return d;
    };
    std::string t;
    switch (pick(12)) {
    case 0:
        t = std::string(pick(2) ? "-" : "+") + (pick(2) ? "0" : "0.000");
        break;
    case 1: // 15 to 17 significant digits, as real files write them
        t = digits(1 + pick(6)) + "." + digits(9 + pick(4));
        break;
    case 2:
        t = digits(1 + pick(3)) + "E" + (pick(2) ? "-" : "") + digits(1 + pick(2));
        break;
    case 3: {
        static const char* const kOdd[] = {".",   "-",  "+",  "-.",   "1.2.3", "1x",
                                           "--1", ".5", "5.", "0x10", "1e",    "E5"};
        t = kOdd[pick(12)];
        break;
    }
    default:
        if (pick(4) == 0)
            t += pick(2) ? '-' : '+';
        t += digits(pick(9));
        if (pick(4) != 0)
            t += '.' + digits(pick(10));
        if (t.empty() || t == "." || t == "-" || t == "+")
            t += '7';
    }
    return t;
}

// Lines of four numbers after a blank, with every kind of separator and line end, lines that
// continue on the next line, trailing text and other records.
std::string randomLines(std::mt19937& random, int lines) {
    const auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    static const char* const kEnds[] = {"\r\n", "\r\n", "\r\n", "\n", "\r", "\n\r"};
    static const char* const kGaps[] = {" ", " ", " ", " ", "  ", "\t", " \t "};
    std::string text;
    for (int i = 0; i < lines; ++i) {
        if (pick(40) == 0) {
            text += pick(2) ? "lc3\r\n" : "# note\r\n";
            continue;
        }
        text += pick(30) == 0 ? "  " : " ";
        for (int k = 0; k < 4; ++k) {
            if (k > 0)
                text += pick(50) == 0 ? kEnds[pick(6)] : kGaps[pick(7)];
            text += randomNumber(random);
        }
        if (pick(20) == 0)
            text += pick(2) ? "   " : " rest of line";
        text += kEnds[pick(6)];
    }
    return text;
}

// Reads everything with `batch` segments at most a call, then whatever record comes between, and
// describes what it read, failures and the records between included.
std::vector<std::string> readInBatches(Lexer lexer, std::size_t batch) {
    Reader reader(std::move(lexer));
    std::vector<std::string> seen;
    std::vector<Values> out(batch);
    char text[160];
    for (int guard = 0; guard < 100000; ++guard) {
        std::size_t count = 0;
        const std::string failure = failureOf([&] { count = reader.nextSegments(out); });
        if (!failure.empty()) {
            seen.push_back("failure " + failure);
            continue; // the reader stays at the bad field; the next record starts there
        }
        for (std::size_t i = 0; i < count; ++i) {
            const Values& v = out[i];
            std::snprintf(text, sizeof text, "segment %a %a %a %a", v[0], v[1], v[2], v[3]);
            seen.push_back(text);
        }
        if (count > 0)
            continue;
        std::optional<Record> record;
        const std::string other = failureOf([&] { record = reader.next(); });
        if (!other.empty()) {
            seen.push_back("failure " + other);
            continue;
        }
        if (!record)
            return seen;
        seen.push_back("record " + std::to_string(record->index()));
    }
    ADD_FAILURE() << "the reader does not come to an end";
    return seen;
}

// The same with nextSegment(), one segment a call.
std::vector<std::string> readOneByOne(Lexer lexer) {
    Reader reader(std::move(lexer));
    std::vector<std::string> seen;
    char text[160];
    for (int guard = 0; guard < 100000; ++guard) {
        SegmentRecord s;
        bool read = false;
        const std::string failure = failureOf([&] { read = reader.nextSegment(s); });
        if (!failure.empty()) {
            seen.push_back("failure " + failure);
            continue;
        }
        if (read) {
            std::snprintf(text, sizeof text, "segment %a %a %a %a", s.from.x, s.from.y, s.to.x, s.to.y);
            seen.push_back(text);
            continue;
        }
        std::optional<Record> record;
        const std::string other = failureOf([&] { record = reader.next(); });
        if (!other.empty()) {
            seen.push_back("failure " + other);
            continue;
        }
        if (!record)
            return seen;
        seen.push_back("record " + std::to_string(record->index()));
    }
    ADD_FAILURE() << "the reader does not come to an end";
    return seen;
}

Lexer fileLexer(const std::string& text, std::size_t buffer) {
    std::FILE* file = std::tmpfile();
    EXPECT_NE(file, nullptr);
    std::fwrite(text.data(), 1, text.size(), file);
    std::rewind(file);
    return Lexer(file, buffer);
}

TEST(SegmentLines, ReadInBatchesGiveWhatReadingOneByOneGivesWhereverTheBlocksEnd) {
    std::mt19937 random(18);
    for (int round = 0; round < 6; ++round) {
        std::string text = randomLines(random, 1500);
        if (round % 2 == 1) // a Ctrl-Z ends the file, anywhere in the last lines
            text.insert(text.size() - random() % 200, 1, '\x1A');
        const std::vector<std::string> expected = readOneByOne(Lexer(text));
        ASSERT_GT(expected.size(), 1000u);
        EXPECT_EQ(readInBatches(Lexer(text), 256), expected) << "memory, round " << round;
        EXPECT_EQ(readInBatches(Lexer(text), 3), expected) << "memory, batches of 3, round " << round;
        for (const std::size_t buffer : {std::size_t{7}, std::size_t{31}, std::size_t{64}, std::size_t{4096}})
            EXPECT_EQ(readInBatches(fileLexer(text, buffer), 100), expected)
                << "buffer " << buffer << ", round " << round;
    }
}

TEST(SegmentLines, TakeTheUsualFormsInOnePassAndLeaveTheRestToTheFields) {
    Lexer lexer(std::string(" 1 -2.5 +.5 7.\r\n -0 0.000001 1234567 -.25\n"
                            " 123456789012345 0.12345678901234 1 2\r\n"
                            " 1 2 3 4e1\r\n"));
    std::vector<Values> out(8);
    ASSERT_EQ(lexer.shortNumberLines(out), 3u);
    EXPECT_EQ(out[0], (Values{1, -2.5, 0.5, 7}));
    EXPECT_EQ(out[1], (Values{-0.0, 0.000001, 1234567, -0.25}));
    EXPECT_TRUE(std::signbit(out[1][0]));
    EXPECT_EQ(out[2], (Values{123456789012345, 0.12345678901234, 1, 2}));
    // An exponent is read by the number fields: the one pass stops before its line.
    EXPECT_EQ(lexer.shortNumberLines(out), 0u);
    EXPECT_EQ(lexer.restOfLine(), " 1 2 3 4e1");
}

TEST(SegmentLines, ALineEndingAtTheEndOfABlockIsLeftToTheFields) {
    // With a block of 17 bytes the CR of the first line is its last byte: its LF may follow in
    // the next block, so the line is read by the fields, which see CR LF as one line end.
    Lexer lexer = fileLexer(" 1.5 2.5 3.5 4.5\r\n 5 6 7 8\r\n", 17);
    std::vector<Values> out(4);
    EXPECT_EQ(lexer.shortNumberLines(out), 0u); // nothing read yet
    lexer.peek();                               // the first block is in
    EXPECT_EQ(lexer.shortNumberLines(out), 0u);
    lexer.advance();
    EXPECT_EQ(lexer.number(), 1.5);
    lexer.number();
    lexer.number();
    EXPECT_EQ(lexer.number(), 4.5);
    lexer.skipLine();
    EXPECT_EQ(lexer.characters(2), " 5");
}

} // namespace
} // namespace zelkova::plot
