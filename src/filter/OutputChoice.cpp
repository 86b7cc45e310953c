// The dialog sequence for the output file.
#include "filter/OutputChoice.h"

#include <system_error>

namespace zelkova::filter {

namespace {

constexpr std::string_view kTitle = "Open: Select File for Unit ";
constexpr std::string_view kNoFileCaption = "File Open Error";
constexpr std::string_view kNoFileQuestion = "A File Must be Selected\r\rTerminate Program?";

} // namespace

std::optional<std::filesystem::path> chooseOutputFile(OutputDialogs& dialogs) {
    const std::string title = std::string(kTitle) + std::to_string(kOutputUnit);
    for (;;) {
        const std::optional<std::filesystem::path> chosen = dialogs.chooseFile(title);
        if (!chosen || chosen->empty()) {
            if (dialogs.ask(std::string(kNoFileCaption), std::string(kNoFileQuestion), Answer::No) ==
                Answer::Yes)
                return std::nullopt;
            continue;
        }
        std::error_code ec;
        const auto status = std::filesystem::status(*chosen, ec);
        if (std::filesystem::is_regular_file(status))
            return chosen;
        if (std::filesystem::exists(status)) {
            dialogs.showError(title,
                              chosen->string() + "\r\nis not a file. Choose a file or type a new name.");
            continue;
        }
        if (dialogs.ask(title, chosen->string() + "\r\nThis file does not exist.\r\nCreate the file?",
                        Answer::Yes) == Answer::Yes)
            return chosen;
    }
}

} // namespace zelkova::filter
