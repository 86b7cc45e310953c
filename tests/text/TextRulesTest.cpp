// Shows the DBCS-safe cuts, the path parts, file existence, strict number conversion with its
// messages, the error texts and the atomic write.
#include "text/Dbcs.h"
#include "text/Failure.h"
#include "text/Files.h"
#include "text/Numbers.h"
#include "text/Paths.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cerrno>
#include <cmath>
#include <filesystem>
#include <string>

using namespace zelkova::text;

TEST(DbcsCuts, PieceEndsPastTheTrailByteOfADoubleByteCharacterAtTheCut) {
    const std::string s = std::string(139, 'a') + "\x82\xA0" + "b";
    EXPECT_EQ(pieceLength(s, 140), 141u);
    EXPECT_EQ(pieceLength(std::string(300, 'x'), 140), 140u);
    EXPECT_EQ(pieceLength("abc", 140), 3u);
    EXPECT_EQ(pieceLength("", 5), 0u);
}

TEST(DbcsCuts, TrailByteInTheLeadRangeIsNotTakenForALeadByte) {
    // "ア" is 83 41, "‐" 81 5D; here the trail byte 0x89 of 8E 89 lies in the lead range.
    const std::string s = "\x8E\x89"
                          "abc";
    EXPECT_EQ(pieceLength(s, 2), 2u); // the byte test alone would take 0x89 for a lead byte: 3
    EXPECT_EQ(pieceLength(s, 1), 2u);
}

TEST(DbcsCuts, PrefixWithinNeverCutsACharacter) {
    const std::string s = "ab\x82\xA0";
    EXPECT_EQ(prefixWithin(s, 3), 2u);
    EXPECT_EQ(prefixWithin(s, 4), 4u);
    EXPECT_EQ(prefixWithin("ab\x82", 3), 3u); // a lone lead byte at the end stands alone
}

TEST(PathParts, FolderAndFileNameParts) {
    EXPECT_EQ(folderPart("/home/u/run.FRT"), "/home/u/");
    EXPECT_EQ(fileNamePart("/home/u/run.FRT"), "run.FRT");
    EXPECT_EQ(folderPart("run.FRT"), "");
    EXPECT_EQ(fileNamePart("run.FRT"), "run.FRT");
    EXPECT_EQ(folderPart("/"), "/");
    EXPECT_TRUE(hasFolderPart("a/b"));
    EXPECT_FALSE(hasFolderPart("新規ファイル.txt"));
}

TEST(PathParts, FolderNeverCountsAsAnExistingFile) {
    zelkova::testing::TempDir dir;
    const std::string file = dir.write("入力 データ.DAT", "x");
    EXPECT_TRUE(existsAsFile(file));
    EXPECT_FALSE(existsAsFile(dir.path().string()));
    EXPECT_FALSE(existsAsFile(dir.file("missing")));
    EXPECT_FALSE(existsAsFile(""));
}

TEST(StrictNumbers, IntegersAcceptOnlyAWholeInteger) {
    EXPECT_EQ(parseInteger("140"), 140);
    EXPECT_EQ(parseInteger("  -777"), -777);
    EXPECT_EQ(parseInteger("+5"), 5);
    EXPECT_EQ(parseInteger("$FF"), 255);
    EXPECT_EQ(parseInteger("2147483647"), 2147483647);
    for (const char* bad : {"", " ", "12 ", "1.0", "abc", "1e3", "2147483648", "-", "$", "1,000"})
        EXPECT_FALSE(parseInteger(bad).has_value()) << bad;
}

// A sign before hexadecimal digits negates their 32 bits, which for $80000000 is itself: no
// overflow on the way (the sanitizer build would stop here).
TEST(StrictNumbers, ASignedHexadecimalIntegerNegatesItsThirtyTwoBits) {
    EXPECT_EQ(parseInteger("-$80000000"), INT32_MIN);
    EXPECT_EQ(parseInteger("$80000000"), INT32_MIN);
    EXPECT_EQ(parseInteger("-$7FFFFFFF"), -INT32_MAX);
    EXPECT_EQ(parseInteger("-$FFFFFFFF"), 1);
    EXPECT_EQ(parseInteger("-0x1"), -1);
    EXPECT_EQ(parseInteger("-2147483648"), INT32_MIN);
    EXPECT_FALSE(parseInteger("-$100000000").has_value());
}

TEST(StrictNumbers, RealsAcceptSignFractionAndEitherExponentLetter) {
    EXPECT_DOUBLE_EQ(*parseReal("1"), 1.0);
    EXPECT_DOUBLE_EQ(*parseReal(" -2.5 "), -2.5);
    EXPECT_DOUBLE_EQ(*parseReal("1.5e-005"), 1.5e-5);
    EXPECT_DOUBLE_EQ(*parseReal("1E3"), 1000.0);
    EXPECT_DOUBLE_EQ(*parseReal(".5"), 0.5);
    for (const char* bad : {"", "abc", "1e", "--1", "1.2.3", "0x10", "nan", "inf", "1 2"})
        EXPECT_FALSE(parseReal(bad).has_value()) << bad;
}

