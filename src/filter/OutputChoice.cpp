// The dialog sequence for the output file.
#include "filter/OutputChoice.h"

#include <system_error>

namespace zelkova::filter {

namespace {

constexpr std::string_view kTitle = "Open: Select File for Unit ";
constexpr std::string_view kNoFileCaption = "File Open Error";
constexpr std::string_view kNoFileQuestion = "A File Must be Selected\r\rTerminate Program?";
// Our own questions, in the language of the user interface; each follows the chosen name.
constexpr std::string_view kCreateQuestion = "\r\nこのファイルは存在しません。\r\nファイルを作成しますか？";
constexpr std::string_view kNotAFile =
    "\r\nはファイルではありません。\r\nファイルを選ぶか、新しい名前を入力して下さい。";

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
            dialogs.showError(title, chosen->string() + std::string(kNotAFile));
            continue;
        }
        if (dialogs.ask(title, chosen->string() + std::string(kCreateQuestion), Answer::Yes) == Answer::Yes)
            return chosen;
    }
}

} // namespace zelkova::filter
