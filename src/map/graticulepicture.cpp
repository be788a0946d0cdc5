#include "map/graticulepicture.h"

#include "geo/graticule.h"

#include <algorithm>

#include <QFont>
#include <QPainter>

QImage GraticulePicture(const GeoBounds& area, PixelSize size) {
    QImage picture(std::max(size.width, 1), std::max(size.height, 1), QImage::Format_RGB32);
    picture.fill(QColor(246, 244, 236));
    const MapFrame frame{area, picture.width(), picture.height()};
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    // Sized to the picture, which is shown shrunk to the window at first: labels and lines
    // a fiftieth and a thousandth of its longer side read well at about half its size.
    const int side = std::max(picture.width(), picture.height());
    QFont font = painter.font();
    font.setPixelSize(std::max(10, side / 50));
    painter.setFont(font);
    const QPen line(QColor(168, 184, 196), std::max(1, side / 1000));
    const QColor label(90, 100, 110);
    const int margin = font.pixelSize() / 3;
    for (const GraticuleLine& lat : GraticuleLines(area.south, area.north, true)) {
        const int y = frame.LatToY(lat.deg);
        painter.setPen(line);
        painter.drawLine(0, y, picture.width(), y);
        painter.setPen(label);
        painter.drawText(margin, y - margin, QString::fromStdString(lat.label));
    }
    for (const GraticuleLine& lon : GraticuleLines(area.west, area.east, false)) {
        const int x = frame.LonToX(lon.deg);
        painter.setPen(line);
        painter.drawLine(x, 0, x, picture.height());
        painter.setPen(label);
        painter.drawText(x + margin, font.pixelSize() + margin, QString::fromStdString(lon.label));
    }
    return picture;
}