TEST(StrictNumbers, ValuesBeyondADoubleUnderflowToZeroAndOverflowToNoNumber) {
    EXPECT_EQ(*parseDecimal("1e-400"), 0.0);
    EXPECT_TRUE(std::signbit(*parseDecimal("-1e-400")));
    EXPECT_FALSE(parseDecimal("1e400").has_value());
    EXPECT_FALSE(parseDecimal("-1e400").has_value());
    // The order of magnitude counts the digits, not only the exponent's sign.
    EXPECT_EQ(*parseDecimal("0." + std::string(450, '0') + "1e+100"), 0.0);
    EXPECT_FALSE(parseDecimal("1" + std::string(400, '0') + "e-10").has_value());
    EXPECT_DOUBLE_EQ(*parseDecimal("1" + std::string(400, '0') + "e-300"), 1e100);
    EXPECT_DOUBLE_EQ(*parseDecimal("+7."), 7.0);
    EXPECT_FALSE(parseDecimal(" 1").has_value()); // blanks belong to the callers that allow them
}

TEST(StrictNumbers, ConversionErrorsCarryTheText) {
    try {
        (void)toInteger("abc");
        FAIL();
    } catch (const Failure& f) {
        EXPECT_STREQ(f.what(), "'abc' は整数ではありません");
    }
    try {
        (void)toReal("1,5");
        FAIL();
    } catch (const Failure& f) {
        EXPECT_STREQ(f.what(), "'1,5' は浮動小数点数ではありません");
    }
}

TEST(ErrorTexts, NumberedTextsAndErrnoMapping) {
    EXPECT_EQ(ioErrorText(2), "ファイルが見つかりません");
    EXPECT_EQ(ioErrorText(3), "不正なファイル名です");
    EXPECT_EQ(ioErrorText(4), "オープンしたファイルが多すぎます");
    EXPECT_EQ(ioErrorText(5), "ファイルへのアクセスが拒否されました");
    EXPECT_EQ(ioErrorText(100), "ファイルの末尾以降を読み込みました");
    EXPECT_EQ(ioErrorText(101), "ディスクがいっぱいです");
    EXPECT_EQ(ioErrorText(106), "入力値が数値ではありません");
    EXPECT_EQ(ioErrorText(32), "I/O エラー (32)");
    EXPECT_EQ(errorCodeFromErrno(ENOENT), 2);
    EXPECT_EQ(errorCodeFromErrno(ENOTDIR), 3);
    EXPECT_EQ(errorCodeFromErrno(EMFILE), 4);
    EXPECT_EQ(errorCodeFromErrno(EACCES), 5);
    EXPECT_EQ(errorCodeFromErrno(EISDIR), 5);
    EXPECT_EQ(errorCodeFromErrno(ENOSPC), 101);
    EXPECT_EQ(cannotCreateText("a.txt"), "ファイル a.txt を作成できません");
    EXPECT_EQ(cannotOpenText("a.txt"), "ファイル a.txt は開けません");
}

TEST(AtomicWrite, ReplacesTheFileAndKeepsItsPermissions) {
    zelkova::testing::TempDir dir;
    const std::string path = dir.write("doc.txt", "old");
#ifndef _WIN32 // Windows' attributes: SystemFilesTest
    ::chmod(path.c_str(), 0640);
#endif
    writeFileAtomically(path, "new\r\n");
    EXPECT_EQ(readFile(path), "new\r\n");
#ifndef _WIN32
    struct stat st {};
    ::stat(path.c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
#endif
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1); // no temporary left
}

TEST(AtomicWrite, FailureAtTheLastStepLeavesTheOldContentsAndNoTemporary) {
    zelkova::testing::TempDir dir;
    // A folder in the target's place: the bytes are written, the final rename fails.
    dir.write("target/keep.txt", "old contents");
    EXPECT_THROW(writeFileAtomically(dir.file("target"), "new"), Failure);
    EXPECT_EQ(readFile(dir.file("target/keep.txt")), "old contents");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST(AtomicWrite, WriteIntoAMissingFolderFailsWithPathError) {
    zelkova::testing::TempDir dir;
    EXPECT_THROW(writeFileAtomically(dir.file("no/such/doc.txt"), "x"), Failure);
    EXPECT_THROW((void)readFile(dir.file("missing.txt")), Failure);
    EXPECT_THROW((void)readFile(dir.path().string()), Failure);
}
