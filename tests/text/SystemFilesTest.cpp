// Shows the rules that differ by system, each on the system it belongs to: which characters end a
// folder part, what counts as an existing file (never a folder, never a device), when two names
// are the same file, and how an atomic write treats what it replaces; and, on Windows, that names
// reach the file system whole through the wide calls, whatever the ANSI code page.
#include "text/SystemFiles.h"
#include "text/Failure.h"
#include "text/Files.h"
#include "text/Paths.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#ifdef _WIN32
#include <windows.h>
#endif

namespace zelkova::text {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

std::size_t entriesIn(const TempDir& dir) {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir.path()), {}));
}

TEST(SystemPaths, FolderSeparators) {
    EXPECT_EQ(folderPart("data/run.FRT"), "data/");
#ifdef _WIN32
    EXPECT_EQ(folderPart("C:\\計算\\run.FRT"), "C:\\計算\\");
    EXPECT_EQ(fileNamePart("C:\\計算\\run.FRT"), "run.FRT");
    EXPECT_EQ(folderPart("C:/data\\sub/x.dat"), "C:/data\\sub/");
    EXPECT_EQ(folderPart("C:run.FRT"), "C:");
    EXPECT_EQ(fileNamePart("C:run.FRT"), "run.FRT");
    EXPECT_EQ(folderPart("\\\\server\\share\\x.dat"), "\\\\server\\share\\");
    // "\" is never the trail byte of a double-byte character here: names are UTF-8.
    EXPECT_EQ(fileNamePart("C:\\表示.txt"), "表示.txt");
#else
    EXPECT_FALSE(hasFolderPart("C:\\data\\run.FRT"));
    EXPECT_FALSE(hasFolderPart("C:run.FRT"));
    EXPECT_EQ(fileNamePart("/home/u/a\\b:c"), "a\\b:c");
#endif
}

TEST(SystemPaths, OnlyAFileExists) {
    TempDir dir;
    const std::string file = dir.write("入力 データ/荷重.DAT", "x");
    EXPECT_TRUE(existsAsFile(file));
    EXPECT_EQ(fileKind(file), FileKind::File);
    EXPECT_FALSE(existsAsFile(dir.file("入力 データ")));
    EXPECT_FALSE(existsAsFile(dir.file("入力 データ/")));
    EXPECT_EQ(fileKind(dir.file("入力 データ")), FileKind::Folder);
    EXPECT_FALSE(existsAsFile(dir.file("missing.DAT")));
    EXPECT_EQ(fileKind(dir.file("missing/x.DAT")), FileKind::Missing);
    EXPECT_FALSE(existsAsFile(file + std::string(1, '\0') + "x"));
#ifdef _WIN32
    for (const char* device : {"NUL", "CON", "COM1"})
        EXPECT_FALSE(existsAsFile(device)) << device;
    EXPECT_TRUE(existsAsFile(dir.file("入力 データ\\荷重.dat"))); // either separator, any letter case
#else
    EXPECT_FALSE(existsAsFile("/dev/null"));
    EXPECT_EQ(fileKind("/dev/null"), FileKind::Other);
#endif
}

TEST(SystemPaths, SameFileUnderAnotherFormOfItsName) {
    TempDir dir;
    const std::string file = dir.write("prog/OUT.DAT", "x");
    dir.write("prog/OTHER.DAT", "x");
    EXPECT_TRUE(sameFile(file, dir.file("prog/../prog/OUT.DAT")));
    EXPECT_FALSE(sameFile(file, dir.file("prog/OTHER.DAT")));
    EXPECT_FALSE(sameFile(file, dir.file("prog/NONE.DAT")));
#ifdef _WIN32
    EXPECT_TRUE(sameFile(file, dir.file("PROG\\out.dat")));
#else
    EXPECT_FALSE(sameFile(file, dir.file("PROG/out.dat")));
#endif
}

TEST(SystemAtomicWrite, JapaneseNamesAndNoTemporaryLeft) {
    TempDir dir;
    const std::string path = dir.file("計算 結果.txt");
    writeFileAtomically(path, "first\r\n");
    writeFileAtomically(path, "second\r\n");
    EXPECT_EQ(readFile(path), "second\r\n");
    EXPECT_EQ(entriesIn(dir), 1u);
    EXPECT_EQ(removeFile(path), 0);
    EXPECT_EQ(entriesIn(dir), 0u);
    EXPECT_NE(removeFile(path), 0);
}

