#include "scene/layers.h"

#include "map/map.h"
#include "model/thermalglyph.h"

#include <cmath>
#include <vector>

#include <QPainter>
#include <QStyleOptionGraphicsItem>

namespace {

constexpr double kMetresPerDegree = 111195.0;
constexpr double kRadiansPerDegree = 0.017453292519943295;

QRectF DisplayRect(const Map& map) {
    return QRectF(0, 0, map.displayWidth(), map.displayHeight());
}

} // namespace

QPointF PixelsPerMetre(const Map& map, double lat) {
    const MapFrame& f = map.frame();
    const double latSpan = std::abs(f.edges.south - f.edges.north);
    const double lonSpan = std::abs(f.edges.east - f.edges.west);
    if (latSpan == 0 || lonSpan == 0)
        return {};
    const double across = std::cos(lat * kRadiansPerDegree) * kMetresPerDegree;
    return {f.displayWidth / (lonSpan * across), f.displayHeight / (latSpan * kMetresPerDegree)};
}

ThermalAreas::ThermalAreas(const ThermalList& thermals, const Map& map)
    : thermals_(thermals)
    , map_(map) {
    setZValue(-2);
}

void ThermalAreas::SetFlownHeight(const std::optional<FlownHeight>& height) {
    if (!height && !flown_)
        return;
    flown_ = height;
    update();
}

QRectF ThermalAreas::boundingRect() const {
    return DisplayRect(map_);
}

void ThermalAreas::paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget*) {
    if (thermals_.empty())
        return;
    const QPointF scale = PixelsPerMetre(map_, thermals_.front()->lat);
    if (scale.isNull())
        return;
    painter->setRenderHint(QPainter::Antialiasing);
    for (const auto& t : thermals_) {
        const QPointF radius = scale * t->radius;
        const QPointF ground = map_.PixelOf(t->Position());
        const QPointF centre =
            flown_ ? QPointF(map_.PixelOf(AxisAt(*t, flown_->model, flown_->msStrength,
                                                 flown_->groundM, flown_->altitudeM)))
                   : ground;
        const Rgb rgb = ThermalFill(t->type, t->cloud, t->active);
        QColor colour(rgb.red, rgb.green, rgb.blue);
        if (centre != ground && option->exposedRect.intersects(
                                    QRectF(ground, centre).normalized().adjusted(-1, -1, 1, 1))) {
            painter->setPen(QPen(QColor(rgb.red, rgb.green, rgb.blue, 110), 1, Qt::DashLine));
            painter->drawLine(ground, centre);
        }
        // Smaller than the glyph: the glyph says it all.
        if (std::max(radius.x(), radius.y()) <= kThermalGlyphRadius)
            continue;
        const QRectF area(centre - radius, centre + radius);
        if (!option->exposedRect.intersects(area))
            continue;
        painter->setPen(QPen(colour, 1.5));
        painter->setBrush(Qt::NoBrush);
        painter->drawEllipse(area);
        colour.setAlpha(70);
        painter->setPen(Qt::NoPen);
        painter->setBrush(colour);
        const double core = std::clamp(t->tCorePercent, 0, 100) / 100.0;
        painter->drawEllipse(centre, radius.x() * core, radius.y() * core);
    }
}

namespace {

constexpr int kLongestLabel = 32; // characters

} // namespace

WaypointLabels::WaypointLabels(const WaypointList& waypoints, const Map& map)
    : waypoints_(waypoints)
    , map_(map) {
    setZValue(0.5);
}

QRectF WaypointLabels::boundingRect() const {
    return DisplayRect(map_);
}

void WaypointLabels::paint(QPainter* painter, const QStyleOptionGraphicsItem* option,
                           QWidget* widget) {
    const QFontMetrics metrics(widget ? widget->font() : painter->font());
    std::vector<QRect> placed;
    for (const auto& w : waypoints_) {
        QString name = QString::fromStdString(w->tName).trimmed();
        if (name.isEmpty())
            continue;
        // A name of a thousand characters would run across the whole map.
        if (name.size() > kLongestLabel)
            name = metrics.elidedText(name, Qt::ElideRight,
                                      metrics.averageCharWidth() * kLongestLabel);
        // To the right of the cross, its middle at the cross's height.
        const QPoint at = map_.PixelOf(w->Position()) + QPoint(7, metrics.ascent() / 2 - 1);
        const QRect box = metrics.boundingRect(name).translated(at).adjusted(-1, -1, 1, 1);
        if (!option->exposedRect.intersects(box))
            continue;
        bool covers = false;
        for (const QRect& other : placed)
            covers = covers || other.intersects(box);
        if (covers)
            continue;
        placed.push_back(box);
        painter->setPen(QColor(255, 255, 255, 200));
        for (const QPoint& halo : {QPoint(-1, 0), QPoint(1, 0), QPoint(0, -1), QPoint(0, 1)})
            painter->drawText(at + halo, name);
        painter->setPen(QColor(0, 90, 0));
        painter->drawText(at, name);
    }
}
