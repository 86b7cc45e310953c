// The plot viewer's navigation: the button bar, the step-size menus and the mouse on the view image.
#include "plot/qt/TForm2.h"

#include "platform/qt/Named.h"
#include "plot/qt/ViewImage.h"

#include <QAction>
#include <QFont>
#include <QFrame>
#include <QLineEdit>
#include <QPushButton>

using namespace zelkova;
using platform::named;

void TForm2::buildButtonBar(QWidget* client) {
    // The button bar over the bottom-left corner of the view image.
    Panel1 = named(new QFrame(client), "Panel1");
    Panel1->setGeometry(0, 445, 330, 24);
    Panel1->setFrameShape(QFrame::Panel);
    Panel1->setAutoFillBackground(true);
    QFont bold = Panel1->font();
    bold.setBold(true);
    auto button = [this](const char* name, const QString& caption, int left, const QFont* font) {
        auto* b = named(new QPushButton(caption, Panel1), name);
        b->setGeometry(left, 5, 38, 18);
        if (font)
            b->setFont(*font);
        return b;
    };
    btnleft = button("btnleft", QStringLiteral("←"), 6, &bold);
    btnright = button("btnright", QStringLiteral("→"), 46, &bold);
    btnup = button("btnup", QStringLiteral("↑"), 86, &bold);
    btndown = button("btndown", QStringLiteral("↓"), 126, &bold);
    btnbigger = button("btnbigger", QStringLiteral("拡大"), 165, nullptr);
    btnsmaller = button("btnsmaller", QStringLiteral("縮小"), 205, nullptr);
    Edit1 = named(new QLineEdit(QStringLiteral("100%"), Panel1), "Edit1");
    Edit1->setGeometry(245, 2, 38, 20);
    Edit1->setReadOnly(true);
    btnorg = button("btnorg", QStringLiteral("原図"), 285, nullptr);
    Panel1->raise();
}

void TForm2::wireNavigation() {
    for (QPushButton* b : {btnleft, btnright, btnup, btndown, btnbigger, btnsmaller, btnorg})
        b->setEnabled(false);
    for (QAction* item : {move05, move20, move50, move100, scall110, scall141, scall200})
        item->setEnabled(false);
}

void TForm2::showMagnification() {
    Edit1->setText(QString::number(m_state.magnification * 100, 'f', 0) + QLatin1Char('%'));
}

void TForm2::mnupClick() {}
void TForm2::mndownClick() {}
void TForm2::mnleftClick() {}
void TForm2::mnrightClick() {}
void TForm2::mnbiggerClick() {}
void TForm2::mnsmallerClick() {}
void TForm2::mnorgClick() {}
void TForm2::move05Click() {}
void TForm2::move20Click() {}
void TForm2::move50Click() {}
void TForm2::move100Click() {}
void TForm2::scall110Click() {}
void TForm2::scall141Click() {}
void TForm2::scall200Click() {}
