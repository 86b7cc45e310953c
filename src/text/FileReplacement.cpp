// The one writer of output files: see Files.h for the rules it keeps.
//
// Hand-written on the system's calls rather than on std::filesystem or a library, because the
// rules need what those do not offer: opening a FIFO without blocking, telling a device from a
// file on the descriptor that is then written, keeping the owner, reserving space before a write
// in place, syncing the folder, and a temporary name that a signal handler can remove.
#include "text/Files.h"

#include "text/Failure.h"
#include "text/Paths.h"
#include "text/TemporaryFiles.h"

#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <random>
#include <vector>

namespace zelkova::text {

namespace {

// --- the operating system's calls ---

// Where a name ends up after its symbolic links (a chain of them included) have been followed;
// the name itself when it is no link or names nothing yet. Throws Failure.
std::string followLinks(const std::string& path) {
    std::string name = path;
    for (int hops = 0;; ++hops) {
        struct stat st {};
        if (::lstat(name.c_str(), &st) != 0) {
            if (errno == ENOENT)
                return name; // a new file, or the file a dangling link names
            throw ioFailure(errno);
        }
        if (!S_ISLNK(st.st_mode))
            return name;
        if (hops == 40)
            throw ioFailure(ELOOP);
        std::vector<char> buffer(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 255) + 1);
        const ssize_t n = ::readlink(name.c_str(), buffer.data(), buffer.size());
        if (n < 0)
            throw ioFailure(errno);
        const std::string link(buffer.data(), static_cast<std::size_t>(n));
        name = !link.empty() && link.front() == '/' ? link : folderPart(name) + link;
    }
}

// The status of what `name` names, not following a link; nothing when it does not exist.
bool statusOf(const std::string& name, struct stat& st) {
    if (::lstat(name.c_str(), &st) == 0)
        return true;
    if (errno != ENOENT)
        throw ioFailure(errno);
    return false;
}

// The status of what `name` names, links followed; false when it names nothing (a dangling link
// included).
bool statusFollowingLinks(const std::string& name, struct stat& st) {
    if (::stat(name.c_str(), &st) == 0)
        return true;
    if (errno != ENOENT)
        throw ioFailure(errno);
    return false;
}

// Opens an existing target for writing without truncating it and without waiting for a reader of
// a FIFO (a FIFO nobody reads is refused). A regular file is opened for reading too, where the
// permissions allow, so that a write in place can be read back.
int openTarget(const std::string& name, bool regular) {
    const int common = O_NONBLOCK | O_CLOEXEC | O_NOCTTY | (regular ? O_NOFOLLOW : 0);
    if (regular) {
        const int fd = ::open(name.c_str(), O_RDWR | common);
        if (fd >= 0 || errno != EACCES)
            return fd;
    }
    return ::open(name.c_str(), O_WRONLY | common);
}

bool makeBlocking(int fd) {
    const int flags = ::fcntl(fd, F_GETFL);
    return flags >= 0 && ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == 0;
}

bool openedForReading(int fd) {
    return (::fcntl(fd, F_GETFL) & O_ACCMODE) == O_RDWR;
}

int openFolder(const std::string& folder) {
    const std::string name = folder.empty() ? std::string(".") : folder;
    const int fd = ::open(name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0 || errno != EACCES)
        return fd;
    // A folder that may be written but not listed still takes the temporary file.
    return ::open(name.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
}

// A short name of its own for the temporary file, so that a target name of any length works.
std::string temporaryName() {
    static thread_local std::mt19937_64 random{std::random_device{}()};
    static constexpr char kDigits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    std::string name = ".~zk";
    for (int i = 0; i < 8; ++i)
        name += kDigits[random() % 36];
    return name;
}

// Creates a new file under a fresh temporary name in the folder; fills `name`.
int createTemporary(int folderFd, mode_t mode, std::string& name) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = temporaryName();
        const int fd =
            ::openat(folderFd, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, mode);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

// Gives the new file the old one's owner and group where the process may (either alone when not
// both), then its permission bits; the owner first, since a change of owner may clear set-ID bits.
void copyOwnerAndMode(int fd, const struct stat& old) {
    struct stat now {};
    if (::fstat(fd, &now) == 0 && (now.st_uid != old.st_uid || now.st_gid != old.st_gid)) {
        if (::fchown(fd, old.st_uid, old.st_gid) != 0)
            (void)::fchown(fd, static_cast<uid_t>(-1), old.st_gid);
    }
    if (::fchmod(fd, old.st_mode & 07777) != 0)
        throw ioFailure(errno);
}

// Reserves the blocks of `size` bytes without changing the file, so that a write in place fails
// for want of space before it has changed anything; a size past the process's file size limit
// (ulimit -f) fails the same way. Where the file system cannot reserve, nothing is reserved.
void reserveSpace(int fd, std::uint64_t size) {
    struct rlimit limit {};
    if (::getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY && size > limit.rlim_cur)
        throw ioFailure(EFBIG);
    if (size == 0 || ::fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, static_cast<off_t>(size)) == 0)
        return;
    if (errno == ENOSPC || errno == EDQUOT || errno == EFBIG)
        throw ioFailure(errno);
}

void writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw ioFailure(errno);
        }
        if (n == 0)
            throw ioFailure(ENOSPC);
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
}

