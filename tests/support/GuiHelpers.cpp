// GUI test helpers.
#include "GuiHelpers.h"

#include "platform/qt/Fonts.h"

#include <QCoreApplication>

namespace zelkova::testing {

void installFontSubstitutions() {
    platform::installFontSubstitutions();
}

void trigger(QObject* root, const char* actionName) {
    if (QAction* action = child<QAction>(root, actionName))
        action->trigger();
}

void processEvents() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

} // namespace zelkova::testing
