#include "scenetesting.h"

#include <QGraphicsItem>
#include <QPainter>

QImage RenderItem(QGraphicsItem& item) {
    item.setVisible(true);
    const QRect bounds = item.boundingRect().toAlignedRect();
    QImage image(bounds.size(), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.translate(-bounds.topLeft());
    item.paint(&painter, nullptr, nullptr);
    return image;
}

QColor ItemPixel(const QImage& image, QGraphicsItem& item, int x, int y) {
    const QPoint origin = item.boundingRect().toAlignedRect().topLeft();
    return image.pixelColor(x - origin.x(), y - origin.y());
}

void WritePicture(const QString& path, int w, int h, QColor colour) {
    QImage picture(w, h, QImage::Format_RGB32);
    picture.fill(colour);
    picture.save(path);
}
