#include "scene/mapview.h"

#include "geo/coordtext.h"
#include "map/map.h"
#include "scene/flighttrackitem.h"
#include "scene/thermal.h"
#include "scene/waypoint.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include <QApplication>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QToolTip>
#include <QWheelEvent>

MapView::MapView(const Map& map, const DisplayUnits& units, QWidget* parent)
    : QGraphicsView(parent)
    , map_(map)
    , units_(units) {
    setScene(new QGraphicsScene(this));
    // The default depth grows with the item count; with 100,000 glyphs its many small
    // cells make every full repaint walk them all. A thousand cells keep both the
    // repaint and the lookup under the pointer quick.
    scene()->setBspTreeDepth(10);
    // Minimal updates cost seconds when thousands of glyphs move at a zoom step.
    setViewportUpdateMode(FullViewportUpdate);
    // A map smaller than the panel is shown in its middle.
    setAlignment(Qt::AlignCenter);
    viewport()->setMouseTracking(true);
    connect(&map_, &Map::displayChanged, this, &MapView::fitScene);
    fitScene();
}

MapView::~MapView() {
    // Glyphs added since the event loop last ran still wait in the scene's queue for
    // polishing; once it has run, newest first finds each of them at the front of the
    // scene's lists.
    QCoreApplication::sendPostedEvents(scene());
    while (!glyphs_.glyphs().empty())
        delete glyphs_.glyphs().back();
}

void MapView::AdoptThermals(const ThermalList& thermals, std::size_t first, std::size_t count) {
    for (std::size_t i = first; i < first + count; ++i)
        scene()->addItem(new TThermal(*thermals[i], map_, glyphs_));
    Settle();
}

void MapView::AdoptWaypoints(const WaypointList& waypoints, std::size_t first, std::size_t count) {
    for (std::size_t i = first; i < first + count; ++i)
        scene()->addItem(new TWaypoint(*waypoints[i], map_, glyphs_));
    Settle();
}

void MapView::Settle() {
    // The scene polishes and indexes new items later, from the event loop; one that is let go
    // before that costs it a search through all of them (seconds for 100,000).
    QCoreApplication::sendPostedEvents(scene(), QEvent::MetaCall);
}

void MapView::fitScene() {
    // The scene's own rectangle, not only the view's: the scene's index divides it up, and
    // a new rectangle makes the index start afresh, so the glyphs that move after a zoom
    // are indexed once rather than moved through the index one by one.
    scene()->setSceneRect(0, 0, map_.displayWidth(), map_.displayHeight());
    for (MapGlyph* glyph : glyphs_.glyphs())
        glyph->resize();
    viewport()->update();
}

MapGlyph* MapView::glyphAt(const QPoint& viewportPos) const {
    for (QGraphicsItem* item : items(viewportPos)) {
        if (auto* glyph = dynamic_cast<MapGlyph*>(item))
            return glyph;
    }
    return nullptr;
}

QString MapView::hintAt(const QPoint& viewportPos) const {
    const MapGlyph* glyph = glyphAt(viewportPos);
    if (!glyph) {
        // Off the glyphs, a flight log's track has its own hint.
        for (QGraphicsItem* item : items(viewportPos))
            if (const auto* track = dynamic_cast<const FlightTrackItem*>(item))
                return track->HintAt(mapToScene(viewportPos), units_.height);
        return {};
    }
    // Where it is, as pilots read it, then every value.
    return QString::fromStdString(
        PositionText(glyph->position().lat, glyph->position().lon, units_.position) + '\n' +
        glyph->Hint(units_.height));
}

std::optional<QPoint> MapView::imagePixelAt(const QPoint& viewportPos) const {
    const QPointF p = mapToScene(viewportPos);
    const QPoint pixel(int(std::floor(p.x())), int(std::floor(p.y())));
    if (pixel.x() < 0 || pixel.y() < 0 || pixel.x() >= map_.displayWidth() ||
        pixel.y() >= map_.displayHeight())
        return std::nullopt;
    return pixel;
}

void MapView::drawBackground(QPainter* painter, const QRectF& rect) {
    QGraphicsView::drawBackground(painter, rect);
    const QImage& picture = map_.picture();
    const QRectF shown(0, 0, map_.displayWidth(), map_.displayHeight());
    const QRectF target = rect.intersected(shown);
    if (picture.isNull() || target.isEmpty())
        return;
    // Only the exposed part is scaled: at a high zoom the whole stretched picture would
    // be far larger than the window.
    const double sx = picture.width() / shown.width();
    const double sy = picture.height() / shown.height();
    const QRectF source(target.x() * sx, target.y() * sy, target.width() * sx,
                        target.height() * sy);
    // Smooth at every zoom: enlarged pixels would turn the map blocky.
    painter->setRenderHint(QPainter::SmoothPixmapTransform);
    painter->drawImage(target, picture, source);
}

bool MapView::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const QString hint = hintAt(help->pos());
        if (hint.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), hint, viewport());
        return true;
    }
    return QGraphicsView::viewportEvent(event);
}

void MapView::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        activatingClick_ = true;
    QGraphicsView::changeEvent(event);
}

void MapView::dragEnterEvent(QDragEnterEvent* event) {
    event->ignore();
    emit dragEntered(event);
    dragAccepted_ = event->isAccepted();
}

