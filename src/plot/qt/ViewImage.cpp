// The view image widget.
#include "plot/qt/ViewImage.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>

namespace zelkova::plot {

ViewImage::ViewImage(int width, int height, QWidget* parent)
    : QWidget(parent), m_image(width, height, QImage::Format_RGB32) {
    setFixedSize(width, height);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    m_image.fill(Qt::white);
}

void ViewImage::clear() {
    m_image.fill(Qt::white);
    update();
}

void ViewImage::invertFrame(int x1, int y1, int x2, int y2) {
    const int left = std::min(x1, x2);
    const int top = std::min(y1, y2);
    const int right = std::max(x1, x2) - 1; // the last column and row of the outline
    const int bottom = std::max(y1, y2) - 1;
    if (right < left || bottom < top)
        return;
    const auto invert = [this](int x, int y) {
        if (x < 0 || y < 0 || x >= m_image.width() || y >= m_image.height())
            return;
        auto* line = reinterpret_cast<QRgb*>(m_image.scanLine(y));
        line[x] ^= 0x00FFFFFFu;
    };
    for (int x = left; x <= right; ++x) {
        invert(x, top);
        if (bottom != top)
            invert(x, bottom);
    }
    for (int y = top + 1; y < bottom; ++y) {
        invert(left, y);
        if (right != left)
            invert(right, y);
    }
    update();
}

void ViewImage::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, m_image);
}

void ViewImage::mousePressEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    emit mousePressed(event->button(), event->modifiers(), at.x(), at.y());
}

void ViewImage::mouseDoubleClickEvent(QMouseEvent* event) {
    // The second click of a double click is a press like any other.
    mousePressEvent(event);
}

void ViewImage::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    emit mouseMoved(event->modifiers(), at.x(), at.y());
}

void ViewImage::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    emit mouseReleased(event->button(), event->modifiers(), at.x(), at.y());
}

void ViewImage::wheelEvent(QWheelEvent* event) {
    // A wheel turns in notches of 15 degrees (120 eighths); finer wheels and touch pads add up.
    m_wheelAngle += event->angleDelta().y();
    const int notches = m_wheelAngle / 120;
    m_wheelAngle -= notches * 120;
    event->accept();
    if (notches != 0) {
        const QPoint at = event->position().toPoint();
        emit wheelTurned(notches, at.x(), at.y());
    }
}

void ViewImage::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
        if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) {
            QWidget::keyPressEvent(event);
            return;
        }
        event->accept();
        emit navigationKey(event->key());
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

} // namespace zelkova::plot
