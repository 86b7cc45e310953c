// Quillon's dialogs on Qt: the file dialog for the output file and the Yes/No and error boxes.
#pragma once

#include "filter/OutputChoice.h"

class QCoreApplication;

namespace zelkova::filter {

// Needs a QApplication; the program creates one only when it shows dialogs.
class QtOutputDialogs final : public OutputDialogs {
public:
    std::optional<std::filesystem::path> chooseFile(const std::string& title) override;
    Answer ask(const std::string& caption, const std::string& text, Answer defaultAnswer) override;
    void showError(const std::string& caption, const std::string& text) override;
};

// Qt's own texts (the file dialog, the Yes and No buttons) in Japanese whatever the locale, as in
// Zelkova, from Qt's Japanese catalogue. Quillon shares no code with Zelkova, so it has its own
// loader. False when the catalogue is not installed.
bool installJapaneseTranslations(QCoreApplication& application);

} // namespace zelkova::filter
