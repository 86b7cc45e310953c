#include "batch/OffscreenApplication.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

namespace zelkova::batch {

namespace {

QtMessageHandler previousHandler = nullptr;

void quietSessionNotes(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtWarningMsg && message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set")))
        return;
    if (previousHandler)
        previousHandler(type, context, message);
}

} // namespace

std::unique_ptr<QGuiApplication> ensureApplication() {
    if (QCoreApplication::instance())
        return nullptr;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (!previousHandler)
        previousHandler = qInstallMessageHandler(quietSessionNotes);
    static int argc = 1;
    static char name[] = "zelkova-batch";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QGuiApplication>(argc, argv);
}

} // namespace zelkova::batch
