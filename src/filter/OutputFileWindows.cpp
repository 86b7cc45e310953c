// Writing the output file on Windows (OutputFile.cpp has it for Linux), by the rules of
// OutputFile.h as Windows has them:
//
// - a folder is refused, and so is an existing file that is read-only or that another program
//   holds open without letting it be written or replaced, before anything is written;
// - a device (NUL, CON, a printer port) is written where it is, at commit();
// - any other output is written to a new file of a short name of its own in the same folder,
//   flushed to disk and moved over the old one with MoveFileExW (replace existing, write through)
//   only when complete, with the old file's attributes; a folder that takes no new file refuses
//   the output;
// - the new file is removed when the run fails. Windows ends a program by no signal that could
//   leave it behind.
//
// Names reach the system as UTF-16 (std::filesystem::path holds them so), whatever the ANSI code
// page. Quillon shares no code with Zelkova, so the system's error numbers are mapped onto errno
// values here for the reports.
#include "filter/OutputFile.h"

#include "filter/Failure.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <random>

namespace zelkova::filter {

namespace {

constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                  FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// --- the operating system's calls ---

int errnoOf(DWORD error) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
        return ENOENT;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_INVALID_DRIVE:
        return ENOTDIR;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_WRITE_PROTECT:
        return EACCES;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return ENOSPC;
    case ERROR_TOO_MANY_OPEN_FILES:
        return EMFILE;
    default:
        return EIO;
    }
}

std::wstring wide(const std::string& utf8Name) {
    return std::filesystem::path(std::u8string(utf8Name.begin(), utf8Name.end())).wstring();
}

std::string folderOf(const std::string& name) {
    const std::size_t at = name.find_last_of("\\/:");
    return at == std::string::npos ? std::string() : name.substr(0, at + 1);
}

} // namespace

bool OutputFile::writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const int n =
            _write(fd, bytes.data(), static_cast<unsigned>(std::min<std::size_t>(bytes.size(), 1 << 30)));
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

// A new file of a short name of its own in `folder`; its descriptor with `name` set, or -1 with
// errno set.
int createTemporary(const std::string& folder, std::string& name) {
    static std::mt19937_64 random{std::random_device{}()};
    static constexpr char kDigits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = folder + "~ql";
        for (int i = 0; i < 8; ++i)
            name += kDigits[random() % 36];
        const HANDLE file = CreateFileW(wide(name).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                        CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            const DWORD error = GetLastError();
            if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS)
                continue;
            name.clear();
            errno = errnoOf(error);
            return -1;
        }
        const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(file), _O_BINARY);
        if (fd < 0) {
            CloseHandle(file);
            DeleteFileW(wide(name).c_str());
            name.clear();
            errno = EMFILE;
        }
        return fd;
    }
    name.clear();
    errno = EEXIST;
    return -1;
}

void closeQuietly(int& fd) noexcept {
    if (fd >= 0)
        _close(fd);
    fd = -1;
}

} // namespace

OutputFile::OutputFile(const std::filesystem::path& name)
    : m_displayName(displayName(name)), m_target(displayName(name)) {
    if (m_target.find('\0') != std::string::npos)
        throw FilterFailure("Cannot write " + m_displayName + ": a file name holds no NUL byte");
    const DWORD attributes = GetFileAttributesW(wide(m_target).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        throw FilterFailure("Cannot write " + m_displayName + ": it is a folder, not a file");
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        throw FilterFailure(fileFailureText("Cannot write", m_displayName, EACCES));
    const HANDLE existing = CreateFileW(wide(m_target).c_str(), GENERIC_WRITE,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (existing != INVALID_HANDLE_VALUE) {
        if (GetFileType(existing) != FILE_TYPE_DISK) {
            m_method = Method::Device;
            m_targetFd = _open_osfhandle(reinterpret_cast<intptr_t>(existing), _O_BINARY);
            if (m_targetFd < 0) {
                CloseHandle(existing);
                throw FilterFailure(fileFailureText("Cannot write", m_displayName, EMFILE));
            }
            return;
        }
        CloseHandle(existing);
        // The old file must also let itself be replaced: held by a program that does not share
        // its deletion, the move at the end would fail after all the work.
        const HANDLE replaceable = CreateFileW(wide(m_target).c_str(), DELETE,
                                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                               nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (replaceable == INVALID_HANDLE_VALUE)
            throw FilterFailure(fileFailureText("Cannot write", m_displayName, errnoOf(GetLastError())));
        CloseHandle(replaceable);
    } else if (const DWORD error = GetLastError();
               error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) {
        throw FilterFailure(fileFailureText("Cannot write", m_displayName, errnoOf(error)));
    }
    m_temporaryFd = createTemporary(folderOf(m_target), m_temporary);
    if (m_temporaryFd < 0)
        throw FilterFailure(fileFailureText("Cannot create", m_displayName, errno));
    m_pending.reserve(kFlushSize + 2 * kLineLength);
}

void OutputFile::commit() {
    flush();
    const auto fail = [this](const char* what, int error) {
        discard();
        throw FilterFailure(fileFailureText(what, m_displayName, error));
    };
    if (m_method == Method::Device) {
        if (!writeAll(m_targetFd, m_inPlaceContents))
            fail("Cannot write", errno);
        const int fd = m_targetFd;
        m_targetFd = -1;
        if (_close(fd) != 0)
            throw FilterFailure(fileFailureText("Cannot write", m_displayName, errno));
        return;
    }
    if (!FlushFileBuffers(reinterpret_cast<HANDLE>(_get_osfhandle(m_temporaryFd))))
        fail("Cannot write", errnoOf(GetLastError()));
    const int fd = m_temporaryFd;
    m_temporaryFd = -1;
    if (_close(fd) != 0)
        fail("Cannot write", errno);
    const DWORD old = GetFileAttributesW(wide(m_target).c_str());
    if (old != INVALID_FILE_ATTRIBUTES && (old & kKeptAttributes) != 0)
        SetFileAttributesW(wide(m_temporary).c_str(), old & kKeptAttributes);
    if (!MoveFileExW(wide(m_temporary).c_str(), wide(m_target).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        fail("Cannot replace", errnoOf(GetLastError()));
    m_temporary.clear();
}

void OutputFile::discard() noexcept {
    closeQuietly(m_temporaryFd);
    if (!m_temporary.empty())
        DeleteFileW(wide(m_temporary).c_str());
    m_temporary.clear();
    closeQuietly(m_targetFd);
}

} // namespace zelkova::filter
