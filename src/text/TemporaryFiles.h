// Temporary files that must not outlive the process: each one registered here is removed when
// SIGINT, SIGTERM or SIGHUP ends the process before the file has been renamed into place.
//
// The handlers are installed the first time a file is registered, for each of the three signals
// whose handling is still the default (a program that handles them itself keeps its handlers).
// A handler removes the files of its own process only (a child between fork and exec inherits the
// handler but not the files), then lets the signal end the process as it would have.
#pragma once

#include <string_view>

namespace zelkova::text {

// Registers `name` in the folder open as `folderFd`; the number to unregister it with, or -1 when
// every entry is taken (the file is then removed only by the writer itself).
int registerTemporaryFile(int folderFd, std::string_view name);

// Forgets the entry; the file is left alone.
void unregisterTemporaryFile(int entry);

} // namespace zelkova::text
