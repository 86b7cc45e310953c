// The run of the filter from its arguments to its exit status.
#include "filter/Program.h"

#include "filter/ExchangeReader.h"
#include "filter/Failure.h"
#include "filter/OutputFile.h"
#include "filter/Reorder.h"

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

OpenFile openForReading(const std::filesystem::path& path) {
#ifdef _WIN32
    return OpenFile(_wfopen(path.c_str(), L"rb"));
#else
    return OpenFile(std::fopen(path.c_str(), "rb"));
#endif
}

std::string shortFileText(const std::string& exchangeName, const std::string& outputName,
                          const ReorderResult& result) {
    std::string text = "The exchange file " + exchangeName + " ends after " +
                       std::to_string(result.linesRead) + (result.linesRead == 1 ? " line" : " lines") +
                       ", inside the " + std::to_string(kHeaderLines) +
                       " header lines that every exchange file starts with. ";
    if (result.pivotLine == 0)
        text += outputName + " was left empty.";
    else
        text += outputName + " holds only the lines from line " + std::to_string(result.pivotLine) + " on.";
    return text;
}

// The filter from an output name on; throws FilterFailure with the report for the user.
void filterInto(const std::filesystem::path& exchangeFile, const std::filesystem::path& outputName) {
    std::error_code ec;
    const std::string exchangeName = std::filesystem::absolute(exchangeFile, ec).string();
    if (std::filesystem::is_directory(exchangeFile, ec))
        throw FilterFailure("The exchange file " + exchangeName + " is a folder, not a file");
    if (std::filesystem::equivalent(exchangeFile, outputName, ec))
        throw FilterFailure("The output file " + outputName.string() +
                            " is the exchange file itself, which must stay unchanged; choose another name");

    // The exchange file is opened before the output is started, so a missing exchange file leaves
    // an existing output file untouched.
    const OpenFile file = openForReading(exchangeFile);
    if (!file)
        throw FilterFailure(fileFailureText("Cannot open the exchange file", exchangeName, errno));
    ExchangeReader exchange(file.get(), exchangeName);
    OutputFile output(outputName);
    const ReorderResult result = reorderExchange(exchange, output);
    output.commit();
    if (result.outcome == ReorderResult::Outcome::ShortExchangeFile)
        throw FilterFailure(shortFileText(exchangeName, outputName.string(), result));
}

} // namespace

ExitStatus runQuillon(const std::vector<std::string>& arguments, const DialogsFactory& makeDialogs,
                      std::ostream& out, std::ostream& err, const std::filesystem::path& exchangeFile) {
    std::unique_ptr<OutputDialogs> dialogs;
    std::filesystem::path outputName;
    if (!arguments.empty()) {
        outputName = arguments.front();
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
