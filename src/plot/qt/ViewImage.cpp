// The view image widget.
#include "plot/qt/ViewImage.h"

#include <QPainter>

namespace zelkova::plot {

ViewImage::ViewImage(int width, int height, QWidget* parent)
    : QWidget(parent), m_image(width, height, QImage::Format_RGB32) {
    setFixedSize(width, height);
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_image.fill(Qt::white);
}

void ViewImage::clear() {
    m_image.fill(Qt::white);
    update();
}

void ViewImage::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, m_image);
}

} // namespace zelkova::plot
