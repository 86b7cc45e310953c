// Input files and output files on Windows (Files.cpp and FileReplacement.cpp have them for Linux),
// by the rules of Files.h as Windows has them:
//
// - An input is a file on a disk; a device such as CON or NUL is refused with the access-denied
//   text, as is a folder.
// - An output that is a folder is refused. One that exists must be writable and replaceable: a
//   read-only file is refused, and so is a file that another program holds open without letting
//   it be written or replaced (an editor, a spreadsheet), before anything is written.
// - A device (NUL, CON, a printer port) is written where it is.
// - Any other output is written to a new file beside it (a short name of its own), flushed to disk
//   and moved over the old one with MoveFileExW (replace existing, write through), which keeps the
//   old file whole until the new one is complete; the new file takes the old one's attributes
//   (archive, hidden, system, not indexed). A folder that takes no new file refuses the output.
// - The new file is removed when the write fails or the writer is dropped unfinished. Windows ends
//   a program by no signal that could leave it behind.
#include "text/Files.h"

#include "text/Failure.h"
#include "text/Paths.h"
#include "text/SystemFiles.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cerrno>
#include <cstdio>
#include <random>
#include <vector>

namespace zelkova::text {

namespace {

constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                  FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

[[noreturn]] void throwSystemError(DWORD error) {
    throw ioFailure(errnoFromSystemError(error));
}

HANDLE handleOf(int fd) {
    return reinterpret_cast<HANDLE>(_get_osfhandle(fd));
}

void closeQuietly(int& fd) noexcept {
    if (fd >= 0)
        closeFile(fd);
    fd = -1;
}

void writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const std::ptrdiff_t n = writeSome(fd, bytes.data(), bytes.size());
        if (n < 0)
            throw ioFailure(errno);
        if (n == 0)
            throw ioFailure(ENOSPC);
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
}

// Checks that an existing file may be written and replaced now: not read-only, and held by no
// program that refuses writing or deleting it to others. Throws Failure.
void checkReplaceable(const std::string& path, DWORD attributes) {
    if (attributes & FILE_ATTRIBUTE_READONLY)
        throw ioFailure(EACCES);
    const HANDLE probe = CreateFileW(wideName(path).c_str(), GENERIC_WRITE | DELETE,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (probe == INVALID_HANDLE_VALUE)
        throwSystemError(GetLastError());
    CloseHandle(probe);
}

// Creates a new file of a short name of its own in `folder`; its descriptor, with `name` set to
// its full name. Throws Failure.
int createBeside(const std::string& folder, std::string& name) {
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, "~zk%08x.tmp", static_cast<unsigned>(random()));
        name = folder + suffix;
        const HANDLE file = CreateFileW(wideName(name).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                        CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            const DWORD error = GetLastError();
            if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS)
                continue;
            name.clear();
            throwSystemError(error);
        }
        const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(file), _O_BINARY);
        if (fd < 0) {
            CloseHandle(file);
            DeleteFileW(wideName(name).c_str());
            name.clear();
            throw ioFailure(EMFILE);
        }
        return fd;
    }
    name.clear();
    throw ioFailure(EEXIST);
}

} // namespace

// --- reading ---------------------------------------------------------------------------------

int openInputDescriptor(const std::string& path) {
    if (holdsNulByte(path))
        throw Failure(ioErrorText(error::PathNotFound));
    const int fd = openForReading(path);
    if (fd < 0)
        throw ioFailure(errno);
    if (GetFileType(handleOf(fd)) != FILE_TYPE_DISK) {
        closeFile(fd);
        throw ioFailure(EACCES);
    }
    return fd;
}

InputFile openInputFile(const std::string& path) {
    const int fd = openInputDescriptor(path);
    std::FILE* file = _fdopen(fd, "rb");
    if (!file) {
        const int err = errno;
        closeFile(fd);
        throw ioFailure(err);
    }
    return InputFile(file);
}

std::string readFile(const std::string& path) {
    int fd = openInputDescriptor(path);
    std::string data;
    data.reserve(fileSize(fd));
    std::vector<char> buffer(1 << 20);
    for (;;) {
        const std::ptrdiff_t n = readSome(fd, buffer.data(), buffer.size());
        if (n < 0) {
            const int err = errno;
            closeQuietly(fd);
            throw ioFailure(err);
        }
        if (n == 0)
            break;
        data.append(buffer.data(), static_cast<std::size_t>(n));
    }
    closeQuietly(fd);
    return data;
}

// --- writing ---------------------------------------------------------------------------------

FileReplacement::FileReplacement(const std::string& path, std::optional<std::uint64_t> /*expectedSize*/) {
    if (holdsNulByte(path))
        throw Failure(ioErrorText(error::PathNotFound));
    if (path.empty())
        throw ioFailure(ENOENT);
    m_target = path;
    switch (fileKind(path)) {
    case FileKind::Folder:
        throw ioFailure(EISDIR);
    case FileKind::Other:
        m_method = Method::Device;
        m_targetFd = _wopen(wideName(path).c_str(), _O_WRONLY | _O_BINARY | _O_NOINHERIT);
        if (m_targetFd < 0)
            throw ioFailure(errno);
        return;
    case FileKind::File:
        checkReplaceable(path, GetFileAttributesW(wideName(path).c_str()));
        break;
    case FileKind::Missing:
        break;
    }
    m_temporaryFd = createBeside(folderPart(path), m_temporary);
}

FileReplacement::~FileReplacement() {
    if (!m_committed)
        abandon();
}

void FileReplacement::abandon() noexcept {
    closeQuietly(m_temporaryFd);
    if (!m_temporary.empty())
        DeleteFileW(wideName(m_temporary).c_str());
    m_temporary.clear();
    closeQuietly(m_targetFd);
}

void FileReplacement::write(std::string_view bytes) {
    writeAll(m_method == Method::Device ? m_targetFd : m_temporaryFd, bytes);
    m_written += bytes.size();
}

void FileReplacement::commit() {
    if (m_method == Method::Device) {
        const int fd = m_targetFd;
        m_targetFd = -1;
        m_committed = true;
        if (closeFile(fd) != 0)
            throw ioFailure(errno);
        return;
    }
    if (!FlushFileBuffers(handleOf(m_temporaryFd)))
        throwSystemError(GetLastError());
    const int fd = m_temporaryFd;
    m_temporaryFd = -1;
    if (closeFile(fd) != 0)
        throw ioFailure(errno);
    const DWORD old = GetFileAttributesW(wideName(m_target).c_str());
    if (old != INVALID_FILE_ATTRIBUTES && (old & kKeptAttributes) != 0)
        SetFileAttributesW(wideName(m_temporary).c_str(), old & kKeptAttributes);
    if (!MoveFileExW(wideName(m_temporary).c_str(), wideName(m_target).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        throwSystemError(GetLastError());
    m_temporary.clear();
    m_committed = true;
}

void writeFileAtomically(const std::string& path, std::string_view bytes) {
    FileReplacement file(path, bytes.size());
    file.write(bytes);
    file.commit();
}

} // namespace zelkova::text
