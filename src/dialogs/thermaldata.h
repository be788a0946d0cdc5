#pragma once

#include "geo/units.h"
#include "model/thermal.h"
#include "model/valueranges.h"
#include "profiler/livesettings.h"

#include <vector>

#include <QWidget>

class LiftProfileView;
class QBoxLayout;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;

// The "Thermal Data" tool window: the values every new thermal receives, the editor of one
// thermal's values (Get Data / Set Data), and the switches of the live work. Every edit's
// value is parsed on each change; text that does not convert or lies outside the field's
// range is marked red and never used: the value before it stays, and the commands that would
// use it refuse. Other windows read its values as values: values(), liveSettings() and the
// signals. Closing it only hides it.
class TThermalData : public QWidget {
    Q_OBJECT

public:
    // Heights are shown and typed in the units' height unit.
    explicit TThermalData(const DisplayUnits& units, QWidget* parent = nullptr);

    // The twenty values for a thermal; heights in metres whatever unit the window shows.
    ThermalSettings values() const;
    // Get Data: shows a thermal's twenty values.
    void ShowValues(const ThermalSettings& values);
    // Whether the fields a command reads all hold good values; when not, one message names
    // every bad field with its range.
    bool CheckValues(ValueUse use) const;
    // Everything the live work reads, as it stands now. Automatic thermals pause while a
    // thermal's field holds a bad value.
    LiveSettings liveSettings() const;
    // The lift's shape and the wind, as chosen; shown as remembered from an earlier run.
    LiftModel liftModel() const;
    void ShowLiftModel(const LiftModel& model);
    bool GetSaveCuData() const;
    // Automatic thermals need a thermal list to add to, which comes with a project: until
    // one is open, their box does not stay ticked.
    void SetProjectOpen(bool open) { projectOpen_ = open; }

    // The height unit has changed: Bottom, Top and cloud Base are shown anew in it; the
    // metres they hold do not change.
    void ShowHeights();

    const LiftProfileView& liftProfile() const { return *profile_; }

signals:
    // Apply To All of the profile (cumulus) group: these values' group goes to every thermal.
    void applyProfileToAll(const ThermalSettings& values);
    void applyCumulusToAll(const ThermalSettings& values);
    // A value has changed: typed, set, or a type chosen.
    void valuesChanged();
    // Anything the live work reads has changed.
    void liveSettingsChanged(const LiveSettings& settings);
    // The pilot chose another shape or wind.
    void liftModelChosen();

private:
    // An edit and the value it holds: an int, a float, or a height held in metres.
    struct Binding {
        QLineEdit* edit = nullptr;
        int* integer = nullptr;
        float* decimal = nullptr;
        ValueField field;
        QString hint;
    };

    void buildTopRow(QBoxLayout* layout);
    QWidget* buildProfileGroup();
    QWidget* buildAircraftGroup();
    QWidget* buildAutomaticGroup();
    QWidget* buildCumulusGroup();

    void bind(QLineEdit* edit, int& value, ValueField field);
    void bind(QLineEdit* edit, float& value, ValueField field);
    void bind(const Binding& binding);
    void parse(const Binding& binding, const QString& text);
    void showValue(const Binding& binding);
    bool good(const Binding& binding) const;
    // Red with the range in its tooltip while the field's text is bad.
    void mark(const Binding& binding);
    std::vector<ValueField> badFields(ValueUse use) const;
    void SetType(int t);

    ThermalSettings values_;
    int autoThermalDistM_ = 0;
    int rollRatePercent_ = 0;
    int sampleSize_ = 0;
    float windMs_ = 0;
    bool projectOpen_ = false;
    const DisplayUnits& units_;
    std::vector<Binding> bindings_;

    QButtonGroup* typeGroup_ = nullptr;
    LiftProfileView* profile_ = nullptr;
    QLabel* bottomUnits_ = nullptr;
    QLabel* topUnits_ = nullptr;
    QCheckBox* cloudOn_ = nullptr;
    QLabel* cloudBaseUnits_ = nullptr;
    QCheckBox* profileOnOff_ = nullptr;
    QCheckBox* roll_ = nullptr;
    QComboBox* liftShape_ = nullptr;
    QLineEdit* windSpeed_ = nullptr;
    QCheckBox* windLeft_ = nullptr;
    QCheckBox* windRight_ = nullptr;
    QCheckBox* topsMSL_ = nullptr;
    QCheckBox* autoThermals_ = nullptr;
    QCheckBox* saveCuData_ = nullptr;
};
