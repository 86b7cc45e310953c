// Reading input files and writing output files by UTF-8 name, with the guarantees every reader and
// writer of Zelkova gives (as Linux has them; FilesWindows.cpp says how Windows has them):
//
// - An input is a regular file. It is opened without blocking, so a FIFO never hangs the program,
//   and anything that is not a regular file (a device such as /dev/zero, a FIFO, a socket) is
//   refused with the access-denied text. A name holding a NUL byte names no file.
// - An output never damages what is there when the write fails. FileReplacement decides how:
//     * a symbolic link is followed, and the file it names is written (the link stays a link);
//     * a file that exists but cannot be opened for writing by this user (read-only, a read-only
//       file system) is refused, and a folder is refused;
//     * a device node or a FIFO is written in place: never renamed over, never truncated;
//     * a regular file is otherwise written to a temporary file beside it (a short name of its
//       own, so a target name of any length works), flushed to disk and renamed over the old one,
//       which keeps the old file whole until the new one is complete; the new file gets the old
//       one's permission bits and, where the process may set them, its owner and group; the
//       folder is synced after the rename;
//     * a regular file with other hard links, or in a folder where no new file can be made, is
//       written in place (renaming would split the links or is impossible): the space is reserved
//       first where the size is known, and the file's contents are read back and checked after;
//     * a temporary file is removed when the write fails, when the writer is dropped unfinished
//       and when the process is ended by SIGINT, SIGTERM or SIGHUP.
//
// The calls into the operating system are gathered in a few small named functions of Files.cpp
// and FileReplacement.cpp (Linux) and in FilesWindows.cpp (Windows), one of which the build takes.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace zelkova::text {

// --- reading ---------------------------------------------------------------------------------

// The bytes of the file; throws Failure (the general error report's texts) when it cannot be read.
std::string readFile(const std::string& path);

// Opens a regular file for reading; the descriptor is the caller's to close. Throws Failure.
int openInputDescriptor(const std::string& path);

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using InputFile = std::unique_ptr<std::FILE, FileCloser>;

// The same as a stdio stream. Throws Failure.
InputFile openInputFile(const std::string& path);

// --- writing ---------------------------------------------------------------------------------

// One output file being written by the rules above. Nothing of the target changes before the
// first write(), and with a temporary file nothing changes before commit().
class FileReplacement {
public:
    // Checks the target and prepares the write. `expectedSize`, where known, lets a write in place
    // fail for want of space before it has changed anything. Throws Failure when the target is
    // refused or nothing can be written.
    explicit FileReplacement(const std::string& path,
                             std::optional<std::uint64_t> expectedSize = std::nullopt);
    // Without commit(), a temporary file is removed and the target left as it is (an unfinished
    // write in place has already changed it).
    ~FileReplacement();
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    // Throws Failure (a full disk as "ディスクがいっぱいです").
    void write(std::string_view bytes);

    // Completes the file and puts it in place. Throws Failure.
    void commit();

    // How the target is being written; for tests and for reports.
    enum class Method { Replace, InPlace, Device };
    Method method() const { return m_method; }

private:
    void abandon() noexcept;

    Method m_method = Method::Replace;
    std::string m_target;    // the file written, links followed
    int m_targetFd = -1;     // open for writing (in place and device), or only probed
    int m_temporaryFd = -1;  // Replace: the new file under its temporary name
    int m_folderFd = -1;     // Replace: the target's folder, for the temporary name and the sync
    std::string m_temporary; // Replace: the temporary file's name within the folder
    int m_cleanupSlot = -1;  // Replace: the entry that removes the temporary file on a signal
    std::uint64_t m_written = 0;
    std::uint64_t m_checksum = 0;
    bool m_committed = false;
};

// Writes `bytes` as the whole new contents of `path` by the rules above. Throws Failure.
void writeFileAtomically(const std::string& path, std::string_view bytes);

} // namespace zelkova::text
