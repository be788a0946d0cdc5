#pragma once

#include <QGraphicsItem>

class Map;

// A glyph that stands over a latitude and longitude of the map. It keeps its pixel position
// on the map image at the displayed size; the glyph itself decides where its anchor lies.
class MapGlyph : public QGraphicsItem {
public:
    // Published properties, written through their setters only.
    double lat = 0;
    double lon = 0;

    // Set by the creator right after construction, before the first SetLat/SetLon/resize.
    const Map* map = nullptr;

    void SetLat(double v);
    void SetLon(double v);

    // Recomputes the pixel position from lat and lon after the map's displayed size changed.
    void resize();

    int mapX() const { return mapX_; }
    int mapY() const { return mapY_; }

protected:
    // Places the item so that its anchor falls on (mapX, mapY).
    virtual void move() = 0;

    int mapX_ = 0;
    int mapY_ = 0;
};
