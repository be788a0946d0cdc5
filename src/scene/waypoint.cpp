#include "scene/waypoint.h"

#include <QPainter>
#include <QPainterPath>

namespace {

// The cross keeps this pixel size at every zoom and is centred on its position.
constexpr int kSize = 8;

} // namespace

TWaypoint::TWaypoint(Waypoint& waypoint, const Map& map, GlyphSet& set)
    : MapGlyph(map, set)
    , waypoint_(waypoint) {
    waypoint_.Observe(this);
    resize();
}

TWaypoint::~TWaypoint() {
    waypoint_.Observe(nullptr);
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
