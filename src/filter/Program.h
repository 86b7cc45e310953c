// Quillon as a whole, below its windows: the output file from the command line or from the
// dialogs, the two passes over the exchange file, the reports and the exit status.
#pragma once

#include "filter/OutputChoice.h"

#include <filesystem>
#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace zelkova::filter {

// The exchange file, always read from the working directory.
inline constexpr std::string_view kExchangeFileName = "JWC_TEMP.TXT";

enum class ExitStatus : int {
    Done = 0,
    // An error was reported: the exchange file is missing, too short or unreadable, or the
    // output file cannot be written.
    Failed = 1,
    // No output file was named and the user chose to end the program; nothing was written.
    EndedByUser = 2,
};

// Makes the dialogs the first time they are needed, which is only when the command line names no
// output file; so the program needs no display when it is given one.
using DialogsFactory = std::function<std::unique_ptr<OutputDialogs>()>;

// Runs the filter. `arguments` are the command-line arguments after the program's name: the first
// names the output file and the others are ignored. The end report goes to `out`, errors to `err`
// (and to an error box when the dialogs are in use).
// `arguments` are UTF-8 on every system.
ExitStatus runQuillon(const std::vector<std::string>& arguments, const DialogsFactory& makeDialogs,
                      std::ostream& out, std::ostream& err,
                      const std::filesystem::path& exchangeFile = std::filesystem::path(kExchangeFileName));

#ifdef _WIN32
// The arguments after the program's name in a Windows command line (GetCommandLineW()), split as
// the C run-time library splits them, in UTF-8: main()'s own arguments are in the ANSI code page,
// which cannot hold every file name.
std::vector<std::string> argumentsOf(std::wstring_view commandLine);
#endif

} // namespace zelkova::filter
