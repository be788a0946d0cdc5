#pragma once

#include "geo/units.h"
#include "model/thermal.h"
#include "profiler/liftpicture.h"

#include <vector>

#include <QWidget>

// The lift a thermal's values give in the chosen shape, as the profiler would write it in per
// cent of the simulator's own strength: across the radius (sink below the zero line), up the
// band at the axis, and the axis leaning downwind with height. Heights in the display unit.
class LiftProfileView : public QWidget {
    Q_OBJECT
public:
    explicit LiftProfileView(const DisplayUnits& units, QWidget* parent = nullptr);

    void SetValues(const ThermalSettings& values, const LiftModel& model);
    const std::vector<ShapePoint>& radial() const { return radial_; }
    const std::vector<ShapePoint>& vertical() const { return vertical_; }
    const std::vector<AxisPoint>& axis() const { return axis_; }

    QSize sizeHint() const override { return {360, 120}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const DisplayUnits& units_;
    double radiusM_ = 0;
    double bottomM_ = 0;
    std::vector<ShapePoint> radial_;
    std::vector<ShapePoint> vertical_;
    std::vector<AxisPoint> axis_;
};
