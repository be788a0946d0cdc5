#pragma once

#include "flight/climbs.h"
#include "flight/climbthermal.h"
#include "model/thermal.h"

#include <vector>

#include <QWidget>

class QDoubleSpinBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QTableWidget;

// The climbs of the open flight log, one row each: start, duration, mean climb, entry and
// exit altitude, drift and the strength the rule gives. The rows chosen show on the map;
// "Add as Thermals" makes them thermals of type 4 above a ground elevation (the flight's, or
// typed) with a strength by the rule the window states, "100 % = 4.0 m/s".
class ClimbsWindow : public QWidget {
    Q_OBJECT
public:
    explicit ClimbsWindow(QWidget* parent = nullptr);

    // The climbs of a log named logName, the ground elevation set to the flight's; no climbs
    // and no name when the log is closed.
    void SetClimbs(std::vector<Climb> climbs, int groundM, const QString& logName);
    std::vector<Climb> chosen() const;
    // The chosen climbs as thermals, their other values from base.
    std::vector<ClimbThermal> ChosenThermals(const ThermalSettings& base) const;

signals:
    void climbsChosen(const std::vector<Climb>& climbs);
    void addAsThermals();

private:
    void fillTable();

    std::vector<Climb> climbs_;
    QLabel* title_ = nullptr;
    QTableWidget* table_ = nullptr;
    QSpinBox* ground_ = nullptr;
    QDoubleSpinBox* fullStrength_ = nullptr;
    QPushButton* add_ = nullptr;
};
