// Choosing the output file when the command line names none: the file dialog, the question
// whether to create a file that does not exist, and the question whether to give up. The dialogs
// sit behind an interface, so the choice runs the same with real windows and with scripted answers.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace zelkova::filter {

enum class Answer { Yes, No };

class OutputDialogs {
public:
    virtual ~OutputDialogs() = default;
    // A file dialog with that title in which a file can be chosen or a name typed; nothing when it
    // is closed without a name.
    virtual std::optional<std::filesystem::path> chooseFile(const std::string& title) = 0;
    // A question with the buttons Yes and No; closing it answers No.
    virtual Answer ask(const std::string& caption, const std::string& text, Answer defaultAnswer) = 0;
    // An error report with an OK button.
    virtual void showError(const std::string& caption, const std::string& text) = 0;
};

// The Fortran unit that the output file stands for; it appears in the dialog's title.
inline constexpr int kOutputUnit = 7;

// Asks until a name is accepted: a file that exists, or a name that does not exist once the user
// agrees to create it. Nothing when the user chooses to end the program.
std::optional<std::filesystem::path> chooseOutputFile(OutputDialogs& dialogs);

} // namespace zelkova::filter
