// Writing the output file by the rules in OutputFile.h. Built on the system's calls rather than on
// std::filesystem, which can neither open a FIFO without blocking, nor keep an owner, nor sync a
// folder, nor name a file that a signal handler may remove.
#include "filter/OutputFile.h"

#include "filter/Failure.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <random>
#include <vector>

namespace zelkova::filter {

namespace {

// --- removal of the temporary file when a signal ends the program ---
// Quillon writes one output file at a time: one entry, read by the handler only once complete.

std::atomic<bool> g_temporaryArmed{false};
int g_temporaryFolderFd = -1;
pid_t g_temporaryOwner = 0;
char g_temporaryName[64] = {};

extern "C" void removeTemporaryAndEnd(int signalNumber) {
    if (g_temporaryArmed.load(std::memory_order_acquire) && g_temporaryOwner == ::getpid())
        ::unlinkat(g_temporaryFolderFd, g_temporaryName, 0);
    ::raise(signalNumber); // the default action is back (SA_RESETHAND) and ends the program
}

void armRemoval(int folderFd, const std::string& name) {
    static const bool installed = [] {
        for (const int signalNumber : {SIGINT, SIGTERM, SIGHUP}) {
            struct sigaction current {};
            if (::sigaction(signalNumber, nullptr, &current) != 0 || (current.sa_flags & SA_SIGINFO) != 0 ||
                current.sa_handler != SIG_DFL)
                continue;
            struct sigaction removal {};
            removal.sa_handler = removeTemporaryAndEnd;
            sigemptyset(&removal.sa_mask);
            removal.sa_flags = SA_RESETHAND;
            ::sigaction(signalNumber, &removal, nullptr);
        }
        return true;
    }();
    (void)installed;
    if (name.size() >= sizeof g_temporaryName)
        return;
    g_temporaryArmed.store(false, std::memory_order_release);
    g_temporaryFolderFd = folderFd;
    g_temporaryOwner = ::getpid();
    std::memcpy(g_temporaryName, name.c_str(), name.size() + 1);
    g_temporaryArmed.store(true, std::memory_order_release);
}

void disarmRemoval() {
    g_temporaryArmed.store(false, std::memory_order_release);
}

// --- the operating system's calls ---

std::string folderOf(const std::string& name) {
    const std::size_t slash = name.rfind('/');
    return slash == std::string::npos ? std::string() : name.substr(0, slash + 1);
}

std::string fileNameOf(const std::string& name) {
    const std::size_t slash = name.rfind('/');
    return slash == std::string::npos ? name : name.substr(slash + 1);
}

// The name a chain of symbolic links ends at; the name itself when it is no link or names nothing.
// -1 with errno set when the links cannot be followed.
int followLinks(std::string& name) {
    for (int hops = 0;; ++hops) {
        struct stat st {};
        if (::lstat(name.c_str(), &st) != 0)
            return errno == ENOENT ? 0 : -1;
        if (!S_ISLNK(st.st_mode))
            return 0;
        if (hops == 40) {
            errno = ELOOP;
            return -1;
        }
        std::vector<char> buffer(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 255) + 1);
        const ssize_t n = ::readlink(name.c_str(), buffer.data(), buffer.size());
        if (n < 0)
            return -1;
        const std::string link(buffer.data(), static_cast<std::size_t>(n));
        name = !link.empty() && link.front() == '/' ? link : folderOf(name) + link;
    }
}

// Opens an existing output for writing without truncating it and without waiting for a reader of
// a FIFO; a regular file for reading too where allowed, so that a write in place can be checked.
int openExisting(const std::string& name, bool regular) {
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

int openFolder(const std::string& folder) {
    const std::string name = folder.empty() ? std::string(".") : folder;
    const int fd = ::open(name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0 || errno != EACCES)
        return fd;
    return ::open(name.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
}

int createTemporary(int folderFd, mode_t mode, std::string& name) {
    static std::mt19937_64 random{std::random_device{}()};
    static constexpr char kDigits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = ".~ql";
        for (int i = 0; i < 8; ++i)
            name += kDigits[random() % 36];
        const int fd =
            ::openat(folderFd, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, mode);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

// The old file's owner and group where the process may set them, then its permission bits.
bool copyOwnerAndMode(int fd, const struct stat& old) {
    struct stat now {};
    if (::fstat(fd, &now) == 0 && (now.st_uid != old.st_uid || now.st_gid != old.st_gid)) {
        if (::fchown(fd, old.st_uid, old.st_gid) != 0)
            (void)::fchown(fd, static_cast<uid_t>(-1), old.st_gid);
    }
    return ::fchmod(fd, old.st_mode & 07777) == 0;
}

} // namespace

bool OutputFile::writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = ENOSPC;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

namespace {

// The file holds exactly `bytes`.
bool holdsExactly(int fd, std::string_view bytes) {
    struct stat st {};
    if (::fstat(fd, &st) != 0 || static_cast<std::uint64_t>(st.st_size) != bytes.size())
        return false;
    constexpr std::size_t kBlock = 1 << 20; // read back a block at a time
    std::vector<char> buffer(kBlock);
    for (std::size_t at = 0; at < bytes.size();) {
        const ssize_t n =
            ::pread(fd, buffer.data(), std::min(buffer.size(), bytes.size() - at), static_cast<off_t>(at));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0 || std::memcmp(buffer.data(), bytes.data() + at, static_cast<std::size_t>(n)) != 0)
            return false;
        at += static_cast<std::size_t>(n);
    }
    return true;
}

void closeQuietly(int& fd) noexcept {
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

} // namespace

OutputFile::OutputFile(const std::filesystem::path& name)
    : m_displayName(name.string()), m_target(name.string()) {
    if (m_target.find('\0') != std::string::npos)
        throw FilterFailure("Cannot write " + m_displayName + ": a file name holds no NUL byte");
    // A device is opened by the name as given, its links followed by the system: a name such as
    // /dev/stdout leads through links that name no file (a pipe) but open all the same.
    struct stat old {};
    if (::stat(m_target.c_str(), &old) == 0 && !S_ISREG(old.st_mode) && !S_ISDIR(old.st_mode))
        m_method = Method::Device;
    else if (followLinks(m_target) != 0)
        throw FilterFailure(fileFailureText("Cannot write", m_displayName, errno));

    const bool exists = m_method == Method::Device || ::lstat(m_target.c_str(), &old) == 0;
    if (exists) {
        if (S_ISDIR(old.st_mode))
            throw FilterFailure("Cannot write " + m_displayName + ": it is a folder, not a file");
        // Renaming over a file ignores the file's own permissions: a file this user may not write
        // is refused here.
        m_targetFd = openExisting(m_target, S_ISREG(old.st_mode));
        if (m_targetFd < 0 && errno == ENXIO)
            throw FilterFailure("Cannot write " + m_displayName + ": it is a FIFO that nothing reads");
        if (m_targetFd < 0)
            throw FilterFailure(fileFailureText("Cannot write", m_displayName, errno));
        struct stat opened {};
        if (::fstat(m_targetFd, &opened) != 0 || (opened.st_mode & S_IFMT) != (old.st_mode & S_IFMT) ||
            !makeBlocking(m_targetFd)) {
            discard();
            throw FilterFailure("Cannot write " + m_displayName + ": it changed while it was being opened");
        }
        old = opened;
        if (m_method == Method::Device)
            return;
        if (old.st_nlink > 1)
            m_method = Method::InPlace;
    } else if (errno != ENOENT) {
        throw FilterFailure(fileFailureText("Cannot write", m_displayName, errno));
    }

    if (m_method == Method::Replace) {
        m_folderFd = openFolder(folderOf(m_target));
        if (m_folderFd >= 0)
            m_temporaryFd = createTemporary(m_folderFd, exists ? 0600 : 0666, m_temporary);
        if (m_temporaryFd < 0) {
            const int error = errno;
            closeQuietly(m_folderFd);
            // An existing file in a folder that takes no new file is written where it is.
            if (!exists || (error != EACCES && error != EPERM)) {
                discard();
                throw FilterFailure(fileFailureText("Cannot create", m_displayName, error));
            }
            m_method = Method::InPlace;
        } else {
            armRemoval(m_folderFd, m_temporary);
            if (exists && !copyOwnerAndMode(m_temporaryFd, old)) {
                const int error = errno;
                discard();
                throw FilterFailure(fileFailureText("Cannot write", m_displayName, error));
            }
            m_pending.reserve(kFlushSize + 2 * kLineLength);
        }
    }
}

void OutputFile::commit() {
    flush();
    const auto fail = [this](const char* what, int error) {
        discard();
        throw FilterFailure(fileFailureText(what, m_displayName, error));
    };
    switch (m_method) {
    case Method::Replace: {
        if (::fsync(m_temporaryFd) != 0)
            fail("Cannot write", errno);
        const int fd = m_temporaryFd;
        m_temporaryFd = -1;
        if (::close(fd) != 0 && errno != EINTR)
            fail("Cannot write", errno);
        if (::renameat(m_folderFd, m_temporary.c_str(), m_folderFd, fileNameOf(m_target).c_str()) != 0)
            fail("Cannot replace", errno);
        disarmRemoval();
        m_temporary.clear();
        (void)::fsync(m_folderFd); // makes the rename durable where the folder can be synced
        break;
    }
    case Method::InPlace: {
        // The space is reserved before the old contents are touched, so a full disk leaves them.
        const off_t size = static_cast<off_t>(m_inPlaceContents.size());
        if (size > 0 && ::fallocate(m_targetFd, FALLOC_FL_KEEP_SIZE, 0, size) != 0 &&
            (errno == ENOSPC || errno == EDQUOT || errno == EFBIG))
            fail("Cannot write", errno);
        if (!writeAll(m_targetFd, m_inPlaceContents) || ::ftruncate(m_targetFd, size) != 0 ||
            ::fsync(m_targetFd) != 0)
            fail("Cannot write", errno);
        if ((::fcntl(m_targetFd, F_GETFL) & O_ACCMODE) == O_RDWR &&
            !holdsExactly(m_targetFd, m_inPlaceContents))
            throw FilterFailure("Cannot write " + m_displayName +
                                ": read back, it does not hold what was written");
        break;
    }
    case Method::Device:
        if (!writeAll(m_targetFd, m_inPlaceContents))
            fail("Cannot write", errno);
        if (::fsync(m_targetFd) != 0 && errno != EINVAL && errno != EROFS && errno != ENOTSUP)
            fail("Cannot write", errno);
        break;
    }
    const int fd = m_targetFd;
    m_targetFd = -1;
    closeQuietly(m_folderFd);
    if (fd >= 0 && ::close(fd) != 0 && errno != EINTR)
        throw FilterFailure(fileFailureText("Cannot write", m_displayName, errno));
}

void OutputFile::discard() noexcept {
    closeQuietly(m_temporaryFd);
    if (!m_temporary.empty() && m_folderFd >= 0) {
        disarmRemoval();
        ::unlinkat(m_folderFd, m_temporary.c_str(), 0);
    }
    m_temporary.clear();
    closeQuietly(m_folderFd);
    closeQuietly(m_targetFd);
}

} // namespace zelkova::filter
