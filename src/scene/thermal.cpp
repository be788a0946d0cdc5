#include "scene/thermal.h"

#include <array>
#include <cmath>
#include <map>

#include <QPainter>
#include <QPainterPath>

namespace {

// The ellipse of a w x h box whose outline runs through the box's outer pixels.
QRectF CircleRect(GlyphPoint origin, int w, int h) {
    return QRectF(origin.x + 0.5, origin.y + 0.5, w - 1, h - 1);
}

QPoint Point(GlyphPoint p) {
    return {p.x, p.y};
}

void DrawGlyph(QPainter& painter, const ThermalGlyph& g, int type, const QColor& fill) {
    constexpr int diameter = 2 * kThermalGlyphRadius;
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(fill);
    if (type == 4) {
        painter.drawEllipse(CircleRect({0, 0}, g.width, g.height));
        return;
    }
    painter.drawEllipse(CircleRect(g.circleOrigin, diameter, diameter));
    painter.setPen(QPen(Qt::black, 2, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(Point(g.centre), Point(g.lineEnd));
}

// Drawing a circle and a line costs tens of microseconds and a zoom step repaints every
// glyph, so each distinct look is drawn once (there are a few thousand at most) and
// copied from then on. The picture covers boundingRect(): one pixel more on every side.
const QImage& GlyphImage(const ThermalGlyph& g, const Thermal& t, qreal dpr) {
    using Key = std::array<int, 11>;
    static std::map<Key, QImage> cache;
    const Rgb rgb = ThermalFill(t.type, t.cloud, t.active);
    const QColor fill(rgb.red, rgb.green, rgb.blue);
    const Key key{t.type == 4, int(fill.rgb()),  int(std::lround(dpr * 100)),
                  g.width,     g.height,         g.centre.x,
                  g.centre.y,  g.circleOrigin.x, g.circleOrigin.y,
                  g.lineEnd.x, g.lineEnd.y};
    QImage& image = cache[key];
    if (image.isNull()) {
        image = QImage(QSize(g.width + 2, g.height + 2) * dpr, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(dpr);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.translate(1, 1);
        DrawGlyph(painter, g, t.type, fill);
    }
    return image;
}

} // namespace

QImage ThermalGlyphPicture(const Thermal& thermal, qreal devicePixelRatio) {
    return GlyphImage(ComputeThermalGlyph(thermal.type, thermal.windDir, ThermalGlyph{}), thermal,
                      devicePixelRatio);
}

TThermal::TThermal(Thermal& thermal, const Map& map, GlyphSet& set)
    : MapGlyph(map, set)
    , thermal_(thermal)
    , glyph_(ComputeThermalGlyph(thermal.type, thermal.windDir, ThermalGlyph{})) {
    thermal_.Observe(this);
    resize();
}

TThermal::~TThermal() {
    thermal_.Observe(nullptr);
}

void TThermal::relayout() {
    prepareGeometryChange();
    glyph_ = ComputeThermalGlyph(thermal_.type, thermal_.windDir, glyph_);
    move();
    update();
}

void TThermal::move() {
    setPos(mapX_ - glyph_.centre.x, mapY_ - glyph_.centre.y);
}

QPainterPath TThermal::shape() const {
    QPainterPath path;
    path.addRect(0, 0, glyph_.width, glyph_.height);
    return path;
}

QRectF TThermal::boundingRect() const {
    return QRectF(0, 0, glyph_.width, glyph_.height).adjusted(-1, -1, 1, 1);
}

void TThermal::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) {
    painter->drawImage(boundingRect().topLeft(),
                       GlyphImage(glyph_, thermal_, painter->device()->devicePixelRatio()));
}
