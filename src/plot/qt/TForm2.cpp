// Placeholder of the plot viewer window: its caption and how it is left, until drawing arrives.
#include "plot/qt/TForm2.h"

TForm2::TForm2(zelkova::platform::Services& services, const std::string& /*openedFileName*/, QWidget* parent)
    : QMainWindow(parent), m_services(services) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QString::fromUtf8(kDefaultViewerCaption));
}

TForm2::~TForm2() = default;

void TForm2::setEditorHooks(std::function<void()> showEditor, std::function<void(QObject*)> exitApplication) {
    m_showEditor = std::move(showEditor);
    m_exitApplication = std::move(exitApplication);
}

std::string TForm2::viewerCaption() const { return windowTitle().toStdString(); }
