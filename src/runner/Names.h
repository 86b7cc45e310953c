// File names of a run: how unit and actual file names become the names of real files, and the
// comparisons the runner makes between them. Names here are native (UTF-8 on Linux).
#pragma once

#include <string>
#include <string_view>

namespace zelkova::runner {

// A name without a folder part is completed with `folder` (which ends with its separator, or is
// empty); a name with one is used as written.
std::string resolvedName(std::string_view name, std::string_view folder);

// True when both names exist and are the same file (same device and inode), whatever form their
// paths take. A name holding a NUL byte names no file.
bool sameFile(const std::string& a, const std::string& b);

// True when `name` has a folder part that names no existing folder. Opening such a name fails as
// "path not found" on the platform the run files come from, where this system says only "no such
// file"; the runner reports it the former way.
bool inMissingFolder(std::string_view name);

// Equal when compared ignoring letter case (ASCII, full-width Latin, Latin-1, Greek, Cyrillic, Roman
// numerals), as the file names of the platform the run files come from compare. The same on every
// system: the tests hold it against Windows' own comparison of file names, under Wine.
bool equalIgnoringCase(std::string_view a, std::string_view b);

// The character that equalIgnoringCase compares in place of `c`: its lower-case letter, or itself.
char16_t foldedCase(char16_t c);

} // namespace zelkova::runner
