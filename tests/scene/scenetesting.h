#pragma once

#include <QColor>
#include <QImage>

class QGraphicsItem;
class QString;

// An item shown and painted on its own into a transparent picture of its boundingRect's
// size, with item coordinate (0, 0) at pixel (-left, -top) of the rectangle.
QImage RenderItem(QGraphicsItem& item);
// The colour of item pixel (x, y) in a picture made by RenderItem.
QColor ItemPixel(const QImage& image, QGraphicsItem& item, int x, int y);
// Writes a w x h picture filled with one colour, for a map to load.
void WritePicture(const QString& path, int w, int h, QColor colour);
