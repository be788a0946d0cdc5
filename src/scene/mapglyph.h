#pragma once

#include "geo/geopoint.h"
#include "geo/units.h"
#include "model/observer.h"

#include <cstddef>
#include <string>
#include <vector>

#include <QGraphicsItem>

class Map;
class MapGlyph;

// The glyphs of one scene, so that all of them move at once when the map's displayed size
// changes. Order does not matter; adding and removing take constant time.
class GlyphSet {
public:
    void Add(MapGlyph* glyph);
    void Remove(MapGlyph* glyph);
    const std::vector<MapGlyph*>& glyphs() const { return glyphs_; }

private:
    std::vector<MapGlyph*> glyphs_;
};

// A glyph that stands over a thermal's or waypoint's position. It keeps its
// pixel position on the map image at the displayed size, follows its value's changes, and
// goes when its value goes. A glyph that goes first (with its scene) stops its value from
// reporting to it.
class MapGlyph : public QGraphicsItem, public ValueObserver {
public:
    MapGlyph(const Map& map, GlyphSet& set);
    ~MapGlyph() override;
    MapGlyph(const MapGlyph&) = delete;
    MapGlyph& operator=(const MapGlyph&) = delete;

    // Recomputes the pixel position from the value's position.
    void resize();

    int mapX() const { return mapX_; }
    int mapY() const { return mapY_; }
    // The value's multi-line hint, heights in the unit given.
    virtual std::string Hint(heightDispType unit) const = 0;
    virtual GeoPoint position() const = 0;

protected:
    // Places the item so that its anchor falls on (mapX, mapY).
    virtual void move() = 0;
    // The value's look changed: lay the glyph out again and repaint it.
    virtual void relayout() {}

    void ValueChanged(Change change) override;
    void ValueGone() override;

    int mapX_ = 0;
    int mapY_ = 0;

private:
    friend class GlyphSet;

    const Map& map_;
    GlyphSet& set_;
    std::size_t index_ = 0;
};
