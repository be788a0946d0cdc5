#pragma once

#include "geo/units.h"

#include <memory>
#include <vector>

#include <QGraphicsItem>
#include <QString>

class Map;

// A named point on the map: the record and its own glyph, a green 8 x 8 cross.
class TWaypoint : public QGraphicsItem {
public:
    TWaypoint();

    double lat = 0;
    double lon = 0;
    int tGroundHeight = 0;
    int tID = 0;
    QString tAttributes;
    QString tName;
    QString tText;
    heightDispType heightUnits = meters;

    const Map* map = nullptr;

    void SetLat(double v);
    void SetLon(double v);
    void SetGroundHeight(int v);
    void SetID(int v);
    void SetAttributes(const QString& v);
    void SetName(const QString& v);
    void SetText(const QString& v);
    void SetHeightUnits(heightDispType v);

    QString Hint() const;
    void resize();

    int mapX() const { return mapX_; }
    int mapY() const { return mapY_; }

    // The 8 x 8 cross, which the pointer hits; boundingRect() adds the reach of its pen.
    QPainterPath shape() const override;
    QRectF boundingRect() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

private:
    void move();

    int mapX_ = 0;
    int mapY_ = 0;
};

// The main window's ordered list of waypoints; removing a waypoint from it destroys it.
using WaypointList = std::vector<std::unique_ptr<TWaypoint>>;
