#pragma once

#include "flight/trail.h"

#include <cstddef>
#include <deque>

#include <QGraphicsItem>
#include <QPointF>

class Map;

// The aircraft's trail on the map, each stretch coloured by the climb at its end. It keeps
// the points' pixels, so a tick converts only the new points.
class TrailItem : public QGraphicsItem {
public:
    TrailItem(const Trail& trail, const Map& map);

    // Takes up the points added and dropped since the last call.
    void Refresh();
    // The map's displayed size changed: every point anew.
    void Relayout();

    QRectF boundingRect() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

private:
    struct Shown {
        QPointF pixel;
        int step;         // the climb colour step
        bool startsPiece; // no line leads to it
    };

    Shown ShownOf(const Trail::Point& point) const;

    const Trail& trail_;
    const Map& map_;
    std::deque<Shown> shown_;
    std::size_t next_ = 0; // the trail's stable index of the next point to take up
};
