#pragma once

#include "io/settings.h"

#include <QGraphicsItem>

// The aircraft's mark on the map: a red cross whose size and line width come from the
// settings, with a pointer beyond it along the aircraft's heading. The window places it with
// setPos; it stands in front of every glyph.
class TacCursor : public QGraphicsItem {
public:
    explicit TacCursor(const CursorSettings& settings);

    int Weight = 1;
    int width() const { return width_; }
    int height() const { return height_; }
    // Degrees true; the pointer turns with it.
    void SetHeading(double degrees);
    double heading() const { return heading_; }

    QRectF boundingRect() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

private:
    int width_ = 20;
    int height_ = 20;
    double heading_ = 0;
};
