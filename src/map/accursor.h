#pragma once

#include <QGraphicsItem>

class QSettings;

// The aircraft's mark on the map: a red cross whose size and line width come from the
// settings' [ACCursor] section. The main window places it with setPos and keeps it in
// front of every glyph with setZValue.
class TacCursor : public QGraphicsItem {
public:
    // Reads Width, Height and Weight (defaults 20, 20, 1; a missing or non-integer value
    // gives the default) and writes the three back in that order.
    explicit TacCursor(QSettings& settings);

    int Weight = 1;
    int width() const { return width_; }
    int height() const { return height_; }

    QRectF boundingRect() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

private:
    int width_ = 20;
    int height_ = 20;
};
