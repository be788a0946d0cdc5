#include "scene/accursor.h"

#include <algorithm>

#include <QPainter>

TacCursor::TacCursor(const CursorSettings& settings)
    : Weight(settings.weight)
    , width_(settings.width)
    , height_(settings.height) {
    // Glyphs stay at the default z of 0.
    setZValue(1);
}

void TacCursor::SetHeading(double degrees) {
    if (degrees == heading_)
        return;
    heading_ = degrees;
    update();
}

namespace {

// The pointer stands this far beyond the cross's reach.
constexpr double kPointerLength = 8;

} // namespace

QRectF TacCursor::boundingRect() const {
    const double reach = std::max(width_, height_) / 2.0 + kPointerLength + 2;
    const QPointF centre(width_ / 2 + 0.5, height_ / 2 + 0.5);
    return QRectF(centre - QPointF(reach, reach), centre + QPointF(reach, reach))
        .united(QRectF(0, 0, width_, height_));
}

void TacCursor::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) {
    // Arms run through the middle of their pixel column and row; the flat cap stops them at
    // the end point, which the cross leaves out.
    painter->setPen(QPen(QColor(255, 0, 0), Weight, Qt::SolidLine, Qt::FlatCap));
    const double armX = width_ / 2 + 0.5;
    const double armY = height_ / 2 + 0.5;
    // The cross itself paints only inside its own rectangle, however thick the pen.
    painter->save();
    painter->setClipRect(QRectF(0, 0, width_, height_));
    painter->drawLine(QPointF(armX, 0), QPointF(armX, height_));
    painter->drawLine(QPointF(0, armY), QPointF(width_, armY));
    painter->restore();

    // A triangle beyond the cross, pointing along the heading (0 up, 90 to the right).
    painter->setRenderHint(QPainter::Antialiasing);
    painter->translate(armX, armY);
    painter->rotate(heading_);
    const double tip = -(std::max(width_, height_) / 2.0 + kPointerLength);
    const QPointF triangle[3] = {{0, tip}, {-4, tip + 7}, {4, tip + 7}};
    painter->setPen(Qt::NoPen);
    painter->setBrush(QColor(255, 0, 0));
    painter->drawPolygon(triangle, 3);
}
