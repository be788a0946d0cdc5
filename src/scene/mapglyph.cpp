#include "scene/mapglyph.h"

#include "map/map.h"

void MapGlyph::SetLat(double v) {
    if (v == lat)
        return;
    lat = v;
    if (map)
        mapY_ = map->LatToY(lat);
    move();
}

void MapGlyph::SetLon(double v) {
    if (v == lon)
        return;
    lon = v;
    if (map)
        mapX_ = map->LonToX(lon);
    move();
}

void MapGlyph::resize() {
    if (map) {
        mapY_ = map->LatToY(lat);
        mapX_ = map->LonToX(lon);
    }
    move();
}
