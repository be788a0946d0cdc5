#pragma once

#include "geo/units.h"
#include "scene/mapglyph.h"

#include <memory>
#include <vector>

#include <QString>

// A named point on the map: the record and its own glyph, a green 8 x 8 cross.
class TWaypoint : public MapGlyph {
public:
    TWaypoint();

    int tGroundHeight = 0;
    int tID = 0;
    QString tAttributes;
    QString tName;
    QString tText;
    heightDispType heightUnits = meters;

    void SetGroundHeight(int v);
    void SetID(int v);
    void SetAttributes(const QString& v);
    void SetName(const QString& v);
    void SetText(const QString& v);
    void SetHeightUnits(heightDispType v);

    QString Hint() const;

    // The 8 x 8 cross, which the pointer hits; boundingRect() adds the reach of its pen.
    QPainterPath shape() const override;
    QRectF boundingRect() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

private:
    void move() override;
};

// The main window's ordered list of waypoints; removing a waypoint from it destroys it.
using WaypointList = std::vector<std::unique_ptr<TWaypoint>>;