// Writes to a device or a FIFO. A FIFO whose reader has gone raises SIGPIPE, which would end the
// program: the signal is held back for the write and dropped, and the write fails with EPIPE.
void writeToDevice(int fd, std::string_view bytes) {
    sigset_t pipe{};
    sigset_t old{};
    sigemptyset(&pipe);
    sigaddset(&pipe, SIGPIPE);
    ::pthread_sigmask(SIG_BLOCK, &pipe, &old);
    try {
        writeAll(fd, bytes);
    } catch (...) {
        if (!sigismember(&old, SIGPIPE)) {
            const timespec now{};
            while (::sigtimedwait(&pipe, nullptr, &now) == SIGPIPE) {
            }
        }
        ::pthread_sigmask(SIG_SETMASK, &old, nullptr);
        throw;
    }
    ::pthread_sigmask(SIG_SETMASK, &old, nullptr);
}

// Flushes the file to disk; devices and FIFOs that cannot be synced are not a failure.
void syncFile(int fd, bool mayBeUnsyncable) {
    if (::fsync(fd) == 0)
        return;
    if (mayBeUnsyncable && (errno == EINVAL || errno == EROFS || errno == ENOTSUP))
        return;
    throw ioFailure(errno);
}

void closeChecked(int& fd) {
    const int closing = fd;
    fd = -1;
    if (closing >= 0 && ::close(closing) != 0 && errno != EINTR)
        throw ioFailure(errno);
}

void closeQuietly(int& fd) noexcept {
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

// --- the rules ---

// FNV-1a over the bytes written in place, compared with the file's contents read back.
std::uint64_t checksumStep(std::uint64_t sum, std::string_view bytes) {
    for (const char c : bytes) {
        sum ^= static_cast<unsigned char>(c);
        sum *= 0x100000001b3ULL;
    }
    return sum;
}
constexpr std::uint64_t kChecksumStart = 0xcbf29ce484222325ULL;

void checkContents(int fd, std::uint64_t size, std::uint64_t checksum) {
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        throw ioFailure(errno);
    bool same = static_cast<std::uint64_t>(st.st_size) == size;
    std::uint64_t sum = kChecksumStart;
    std::vector<char> buffer(1 << 20);
    for (off_t at = 0; same && static_cast<std::uint64_t>(at) < size;) {
        const ssize_t n = ::pread(fd, buffer.data(), buffer.size(), at);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            throw ioFailure(errno);
        if (n == 0)
            same = false;
        sum = checksumStep(sum, std::string_view(buffer.data(), static_cast<std::size_t>(n)));
        at += n;
    }
    if (!same || sum != checksum)
        throw Failure(std::string(kContentsDifferText));
}

} // namespace

