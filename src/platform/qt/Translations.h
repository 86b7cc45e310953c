// Qt's own texts in Japanese: the buttons, labels and questions of its standard dialogs (file,
// print, page, font, colour) and message boxes, whatever the user's locale, as the rest of the user
// interface is Japanese.
#pragma once

class QCoreApplication;

namespace zelkova::platform {

// Loads Qt's Japanese catalogue (Debian's qt6-translations-l10n) into `application` and makes the
// Japanese locale the default for the numbers, dates and paper names those dialogs show. False
// when the catalogue is not installed: Qt's texts then stay English.
bool installJapaneseTranslations(QCoreApplication& application);

} // namespace zelkova::platform
