// Placeholder of the help window: its caption, until the help text arrives.
#include "help/TForm3.h"

TForm3::TForm3(zelkova::platform::Services& services, QWidget* parent) : QDialog(parent), m_services(services) {
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("ヘルプ画面"));
    resize(676, 502);
}
