#pragma once

#include <optional>

#include <QGraphicsView>

class Map;
class QGraphicsItem;
class TThermal;
class TWaypoint;

// The main window's scrolling map panel. Its scene's coordinates are map-image pixels at
// the displayed size: the picture is the scene's background, and thermals and waypoints
// are items placed in those pixels, so scrolling moves them together with the map.
class MapView : public QGraphicsView {
    Q_OBJECT
public:
    explicit MapView(Map& map, QWidget* parent = nullptr);
    // Thermals and waypoints belong to their lists, not to the scene: they are taken out of
    // the scene here so that it does not delete them.
    ~MapView() override;

    // The topmost thermal or waypoint glyph under a viewport position, or nullptr.
    QGraphicsItem* glyphAt(const QPoint& viewportPos) const;
    // The hint of the glyph under a viewport position; empty when there is none.
    QString hintAt(const QPoint& viewportPos) const;

signals:
    // The pointer moved over the map image; x and y are image pixels.
    void imageMouseMoved(int x, int y);
    // A left click on the map image that did not land on a thermal or waypoint glyph.
    void imageClicked();
    void imageContextMenu(int x, int y, QPoint globalPos);
    void thermalContextMenu(TThermal* thermal, QPoint globalPos);
    void waypointContextMenu(TWaypoint* waypoint, QPoint globalPos);
    void resized();

protected:
    void drawBackground(QPainter* painter, const QRectF& rect) override;
    bool viewportEvent(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // The image pixel under a viewport position, when the position is on the map image.
    std::optional<QPoint> imagePixelAt(const QPoint& viewportPos) const;
    void fitScene();

    Map& map_;
    bool leftPressOnImage_ = false;
};
