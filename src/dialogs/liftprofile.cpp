#include "liftprofile.h"

#include <algorithm>

#include <QPainter>
#include <QPainterPath>

namespace {

constexpr int kSamples = 61;

// One chart: the samples as a filled curve in a box, the lift running up the box (across the
// radius) or along it (up the band, whose heights run up the box).
void Chart(QPainter& painter, const QRectF& box, const std::vector<ProfileSample>& samples,
           bool upTheBand, double fullPercent, const QColor& text, const QString& caption) {
    painter.setPen(QPen(QColor(160, 160, 160), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(box);
    if (samples.size() < 2)
        return;
    const double first = samples.front().atM;
    const double span = std::max(samples.back().atM - first, 1.0);
    const auto pointOf = [&](const ProfileSample& sample) {
        const double along = (sample.atM - first) / span;
        const double lift = std::clamp(sample.percent / fullPercent, 0.0, 1.0);
        return upTheBand
                   ? QPointF(box.left() + lift * box.width(), box.bottom() - along * box.height())
                   : QPointF(box.left() + along * box.width(), box.bottom() - lift * box.height());
    };
    QPainterPath curve(upTheBand ? QPointF(box.left(), box.bottom()) : box.bottomLeft());
    for (const ProfileSample& sample : samples)
        curve.lineTo(pointOf(sample));
    curve.lineTo(upTheBand ? box.topLeft() : box.bottomRight());
    curve.closeSubpath();
    painter.setPen(QPen(QColor(200, 60, 30), 1.5));
    painter.setBrush(QColor(200, 60, 30, 60));
    painter.drawPath(curve);
    painter.setPen(text);
    painter.drawText(box.adjusted(4, 2, -4, -2), Qt::AlignTop | Qt::AlignRight, caption);
}

QString Metres(double m) {
    return QString::number(std::lround(m)) + QStringLiteral(" m");
}

} // namespace

LiftProfileView::LiftProfileView(QWidget* parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("LiftProfile"));
    setMinimumHeight(90);
    setToolTip(tr("The lift these values give, in per cent of the simulator's strength: across "
                  "the radius at the core's height, and up the band at the centre"));
}

void LiftProfileView::SetValues(const ThermalSettings& values) {
    radial_ = RadialProfile(values, kSamples);
    vertical_ = VerticalProfile(values, kSamples);
    update();
}

void LiftProfileView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    int peak = 1;
    for (const auto* samples : {&radial_, &vertical_})
        for (const ProfileSample& sample : *samples)
            peak = std::max(peak, sample.percent);
    const QRectF area = QRectF(rect()).adjusted(2, 2, -2, -2);
    const double half = (area.width() - 6) / 2;
    const QColor text = palette().color(QPalette::WindowText);
    const QString radius = radial_.empty() ? QString() : Metres(radial_.back().atM);
    Chart(painter, QRectF(area.left(), area.top(), half, area.height()), radial_, false, peak, text,
          tr("%1 %, 0 to %2").arg(peak).arg(radius));
    const QString band = vertical_.empty() ? QString()
                                           : tr("%1 to %2 m")
                                                 .arg(std::lround(vertical_.front().atM))
                                                 .arg(std::lround(vertical_.back().atM));
    Chart(painter, QRectF(area.left() + half + 6, area.top(), half, area.height()), vertical_, true,
          peak, text, band);
}
