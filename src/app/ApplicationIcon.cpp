// A broad crown over a short trunk, as a zelkova grows, on a pale square.
#include "app/ApplicationIcon.h"

#include <QPainter>
#include <QPixmap>

namespace zelkova::app {

void paintApplicationIcon(QPainter& painter, double size) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 32.0, size / 32.0);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xF2, 0xEE, 0xE0));
    painter.drawRoundedRect(QRectF(1, 1, 30, 30), 5, 5);
    painter.setBrush(QColor(0x6B, 0x4A, 0x2B));
    painter.drawPolygon(QPolygonF({QPointF(14, 29), QPointF(18, 29), QPointF(17.2, 17), QPointF(14.8, 17)}));
    painter.setBrush(QColor(0x2E, 0x7D, 0x32));
    painter.drawEllipse(QRectF(3, 4, 26, 16));
    painter.setBrush(QColor(0x43, 0xA0, 0x47));
    painter.drawEllipse(QRectF(7, 5, 13, 9));
    painter.restore();
}

QIcon applicationIcon() {
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64, 128}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        paintApplicationIcon(painter, size);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace zelkova::app
