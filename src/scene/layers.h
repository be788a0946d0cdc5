#pragma once

#include "model/thermal.h"
#include "model/waypoint.h"

#include <QGraphicsItem>

class Map;

// Thermals at their true size: once the zoom makes a thermal's radius larger than its glyph,
// its radius shows as a ring and its core as a shaded disc, in the type's colour, under the
// glyphs.
class ThermalAreas : public QGraphicsItem {
public:
    ThermalAreas(const ThermalList& thermals, const Map& map);

    QRectF boundingRect() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

private:
    const ThermalList& thermals_;
    const Map& map_;
};

// The waypoints' names beside their crosses; a name that would cover one already placed is
// left out.
class WaypointLabels : public QGraphicsItem {
public:
    WaypointLabels(const WaypointList& waypoints, const Map& map);

    QRectF boundingRect() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

private:
    const WaypointList& waypoints_;
    const Map& map_;
};

// Map pixels per metre at a latitude, across and down: the frame is linear in degrees.
QPointF PixelsPerMetre(const Map& map, double lat);
