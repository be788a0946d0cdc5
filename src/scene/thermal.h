#pragma once

#include "geo/units.h"
#include "scene/mapglyph.h"

#include <memory>
#include <vector>

#include <QPoint>
#include <QString>

// The geometry of a thermal's glyph in item coordinates: a circle of radius 5 and, for
// every type but 4, a wind line of length 10 towards the wind's compass bearing.
struct ThermalGlyph {
    int width = 10;
    int height = 10;
    int windDx = 0;
    int windDy = 0;
    QPoint lineEnd{0, 0};
    QPoint centre{0, 0};
    QPoint circleOrigin{0, 0};
};
// Computes the glyph for a type and wind direction. A negative wind direction is outside
// the compass rule: the previous geometry is returned unchanged.
ThermalGlyph ComputeThermalGlyph(int type, int windDir, const ThermalGlyph& previous);

// One area of lift: the program's central record and at the same time its own glyph on
// the map. Values are written through the Set... setters; the hint is built on demand.
// (The field `type` hides QGraphicsItem::type(); use dynamic_cast to find thermals.)
class TThermal : public MapGlyph {
public:
    TThermal();

    // Published properties after lat and lon, written through their setters only.
    int type = 0;
    int bottom = 0;
    int top = 0;
    int radius = 0;
    int windDir = 0;
    int factor = 0;
    bool cloud = false;
    int cloudBase = 0;
    int cloudRadius = 0;
    int cloudType = 0;
    int spare = 0;
    heightDispType heightUnits = meters;
    float tCuHS = -1.0f;
    float tCuVS = -1.0f;
    int tCuRotation = 0;
    float tCuCloud = -0.5f;
    int tCuStart = -1;
    int tCuEnd = -1;
    int tGroundHeight = 0;
    int tStrengthPercent = 0;
    int tCorePercent = 0;
    int tCoreBasePercent = 0;
    int tCoreTopPercent = 0;
    bool active = false;

    void SetType(int v);
    void SetBottom(int v);
    void SetTop(int v);
    void SetRadius(int v);
    void SetWindDir(int v);
    void SetFactor(int v);
    void SetCloud(bool v);
    void SetCloudBase(int v);
    void SetCloudRadius(int v);
    void SetCloudType(int v);
    void SetSpare(int v);
    void SetHeightUnits(heightDispType v);
    void SetCuHs(float v);
    void SetCuVs(float v);
    void SetCuRotation(int v);
    void SetCuCloud(float v);
    void SetCuStart(int v);
    void SetCuEnd(int v);
    void SetGroundHeight(int v);
    void SetStrengthPercent(int v);
    void SetCorePercent(int v);
    void SetCoreBasePercent(int v);
    void SetCoreTopPercent(int v);
    void SetActive(bool v);

    // The multi-line hint, exactly as the tooltip shows it at this moment.
    QString Hint() const;

    // The glyph as shown; a hidden thermal's may lag behind its type and wind direction.
    const ThermalGlyph& glyph() const { return glyph_; }

    // The glyph's own rectangle, which the pointer hits; boundingRect() adds the reach of
    // the wind line's pen beyond it.
    QPainterPath shape() const override;
    QRectF boundingRect() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

protected:
    QVariant itemChange(GraphicsItemChange change, const QVariant& value) override;

private:
    void setDrawingParams();
    void move() override;

    ThermalGlyph glyph_;
    // A hidden thermal only marks its glyph stale: a load sets type and wind direction
    // of every thermal before showing it, and the glyph is then computed once.
    bool drawingValid_ = true;
};

// The main window's ordered list of thermals; removing a thermal from it destroys it.
using ThermalList = std::vector<std::unique_ptr<TThermal>>;
