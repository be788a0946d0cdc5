#include "scene/mapglyph.h"

#include "map/map.h"

void GlyphSet::Add(MapGlyph* glyph) {
    glyph->index_ = glyphs_.size();
    glyphs_.push_back(glyph);
}

void GlyphSet::Remove(MapGlyph* glyph) {
    MapGlyph* last = glyphs_.back();
    glyphs_[glyph->index_] = last;
    last->index_ = glyph->index_;
    glyphs_.pop_back();
}

MapGlyph::MapGlyph(const Map& map, GlyphSet& set)
    : map_(map)
    , set_(set) {
    set_.Add(this);
}

MapGlyph::~MapGlyph() {
    set_.Remove(this);
}

void MapGlyph::resize() {
    const QPoint pixel = map_.PixelOf(position());
    mapX_ = pixel.x();
    mapY_ = pixel.y();
    move();
}

void MapGlyph::ValueChanged(Change change) {
    if (change == Change::place)
        resize();
    else
        relayout();
}

void MapGlyph::ValueGone() {
    delete this;
}
