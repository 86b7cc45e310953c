// Path parts and file existence. Paths are UTF-8 names (see SystemFiles.h).
#pragma once

#include <string>
#include <string_view>

namespace zelkova::text {

// True for the characters that end a folder part: "/" on Linux; "\", "/" and ":" on Windows.
bool isFolderSeparator(char c);

// Everything up to and including the last folder separator; empty when there is none.
std::string folderPart(std::string_view path);

// Everything after the last folder separator.
std::string fileNamePart(std::string_view path);

bool hasFolderPart(std::string_view path);

// True when `name` holds a NUL byte. Such a name names no file: the system's calls would take only
// what stands before the NUL, a different name.
bool holdsNulByte(std::string_view name);

// True only when `path` names a file (or a link to one); a folder never counts, nor does a device,
// and a name holding a NUL byte names nothing.
bool existsAsFile(const std::string& path);

// The folder part of the running executable's own path.
std::string executableFolder();

} // namespace zelkova::text
