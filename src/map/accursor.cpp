#include "map/accursor.h"

#include <QPainter>
#include <QSettings>

namespace {

int ReadInt(QSettings& settings, const QString& key, int fallback) {
    bool ok = false;
    const int value = settings.value(key).toString().trimmed().toInt(&ok);
    return ok ? value : fallback;
}

} // namespace

TacCursor::TacCursor(QSettings& settings) {
    settings.beginGroup("ACCursor");
    width_ = ReadInt(settings, "Width", 20);
    height_ = ReadInt(settings, "Height", 20);
    Weight = ReadInt(settings, "Weight", 1);
    settings.setValue("Width", width_);
    settings.setValue("Height", height_);
    settings.setValue("Weight", Weight);
    settings.endGroup();
    // A control paints only inside its own rectangle, however thick the pen.
    setFlag(ItemClipsToShape);
}

QRectF TacCursor::boundingRect() const {
    return QRectF(0, 0, std::max(width_, 0), std::max(height_, 0));
}

void TacCursor::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) {
    // Arms run through the middle of their pixel column and row; the flat cap stops them at
    // the end point, which the cross leaves out.
    painter->setPen(QPen(QColor(255, 0, 0), std::max(Weight, 0), Qt::SolidLine, Qt::FlatCap));
    const double armX = width_ / 2 + 0.5;
    const double armY = height_ / 2 + 0.5;
    painter->drawLine(QPointF(armX, 0), QPointF(armX, height_));
    painter->drawLine(QPointF(0, armY), QPointF(width_, armY));
}
