#pragma once

#include "model/thermal.h"
#include "model/thermalglyph.h"
#include "scene/mapglyph.h"

#include <QImage>

// How a thermal's glyph looks, as the map draws it (one pixel of margin on every side).
QImage ThermalGlyphPicture(const Thermal& thermal, qreal devicePixelRatio = 1);

// A thermal's glyph on the map: a coloured circle with, for every type but 4, a line towards
// the wind's bearing; white while the profiler applies it (type 4 only).
// (The item's type() is QGraphicsItem's; use dynamic_cast to find thermal glyphs.)
class TThermal : public MapGlyph {
public:
    TThermal(Thermal& thermal, const Map& map, GlyphSet& set);
    ~TThermal() override;

    Thermal& value() const { return thermal_; }
    const ThermalGlyph& glyph() const { return glyph_; }
    std::string Hint(heightDispType unit) const override { return thermal_.Hint(unit); }

    // The glyph's own rectangle, which the pointer hits; boundingRect() adds the reach of
    // the wind line's pen beyond it.
    QPainterPath shape() const override;
    QRectF boundingRect() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

    GeoPoint position() const override { return thermal_.Position(); }

protected:
    void move() override;
    void relayout() override;

private:
    Thermal& thermal_;
    ThermalGlyph glyph_;
};
