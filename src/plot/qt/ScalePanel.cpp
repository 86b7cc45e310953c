// The scale panel's components, at their fixed places.
#include "plot/qt/ScalePanel.h"

#include "platform/qt/Named.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace zelkova::plot {

using platform::named;

ScalePanel::ScalePanel(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("Panel2"));
    setGeometry(296, 40, 233, 113);
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(1);
    setBackgroundRole(QPalette::Button);
    setAutoFillBackground(true);
    QFont panelFont = font();
    panelFont.setPixelSize(12);
    setFont(panelFont);

    Label9 = named(new QLabel(QStringLiteral("作図ﾌｧｲﾙ読み込み時に適用する"), this), "Label9");
    Label9->adjustSize();
    Label9->move(16, 16);
    Label8 = named(new QLabel(QStringLiteral("縮尺：　１／"), this), "Label8");
    Label8->adjustSize();
    Edit2 = named(new QLineEdit(QStringLiteral("1"), this), "Edit2");
    Edit2->setGeometry(16 + Label8->width() + 4, 48, 100, 21);
    Label8->move(16, Edit2->y() + (Edit2->height() - Label8->height()) / 2);
    Button2 = named(new QPushButton(QStringLiteral("OK"), this), "Button2");
    Button2->setGeometry(184, 88, 49, 25);
    Button2->setAutoDefault(false);
    hide();
}

} // namespace zelkova::plot
