// Reading input files: regular files only, opened without blocking.
#include "text/Files.h"

#include "text/Failure.h"
#include "text/Paths.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

namespace zelkova::text {

namespace {

// --- the operating system's calls ---

// Opens `path` for reading without waiting for a writer (a FIFO would block in open() otherwise);
// -1 with errno set on failure.
int openWithoutBlocking(const std::string& path) {
    return ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
}

// True when the open descriptor is a regular file; errno says why not otherwise.
bool isRegularFile(int fd) {
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return false;
    if (S_ISREG(st.st_mode))
        return true;
    errno = S_ISDIR(st.st_mode) ? EISDIR : EACCES;
    return false;
}

// Reads from now on with blocking calls, as every reader expects.
bool makeBlocking(int fd) {
    const int flags = ::fcntl(fd, F_GETFL);
    return flags >= 0 && ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == 0;
}

std::size_t sizeOf(int fd) {
    struct stat st {};
    return ::fstat(fd, &st) == 0 && st.st_size > 0 ? static_cast<std::size_t>(st.st_size) : 0;
}

} // namespace

int openInputDescriptor(const std::string& path) {
    if (holdsNulByte(path))
        throw Failure(ioErrorText(error::PathNotFound));
    const int fd = openWithoutBlocking(path);
    if (fd < 0)
        throw ioFailure(errno);
    if (!isRegularFile(fd) || !makeBlocking(fd)) {
        const int err = errno;
        ::close(fd);
        throw ioFailure(err);
    }
    return fd;
}

InputFile openInputFile(const std::string& path) {
    const int fd = openInputDescriptor(path);
    std::FILE* file = ::fdopen(fd, "rb");
    if (!file) {
        const int err = errno;
        ::close(fd);
        throw ioFailure(err);
    }
    return InputFile(file);
}

std::string readFile(const std::string& path) {
    const int fd = openInputDescriptor(path);
    std::string data;
    data.reserve(sizeOf(fd));
    std::vector<char> buffer(1 << 20);
    for (;;) {
        const ssize_t n = ::read(fd, buffer.data(), buffer.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            const int err = errno;
            ::close(fd);
            throw ioFailure(err);
        }
        if (n == 0)
            break;
        data.append(buffer.data(), static_cast<std::size_t>(n));
    }
    ::close(fd);
    return data;
}

} // namespace zelkova::text
