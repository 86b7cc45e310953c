// Colour labels of the pen panel.
#include "plot/qt/ColourLabel.h"

#include "platform/qt/SystemColours.h"

#include <QMouseEvent>
#include <QPainter>

namespace zelkova::plot {

ColourLabel::ColourLabel(const QString& text, Colour colour, QWidget* parent)
    : QLabel(text, parent), m_colour(colour) {}

void ColourLabel::setColour(Colour colour) {
    m_colour = colour;
    update();
}

void ColourLabel::paintEvent(QPaintEvent* event) {
    {
        QPainter painter(this);
        if (const auto shown = platform::shownColour(m_colour.value, palette())) {
            painter.fillRect(rect(), *shown);
        } else if (text().isEmpty()) {
            painter.setPen(palette().color(QPalette::Mid));
            const QRect frame = rect().adjusted(0, 0, -1, -1);
            painter.drawRect(frame);
            painter.drawLine(frame.bottomLeft(), frame.topRight());
        }
    }
    QLabel::paintEvent(event);
}

void ColourLabel::mousePressEvent(QMouseEvent* event) {
    m_pressed = event->button() == Qt::LeftButton;
    QLabel::mousePressEvent(event);
}

void ColourLabel::mouseReleaseEvent(QMouseEvent* event) {
    const bool click =
        m_pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    m_pressed = false;
    QLabel::mouseReleaseEvent(event);
    if (click)
        emit clicked();
}

} // namespace zelkova::plot
