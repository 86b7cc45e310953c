// Shows that the one writer of output files never damages what is there: devices and FIFOs are
// written where they are, links are followed and stay links, hard links stay joined, a file the
// user may not write is refused, a file in a folder that takes no new file is still saved, mode,
// owner and group are kept, names of any length work, a full disk or a signal leaves the old file
// whole and no temporary file behind; and that readers take regular files only, never block on a
// FIFO and never grow one line without end.
#include "text/Failure.h"
#include "text/Files.h"
#include "text/Lines.h"

#include "FileSizeLimit.h"
#include "OrdinaryUser.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>

namespace zelkova::text {
namespace {

namespace fs = std::filesystem;
using testing::FileSizeLimit;
using testing::OrdinaryUser;
using testing::readBytes;
using testing::TempDir;

std::size_t entriesIn(const fs::path& folder) {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

struct stat statusOf(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(::lstat(path.c_str(), &st), 0) << path;
    return st;
}

std::string failureOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const Failure& failure) {
        return failure.what();
    }
    return "no failure";
}

const std::string kAccessDenied = "ファイルへのアクセスが拒否されました";
const std::string kDiskFull = "ディスクがいっぱいです";

TEST(FileWriting, AFifoIsWrittenWhereItIsAndOneThatNothingReadsIsRefused) {
    TempDir dir;
    const std::string fifo = dir.file("out.fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);

    // Nothing reads it: refused at once instead of waiting for a reader.
    EXPECT_EQ(failureOf([&] { writeFileAtomically(fifo, "lost"); }), kAccessDenied);
    EXPECT_TRUE(S_ISFIFO(statusOf(fifo).st_mode));

    const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    {
        FileReplacement file(fifo);
        EXPECT_EQ(file.method(), FileReplacement::Method::Device);
        file.write("through the pipe\r\n");
        file.commit();
    }
    char buffer[64] = {};
    EXPECT_EQ(::read(reader, buffer, sizeof buffer), 18);
    EXPECT_STREQ(buffer, "through the pipe\r\n");
    ::close(reader);
    EXPECT_TRUE(S_ISFIFO(statusOf(fifo).st_mode));
    EXPECT_EQ(entriesIn(dir.path()), 1u);

    // A reader that goes away fails the write; it does not end the program with SIGPIPE.
    const int leaving = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(leaving, 0);
    FileReplacement file(fifo);
    ::close(leaving);
    EXPECT_EQ(failureOf([&] { file.write("nobody listens"); }), "I/O エラー (32)");
}

TEST(FileWriting, ADeviceBehindALinkIsWrittenWhereItIsAndTheLinkStays) {
    TempDir dir;
    const std::string null = dir.file("null");
    const std::string full = dir.file("full");
    fs::create_symlink("/dev/null", null);
    fs::create_symlink("/dev/full", full);

    writeFileAtomically(null, "gone\r\n");
    EXPECT_TRUE(S_ISLNK(statusOf(null).st_mode));
    EXPECT_TRUE(S_ISCHR(statusOf("/dev/null").st_mode));

    EXPECT_EQ(failureOf([&] { writeFileAtomically(full, "no room\r\n"); }), kDiskFull);
    EXPECT_TRUE(S_ISLNK(statusOf(full).st_mode));

    // As /dev/stdout leads to a pipe through links that name no file.
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    const std::string out = dir.file("stdout");
    fs::create_symlink("/proc/self/fd/" + std::to_string(ends[1]), out);
    writeFileAtomically(out, "piped\r\n");
    char buffer[16] = {};
    EXPECT_EQ(::read(ends[0], buffer, sizeof buffer), 7);
    EXPECT_STREQ(buffer, "piped\r\n");
    ::close(ends[0]);
    ::close(ends[1]);
    EXPECT_EQ(entriesIn(dir.path()), 3u);
}

TEST(FileWriting, LinksAreFollowedToTheFileTheyNameAndStayLinks) {
    TempDir dir;
    const std::string real = dir.write("store/real.txt", "old");
    fs::create_symlink("store/real.txt", dir.file("relative"));
    fs::create_symlink(dir.file("relative"), dir.file("chain"));
    fs::create_symlink("store/new.txt", dir.file("dangling"));

    writeFileAtomically(dir.file("chain"), "new\r\n");
    EXPECT_EQ(readBytes(real), "new\r\n");
    EXPECT_TRUE(S_ISLNK(statusOf(dir.file("relative")).st_mode));
    EXPECT_TRUE(S_ISLNK(statusOf(dir.file("chain")).st_mode));

    // A link to a file not yet there makes that file.
    writeFileAtomically(dir.file("dangling"), "made\r\n");
    EXPECT_EQ(readBytes(dir.file("store/new.txt")), "made\r\n");
    EXPECT_TRUE(S_ISLNK(statusOf(dir.file("dangling")).st_mode));
    EXPECT_EQ(entriesIn(dir.path() / "store"), 2u);
}

TEST(FileWriting, AFileWithOtherHardLinksIsWrittenInPlaceSoTheLinksStayJoined) {
    TempDir dir;
    const std::string first = dir.write("first.txt", "a longer old text\r\n");
    const std::string second = dir.file("second.txt");
    fs::create_hard_link(first, second);
    const ino_t inode = statusOf(first).st_ino;

    writeFileAtomically(first, "new\r\n");
    EXPECT_EQ(readBytes(first), "new\r\n");
    EXPECT_EQ(readBytes(second), "new\r\n");
    EXPECT_EQ(statusOf(first).st_ino, inode);
    EXPECT_EQ(statusOf(second).st_nlink, 2u);
    EXPECT_EQ(entriesIn(dir.path()), 2u);
}

TEST(FileWriting, AFileTheUserMayNotWriteIsRefusedAndSoIsAFolder) {
    TempDir dir;
    const std::string readOnly = dir.write("read-only.txt", "kept");
    ::chmod(readOnly.c_str(), 0444);
    dir.write("folder/inside.txt", "kept too");
    OrdinaryUser user(dir.path());
    EXPECT_EQ(failureOf([&] { writeFileAtomically(readOnly, "new"); }), kAccessDenied);
    EXPECT_EQ(readBytes(readOnly), "kept");
    EXPECT_EQ(failureOf([&] { writeFileAtomically(dir.file("folder"), "new"); }), kAccessDenied);
    EXPECT_EQ(readBytes(dir.file("folder/inside.txt")), "kept too");
    EXPECT_EQ(entriesIn(dir.path()), 2u);
}

TEST(FileWriting, AWritableFileInAFolderThatTakesNoNewFileIsWrittenInPlace) {
    TempDir dir;
    const std::string file = dir.write("locked/doc.txt", "old old old\r\n");
    ::chmod(file.c_str(), 0666);
    OrdinaryUser user(dir.path());
    ::chmod((dir.path() / "locked").c_str(), 0555);

    writeFileAtomically(file, "new\r\n");
    EXPECT_EQ(readBytes(file), "new\r\n");
    EXPECT_EQ(entriesIn(dir.path() / "locked"), 1u);
    // A new file cannot be made there at all.
    EXPECT_EQ(failureOf([&] { writeFileAtomically(dir.file("locked/other.txt"), "x"); }), kAccessDenied);
    ::chmod((dir.path() / "locked").c_str(), 0755);
}

TEST(FileWriting, AReplacedFileKeepsItsModeAndWhereAllowedItsOwnerAndGroup) {
    TempDir dir;
    const std::string path = dir.write("doc.txt", "old");
    ::chmod(path.c_str(), 0640);
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::chown(path.c_str(), testing::nobodyUser(), testing::nobodyGroup()), 0);
    }
    const ino_t inode = statusOf(path).st_ino;

