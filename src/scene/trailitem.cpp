#include "scene/trailitem.h"

#include "map/map.h"

#include <QPainter>
#include <QStyleOptionGraphicsItem>

TrailItem::TrailItem(const Trail& trail, const Map& map)
    : trail_(trail)
    , map_(map) {
    // Under the glyphs and the aircraft.
    setZValue(-1);
}

TrailItem::Shown TrailItem::ShownOf(const Trail::Point& point) const {
    return {map_.PixelOf(point.position), ClimbStep(point.climbMps), point.startsPiece};
}

void TrailItem::Refresh() {
    const auto& points = trail_.points();
    const std::size_t first = trail_.dropped();
    // Points that dropped off the far end, or a trail cleared and begun anew.
    while (!shown_.empty() && next_ - shown_.size() < first)
        shown_.pop_front();
    if (next_ < first)
        next_ = first;
    for (; next_ < first + points.size(); ++next_)
        shown_.push_back(ShownOf(points[next_ - first]));
    update();
}

void TrailItem::Relayout() {
    prepareGeometryChange();
    shown_.clear();
    next_ = trail_.dropped();
    Refresh();
}

QRectF TrailItem::boundingRect() const {
    return QRectF(0, 0, map_.displayWidth(), map_.displayHeight()).adjusted(-2, -2, 2, 2);
}

void TrailItem::paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget*) {
    if (shown_.size() < 2)
        return;
    // Runs of one colour as polylines: a trail of 36,000 points is drawn in few calls.
    const QRectF exposed = option->exposedRect.adjusted(-2, -2, 2, 2);
    QPolygonF run;
    int runStep = -1;
    const auto flush = [&] {
        if (run.size() >= 2) {
            const Rgb c = ClimbStepColour(runStep);
            painter->setPen(
                QPen(QColor(c.red, c.green, c.blue), 2, Qt::SolidLine, Qt::FlatCap, Qt::BevelJoin));
            painter->drawPolyline(run);
        }
        run.clear();
    };
    for (std::size_t i = 1; i < shown_.size(); ++i) {
        // Nothing is drawn across a gap between pieces.
        if (shown_[i].startsPiece) {
            flush();
            continue;
        }
        const QPointF& from = shown_[i - 1].pixel;
        const QPointF& to = shown_[i].pixel;
        const bool seen = exposed.intersects(QRectF(from, to).normalized().adjusted(-1, -1, 1, 1));
        if (!seen || shown_[i].step != runStep) {
            flush();
            runStep = shown_[i].step;
        }
        if (!seen)
            continue;
        if (run.isEmpty())
            run << from;
        if (to != run.back())
            run << to;
    }
    flush();
}
