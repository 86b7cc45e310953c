// The plot viewer's navigation: the button bar, the step-size menus and the mouse on the view
// image. The arithmetic and the mouse rules live in plot/Navigation and plot/MouseGesture; the
// handlers here apply them and redisplay the retained picture.
#include "plot/qt/TForm2.h"

#include "platform/qt/Named.h"
#include "plot/qt/ViewImage.h"

#include <QAction>
#include <QActionGroup>
#include <QFont>
#include <QFrame>
#include <QLineEdit>
#include <QPushButton>

#include <initializer_list>

using namespace zelkova;
using platform::named;

namespace {

// Radio behaviour: the chosen item checked, its siblings not.
void checkOnly(QAction* chosen, std::initializer_list<QAction*> items) {
    for (QAction* item : items)
        item->setChecked(item == chosen);
}

std::optional<plot::MouseButton> mouseButtonOf(Qt::MouseButton button) {
    switch (button) {
    case Qt::LeftButton:
        return plot::MouseButton::Left;
    case Qt::RightButton:
        return plot::MouseButton::Right;
    case Qt::MiddleButton:
        return plot::MouseButton::Middle;
    default:
        return std::nullopt;
    }
}

} // namespace

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
    // The buttons leave the focus on the view image, where the keys stand for them.
    for (QPushButton* b : {btnleft, btnright, btnup, btndown, btnbigger, btnsmaller, btnorg})
        b->setFocusPolicy(Qt::NoFocus);
    connect(btnleft, &QPushButton::clicked, this, &TForm2::mnleftClick);
    connect(btnright, &QPushButton::clicked, this, &TForm2::mnrightClick);
    connect(btnup, &QPushButton::clicked, this, &TForm2::mnupClick);
    connect(btndown, &QPushButton::clicked, this, &TForm2::mndownClick);
    connect(btnbigger, &QPushButton::clicked, this, &TForm2::mnbiggerClick);
    connect(btnsmaller, &QPushButton::clicked, this, &TForm2::mnsmallerClick);
    connect(btnorg, &QPushButton::clicked, this, &TForm2::mnorgClick);

    auto* moveSteps = new QActionGroup(this);
    for (QAction* item : {move05, move20, move50, move100})
        moveSteps->addAction(item);
    auto* zoomSteps = new QActionGroup(this);
    for (QAction* item : {scall110, scall141, scall200})
        zoomSteps->addAction(item);
    connect(move05, &QAction::triggered, this, &TForm2::move05Click);
    connect(move20, &QAction::triggered, this, &TForm2::move20Click);
    connect(move50, &QAction::triggered, this, &TForm2::move50Click);
    connect(move100, &QAction::triggered, this, &TForm2::move100Click);
    connect(scall110, &QAction::triggered, this, &TForm2::scall110Click);
    connect(scall141, &QAction::triggered, this, &TForm2::scall141Click);
    connect(scall200, &QAction::triggered, this, &TForm2::scall200Click);

    connect(Image1, &plot::ViewImage::mousePressed, this, &TForm2::Image1MouseDown);
    connect(Image1, &plot::ViewImage::mouseMoved, this, &TForm2::Image1MouseMove);
    connect(Image1, &plot::ViewImage::mouseReleased, this, &TForm2::Image1MouseUp);
    connect(Image1, &plot::ViewImage::wheelTurned, this, &TForm2::Image1MouseWheel);
    connect(Image1, &plot::ViewImage::navigationKey, this, &TForm2::Image1NavigationKey);
    Image1->setFocus();
}

void TForm2::showMagnification() {
    Edit1->setText(QString::fromStdString(plot::percentText(m_state.magnification)));
}

plot::ViewSize TForm2::viewSize() const {
    return {Image1->width(), Image1->height()};
}

void TForm2::navigate(plot::ViewCommand command) {
    // At the limit of the view rectangle the step leaves the view as it is; the picture is
    // redisplayed all the same, as every button does.
    plot::applyViewCommand(m_state, command, viewSize());
    redisplay();
    if (command == plot::ViewCommand::Bigger || command == plot::ViewCommand::Smaller ||
        command == plot::ViewCommand::Org)
        showMagnification();
}