    writeFileAtomically(path, "new\r\n");
    const struct stat st = statusOf(path);
    EXPECT_NE(st.st_ino, inode) << "a single-linked file in a writable folder is replaced, not rewritten";
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    if (root) {
        EXPECT_EQ(st.st_uid, testing::nobodyUser());
        EXPECT_EQ(st.st_gid, testing::nobodyGroup());
    } // else: only root may give a file to another user, and the file is this user's already
    EXPECT_EQ(readBytes(path), "new\r\n");
}

TEST(FileWriting, ANameOfTheLongestLengthIsWritten) {
    TempDir dir;
    std::string name;
    for (int i = 0; i < 83; ++i)
        name += "漢"; // 249 bytes in UTF-8
    name += ".txt";   // 253 of the 255 a name may have
    const std::string path = dir.file(name);
    writeFileAtomically(path, "new\r\n");
    writeFileAtomically(path, "newer\r\n");
    EXPECT_EQ(readBytes(path), "newer\r\n");
    EXPECT_EQ(entriesIn(dir.path()), 1u);
}

TEST(FileWriting, AFullDiskLeavesTheOldFileWholeWhetherReplacedOrWrittenInPlace) {
    TempDir dir;
    const std::string old(1000, 'o');
    const std::string replaced = dir.write("replaced.txt", old);
    const std::string linked = dir.write("linked.txt", old);
    fs::create_hard_link(linked, dir.file("other-link.txt"));
    const std::string bigger(5000, 'n');
    {
        FileSizeLimit full(2000);
        EXPECT_EQ(failureOf([&] { writeFileAtomically(replaced, bigger); }), kDiskFull);
        // In place, the space is asked for before the old contents are touched.
        EXPECT_EQ(failureOf([&] { writeFileAtomically(linked, bigger); }), kDiskFull);
    }
    EXPECT_EQ(readBytes(replaced), old);
    EXPECT_EQ(readBytes(linked), old);
    EXPECT_EQ(entriesIn(dir.path()), 3u);
}

