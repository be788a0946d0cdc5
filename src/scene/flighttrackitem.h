#pragma once

#include "flight/climbs.h"
#include "flight/trail.h"
#include "geo/units.h"

#include <vector>

#include <QGraphicsItem>
#include <QString>

class Map;
class TrailItem;

// A flight log's track on the map, drawn as the trail is (coloured by the climb), with a
// mark where it starts and one where it ends, and rings around the climbs chosen in the
// Climbs window. Its hint gives the time, altitude and climb of the track point under the
// pointer.
class FlightTrackItem : public QGraphicsItem {
public:
    FlightTrackItem(Trail track, const Map& map);
    ~FlightTrackItem() override;

    // The map's displayed size changed.
    void Relayout();
    void ShowClimbs(std::vector<Climb> climbs);
    // The hint of the track point nearest a scene position, within a few pixels; empty
    // when none is that near.
    QString HintAt(QPointF scenePos, heightDispType unit) const;

    QRectF boundingRect() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

private:
    Trail track_;
    const Map& map_;
    TrailItem* line_; // a child, drawn under the marks
    std::vector<Climb> climbs_;
};
