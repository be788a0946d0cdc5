#include "scene/accursor.h"

#include <QPainter>

TacCursor::TacCursor(const CursorSettings& settings)
    : Weight(settings.weight)
    , width_(settings.width)
    , height_(settings.height) {
    // Glyphs stay at the default z of 0.
    setZValue(1);
    // A control paints only inside its own rectangle, however thick the pen.
    setFlag(ItemClipsToShape);
}

QRectF TacCursor::boundingRect() const {
    return QRectF(0, 0, width_, height_);
}

void TacCursor::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) {
    // Arms run through the middle of their pixel column and row; the flat cap stops them at
    // the end point, which the cross leaves out.
    painter->setPen(QPen(QColor(255, 0, 0), Weight, Qt::SolidLine, Qt::FlatCap));
    const double armX = width_ / 2 + 0.5;
    const double armY = height_ / 2 + 0.5;
    painter->drawLine(QPointF(armX, 0), QPointF(armX, height_));
    painter->drawLine(QPointF(0, armY), QPointF(width_, armY));
}