TEST(FileWriting, ANameHoldingANulNamesNoFile) {
    TempDir dir;
    const std::string name = dir.file("out.txt") + std::string(1, '\0') + "ignored";
    EXPECT_EQ(failureOf([&] { writeFileAtomically(name, "x"); }), "不正なファイル名です");
    EXPECT_EQ(failureOf([&] { (void)readFile(dir.write("out.txt", "") + std::string(1, '\0')); }),
              "不正なファイル名です");
    EXPECT_EQ(entriesIn(dir.path()), 1u);
}

TEST(FileWriting, ASignalThatEndsTheProgramRemovesTheTemporaryFile) {
    TempDir dir;
    const std::string path = dir.write("doc.txt", "old");
    for (const int signalNumber : {SIGTERM, SIGINT}) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            FileReplacement file(path);
            file.write("half of the new text");
            ::raise(signalNumber);
            ::_exit(0); // not reached
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signalNumber) << status;
        EXPECT_EQ(readBytes(path), "old");
        EXPECT_EQ(entriesIn(dir.path()), 1u);
    }
}

TEST(FileReading, OnlyRegularFilesAreReadAndAFifoNeverBlocks) {
    TempDir dir;
    const std::string fifo = dir.file("in.fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    EXPECT_EQ(failureOf([&] { (void)readFile(fifo); }), kAccessDenied);
    EXPECT_EQ(failureOf([&] { (void)openInputFile("/dev/zero"); }), kAccessDenied);
    EXPECT_EQ(failureOf([&] { (void)openInputFile(dir.path().string()); }), kAccessDenied);
    EXPECT_EQ(failureOf([&] { (void)readFile(dir.file("missing")); }), "ファイルが見つかりません");

    const std::string file = dir.write("in.txt", "line\r\n");
    const InputFile input = openInputFile(file);
    LineReader reader(input.get());
    std::string line;
    EXPECT_TRUE(reader.next(line));
    EXPECT_EQ(line, "line");
}

TEST(FileReading, ALineLongerThanAReaderKeepsIsAnInputError) {
    TempDir dir;
    const std::string file = dir.write("long.txt", "short\r\n" + std::string(100, 'x') + "\r\nafter\r\n");
    const InputFile input = openInputFile(file);
    LineReader reader(input.get(), 16, 99);
    std::string line;
    ASSERT_TRUE(reader.next(line));
    EXPECT_EQ(line, "short");
    EXPECT_EQ(failureOf([&] { (void)reader.next(line); }), kLineTooLongText);

    // A line of exactly the limit is read.
    const InputFile again = openInputFile(file);
    LineReader wider(again.get(), 16, 100);
    ASSERT_TRUE(wider.next(line));
    ASSERT_TRUE(wider.next(line));
    EXPECT_EQ(line.size(), 100u);
}

} // namespace
} // namespace zelkova::text
