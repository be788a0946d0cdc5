#pragma once

#include "geo/units.h"
#include "model/thermal.h"
#include "model/waypoint.h"
#include "scene/mapglyph.h"

#include <cstddef>
#include <optional>

#include <QGraphicsView>

class Map;

// The main window's scrolling map panel. Its scene's coordinates are map-image pixels at
// the displayed size: the picture is the scene's background, and the glyphs of thermals and
// waypoints are items placed in those pixels, so scrolling moves them together with the map.
// This is the one place where values get their glyphs.
class MapView : public QGraphicsView {
    Q_OBJECT
public:
    // Hints show heights in the units' height unit of the moment.
    MapView(const Map& map, const DisplayUnits& units, QWidget* parent = nullptr);
    ~MapView() override;

    // Makes the glyphs of the count values of the list from index first on. Each glyph
    // follows its value and goes when the value is destroyed or leaves the screen.
    void AdoptThermals(const ThermalList& thermals, std::size_t first, std::size_t count);
    void AdoptWaypoints(const WaypointList& waypoints, std::size_t first, std::size_t count);

    // The topmost thermal or waypoint glyph under a viewport position, or nullptr.
    MapGlyph* glyphAt(const QPoint& viewportPos) const;
    // The hint of the glyph under a viewport position; empty when there is none.
    QString hintAt(const QPoint& viewportPos) const;
    const GlyphSet& glyphs() const { return glyphs_; }

signals:
    // The pointer moved over the map image; x and y are image pixels.
    void imageMouseMoved(int x, int y);
    // A left click on the map image that did not land on a thermal or waypoint glyph, did
    // not move the map, and came in a window that was already active.
    void imageClicked();
    void imageContextMenu(int x, int y, QPoint globalPos);
    void thermalContextMenu(Thermal* thermal, QPoint globalPos);
    void waypointContextMenu(Waypoint* waypoint, QPoint globalPos);
    void waypointDoubleClicked(Waypoint* waypoint);
    void resized();
    // The wheel turned over the map: steps in (positive) or out, about a viewport position.
    void wheelZoom(double steps, QPoint viewportPos);
    // A drag with the middle button, or the left one beyond a few pixels, moves the map.
    void panStarted();
    // A left drag that started on a glyph, let go by pixels from where it started with the
    // glyph's anchor still on the image; the glyph stands where its value is until the value
    // moves.
    void thermalDragged(Thermal* thermal, QPoint by);
    void waypointDragged(Waypoint* waypoint, QPoint by);
    // Files dragged onto the map, for the window to accept and open (direct connections).
    void dragEntered(QDragEnterEvent* event);
    void dropped(QDropEvent* event);

protected:
    void drawBackground(QPainter* painter, const QRectF& rect) override;
    bool viewportEvent(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // The scene's work on new glyphs done now, so that it lets any of them go quickly.
    void Settle();
    // The image pixel under a viewport position, when the position is on the map image.
    std::optional<QPoint> imagePixelAt(const QPoint& viewportPos) const;
    // The scene takes the map's displayed size and every glyph its new pixel position.
    void fitScene();

    const Map& map_;
    const DisplayUnits& units_;
    GlyphSet glyphs_;
    bool leftPressOnImage_ = false;
    // The click that brings the window to the front only does that: set when the window
    // becomes active, cleared by the next click or by the pointer moving over the map.
    bool activatingClick_ = false;
    bool dragAccepted_ = false;
    // A press that may turn into a pan: where it was and the scroll positions then.
    Qt::MouseButton panButton_ = Qt::NoButton;
    QPoint panFrom_;
    QPoint scrollFrom_;
    bool panning_ = false;
    // A left press on a glyph: the glyph follows the pointer once it has moved a few pixels.
    MapGlyph* dragGlyph_ = nullptr;
    QPointF dragItemFrom_;
    bool draggingGlyph_ = false;
    // The glyph being dragged while it lives: an undo or a timer may remove it meanwhile.
    MapGlyph* dragGlyph();
    void dropGlyph(QPoint pos);
};
