// The file calls on Linux (POSIX), names passed as they are.
#include "text/SystemFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>

namespace zelkova::text {

namespace {
bool holdsNul(const std::string& name) {
    return name.find('\0') != std::string::npos;
}
} // namespace

FileKind fileKind(const std::string& name) {
    struct stat st {};
    if (name.empty() || holdsNul(name) || ::stat(name.c_str(), &st) != 0)
        return FileKind::Missing;
    if (S_ISREG(st.st_mode))
        return FileKind::File;
    return S_ISDIR(st.st_mode) ? FileKind::Folder : FileKind::Other;
}

bool sameFile(const std::string& a, const std::string& b) {
    if (a.empty() || b.empty() || holdsNul(a) || holdsNul(b))
        return false;
    struct stat sa {};
    struct stat sb {};
    if (::stat(a.c_str(), &sa) != 0 || ::stat(b.c_str(), &sb) != 0)
        return false;
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

int openForReading(const std::string& name) {
    if (holdsNul(name)) {
        errno = ENOENT;
        return -1;
    }
    return ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
}

int createOrEmpty(const std::string& name) {
    if (holdsNul(name)) {
        errno = ENOENT;
        return -1;
    }
    const int fd =
        ::open(name.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NONBLOCK | O_CLOEXEC | O_NOCTTY, 0666);
    if (fd < 0) {
        if (errno == ENXIO) // a FIFO that nobody reads
            errno = EACCES;
        return -1;
    }
    // Written from now on with blocking calls, as every writer expects.
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        const int err = errno;
        ::close(fd);
        errno = err;
        return -1;
    }
    return fd;
}

std::uint64_t fileSize(int fd) {
    struct stat st {};
    return ::fstat(fd, &st) == 0 && st.st_size > 0 ? static_cast<std::uint64_t>(st.st_size) : 0;
}

int closeFile(int fd) {
    if (::close(fd) != 0 && errno != EINTR)
        return -1;
    return 0;
}

std::ptrdiff_t readSome(int fd, char* buffer, std::size_t size) {
    for (;;) {
        const ssize_t n = ::read(fd, buffer, size);
        if (n >= 0 || errno != EINTR)
            return n;
    }
}

std::ptrdiff_t writeSome(int fd, const char* bytes, std::size_t size) {
    for (;;) {
        const ssize_t n = ::write(fd, bytes, size);
        if (n >= 0 || errno != EINTR)
            return n;
    }
}

std::FILE* openStream(const std::string& name) {
    if (holdsNul(name)) {
        errno = ENOENT;
        return nullptr;
    }
    return std::fopen(name.c_str(), "rbe");
}

int removeFile(const std::string& name) {
    if (holdsNul(name))
        return ENOENT;
    return ::unlink(name.c_str()) == 0 ? 0 : errno;
}

std::string executablePath() {
    std::array<char, 4096> buffer{};
    const ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    return n > 0 ? std::string(buffer.data(), static_cast<std::size_t>(n)) : std::string();
}

} // namespace zelkova::text
