#pragma once

#include "model/thermal.h"
#include "profiler/lift.h"

#include <vector>

#include <QWidget>

// The lift a thermal's values give, as the profiler would write it in per cent of the
// simulator's own strength: across the radius at the core's height (core, fade, nothing
// beyond the radius) and up the height band at the centre (lower fade, core, upper fade).
class LiftProfileView : public QWidget {
    Q_OBJECT
public:
    explicit LiftProfileView(QWidget* parent = nullptr);

    void SetValues(const ThermalSettings& values);
    const std::vector<ProfileSample>& radial() const { return radial_; }
    const std::vector<ProfileSample>& vertical() const { return vertical_; }

    QSize sizeHint() const override { return {360, 120}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<ProfileSample> radial_;
    std::vector<ProfileSample> vertical_;
};
