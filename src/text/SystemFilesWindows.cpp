// The file calls on Windows: UTF-8 names as UTF-16 through the wide calls.
//
// Descriptors come from _wopen, so that the code above reads and writes them as it does on Linux;
// they are binary (no CR LF translation, no Ctrl-Z at the end) and not inherited. What a name
// names is asked of the file itself (CreateFileW without access rights, then its type and
// attributes), which follows links and tells a device such as "CON" from a file.
#include "text/SystemFiles.h"

#include "text/Cp932.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <cerrno>
#include <climits>
#include <vector>

namespace zelkova::text {

std::wstring wideName(std::string_view name) {
    const std::u16string wide = utf8ToUtf16(name);
    return std::wstring(wide.begin(), wide.end());
}

int errnoFromSystemError(unsigned long error) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
        return ENOENT;
    case ERROR_PATH_NOT_FOUND: // the general error report's "path not found", as ENOTDIR on Linux
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_INVALID_NAME:
    case ERROR_DIRECTORY:
        return ENOTDIR;
    case ERROR_FILENAME_EXCED_RANGE:
        return ENAMETOOLONG;
    case ERROR_TOO_MANY_OPEN_FILES:
        return EMFILE;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_WRITE_PROTECT:
    case ERROR_CURRENT_DIRECTORY:
    case ERROR_NETWORK_ACCESS_DENIED:
        return EACCES;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return ENOSPC;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        return EEXIST;
    case ERROR_DIR_NOT_EMPTY:
        return ENOTEMPTY;
    case ERROR_BAD_EXE_FORMAT:
    case ERROR_EXE_MACHINE_TYPE_MISMATCH:
        return ENOEXEC;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
        return ENOMEM;
    case ERROR_INVALID_PARAMETER:
    case ERROR_INVALID_HANDLE:
        return EINVAL;
    case ERROR_NOT_SAME_DEVICE:
        return EXDEV;
    default:
        return EIO;
    }
}

namespace {

bool holdsNul(const std::string& name) {
    return name.find('\0') != std::string::npos;
}

// A handle on the file itself, for its type and identity only (no access rights, every sharing
// allowed, folders too).
class Probe {
public:
    explicit Probe(const std::string& name)
        : m_handle(CreateFileW(wideName(name).c_str(), 0,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                               FILE_FLAG_BACKUP_SEMANTICS, nullptr)) {}
    ~Probe() {
        if (valid())
            CloseHandle(m_handle);
    }
    Probe(const Probe&) = delete;
    Probe& operator=(const Probe&) = delete;
    bool valid() const { return m_handle != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return m_handle; }

private:
    HANDLE m_handle;
};

} // namespace

FileKind fileKind(const std::string& name) {
    if (name.empty() || holdsNul(name))
        return FileKind::Missing;
    Probe probe(name);
    if (!probe.valid()) {
        // A file that another program holds without sharing, or that we may not open at all,
        // still shows its attributes.
        const DWORD error = GetLastError();
        if (error != ERROR_SHARING_VIOLATION && error != ERROR_ACCESS_DENIED)
            return FileKind::Missing;
        const DWORD attributes = GetFileAttributesW(wideName(name).c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES)
            return FileKind::Missing;
        if (attributes & FILE_ATTRIBUTE_DIRECTORY)
            return FileKind::Folder;
        return (attributes & FILE_ATTRIBUTE_DEVICE) ? FileKind::Other : FileKind::File;
    }
    if (GetFileType(probe.get()) != FILE_TYPE_DISK)
        return FileKind::Other;
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(probe.get(), &info))
        return FileKind::Other;
    return (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? FileKind::Folder : FileKind::File;
}

bool sameFile(const std::string& a, const std::string& b) {
    if (a.empty() || b.empty() || holdsNul(a) || holdsNul(b))
        return false;
    Probe pa(a);
    Probe pb(b);
    BY_HANDLE_FILE_INFORMATION ia{};
    BY_HANDLE_FILE_INFORMATION ib{};
    if (!pa.valid() || !pb.valid() || !GetFileInformationByHandle(pa.get(), &ia) ||
        !GetFileInformationByHandle(pb.get(), &ib))
        return false;
    return ia.dwVolumeSerialNumber == ib.dwVolumeSerialNumber && ia.nFileIndexHigh == ib.nFileIndexHigh &&
           ia.nFileIndexLow == ib.nFileIndexLow;
}

namespace {

// _wopen with the system's own error, where it has one, mapped by the table above.
int openDescriptor(const std::string& name, int flags) {
    if (holdsNul(name)) {
        errno = ENOENT;
        return -1;
    }
    _doserrno = 0;
    const int fd = _wopen(wideName(name).c_str(), flags | _O_BINARY | _O_NOINHERIT, _S_IREAD | _S_IWRITE);
    if (fd < 0 && _doserrno != 0)
        errno = errnoFromSystemError(_doserrno);
    return fd;
}

} // namespace

int openForReading(const std::string& name) {
    return openDescriptor(name, _O_RDONLY);
}

int createOrEmpty(const std::string& name) {
    return openDescriptor(name, _O_WRONLY | _O_CREAT | _O_TRUNC);
}

std::uint64_t fileSize(int fd) {
    LARGE_INTEGER size{};
    const HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(fd));
    if (handle == INVALID_HANDLE_VALUE || GetFileType(handle) != FILE_TYPE_DISK ||
        !GetFileSizeEx(handle, &size) || size.QuadPart < 0)
        return 0;
    return static_cast<std::uint64_t>(size.QuadPart);
}

int closeFile(int fd) {
    return _close(fd) == 0 ? 0 : -1;
}

std::ptrdiff_t readSome(int fd, char* buffer, std::size_t size) {
    return _read(fd, buffer, static_cast<unsigned>(size > INT_MAX ? INT_MAX : size));
}

std::ptrdiff_t writeSome(int fd, const char* bytes, std::size_t size) {
    return _write(fd, bytes, static_cast<unsigned>(size > INT_MAX ? INT_MAX : size));
}

std::FILE* openStream(const std::string& name) {
    if (holdsNul(name)) {
        errno = ENOENT;
        return nullptr;
    }
    return _wfopen(wideName(name).c_str(), L"rbN");
}

int removeFile(const std::string& name) {
    if (holdsNul(name))
        return ENOENT;
    return DeleteFileW(wideName(name).c_str()) ? 0 : errnoFromSystemError(GetLastError());
}

std::string executablePath() {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0)
            return {};
        if (n < buffer.size())
            return utf16ToUtf8(std::u16string(buffer.begin(), buffer.begin() + n));
        buffer.resize(buffer.size() * 2);
    }
}

} // namespace zelkova::text
