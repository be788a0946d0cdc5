#include "liftprofile.h"

#include <algorithm>
#include <cmath>

#include <QPainter>
#include <QPainterPath>

namespace {

constexpr int kSamples = 61;
const QColor kLiftColour(200, 60, 30);
const QColor kSinkColour(40, 90, 200);
const QColor kFrameColour(160, 160, 160);

// The lift's range the charts share, in per cent: from the deepest sink (or 0) to the peak.
struct Span {
    double low;
    double high;
    double ShareOf(double percent) const { return (percent - low) / (high - low); }
};

void Frame(QPainter& painter, const QRectF& box, const QColor& text, const QString& caption) {
    painter.setPen(QPen(kFrameColour, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(box);
    painter.setPen(text);
    painter.drawText(box.adjusted(4, 2, -4, -2), Qt::AlignTop | Qt::AlignRight, caption);
}

// The points as a curve filled to the zero line, lift above it and sink below. Across the
// radius the distance runs along the box and the lift up it; up the band the heights run up
// the box and the lift along it.
void LiftChart(QPainter& painter, const QRectF& box, const std::vector<ShapePoint>& points,
               bool upTheBand, const Span& lift) {
    if (points.size() < 2)
        return;
    const double first = points.front().atM;
    const double span = std::max(points.back().atM - first, 1.0);
    const auto pointOf = [&](double atM, double percent) {
        const double along = (atM - first) / span;
        const double share = lift.ShareOf(percent);
        return upTheBand
                   ? QPointF(box.left() + share * box.width(), box.bottom() - along * box.height())
                   : QPointF(box.left() + along * box.width(), box.bottom() - share * box.height());
    };
    QPainterPath curve(pointOf(first, 0));
    for (const ShapePoint& p : points)
        curve.lineTo(pointOf(p.atM, p.percent));
    curve.lineTo(pointOf(points.back().atM, 0));
    curve.closeSubpath();

    const QPointF zero = pointOf(first, 0);
    const QRectF liftSide = upTheBand
                                ? QRectF(zero.x(), box.top(), box.right() - zero.x(), box.height())
                                : QRectF(box.left(), box.top(), box.width(), zero.y() - box.top());
    for (const bool sink : {false, true}) {
        const QColor colour = sink ? kSinkColour : kLiftColour;
        painter.save();
        QPainterPath side;
        side.addRect(liftSide);
        if (sink) {
            QPainterPath whole;
            whole.addRect(box);
            side = whole.subtracted(side);
        }
        painter.setClipPath(side);
        painter.setPen(QPen(colour, 1.5));
        painter.setBrush(QColor(colour.red(), colour.green(), colour.blue(), 60));
        painter.drawPath(curve);
        painter.restore();
    }
    painter.setPen(QPen(kFrameColour, 1, Qt::DotLine));
    painter.drawLine(zero,
                     upTheBand ? QPointF(zero.x(), box.top()) : QPointF(box.right(), zero.y()));
}

// The thermal from the side: its axis from the ground, leaning downwind with height, and its
// radius on either side of it through the band. Heights run up the box as in the band's chart.
void DriftChart(QPainter& painter, const QRectF& box, const std::vector<AxisPoint>& axis,
                double radiusM, double bottomM, double lowestM, double highestM) {
    if (axis.size() < 2)
        return;
    painter.save();
    painter.setClipRect(box);
    const double reachM = std::max(axis.back().downwindM, 0.0);
    const double leftM = -std::max(radiusM, 1.0);
    const double widthM = reachM + 2 * std::max(radiusM, 1.0);
    const double heightSpan = std::max(highestM - lowestM, 1.0);
    const auto pointOf = [&](double downwindM, double heightM) {
        return QPointF(box.left() + (downwindM - leftM) / widthM * box.width(),
                       box.bottom() - (heightM - lowestM) / heightSpan * box.height());
    };
    // The axis is straight: its drift grows in proportion to the height.
    const double perMetre = axis.back().heightM > 0 ? reachM / axis.back().heightM : 0;
    const double topM = axis.back().heightM;
    const double bandBottomM = std::clamp(bottomM, 0.0, topM);
    QPolygonF column;
    column << pointOf(bandBottomM * perMetre - radiusM, bandBottomM)
           << pointOf(topM * perMetre - radiusM, topM) << pointOf(topM * perMetre + radiusM, topM)
           << pointOf(bandBottomM * perMetre + radiusM, bandBottomM);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(kLiftColour.red(), kLiftColour.green(), kLiftColour.blue(), 40));
    painter.drawPolygon(column);
    painter.setPen(QPen(kLiftColour, 1.5, Qt::DashLine));
    painter.drawLine(pointOf(0, 0), pointOf(reachM, topM));
    painter.setPen(QPen(kFrameColour, 1));
    painter.drawLine(pointOf(leftM, 0), pointOf(leftM + widthM, 0)); // the ground
    painter.restore();
}

} // namespace

LiftProfileView::LiftProfileView(const DisplayUnits& units, QWidget* parent)
    : QWidget(parent)
    , units_(units) {
    setObjectName(QStringLiteral("LiftProfile"));
    setMinimumHeight(90);
    setToolTip(tr("The lift these values give in the chosen shape, in per cent of the "
                  "simulator's strength: across the radius (sink in blue), up the band at the "
                  "axis, and the thermal leaning downwind with height"));
}

void LiftProfileView::SetValues(const ThermalSettings& values, const LiftModel& model) {
    radiusM_ = std::max(values.radius, 0);
    bottomM_ = values.bottom;
    radial_ = AcrossTheRadius(values, model.shape, ProfileHeightM(values, model.shape), kSamples);
    vertical_ = UpTheBand(values, model.shape, kSamples);
    axis_ = LeaningAxis(values, model, kSamples);
    update();
}

void LiftProfileView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    Span lift{0, 1};
    for (const auto* points : {&radial_, &vertical_})
        for (const ShapePoint& p : *points)
            lift = {std::min(lift.low, p.percent), std::max(lift.high, p.percent)};
    const QRectF area = QRectF(rect()).adjusted(2, 2, -2, -2);
    constexpr double gap = 6;
    const double third = (area.width() - 2 * gap) / 3;
    const QRectF across(area.left(), area.top(), third, area.height());
    const QRectF up(across.right() + gap, area.top(), third, area.height());
    const QRectF side(up.right() + gap, area.top(), third, area.height());
    const QColor text = palette().color(QPalette::WindowText);
    const auto height = [this](double m) {
        return QString::fromStdString(HeightText(m, units_.height));
    };

    LiftChart(painter, across, radial_, false, lift);
    Frame(painter, across, text,
          radial_.empty() ? QString()
                          : tr("%1 %, 0 to %2m")
                                .arg(std::lround(lift.high))
                                .arg(std::lround(radial_.back().atM)));
    LiftChart(painter, up, vertical_, true, lift);
    Frame(painter, up, text,
          vertical_.empty()
              ? QString()
              : tr("%1 to %2").arg(height(vertical_.front().atM), height(vertical_.back().atM)));
    if (!vertical_.empty())
        DriftChart(painter, side, axis_, radiusM_, bottomM_, vertical_.front().atM,
                   vertical_.back().atM);
    const double driftM = axis_.empty() ? 0 : axis_.back().downwindM;
    Frame(painter, side, text,
          driftM > 0 ? tr("%1m downwind").arg(std::lround(driftM)) : tr("no wind"));
}