FileReplacement::FileReplacement(const std::string& path, std::optional<std::uint64_t> expectedSize)
    : m_checksum(kChecksumStart) {
    if (holdsNulByte(path))
        throw Failure(ioErrorText(error::PathNotFound));
    if (path.empty())
        throw ioFailure(ENOENT);
    // A device is opened by the name as given, its links followed by the system: a name such as
    // /dev/stdout leads through links that name no file (a pipe) but open all the same.
    struct stat old {};
    if (statusFollowingLinks(path, old) && !S_ISREG(old.st_mode) && !S_ISDIR(old.st_mode)) {
        m_method = Method::Device;
        m_target = path;
    } else {
        m_target = followLinks(path);
    }

    const bool exists = m_method == Method::Device || statusOf(m_target, old);
    if (exists) {
        if (S_ISDIR(old.st_mode))
            throw ioFailure(EISDIR);
        m_targetFd = openTarget(m_target, S_ISREG(old.st_mode));
        if (m_targetFd < 0)
            throw ioFailure(errno == ENXIO ? EACCES : errno); // ENXIO: a FIFO that nobody reads
        struct stat opened {};
        if (::fstat(m_targetFd, &opened) != 0 || (opened.st_mode & S_IFMT) != (old.st_mode & S_IFMT) ||
            !makeBlocking(m_targetFd)) {
            const int err = errno ? errno : EAGAIN;
            abandon();
            throw ioFailure(err);
        }
        old = opened;
        if (m_method == Method::Device)
            return;
        if (old.st_nlink > 1)
            m_method = Method::InPlace;
    }

    if (m_method == Method::Replace) {
        m_folderFd = openFolder(folderPart(m_target));
        if (m_folderFd >= 0)
            m_temporaryFd = createTemporary(m_folderFd, exists ? 0600 : 0666, m_temporary);
        if (m_temporaryFd < 0) {
            const int err = errno;
            closeQuietly(m_folderFd);
            // An existing file in a folder that takes no new file is written where it is.
            if (!exists || (err != EACCES && err != EPERM)) {
                abandon();
                throw ioFailure(err);
            }
            m_method = Method::InPlace;
        }
    }

    try {
        if (m_method == Method::Replace) {
            m_cleanupSlot = registerTemporaryFile(m_folderFd, m_temporary);
            if (exists)
                copyOwnerAndMode(m_temporaryFd, old);
        } else if (expectedSize && *expectedSize > static_cast<std::uint64_t>(old.st_size)) {
            reserveSpace(m_targetFd, *expectedSize);
        }
    } catch (...) {
        abandon();
        throw;
    }
}

FileReplacement::~FileReplacement() {
    if (!m_committed)
        abandon();
}

void FileReplacement::abandon() noexcept {
    closeQuietly(m_temporaryFd);
    if (!m_temporary.empty() && m_folderFd >= 0)
        ::unlinkat(m_folderFd, m_temporary.c_str(), 0);
    m_temporary.clear();
    unregisterTemporaryFile(m_cleanupSlot);
    m_cleanupSlot = -1;
    closeQuietly(m_folderFd);
    closeQuietly(m_targetFd);
}

void FileReplacement::write(std::string_view bytes) {
    if (m_method == Method::Device)
        writeToDevice(m_targetFd, bytes);
    else
        writeAll(m_method == Method::Replace ? m_temporaryFd : m_targetFd, bytes);
    m_written += bytes.size();
    if (m_method == Method::InPlace)
        m_checksum = checksumStep(m_checksum, bytes);
}

void FileReplacement::commit() {
    switch (m_method) {
    case Method::Replace: {
        syncFile(m_temporaryFd, false);
        closeChecked(m_temporaryFd);
        const std::string name = fileNamePart(m_target);
        if (::renameat(m_folderFd, m_temporary.c_str(), m_folderFd, name.c_str()) != 0)
            throw ioFailure(errno);
        m_temporary.clear();
        unregisterTemporaryFile(m_cleanupSlot);
        m_cleanupSlot = -1;
        // The rename is durable once the folder is synced; a folder that cannot be synced (opened
        // for its path only) leaves that to the file system.
        (void)::fsync(m_folderFd);
        break;
    }
    case Method::InPlace:
        if (::ftruncate(m_targetFd, static_cast<off_t>(m_written)) != 0)
            throw ioFailure(errno);
        syncFile(m_targetFd, false);
        if (openedForReading(m_targetFd))
            checkContents(m_targetFd, m_written, m_checksum);
        break;
    case Method::Device:
        syncFile(m_targetFd, true);
        break;
    }
    m_committed = true;
    closeQuietly(m_folderFd);
    closeChecked(m_targetFd);
}

void writeFileAtomically(const std::string& path, std::string_view bytes) {
    FileReplacement file(path, bytes.size());
    file.write(bytes);
    file.commit();
}

} // namespace zelkova::text
