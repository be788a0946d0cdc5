#include "toolbaricons.h"

#include <QPainter>
#include <QPixmap>

QIcon ZoomIcon(bool zoomIn) {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(40, 40, 40), 1.5));
    painter.setBrush(QColor(235, 245, 255));
    painter.drawEllipse(QRectF(1.5, 1.5, 9, 9));
    painter.setPen(QPen(QColor(40, 40, 40), 2.5, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(9.5, 9.5), QPointF(14, 14));
    painter.setPen(QPen(Qt::black, 1.5));
    painter.drawLine(QPointF(3.5, 6), QPointF(8.5, 6));
    if (zoomIn)
        painter.drawLine(QPointF(6, 3.5), QPointF(6, 8.5));
    painter.end();
    return QIcon(pixmap);
}
