#pragma once

#include "model/randomize.h"
#include "model/thermal.h"

#include <array>
#include <cstdint>

#include <QWidget>

class QCheckBox;
class QLineEdit;

// The "Randomize Thermals" window: the user ticks thermal types and fields, gives a Min and a
// Max for each field (a percentage chance for the cloud) and presses Apply. Every ticked row
// is checked first: one bad row refuses the whole Apply with one message. Closing it only
// hides it; ticks and texts last for the run.
class TRandomizeForm : public QWidget {
    Q_OBJECT

public:
    // The one generator is seeded here, from the time unless a seed is given.
    explicit TRandomizeForm(QWidget* parent = nullptr, std::uint32_t seed = Randomizer::TimeSeed());

    // The main window hands over its thermal list each time it shows the window.
    void SetThermals(const ThermalList* thermals);

signals:
    // Apply: the new values of the thermals it draws for, for the list to take as one change.
    void randomized(const ThermalValues& values);

private:
    struct RangeRow {
        QCheckBox* box = nullptr;
        QLineEdit* min = nullptr;
        QLineEdit* max = nullptr;
    };

    void ApplyClick();
    RandomizeChoice choice() const;

    const ThermalList* thermals_ = nullptr;
    Randomizer random_;
    std::array<QCheckBox*, 4> types_{};
    std::array<RangeRow, kRangeFieldCount> ranges_{};
    QCheckBox* cloudOnOff_ = nullptr;
    QLineEdit* cloudOnOffchance_ = nullptr;
};