void TForm2::mnupClick() {
    navigate(plot::ViewCommand::Up);
}

void TForm2::mndownClick() {
    navigate(plot::ViewCommand::Down);
}

void TForm2::mnleftClick() {
    navigate(plot::ViewCommand::Left);
}

void TForm2::mnrightClick() {
    navigate(plot::ViewCommand::Right);
}

void TForm2::mnbiggerClick() {
    navigate(plot::ViewCommand::Bigger);
}

void TForm2::mnsmallerClick() {
    navigate(plot::ViewCommand::Smaller);
}

void TForm2::mnorgClick() {
    navigate(plot::ViewCommand::Org);
}

void TForm2::move05Click() {
    m_state.moveFraction = 0.05;
    checkOnly(move05, {move05, move20, move50, move100});
}

void TForm2::move20Click() {
    m_state.moveFraction = 0.2;
    checkOnly(move20, {move05, move20, move50, move100});
}

void TForm2::move50Click() {
    m_state.moveFraction = 0.5;
    checkOnly(move50, {move05, move20, move50, move100});
}

void TForm2::move100Click() {
    m_state.moveFraction = 1.0;
    checkOnly(move100, {move05, move20, move50, move100});
}

void TForm2::scall110Click() {
    m_state.zoomStep = 1.1;
    checkOnly(scall110, {scall110, scall141, scall200});
}

void TForm2::scall141Click() {
    m_state.zoomStep = 1.414;
    checkOnly(scall141, {scall110, scall141, scall200});
}

void TForm2::scall200Click() {
    m_state.zoomStep = 2.0;
    checkOnly(scall200, {scall110, scall141, scall200});
}

void TForm2::Image1MouseDown(Qt::MouseButton Button, Qt::KeyboardModifiers, int X, int Y) {
    const auto button = mouseButtonOf(Button);
    if (!button)
        return;
    if (const auto erase = m_gesture.press(m_state, *button, {X, Y}))
        Image1->invertFrame(erase->a.x, erase->a.y, erase->b.x, erase->b.y);
}

void TForm2::Image1MouseMove(Qt::KeyboardModifiers, int X, int Y) {
    if (const auto redraw = m_gesture.move(m_state, {X, Y})) {
        Image1->invertFrame(redraw->erase.a.x, redraw->erase.a.y, redraw->erase.b.x, redraw->erase.b.y);
        Image1->invertFrame(redraw->draw.a.x, redraw->draw.a.y, redraw->draw.b.x, redraw->draw.b.y);
    }
}

void TForm2::Image1MouseUp(Qt::MouseButton Button, Qt::KeyboardModifiers, int, int) {
    const auto button = mouseButtonOf(Button);
    if (!button)
        return;
    switch (m_gesture.release(m_state, *button)) {
    case plot::GestureAction::None:
    case plot::GestureAction::KeepFrame:
        return;
    case plot::GestureAction::OriginalView:
        mnorgClick();
        return;
    case plot::GestureAction::Recentre:
        plot::recentre(m_state, viewSize());
        break;
    case plot::GestureAction::ZoomIntoFrame:
        plot::zoomIntoFrame(m_state, viewSize());
        break;
    }
    redisplay();
    showMagnification();
}

void TForm2::Image1MouseWheel(int notches, int x, int y) {
    // Not while a frame is being dragged: the redisplay would take the frame from under it.
    if (m_gesture.pressFlag())
        return;
    for (int n = 0; n < std::abs(notches); ++n)
        plot::zoomAbout(m_state, notches > 0, {x, y});
    redisplay();
    showMagnification();
}

void TForm2::Image1NavigationKey(int key) {
    if (m_gesture.pressFlag())
        return;
    switch (key) {
    case Qt::Key_Left:
        mnleftClick();
        break;
    case Qt::Key_Right:
        mnrightClick();
        break;
    case Qt::Key_Up:
        mnupClick();
        break;
    case Qt::Key_Down:
        mndownClick();
        break;
    case Qt::Key_PageUp:
        mnbiggerClick();
        break;
    case Qt::Key_PageDown:
        mnsmallerClick();
        break;
    case Qt::Key_Home:
        mnorgClick();
        break;
    default:
        break;
    }
}
