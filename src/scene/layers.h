#pragma once

#include "model/thermal.h"
#include "model/waypoint.h"
#include "profiler/thermallift.h"

#include <optional>

#include <QGraphicsItem>

class Map;

// Where the aircraft flies, for thermals that lean with the wind.
struct FlownHeight {
    LiftModel model;
    int msStrength = 0; // the simulator's strength the thermals rise at
    double groundM = 0;
    double altitudeM = 0;
};

// Thermals at their true size: once the zoom makes a thermal's radius larger than its glyph,
// its radius shows as a ring and its core as a shaded disc, in the type's colour, under the
// glyphs. At a flown height with wind, each is drawn where its axis is at that height, with a
// faint line from where it stands on the ground.
class ThermalAreas : public QGraphicsItem {
public:
    ThermalAreas(const ThermalList& thermals, const Map& map);

    // None: every thermal where it stands.
    void SetFlownHeight(const std::optional<FlownHeight>& height);

    QRectF boundingRect() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

private:
    const ThermalList& thermals_;
    const Map& map_;
    std::optional<FlownHeight> flown_;
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
