#pragma once

#include "model/waypoint.h"
#include "scene/mapglyph.h"

// A waypoint's glyph on the map: a green 8 x 8 cross centred on its position.
class TWaypoint : public MapGlyph {
public:
    TWaypoint(Waypoint& waypoint, const Map& map, GlyphSet& set);
    ~TWaypoint() override;

    Waypoint& value() const { return waypoint_; }
    std::string Hint(heightDispType unit) const override { return waypoint_.Hint(unit); }

    // The 8 x 8 cross, which the pointer hits; boundingRect() adds the reach of its pen.
    QPainterPath shape() const override;
    QRectF boundingRect() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

    GeoPoint position() const override { return waypoint_.Position(); }

protected:
    void move() override;

private:
    Waypoint& waypoint_;
};
