// The arrow buttons of the numeric edits.
#include "platform/qt/UpDown.h"

#include "platform/qt/QtText.h"
#include "text/Numbers.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

UpDown::UpDown(QLineEdit* associate, int minimum, int maximum, QWidget* parent)
    : QWidget(parent), m_associate(associate), m_minimum(minimum), m_maximum(maximum), m_position(minimum) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_up = new QToolButton(this);
    m_up->setArrowType(Qt::UpArrow);
    m_down = new QToolButton(this);
    m_down->setArrowType(Qt::DownArrow);
    for (QToolButton* button : {m_up, m_down}) {
        button->setAutoRepeat(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setFixedWidth(16);
        button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Ignored);
        layout->addWidget(button);
    }
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    connect(m_up, &QToolButton::clicked, this, &UpDown::stepUp);
    connect(m_down, &QToolButton::clicked, this, &UpDown::stepDown);
    if (const auto value = zelkova::text::parseInteger(zelkova::platform::toUtf8(associate->text())))
        m_position = std::clamp(*value, m_minimum, m_maximum);
    // The arrow keys in the edit step as the buttons do.
    associate->installEventFilter(this);
}

void UpDown::step(int delta) {
    // The edit's number as it stands now (typed values included), brought into the range first; a
    // text that is not a number steps from the last position.
    if (const auto value = zelkova::text::parseInteger(zelkova::platform::toUtf8(m_associate->text())))
        m_position = std::clamp(*value, m_minimum, m_maximum);
    m_position = std::clamp(m_position + delta, m_minimum, m_maximum);
    m_associate->setText(QString::number(m_position));
}

bool UpDown::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_associate && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            step(key == Qt::Key_Up ? +1 : -1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
