// Zelkova's start-up: the application and its title, the editor window (which loads the file named
// on the command line and creates the listing printer), then the help window and the plot viewer,
// both hidden, then the event loop until Exit or the editor's close box ends the application.
#include "app/ApplicationIcon.h"
#include "editor/qt/TForm1.h"
#include "help/TForm3.h"
#include "platform/MessageBoxes.h"
#include "platform/SystemProcessLauncher.h"
#include "platform/qt/Fonts.h"
#include "platform/qt/QtServices.h"
#include "platform/qt/QtText.h"
#include "platform/qt/Translations.h"
#include "plot/qt/TForm2.h"
#include "runner/qt/ProgramWindowLauncher.h"

#include <QApplication>
#include <QStringList>

namespace platform = zelkova::platform;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("zelkova"));
    // The application title is the caption of the plain message boxes (platform/MessageBoxes.h).
    // It is deliberately not Qt's display name: the window system would append that to every
    // window's caption, and the editor's captions are the document's names and nothing more.
    QApplication::setWindowIcon(zelkova::app::applicationIcon());
    platform::installFontSubstitutions();
    platform::installJapaneseTranslations(app);

#ifdef _WIN32
    // A console program gets its console window from the system.
    platform::SystemProcessLauncher processes;
#else
    // Each program gets a window of its own, in which it shows its progress and asks its
    // questions. The window's question and its modal showing are the same Qt services as every
    // other window's (they hold no state, so these instances and the service set's are alike).
    platform::QtMessageBoxes programMessages;
    platform::QtModalRunner programModal;
    zelkova::runner::ProgramWindowLauncher processes(programMessages, programModal);
#endif
    platform::QtServiceSet serviceSet(processes);
    platform::Services& services = serviceSet.services();

    const QStringList arguments = QApplication::arguments();
    TForm1 form1(services, arguments.size() > 1 ? arguments.at(1) : QString());
    QObject::connect(&form1, &TForm1::applicationEnding, &app, &QApplication::quit, Qt::QueuedConnection);

    TForm3 form3(services);
    TForm2 form2(services, form1.openedFileName());
    form2.setEditorHooks([&form1] { form1.show(); }, [&form1](QObject* sender) { form1.Exit1Click(sender); });
    form1.setPlotViewer(&form2);

    return app.exec();
}
