// Shows that the field readers of plot files take numbers across line ends, integers, characters
// of a line, the rest of a line, token lists, every line end, Ctrl-Z and the file's end as the
// format has them, and refuse what is not a number.
#include "plot/Lexer.h"

#include "text/Failure.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <string_view>
#include <vector>

using zelkova::plot::Lexer;
using zelkova::plot::parseNumberToken;
using zelkova::plot::splitTokens;
using zelkova::plot::trimmed;

namespace {

constexpr const char* kNotANumber = "入力値が数値ではありません";

std::string failureOf(auto&& action) {
    try {
        action();
    } catch (const zelkova::text::Failure& failure) {
        return failure.what();
    }
    return "(no failure)";
}

TEST(NumberTokens, AcceptTheDecimalSyntaxWithEitherExponentLetter) {
    EXPECT_EQ(parseNumberToken("10"), 10.0);
    EXPECT_EQ(parseNumberToken("-2.5"), -2.5);
    EXPECT_EQ(parseNumberToken("+3"), 3.0);
    EXPECT_EQ(parseNumberToken(".5"), 0.5);
    EXPECT_EQ(parseNumberToken("7."), 7.0);
    EXPECT_EQ(parseNumberToken("1E3"), 1000.0);
    EXPECT_EQ(parseNumberToken("1.5e-005"), 1.5e-5);
    EXPECT_EQ(parseNumberToken("-3.2783543701953e-005"), -3.2783543701953e-005);
    EXPECT_EQ(parseNumberToken("2E+2"), 200.0);
    EXPECT_EQ(parseNumberToken("1e-400"), 0.0); // too small to hold is zero
}

TEST(NumberTokens, RefuseEverythingElse) {
    for (const char* bad : {"", "-", "+", ".", "1e", "1e+", "e5", "1.2.3", "1,5", "0x10", "$10", "inf", "nan",
                            "1e400", "--1", "1 2", "12a", "ABC"})
        EXPECT_FALSE(parseNumberToken(bad).has_value()) << bad;
}

TEST(TokenLists, AreTrimmedAndSplitAtRunsOfBlanks) {
    const auto tokens = splitTokens("\t  5   90 0 1  0 \r");
    ASSERT_EQ(tokens.size(), 5u);
    EXPECT_EQ(tokens[0], "5");
    EXPECT_EQ(tokens[1], "90");
    EXPECT_EQ(tokens[4], "0");
    // Only blanks separate: a tab inside the list stays in its token.
    const auto tabbed = splitTokens(" 5\t90 0 ");
    ASSERT_EQ(tabbed.size(), 2u);
    EXPECT_EQ(tabbed[0], "5\t90");
    EXPECT_TRUE(splitTokens("   ").empty());
    EXPECT_EQ(trimmed("  \x01 a b \t"), "a b");
}

TEST(NumberFields, SkipBlanksControlsAndLineEndsAndContinueOnLaterLines) {
    Lexer in(std::string(" 10\t20\r\n\r\n30\n\r40 50"));
    EXPECT_EQ(in.number(), 10);
    EXPECT_EQ(in.number(), 20);
    EXPECT_EQ(in.number(), 30);
    EXPECT_EQ(in.number(), 40);
    EXPECT_EQ(in.number(), 50);
    EXPECT_TRUE(in.atEnd());
    EXPECT_EQ(in.number(), 0); // the end of the file yields 0
    EXPECT_EQ(in.integer(), 0);
}

TEST(NumberFields, StopAtTheTokenEndAndLeaveTheRestOfTheLine) {
    Lexer in(std::string("12 rest of line\r\nnext"));
    EXPECT_EQ(in.number(), 12);
    EXPECT_EQ(in.restOfLine(), " rest of line");
    in.skipLine();
    EXPECT_EQ(in.characters(2), "ne");
}

TEST(NumberFields, FailOnTokensThatAreNotNumbersAndOnOverlongTokens) {
    Lexer word(std::string("abc"));
    EXPECT_EQ(failureOf([&] { word.number(); }), kNotANumber);
    Lexer longToken(std::string(65, '1'));
    EXPECT_EQ(failureOf([&] { longToken.number(); }), kNotANumber);
    Lexer longest(std::string(64, '1'));
    EXPECT_NO_THROW(longest.number());
}

TEST(IntegerFields, TakeSignedDecimalIntegersOfThirtyTwoBitsOnly) {
    Lexer in(std::string("-2147483648 2147483647 +7 007"));
    EXPECT_EQ(in.integer(), INT32_MIN);
    EXPECT_EQ(in.integer(), INT32_MAX);
    EXPECT_EQ(in.integer(), 7);
    EXPECT_EQ(in.integer(), 7);
    for (const char* bad : {"1.5", "1e3", "2147483648", "-2147483649", "-", "x1", "99999999999999999999"}) {
        Lexer b{std::string(bad)};
        EXPECT_EQ(failureOf([&] { b.integer(); }), kNotANumber) << bad;
    }
    Lexer tooLong(std::string(33, '0'));
    EXPECT_EQ(failureOf([&] { tooLong.integer(); }), kNotANumber);
}

TEST(LineReading, CharactersAndRestOfLineStopBeforeEveryKindOfLineEnd) {
    for (const std::string end : {"\r\n", "\r", "\n"}) {
        Lexer in("abc" + end + "de");
        EXPECT_EQ(in.characters(2), "ab");
        EXPECT_EQ(in.characters(5), "c");
        EXPECT_EQ(in.characters(1), "");
        EXPECT_EQ(in.restOfLine(), "");
        in.skipLine();
        EXPECT_EQ(in.restOfLine(), "de");
        in.skipLine();
        EXPECT_TRUE(in.atEnd());
    }
}

TEST(LineReading, SkipLineTakesCrLfAsOneLineEndButLfCrAsTwo) {
    Lexer crlf(std::string("a\r\nb"));
    crlf.skipLine();
    EXPECT_EQ(crlf.restOfLine(), "b");
    Lexer lfcr(std::string("a\n\rb"));
    lfcr.skipLine();
    EXPECT_EQ(lfcr.restOfLine(), "");
    lfcr.skipLine();
    EXPECT_EQ(lfcr.restOfLine(), "b");
}

TEST(EndOfFile, CtrlZEndsTheFileForGood) {
    Lexer in(std::string("12\x1A 34\r\n"));
    EXPECT_EQ(in.number(), 12);
    EXPECT_TRUE(in.atEnd());
    EXPECT_EQ(in.number(), 0);
    EXPECT_EQ(in.restOfLine(), "");
    in.skipLine();
    EXPECT_TRUE(in.atEnd());
}

TEST(EndOfFile, ReadersAtTheEndNeitherFailNorMove) {
    Lexer in{std::string()};
    EXPECT_TRUE(in.atEnd());
    EXPECT_EQ(in.characters(2), "");
    EXPECT_EQ(in.restOfLine(), "");
    in.skipLine();
    in.advance();
    EXPECT_EQ(in.peek(), -1);
}

TEST(FileInput, ReadsThroughBufferRefillsAcrossTokensAndLineEnds) {
    // A tiny buffer puts every refill inside a token or between CR and LF.
    std::FILE* file = std::tmpfile();
    ASSERT_NE(file, nullptr);
    const std::string bytes = " 123.25 -4e1\r\nline two\r\n\x1Aignored";
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::rewind(file);
    Lexer in(file, 3);
    EXPECT_EQ(in.characters(1), " ");
    EXPECT_EQ(in.number(), 123.25);
    EXPECT_EQ(in.number(), -40);
    in.skipLine();
    EXPECT_EQ(in.restOfLine(), "line two");
    in.skipLine();
    EXPECT_TRUE(in.atEnd());
    EXPECT_NO_THROW(in.close());
    EXPECT_NO_THROW(in.close());
    EXPECT_TRUE(in.atEnd());
}

// Random tokens of every shape a number field meets (signs, points, runs of digits of every
// length, exponents, junk), read as number fields from memory and through small buffers, must give
// the full conversion's value, the same failure and leave the reader at the same place.
std::vector<std::string> randomTokens(std::size_t count) {
    std::mt19937 random(18);
    const auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    const auto digits = [&](int n) {
        std::string d;
        for (int i = 0; i < n; ++i)
            d += static_cast<char>('0' + pick(10));
        return d;
    };
    std::vector<std::string> tokens;
    while (tokens.size() < count) {
        std::string t;
        if (pick(4) == 0)
            t += pick(2) ? '-' : '+';
        t += digits(pick(3) == 0 ? pick(25) : pick(9));
        if (pick(2))
            t += '.' + digits(pick(3) == 0 ? pick(25) : pick(9));
        if (pick(8) == 0)
            t += std::string(pick(2) ? "E" : "e") + (pick(2) ? "-" : "") + digits(1 + pick(3));
        if (pick(30) == 0)
            t.insert(static_cast<std::size_t>(pick(static_cast<int>(t.size()) + 1)), 1, "x.-+E"[pick(5)]);
        if (pick(40) == 0)
            t = std::string(60 + pick(10), '1');
        if (!t.empty())
            tokens.push_back(t);
    }
    return tokens;
}

TEST(NumberFields, ReadEveryTokenExactlyAsTheFullConversionWhereverTheBlocksEnd) {
    const std::vector<std::string> tokens = randomTokens(4000);
    std::string text;
    for (std::size_t i = 0; i < tokens.size(); ++i)
        text += tokens[i] + (i % 3 == 0 ? "\r\n" : i % 3 == 1 ? " " : "\t");
    for (const std::size_t buffer : {std::size_t{0}, std::size_t{5}, std::size_t{13}, std::size_t{4096}}) {
        std::FILE* file = nullptr;
        if (buffer > 0) {
            file = std::tmpfile();
            ASSERT_NE(file, nullptr);
            std::fwrite(text.data(), 1, text.size(), file);
            std::rewind(file);
        }
        Lexer in = buffer > 0 ? Lexer(file, buffer) : Lexer(text);
        for (const std::string& token : tokens) {
            if (token.size() > 64) { // refused after 64 bytes; the rest is the next token
                EXPECT_EQ(failureOf([&] { in.number(); }), kNotANumber) << token;
                std::string_view rest(token);
                rest.remove_prefix(64);
                if (const auto value = parseNumberToken(rest))
                    EXPECT_EQ(in.number(), *value) << token;
                else
                    EXPECT_EQ(failureOf([&] { in.number(); }), kNotANumber) << token;
                continue;
            }
            const auto expected = parseNumberToken(token);
            if (!expected) {
                EXPECT_EQ(failureOf([&] { in.number(); }), kNotANumber) << token << " buffer " << buffer;
                continue;
            }
            const double value = in.number();
            EXPECT_EQ(value, *expected) << token << " buffer " << buffer;
            EXPECT_EQ(std::signbit(value), std::signbit(*expected)) << token;
        }
        EXPECT_EQ(in.number(), 0);
        EXPECT_TRUE(in.atEnd());
    }
}

} // namespace
