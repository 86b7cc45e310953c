// Shows that unit and actual file names resolve by the folder separators of the system, and that
// an output's name is compared with the plot viewer's caption ignoring letter case in every script
// code page 932 writes and in nothing else; on Windows, exactly as the system compares file names.
#include "runner/Names.h"

#include "text/Cp932.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>

#ifdef _WIN32
#include <windows.h>
#endif

namespace zelkova::runner {
namespace {

TEST(Names, ANameWithoutFolderPartTakesTheFolder) {
    EXPECT_EQ(resolvedName("OUT.DAT", "/home/u/prog/"), "/home/u/prog/OUT.DAT");
    EXPECT_EQ(resolvedName("../OUT.DAT", "/home/u/prog/"), "../OUT.DAT");
    EXPECT_EQ(resolvedName("OUT.DAT", ""), "OUT.DAT");
#ifdef _WIN32
    // "\", "/" and ":" all end a folder part.
    EXPECT_EQ(resolvedName("OUT.DAT", "C:\\計算\\"), "C:\\計算\\OUT.DAT");
    EXPECT_EQ(resolvedName("sub\\OUT.DAT", "C:\\計算\\"), "sub\\OUT.DAT");
    EXPECT_EQ(resolvedName("D:OUT.DAT", "C:\\計算\\"), "D:OUT.DAT");
#else
    // On Linux they are ordinary characters of a name.
    EXPECT_EQ(resolvedName("sub\\OUT.DAT", "/prog/"), "/prog/sub\\OUT.DAT");
    EXPECT_EQ(resolvedName("D:OUT.DAT", "/prog/"), "/prog/D:OUT.DAT");
#endif
}

TEST(Names, CaseIsIgnoredInEveryScriptOfCodePage932AndNothingElse) {
    EXPECT_TRUE(equalIgnoringCase("C:\\DATA\\PLOT.TXT", "c:\\data\\plot.txt"));
    EXPECT_TRUE(equalIgnoringCase("ＰＬＯＴ結果", "ｐｌｏｔ結果"));
    EXPECT_TRUE(equalIgnoringCase("ΑΒΓΩ", "αβγω"));
    EXPECT_TRUE(equalIgnoringCase("ЁЖЯ", "ёжя"));
    EXPECT_TRUE(equalIgnoringCase("図Ⅳ.txt", "図ⅳ.TXT"));
    EXPECT_FALSE(equalIgnoringCase("plot", "ｐｌｏｔ")); // half and full width differ
    EXPECT_FALSE(equalIgnoringCase("ｶﾅ", "カナ"));
    EXPECT_FALSE(equalIgnoringCase("ア", "ァ")); // a small kana is no lower case
    EXPECT_FALSE(equalIgnoringCase("plot.txt", "plot.txt "));
}

#ifdef _WIN32
// Every character code page 932 writes (the placeholders of bytes outside it left out).
std::u16string cp932Characters() {
    std::string bytes;
    for (int b = 0x20; b < 0x7F; ++b)
        bytes += static_cast<char>(b);
    for (int b = 0xA1; b <= 0xDF; ++b)
        bytes += static_cast<char>(b);
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (lead >= 0xA0 && lead <= 0xDF)
            continue;
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            if (trail == 0x7F)
                continue;
            bytes += static_cast<char>(lead);
            bytes += static_cast<char>(trail);
        }
    }
    std::u16string characters;
    for (const char16_t c : text::decodeCp932(bytes))
        if (c < text::kRawBytePlaceholderBase || c > text::kRawBytePlaceholderBase + 0xFF)
            characters += c;
    return characters;
}

TEST(Names, CaseIsIgnoredExactlyAsWindowsComparesFileNames) {
    // The letters: every character that Windows or our comparison turns into another one.
    std::u16string letters;
    for (const char16_t c : cp932Characters()) {
        const auto upper =
            reinterpret_cast<std::uintptr_t>(CharUpperW(reinterpret_cast<LPWSTR>(std::uintptr_t{c})));
        const auto lower =
            reinterpret_cast<std::uintptr_t>(CharLowerW(reinterpret_cast<LPWSTR>(std::uintptr_t{c})));
        if ((upper != c || lower != c || foldedCase(c) != c) && letters.find(c) == std::u16string::npos)
            letters += c; // (some characters have two codes)
    }
    EXPECT_GE(letters.size(), 2u * (26 + 26 + 24 + 33));
    // Every other character equals only itself, for Windows as for us; each pair of letters is
    // equal for both or for neither.
    std::string differences;
    for (const char16_t a : letters) {
        for (const char16_t b : letters) {
            const wchar_t wa = a;
            const wchar_t wb = b;
            const bool windows = CompareStringOrdinal(&wa, 1, &wb, 1, TRUE) == CSTR_EQUAL;
            if (windows != (foldedCase(a) == foldedCase(b))) {
                char pair[32];
                std::snprintf(pair, sizeof pair, " U+%04X/U+%04X", unsigned{a}, unsigned{b});
                differences += pair;
            }
        }
    }
    EXPECT_EQ(differences, "");
}
#endif

} // namespace
} // namespace zelkova::runner
