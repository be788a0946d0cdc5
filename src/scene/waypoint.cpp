#include "scene/waypoint.h"

#include "geo/numbertext.h"

#include <QPainter>
#include <QPainterPath>

namespace {

// The cross keeps this pixel size at every zoom and is centred on its position.
constexpr int kSize = 8;

} // namespace

TWaypoint::TWaypoint() {
    // Creators set the values, the map and the position first, then show the glyph.
    setVisible(false);
}

void TWaypoint::SetGroundHeight(int v) {
    tGroundHeight = v;
}
void TWaypoint::SetID(int v) {
    tID = v;
}
void TWaypoint::SetAttributes(const QString& v) {
    tAttributes = v;
}
void TWaypoint::SetName(const QString& v) {
    tName = v;
}
void TWaypoint::SetText(const QString& v) {
    tText = v;
}
void TWaypoint::SetHeightUnits(heightDispType v) {
    heightUnits = v;
}

QString TWaypoint::Hint() const {
    const std::string height = heightUnits == feet
                                   ? IntText(MetresToFeetTruncated(tGroundHeight)) + " ft"
                                   : IntText(tGroundHeight) + " m";
    return QString::fromStdString("ID " + IntText(tID) + "\nLatitude " + NumberText(lat) +
                                  "\nLonitude " + NumberText(lon) + "\nHeight " + height +
                                  "\nAttributes ") +
           tAttributes + "\nName: " + tName + "\nText: " + tText;
}

void TWaypoint::move() {
    setPos(mapX_ - kSize / 2, mapY_ - kSize / 2);
}

QPainterPath TWaypoint::shape() const {
    QPainterPath path;
    path.addRect(0, 0, kSize, kSize);
    return path;
}

QRectF TWaypoint::boundingRect() const {
    return QRectF(0, 0, kSize, kSize).adjusted(-1, -1, 1, 1);
}

void TWaypoint::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) {
    painter->setPen(QPen(QColor(0, 255, 0), 2, Qt::SolidLine, Qt::FlatCap));
    painter->drawLine(QPoint(0, 0), QPoint(kSize, kSize));
    painter->drawLine(QPoint(kSize, 0), QPoint(0, kSize));
}
