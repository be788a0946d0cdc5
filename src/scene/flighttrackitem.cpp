#include "scene/flighttrackitem.h"

#include "flight/flighttrack.h"
#include "map/map.h"
#include "scene/layers.h"
#include "scene/trailitem.h"

#include <cmath>

#include <QPainter>

namespace {

constexpr double kHintReachPx = 6;
constexpr double kMarkRadiusPx = 6;

} // namespace

FlightTrackItem::FlightTrackItem(Trail track, const Map& map)
    : track_(std::move(track))
    , map_(map)
    , line_(new TrailItem(track_, map_)) {
    line_->setParentItem(this);
    line_->setFlag(ItemStacksBehindParent);
    line_->Refresh();
    // Over the thermals' areas, under the glyphs and the aircraft.
    setZValue(-1);
}

FlightTrackItem::~FlightTrackItem() {
    // The line draws from the track, which goes before the base class deletes its children.
    delete line_;
}

void FlightTrackItem::Relayout() {
    prepareGeometryChange();
    line_->Relayout();
}

void FlightTrackItem::ShowClimbs(std::vector<Climb> climbs) {
    climbs_ = std::move(climbs);
    update();
}

QString FlightTrackItem::HintAt(QPointF scenePos, heightDispType unit) const {
    const Trail::Point* nearest = nullptr;
    double nearestPx = kHintReachPx;
    for (const Trail::Point& point : track_.points()) {
        const QPointF off = QPointF(map_.PixelOf(point.position)) - scenePos;
        const double px = std::hypot(off.x(), off.y());
        if (px <= nearestPx) {
            nearest = &point;
            nearestPx = px;
        }
    }
    return nearest ? QString::fromStdString(TrackPointHint(*nearest, unit)) : QString();
}

QRectF FlightTrackItem::boundingRect() const {
    return QRectF(0, 0, map_.displayWidth(), map_.displayHeight())
        .adjusted(-kMarkRadiusPx - 2, -kMarkRadiusPx - 2, kMarkRadiusPx + 2, kMarkRadiusPx + 2);
}

void FlightTrackItem::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) {
    const auto& points = track_.points();
    if (points.empty())
        return;
    painter->setRenderHint(QPainter::Antialiasing);
    // The chosen climbs: a ring at the circles' radius, at least the mark's size.
    painter->setBrush(Qt::NoBrush);
    painter->setPen(QPen(QColor(255, 140, 0), 2));
    for (const Climb& climb : climbs_) {
        const QPointF scale = PixelsPerMetre(map_, climb.centre.lat) * climb.radiusM;
        const QPointF radius(std::max(scale.x(), kMarkRadiusPx),
                             std::max(scale.y(), kMarkRadiusPx));
        const QPointF centre = map_.PixelOf(climb.centre);
        painter->drawEllipse(QRectF(centre - radius, centre + radius));
    }
    // The start a green disc, the end a black square, both outlined in white.
    painter->setPen(QPen(Qt::white, 2));
    const QPointF start = map_.PixelOf(points.front().position);
    const QPointF end = map_.PixelOf(points.back().position);
    const QPointF r(kMarkRadiusPx, kMarkRadiusPx);
    painter->setBrush(QColor(0, 150, 60));
    painter->drawEllipse(QRectF(start - r, start + r));
    painter->setBrush(Qt::black);
    painter->drawRect(QRectF(end - r, end + r));
}
