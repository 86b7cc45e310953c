// CreateProcessA + WaitForSingleObject. Names arrive as UTF-8 and are handed to the ANSI call in
// the system's code page (932 on a Japanese system), the form the run files' programs expect.
#ifdef _WIN32

#include "platform/WindowsProcessLauncher.h"

#include "text/SystemFiles.h"

#include <windows.h>

#include <cerrno>
#include <string>
#include <vector>

namespace zelkova::platform {

namespace {

// UTF-8 to the ANSI code page; a name that does not fit it cannot be started by an ANSI call. No
// character is replaced by a look-alike ("best fit"), which would name another file.
bool toAnsi(const std::string& utf8, std::string& ansi) {
    ansi.clear();
    if (utf8.empty())
        return true;
    const int wideLength = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(),
                                               static_cast<int>(utf8.size()), nullptr, 0);
    if (wideLength <= 0)
        return false;
    std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), wideLength);
    BOOL lossy = FALSE;
    const int ansiLength = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), wideLength, nullptr,
                                               0, nullptr, &lossy);
    if (ansiLength <= 0 || lossy)
        return false;
    ansi.assign(static_cast<std::size_t>(ansiLength), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), wideLength, ansi.data(), ansiLength,
                        nullptr, nullptr);
    return true;
}

} // namespace

LaunchResult WindowsProcessLauncher::runAndWait(const std::string& program,
                                                const std::string& workingFolder) {
    LaunchResult result;
    std::string commandLine;
    std::string folder;
    if (program.empty() || !toAnsi(program, commandLine) || !toAnsi(workingFolder, folder)) {
        result.startError = ENOENT;
        return result;
    }
    // CreateProcessA may write into its command line, so it gets a copy of its own.
    std::vector<char> command(commandLine.begin(), commandLine.end());
    command.push_back('\0');

    STARTUPINFOA startup;
    GetStartupInfoA(&startup);
    PROCESS_INFORMATION process{};
    // The program path is the application name too. Without it the system would take the command
    // line's first word for the program and search for it: an unquoted path with blanks
    // ("C:\計算 プログラム\BEAM.EXE") would start "C:\計算.exe" where one exists, and a name without
    // a folder part would be looked for in Zelkova's own folder and the system's folders before
    // the current one. With it, the file the runner found is the one that runs, and the command
    // line still reaches the program as the path alone, unquoted.
    const BOOL started = CreateProcessA(commandLine.c_str(), command.data(), nullptr, nullptr, FALSE,
                                        CREATE_DEFAULT_ERROR_MODE, nullptr,
                                        folder.empty() ? nullptr : folder.c_str(), &startup, &process);
    if (!started) {
        result.startError = text::errnoFromSystemError(GetLastError());
        return result;
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD exitCode = 0;
    if (GetExitCodeProcess(process.hProcess, &exitCode))
        result.exitCode = static_cast<int>(exitCode);
    result.started = true;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return result;
}

} // namespace zelkova::platform

#endif // _WIN32
