#include "scene/thermal.h"

#include "geo/numbertext.h"

#include <array>
#include <cmath>
#include <map>
#include <string>

#include <QPainter>
#include <QPainterPath>

namespace {

constexpr int kGlyphRadius = 5;
constexpr int kWindLineLength = 10;
constexpr double kRadiansPerDegree = 0.017453292519943295;

int HalfUp(double v) {
    return int(v + 0.5);
}

QColor FillColour(int type, bool cloud, bool active) {
    switch (type) {
    case 1:
        return cloud ? QColor(255, 255, 0) : QColor(0, 255, 255);
    case 2:
        return QColor(0, 255, 0);
    case 3:
        return QColor(128, 0, 128);
    case 4:
        if (active)
            return QColor(255, 255, 255);
        return cloud ? QColor(255, 0, 0) : QColor(0, 0, 255);
    default:
        return QColor(255, 0, 0);
    }
}

// The ellipse of a w x h box whose outline runs through the box's outer pixels.
QRectF CircleRect(QPoint origin, int w, int h) {
    return QRectF(origin.x() + 0.5, origin.y() + 0.5, w - 1, h - 1);
}

void DrawGlyph(QPainter& painter, const ThermalGlyph& g, int type, const QColor& fill) {
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(fill);
    if (type == 4) {
        painter.drawEllipse(CircleRect(QPoint(0, 0), g.width, g.height));
        return;
    }
    painter.drawEllipse(CircleRect(g.circleOrigin, 2 * kGlyphRadius, 2 * kGlyphRadius));
    painter.setPen(QPen(Qt::black, 2, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(g.centre, g.lineEnd);
}

// Drawing a circle and a line costs tens of microseconds and a zoom step repaints every
// glyph, so each distinct look is drawn once (there are a few thousand at most) and
// copied from then on. The picture covers boundingRect(): one pixel more on every side.
const QImage& GlyphImage(const ThermalGlyph& g, int type, bool cloud, bool active, qreal dpr) {
    using Key = std::array<int, 11>;
    static std::map<Key, QImage> cache;
    const QColor fill = FillColour(type, cloud, active);
    const Key key{type == 4,     int(fill.rgb()),    int(std::lround(dpr * 100)),
                  g.width,       g.height,           g.centre.x(),
                  g.centre.y(),  g.circleOrigin.x(), g.circleOrigin.y(),
                  g.lineEnd.x(), g.lineEnd.y()};
    QImage& image = cache[key];
    if (image.isNull()) {
        image = QImage(QSize(g.width + 2, g.height + 2) * dpr, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(dpr);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.translate(1, 1);
        DrawGlyph(painter, g, type, fill);
    }
    return image;
}

// The glyph along one axis. A line towards the far side (right, down) only lengthens the
// box; one towards the near side (left, up) that reaches beyond the circle shifts it.
struct AxisLayout {
    int size;
    int centre;
    int circleOrigin;
    int lineEnd;
};

AxisLayout LayOutAxis(int extent, bool towardsFar) {
    constexpr int h = kGlyphRadius;
    if (towardsFar)
        return {std::max(2 * h, h + extent), h, 0, h + extent};
    if (extent < h)
        return {2 * h, h, 0, h - extent};
    return {h + extent, extent, extent - h, 0};
}

// The glyph of a new thermal (type 0, wind from the north), the same for every one.
const ThermalGlyph& NewThermalGlyph() {
    static const ThermalGlyph glyph = ComputeThermalGlyph(0, 0, ThermalGlyph{});
    return glyph;
}

} // namespace

ThermalGlyph ComputeThermalGlyph(int type, int windDir, const ThermalGlyph& previous) {
    constexpr int h = kGlyphRadius;
    ThermalGlyph g = previous;
    if (type == 4) {
        g.width = 2 * h;
        g.height = 2 * h;
        g.centre = QPoint(h, h);
        return g;
    }
    if (windDir < 0)
        return previous;

    const int q = (windDir / 90) % 4;
    const double phi = (windDir - 90 * q) * kRadiansPerDegree;
    const int along = HalfUp(kWindLineLength * std::cos(phi));
    const int across = HalfUp(kWindLineLength * std::sin(phi));
    const bool axial = q == 0 || q == 2;
    g.windDx = axial ? across : along;
    g.windDy = axial ? along : across;
    const bool right = q == 0 || q == 1;
    const bool up = q == 0 || q == 3;

    const AxisLayout x = LayOutAxis(g.windDx, right);
    const AxisLayout y = LayOutAxis(g.windDy, !up);
    g.width = x.size;
    g.height = y.size;
    g.centre = QPoint(x.centre, y.centre);
    g.circleOrigin = QPoint(x.circleOrigin, y.circleOrigin);
    g.lineEnd = QPoint(x.lineEnd, y.lineEnd);
    return g;
}

TThermal::TThermal()
    : glyph_(NewThermalGlyph()) {
    // Creators set the values, the map and the position first, then show the glyph.
    setVisible(false);
    move();
}

void TThermal::SetType(int v) {
    if (v == type)
        return;
    // Widened so that the lowest int does not overflow on its way to the remainder.
    type = int((static_cast<long long>(v) - 1) % 4 + 1);
    if (isVisible())
        setDrawingParams();
    else
        drawingValid_ = false;
}

void TThermal::SetWindDir(int v) {
    if (v == windDir)
        return;
    windDir = v % 360;
    if (isVisible())
        setDrawingParams();
    else
        drawingValid_ = false;
}

void TThermal::SetCloud(bool v) {
    if (v == cloud)
        return;
    cloud = v;
    update();
}

void TThermal::SetActive(bool v) {
    active = v;
    update();
}

void TThermal::SetBottom(int v) {
    bottom = v;
}
void TThermal::SetTop(int v) {
    top = v;
}
void TThermal::SetRadius(int v) {
    radius = v;
}
void TThermal::SetFactor(int v) {
    factor = v;
}
void TThermal::SetCloudBase(int v) {
    cloudBase = v;
}
void TThermal::SetCloudRadius(int v) {
    cloudRadius = v;
}
void TThermal::SetCloudType(int v) {
    cloudType = v;
}
void TThermal::SetSpare(int v) {
    spare = v;
}
void TThermal::SetHeightUnits(heightDispType v) {
    heightUnits = v;
}
void TThermal::SetCuHs(float v) {
    tCuHS = v;
}
void TThermal::SetCuVs(float v) {
    tCuVS = v;
}
void TThermal::SetCuRotation(int v) {
    tCuRotation = v;
}
void TThermal::SetCuCloud(float v) {
    tCuCloud = v;
}
void TThermal::SetCuStart(int v) {
    tCuStart = v;
}
void TThermal::SetCuEnd(int v) {
    tCuEnd = v;
}
void TThermal::SetGroundHeight(int v) {
    tGroundHeight = v;
}
void TThermal::SetStrengthPercent(int v) {
    tStrengthPercent = v;
}
void TThermal::SetCorePercent(int v) {
    tCorePercent = v;
}
void TThermal::SetCoreBasePercent(int v) {
    tCoreBasePercent = v;
}
void TThermal::SetCoreTopPercent(int v) {
    tCoreTopPercent = v;
}

QString TThermal::Hint() const {
    const auto height = [this](int metres) {
        return heightUnits == feet ? IntText(MetresToFeetTruncated(metres)) + "ft"
                                   : IntText(metres) + "m";
    };
    std::string text;
    const auto line = [&text](const char* label, const std::string& value) {
        if (!text.empty())
            text += '\n';
        text += label;
        text += ' ';
        text += value;
    };
    line("Latitude", NumberText(lat));
    line("Lonitude", NumberText(lon));
    line("ThermalType", IntText(type));
    line("Bottom", height(bottom));
    line("Top", height(top));
    line("Radius", IntText(radius) + "m");
    line("Wind Dir", IntText(windDir) + "deg");
    line("Factor", IntText(factor));
    line("Strength Percent", IntText(tStrengthPercent));
    line("Core Size Percent", IntText(tCorePercent));
    line("Core Top Percent", IntText(tCoreTopPercent));
    line("Core Bottom Percent", IntText(tCoreBasePercent));
    if (cloud) {
        line("Cloudbase", height(cloudBase));
        line("CloudRadius", IntText(cloudRadius) + "m");
        line("CloudType", IntText(cloudType));
    } else {
        text += "\nNo Cloud";
    }
    line("Cumulus Horizontal Scale", NumberText(tCuHS));
    line("Cumulus Vertical Scale", NumberText(tCuVS));
    line("Cumulus Rotation Scale", IntText(tCuRotation));
    line("Cumulus Cloud", NumberText(tCuCloud));
    line("Cumulus Start", IntText(tCuStart));
    line("Cumulus End", IntText(tCuEnd));
    line("Terrain Height", IntText(tGroundHeight));
    return QString::fromStdString(text);
}

void TThermal::setDrawingParams() {
    prepareGeometryChange();
    glyph_ = ComputeThermalGlyph(type, windDir, glyph_);
    drawingValid_ = true;
    move();
}

void TThermal::move() {
    setPos(mapX_ - glyph_.centre.x(), mapY_ - glyph_.centre.y());
}

QPainterPath TThermal::shape() const {
    QPainterPath path;
    path.addRect(0, 0, glyph_.width, glyph_.height);
    return path;
}

QRectF TThermal::boundingRect() const {
    return QRectF(0, 0, glyph_.width, glyph_.height).adjusted(-1, -1, 1, 1);
}

QVariant TThermal::itemChange(GraphicsItemChange change, const QVariant& value) {
    if (change == ItemVisibleChange && value.toBool() && !drawingValid_)
        setDrawingParams();
    return QGraphicsItem::itemChange(change, value);
}

void TThermal::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) {
    const QRectF bounds = boundingRect();
    painter->drawImage(bounds.topLeft(), GlyphImage(glyph_, type, cloud, active,
                                                    painter->device()->devicePixelRatio()));
}
