// The run of the filter from its arguments to its exit status.
#include "filter/Program.h"

#include "filter/ExchangeReader.h"
#include "filter/Failure.h"
#include "filter/OutputFile.h"
#include "filter/Reorder.h"

#ifdef _WIN32
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <shellapi.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <cerrno>
#include <cstdio>
#include <memory>
#include <ostream>
#include <system_error>

namespace zelkova::filter {

namespace {

constexpr std::string_view kEndReport = "Stop - Program terminated.";
constexpr std::string_view kErrorCaption = "Quillon";

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using OpenFile = std::unique_ptr<std::FILE, FileCloser>;

#ifdef _WIN32
// Opens the exchange file: a file on a disk only, so that no device such as CON keeps the filter
// from ending. Throws FilterFailure.
OpenFile openExchangeFile(const std::filesystem::path& path, const std::string& name) {
    const int fd = _wopen(path.c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT);
    if (fd < 0)
        throw FilterFailure(fileFailureText("Cannot open the exchange file", name, errno));
    if (GetFileType(reinterpret_cast<HANDLE>(_get_osfhandle(fd))) != FILE_TYPE_DISK) {
        _close(fd);
        throw FilterFailure("The exchange file " + name + " is not a regular file");
    }
    std::FILE* file = _fdopen(fd, "rb");
    if (!file) {
        const int error = errno;
        _close(fd);
        throw FilterFailure(fileFailureText("Cannot open the exchange file", name, error));
    }
    return OpenFile(file);
}
#else
// Opens the exchange file: a regular file only, opened without waiting on a FIFO, so that neither a
// FIFO nor an endless device such as /dev/zero keeps the filter from ending. Throws FilterFailure.
OpenFile openExchangeFile(const std::filesystem::path& path, const std::string& name) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        throw FilterFailure(fileFailureText("Cannot open the exchange file", name, errno));
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        throw FilterFailure("The exchange file " + name + " is not a regular file");
    }
    const int flags = ::fcntl(fd, F_GETFL);
    std::FILE* file =
        flags >= 0 && ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == 0 ? ::fdopen(fd, "rb") : nullptr;
    if (!file) {
        const int error = errno;
        ::close(fd);
        throw FilterFailure(fileFailureText("Cannot open the exchange file", name, error));
    }
    return OpenFile(file);
}
#endif

std::string shortFileText(const std::string& exchangeName, const std::string& outputName,
                          const ReorderResult& result) {
    const std::string text = "The exchange file " + exchangeName + " ends after " +
                             std::to_string(result.linesRead) + (result.linesRead == 1 ? " line" : " lines") +
                             ", inside the " + std::to_string(kHeaderLines) +
                             " header lines that every exchange file starts with. ";
    return text + "Nothing was written to " + outputName + ".";
}

// The filter from an output name on; throws FilterFailure with the report for the user.
void filterInto(const std::filesystem::path& exchangeFile, const std::filesystem::path& outputName) {
    std::error_code ec;
    const std::string exchangeName = displayName(std::filesystem::absolute(exchangeFile, ec));
    if (std::filesystem::is_directory(exchangeFile, ec))
        throw FilterFailure("The exchange file " + exchangeName + " is a folder, not a file");
    if (std::filesystem::equivalent(exchangeFile, outputName, ec))
        throw FilterFailure("The output file " + displayName(outputName) +
                            " is the exchange file itself, which must stay unchanged; choose another name");

    // The exchange file is opened before the output is started, so a missing exchange file leaves
    // an existing output file untouched; the output is put in place only when the whole run has
    // succeeded, so a short exchange file leaves it untouched too.
    const OpenFile file = openExchangeFile(exchangeFile, exchangeName);
    ExchangeReader exchange(file.get(), exchangeName);
    OutputFile output(outputName);
    const ReorderResult result = reorderExchange(exchange, output);
    if (result.outcome == ReorderResult::Outcome::ShortExchangeFile)
        throw FilterFailure(shortFileText(exchangeName, displayName(outputName), result));
    output.commit();
}

} // namespace

#ifdef _WIN32
std::vector<std::string> argumentsOf(std::wstring_view commandLine) {
    std::vector<std::string> arguments;
    const std::wstring line(commandLine);
    int count = 0;
    LPWSTR* words = CommandLineToArgvW(line.c_str(), &count);
    if (!words)
        return arguments;
    for (int i = 1; i < count; ++i)
        arguments.push_back(displayName(std::filesystem::path(words[i])));
    LocalFree(words);
    return arguments;
}
#endif

ExitStatus runQuillon(const std::vector<std::string>& arguments, const DialogsFactory& makeDialogs,
                      std::ostream& out, std::ostream& err, const std::filesystem::path& exchangeFile) {
    std::unique_ptr<OutputDialogs> dialogs;
    std::filesystem::path outputName;
    if (!arguments.empty()) {
        outputName = std::filesystem::path(std::u8string(arguments.front().begin(), arguments.front().end()));
    } else {
        dialogs = makeDialogs();
        std::optional<std::filesystem::path> chosen = chooseOutputFile(*dialogs);
        if (!chosen) {
            err << "quillon: no output file was chosen; nothing was written\n";
            return ExitStatus::EndedByUser;
        }
        outputName = *chosen;
    }

    try {
        if (outputName.empty())
            throw FilterFailure("The output file name is empty");
        filterInto(exchangeFile, outputName);
    } catch (const std::exception& failure) {
        err << "quillon: " << failure.what() << '\n';
        if (dialogs)
            dialogs->showError(std::string(kErrorCaption), failure.what());
        return ExitStatus::Failed;
    }
    out << kEndReport << '\n';
    out.flush();
    return ExitStatus::Done;
}

} // namespace zelkova::filter