#ifdef _WIN32
TEST(SystemAtomicWrite, KeepsAttributesAndRefusesAReadOnlyFile) {
    TempDir dir;
    const std::string hidden = dir.write("hidden.txt", "old");
    ASSERT_TRUE(SetFileAttributesW(wideName(hidden).c_str(), FILE_ATTRIBUTE_HIDDEN));
    writeFileAtomically(hidden, "new");
    EXPECT_EQ(readFile(hidden), "new");
    EXPECT_TRUE(GetFileAttributesW(wideName(hidden).c_str()) & FILE_ATTRIBUTE_HIDDEN);

    const std::string readOnly = dir.write("read-only.txt", "kept");
    ASSERT_TRUE(SetFileAttributesW(wideName(readOnly).c_str(), FILE_ATTRIBUTE_READONLY));
    try {
        writeFileAtomically(readOnly, "new");
        ADD_FAILURE() << "a read-only file was replaced";
    } catch (const Failure& failure) {
        EXPECT_STREQ(failure.what(), "ファイルへのアクセスが拒否されました");
    }
    EXPECT_EQ(readFile(readOnly), "kept");
    SetFileAttributesW(wideName(readOnly).c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(entriesIn(dir), 2u);
}

TEST(SystemAtomicWrite, ADeviceIsWrittenWhereItIsAndNeverRead) {
    FileReplacement device("NUL");
    EXPECT_EQ(device.method(), FileReplacement::Method::Device);
    device.write("x");
    device.commit();
    try {
        (void)openInputFile("NUL");
        ADD_FAILURE() << "NUL was opened as an input";
    } catch (const Failure& failure) {
        EXPECT_STREQ(failure.what(), "ファイルへのアクセスが拒否されました");
    }
    EXPECT_THROW((void)readFile("CON"), Failure);
    TempDir dir;
    EXPECT_THROW(writeFileAtomically(dir.file(""), "x"), Failure); // a folder
    try {
        writeFileAtomically(dir.file("out.txt") + std::string(1, '\0'), "x");
        ADD_FAILURE() << "a name holding a NUL byte was written";
    } catch (const Failure& failure) {
        EXPECT_STREQ(failure.what(), "不正なファイル名です");
    }
    EXPECT_EQ(entriesIn(dir), 0u);
}

TEST(SystemAtomicWrite, FileHeldByAnotherProgramKeepsItsContents) {
    TempDir dir;
    const std::string path = dir.write("held.txt", "kept");
    const HANDLE held = CreateFileW(wideName(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_THROW(writeFileAtomically(path, "new"), Failure);
    CloseHandle(held);
    EXPECT_EQ(readFile(path), "kept");
    EXPECT_EQ(entriesIn(dir), 1u);
}

TEST(SystemNames, NamesReachTheFileSystemAsUtf16) {
    // Korean cannot be written in code page 932, the ANSI code page here: only the wide calls
    // can name such a file.
    TempDir dir;
    for (const char* name : {"計算 結果.txt", "한국.txt"}) {
        const std::string path = dir.file(name);
        writeFileAtomically(path, "x");
        EXPECT_TRUE(existsAsFile(path)) << name;
        WIN32_FIND_DATAW found{};
        const HANDLE search = FindFirstFileW(wideName(path).c_str(), &found);
        ASSERT_NE(search, INVALID_HANDLE_VALUE) << name;
        FindClose(search);
        EXPECT_EQ(std::wstring(found.cFileName), wideName(name));
        const int fd = openForReading(path);
        EXPECT_GE(fd, 0) << name;
        EXPECT_EQ(closeFile(fd), 0);
    }
}

TEST(SystemNames, SystemErrorsBecomeTheGeneralErrorReportsTexts) {
    EXPECT_EQ(errorCodeFromErrno(errnoFromSystemError(ERROR_FILE_NOT_FOUND)), error::FileNotFound);
    EXPECT_EQ(errorCodeFromErrno(errnoFromSystemError(ERROR_PATH_NOT_FOUND)), error::PathNotFound);
    EXPECT_EQ(errorCodeFromErrno(errnoFromSystemError(ERROR_INVALID_NAME)), error::PathNotFound);
    EXPECT_EQ(errorCodeFromErrno(errnoFromSystemError(ERROR_TOO_MANY_OPEN_FILES)), error::TooManyOpenFiles);
    EXPECT_EQ(errorCodeFromErrno(errnoFromSystemError(ERROR_SHARING_VIOLATION)), error::AccessDenied);
    EXPECT_EQ(errorCodeFromErrno(errnoFromSystemError(ERROR_DISK_FULL)), error::DiskFull);
    TempDir dir;
    EXPECT_EQ(openForReading(dir.file("no such folder/x.dat")), -1);
    EXPECT_EQ(errorCodeFromErrno(errno), error::PathNotFound);
    EXPECT_EQ(createOrEmpty(dir.file("bad?name.dat")), -1);
    EXPECT_EQ(errorCodeFromErrno(errno), error::PathNotFound);
}
#endif

} // namespace
} // namespace zelkova::text
