// The operating system's file calls that the core makes, one small function each, implemented for
// Linux (SystemFilesPosix.cpp) and for Windows (SystemFilesWindows.cpp); the build picks one.
//
// Names are UTF-8 throughout the core: the run files' code-page-932 names are decoded once, when
// their line is read. Linux takes such names as they are. Windows gets them as UTF-16 through the
// wide calls (_wopen, _wfopen, CreateFileW, DeleteFileW, MoveFileExW), so that every name code page
// 932 can write reaches the file system whole, whatever the system's own ANSI code page.
//
// Failures are errno values on both systems. On Windows the C library's calls set errno themselves,
// and the system's own error numbers are mapped onto errno values here (errnoFromSystemError), as
// the C library maps them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace zelkova::text {

enum class FileKind {
    Missing, // nothing under that name, or a name the system cannot take
    File,    // a regular file, links followed
    Folder,
    Other // a device, a FIFO, a socket
};

// What `name` names. A name holding a NUL byte names nothing.
FileKind fileKind(const std::string& name);

// True when both names exist and are the same file, whatever form their paths take (the same
// device and inode; on Windows the same volume and file index).
bool sameFile(const std::string& a, const std::string& b);

// A descriptor open for reading, binary, not inherited by programs we start; -1 with errno set.
int openForReading(const std::string& name);

// A descriptor open for writing, binary, not inherited, the file created (read and write for
// everybody the user's umask allows) or emptied; -1 with errno set. A FIFO in its place is not
// waited for (a FIFO without a reader is access denied).
int createOrEmpty(const std::string& name);

// The size of the open file in bytes; 0 when it has none (a device) or it cannot be told.
std::uint64_t fileSize(int fd);

// Closes `fd`; 0, or -1 with errno set (a write-back error shows here).
int closeFile(int fd);

// Reads up to `size` bytes; the count (0 at the end of the file), or -1 with errno set. An
// interrupted call is repeated.
std::ptrdiff_t readSome(int fd, char* buffer, std::size_t size);

// Writes up to `size` bytes; the count written, or -1 with errno set. An interrupted call is
// repeated.
std::ptrdiff_t writeSome(int fd, const char* bytes, std::size_t size);

// A binary stream open for reading, not inherited; null with errno set.
std::FILE* openStream(const std::string& name);

// Removes the file; 0 or an errno value.
int removeFile(const std::string& name);

// The running program's own path.
std::string executablePath();

#ifdef _WIN32
// The UTF-16 name that the wide calls take for the UTF-8 name `name`.
std::wstring wideName(std::string_view name);

// The errno value for a Windows error number (GetLastError()).
int errnoFromSystemError(unsigned long error);
#endif

} // namespace zelkova::text