void MapView::dragMoveEvent(QDragMoveEvent* event) {
    if (dragAccepted_)
        event->acceptProposedAction();
}

void MapView::dropEvent(QDropEvent* event) {
    emit dropped(event);
}

void MapView::wheelEvent(QWheelEvent* event) {
    // A notch of the wheel is 120; touchpads send parts of it.
    const double steps = event->angleDelta().y() / 120.0;
    if (steps != 0)
        emit wheelZoom(steps, event->position().toPoint());
    event->accept();
}

void MapView::mouseMoveEvent(QMouseEvent* event) {
    activatingClick_ = false;
    if (MapGlyph* glyph = dragGlyph()) {
        const QPoint moved = event->position().toPoint() - panFrom_;
        draggingGlyph_ =
            draggingGlyph_ || moved.manhattanLength() >= QApplication::startDragDistance();
        if (draggingGlyph_)
            glyph->setPos(dragItemFrom_ + moved);
    } else if (panButton_ != Qt::NoButton) {
        const QPoint moved = event->position().toPoint() - panFrom_;
        if (!panning_ && (panButton_ == Qt::MiddleButton ||
                          moved.manhattanLength() >= QApplication::startDragDistance())) {
            panning_ = true;
            viewport()->setCursor(Qt::ClosedHandCursor);
            emit panStarted();
        }
        if (panning_) {
            horizontalScrollBar()->setValue(scrollFrom_.x() - moved.x());
            verticalScrollBar()->setValue(scrollFrom_.y() - moved.y());
            event->accept();
            return;
        }
    }
    if (const auto pixel = imagePixelAt(event->position().toPoint()))
        emit imageMouseMoved(pixel->x(), pixel->y());
    QGraphicsView::mouseMoveEvent(event);
}

void MapView::mousePressEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    if (event->button() == Qt::LeftButton) {
        leftPressOnImage_ = imagePixelAt(pos) && !glyphAt(pos);
        // A drag whose release never came (a window took the pointer) leaves its glyph back.
        if (MapGlyph* left = dragGlyph(); left && draggingGlyph_)
            left->resize();
        dragGlyph_ = glyphAt(pos);
        draggingGlyph_ = false;
        if (dragGlyph_) {
            dragItemFrom_ = dragGlyph_->pos();
            panFrom_ = pos;
        }
    }
    if ((event->button() == Qt::LeftButton && !dragGlyph_) || event->button() == Qt::MiddleButton) {
        panButton_ = event->button();
        panFrom_ = pos;
        scrollFrom_ = {horizontalScrollBar()->value(), verticalScrollBar()->value()};
        panning_ = false;
    }
    QGraphicsView::mousePressEvent(event);
}

void MapView::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    if (event->button() == panButton_) {
        panButton_ = Qt::NoButton;
        viewport()->unsetCursor();
    }
    if (event->button() == Qt::LeftButton)
        dropGlyph(pos);
    if (event->button() == Qt::LeftButton) {
        const bool click = leftPressOnImage_ && !panning_ && imagePixelAt(pos) && !glyphAt(pos);
        leftPressOnImage_ = false;
        if (click && !activatingClick_)
            emit imageClicked();
        activatingClick_ = false;
    }
    if (panButton_ == Qt::NoButton)
        panning_ = false;
    QGraphicsView::mouseReleaseEvent(event);
}

void MapView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (auto* waypoint = dynamic_cast<TWaypoint*>(glyphAt(event->position().toPoint())))
        emit waypointDoubleClicked(&waypoint->value());
    QGraphicsView::mouseDoubleClickEvent(event);
}

MapGlyph* MapView::dragGlyph() {
    if (dragGlyph_ && std::ranges::find(glyphs_.glyphs(), dragGlyph_) == glyphs_.glyphs().end())
        dragGlyph_ = nullptr;
    return dragGlyph_;
}

void MapView::dropGlyph(QPoint pos) {
    MapGlyph* glyph = dragGlyph();
    dragGlyph_ = nullptr;
    if (!glyph || !std::exchange(draggingGlyph_, false))
        return;
    const QPoint by = pos - panFrom_;
    // Back where its value is: a move of the value takes it along, a refused one leaves it.
    glyph->resize();
    const QPoint to = QPoint(glyph->mapX(), glyph->mapY()) + by;
    if (!QRect(0, 0, map_.displayWidth(), map_.displayHeight()).contains(to))
        return;
    if (auto* thermal = dynamic_cast<TThermal*>(glyph))
        emit thermalDragged(&thermal->value(), by);
    else if (auto* waypoint = dynamic_cast<TWaypoint*>(glyph))
        emit waypointDragged(&waypoint->value(), by);
}

void MapView::contextMenuEvent(QContextMenuEvent* event) {
    MapGlyph* glyph = glyphAt(event->pos());
    if (auto* thermal = dynamic_cast<TThermal*>(glyph))
        emit thermalContextMenu(&thermal->value(), event->globalPos());
    else if (auto* waypoint = dynamic_cast<TWaypoint*>(glyph))
        emit waypointContextMenu(&waypoint->value(), event->globalPos());
    else if (const auto pixel = imagePixelAt(event->pos()))
        emit imageContextMenu(pixel->x(), pixel->y(), event->globalPos());
    event->accept();
}

void MapView::resizeEvent(QResizeEvent* event) {
    QGraphicsView::resizeEvent(event);
    emit resized();
}
