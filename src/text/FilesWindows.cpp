// Whole-file reads and atomic writes on Windows (Files.cpp has them for Linux).
//
// An atomic write goes to a new file beside the target, which is flushed to disk and then moved
// over the target with MoveFileExW (replace existing, write through): a failed write leaves the
// old file whole. The new file takes the old one's attributes (hidden, archive and the like); a
// read-only target, and a folder, are refused as the system refuses to write them.
#include "text/Files.h"

#include "text/Failure.h"
#include "text/Paths.h"
#include "text/SystemFiles.h"

#include <windows.h>

#include <io.h>

#include <cerrno>
#include <random>
#include <vector>

namespace zelkova::text {

namespace {

// An open descriptor, closed on every way out.
class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor() {
        if (m_fd >= 0)
            closeFile(m_fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return m_fd; }
    // Closes now; 0 or an errno value.
    int close() {
        const int fd = m_fd;
        m_fd = -1;
        return closeFile(fd) == 0 ? 0 : errno;
    }

private:
    int m_fd;
};

// Creates a new file of a name of its own beside `path`; its descriptor, with `temporary` set to
// its name. Throws Failure.
int createBeside(const std::string& path, std::string& temporary) {
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary =
            folderPart(path) + "." + fileNamePart(path) + "." + std::to_string(random() % 1000000) + ".tmp";
        const HANDLE file = CreateFileW(wideName(temporary).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                        CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            const DWORD error = GetLastError();
            if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS)
                continue;
            throw ioFailure(errnoFromSystemError(error));
        }
        const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(file), 0);
        if (fd < 0) {
            CloseHandle(file);
            DeleteFileW(wideName(temporary).c_str());
            throw ioFailure(EMFILE);
        }
        return fd;
    }
    throw ioFailure(EEXIST);
}

} // namespace

std::string readFile(const std::string& path) {
    if (fileKind(path) == FileKind::Folder)
        throw ioFailure(EISDIR);
    Descriptor fd(openForReading(path));
    if (fd.get() < 0)
        throw ioFailure(errno);
    std::string data;
    std::vector<char> buffer(1 << 20);
    for (;;) {
        const std::ptrdiff_t n = readSome(fd.get(), buffer.data(), buffer.size());
        if (n < 0)
            throw ioFailure(errno);
        if (n == 0)
            break;
        data.append(buffer.data(), static_cast<std::size_t>(n));
    }
    return data;
}

void writeFileAtomically(const std::string& path, std::string_view bytes) {
    const DWORD old = GetFileAttributesW(wideName(path).c_str());
    if (old != INVALID_FILE_ATTRIBUTES && (old & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
        throw ioFailure(EACCES);
    std::string temporary;
    Descriptor fd(createBeside(path, temporary));
    auto fail = [&](int err) {
        fd.close();
        removeFile(temporary);
        throw ioFailure(err);
    };
    while (!bytes.empty()) {
        const std::ptrdiff_t n = writeSome(fd.get(), bytes.data(), bytes.size());
        if (n < 0)
            fail(errno);
        if (n == 0)
            fail(ENOSPC);
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    if (!FlushFileBuffers(reinterpret_cast<HANDLE>(_get_osfhandle(fd.get()))))
        fail(errnoFromSystemError(GetLastError()));
    if (const int err = fd.close(); err != 0) {
        removeFile(temporary);
        throw ioFailure(err);
    }
    const DWORD kept = old == INVALID_FILE_ATTRIBUTES
                           ? 0
                           : old & (FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                    FILE_ATTRIBUTE_NOT_CONTENT_INDEXED);
    if (kept != 0)
        SetFileAttributesW(wideName(temporary).c_str(), kept);
    if (!MoveFileExW(wideName(temporary).c_str(), wideName(path).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD error = GetLastError();
        removeFile(temporary);
        throw ioFailure(errnoFromSystemError(error));
    }
}

} // namespace zelkova::text
