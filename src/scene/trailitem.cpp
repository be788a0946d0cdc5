#include "scene/trailitem.h"

#include "map/map.h"

#include <array>
#include <vector>

#include <QPainter>
#include <QStyleOptionGraphicsItem>

TrailItem::TrailItem(const Trail& trail, const Map& map)
    : trail_(trail)
    , map_(map) {
    // Under the glyphs and the aircraft.
    setZValue(-1);
}

TrailItem::Shown TrailItem::ShownOf(const Trail::Point& point) const {
    return {QPointF(map_.LonToX(point.lon), map_.LatToY(point.lat)), ClimbStep(point.climbMps)};
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
    // One batch of lines per colour: a trail of 36,000 points is drawn in a few calls.
    std::array<std::vector<QLineF>, kClimbSteps> batches;
    const QRectF exposed = option->exposedRect.adjusted(-2, -2, 2, 2);
    for (std::size_t i = 1; i < shown_.size(); ++i) {
        const QPointF& from = shown_[i - 1].pixel;
        const QPointF& to = shown_[i].pixel;
        if (from == to || !exposed.intersects(QRectF(from, to).normalized().adjusted(-1, -1, 1, 1)))
            continue;
        batches[static_cast<std::size_t>(shown_[i].step)].emplace_back(from, to);
    }
    for (int step = 0; step < kClimbSteps; ++step) {
        const Rgb c = ClimbStepColour(step);
        painter->setPen(QPen(QColor(c.red, c.green, c.blue), 2, Qt::SolidLine, Qt::RoundCap));
        painter->drawLines(batches[static_cast<std::size_t>(step)].data(),
                           static_cast<int>(batches[static_cast<std::size_t>(step)].size()));
    }
}
