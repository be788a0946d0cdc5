#pragma once

#include "geo/units.h"
#include "scene/thermal.h"

#include <QWidget>

class QBoxLayout;
class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QRadioButton;

// The "Thermal Data" tool window: the values every new thermal receives, the editor of one
// thermal's values (Get Data / Set Data), and the switches of the live work. Every edit's
// value is kept in its public field, parsed on each change; other windows read only the
// fields and the Get... accessors. Closing the window only hides it.
class TThermalData : public QWidget {
    Q_OBJECT

public:
    explicit TThermalData(QWidget* parent = nullptr);

    // Set only by SetType and SetCloud; readers use GetType and GetCloud.
    int typeValue = 1;
    bool cloudValue = true;

    // Heights are held in metres whatever unit the window shows.
    int bottomValue = 0;
    int topValue = 0;
    int radiusValue = 0;
    int windDirValue = 0;
    int factorValue = 0;
    int cloudBaseValue = 0;
    int cloudRadiusValue = 0;
    int cloudTypeValue = 0;
    float cuHSValue = 0;
    float cuVSValue = 0;
    int cuRotationValue = 0;
    float cuCloudValue = 0;
    int cuStartValue = 0;
    int cuEndValue = 0;
    int autoThermalDistValue = 0;
    int strengthValue = 0;
    int coreSizeValue = 0;
    int coreTopValue = 0;
    int coreBottomValue = 0;
    int rollRateValue = 0;
    int sampleSizeValue = 0;
    heightDispType heightUnits = meters;

    // The main window's thermal list, handed over once a project has been opened.
    ThermalList* thermals = nullptr;

    int GetType() const;
    bool GetCloud() const;
    bool GetWindRight() const;
    bool GetWindLeft() const;
    bool GetTopsMSL() const;
    bool GetSaveCuData() const;
    bool GetProfileOnOff() const;
    bool GetRoll() const;
    bool GetAutoThermals() const;

    // Get Data: each stores its argument and shows it (heights in the display unit).
    void SetType(int t);
    void SetBottom(int metres);
    void SetTop(int metres);
    void SetRadius(int v);
    void SetWindDir(int v);
    void SetFactor(int v);
    void SetCloud(bool b);
    void SetCloudBase(int metres);
    void SetCloudRadius(int v);
    void SetCloudType(int v);
    void SetCuHs(float v);
    void SetCuVs(float v);
    void SetCuRotation(int v);
    void SetCuCloud(float v);
    void SetCuStart(int v);
    void SetCuEnd(int v);
    void SetStrength(int v);
    void SetCoreSize(int v);
    void SetCoreTop(int v);
    void SetCoreBottom(int v);

    // Shows Bottom, Top and cloud Base in u; the stored metres do not change.
    void SetHeightUnits(heightDispType u);

private:
    void buildTopRow(QBoxLayout* layout);
    QWidget* buildProfileGroup();
    QWidget* buildAircraftGroup();
    QWidget* buildAutomaticGroup();
    QWidget* buildCumulusGroup();

    void bindInt(QLineEdit* edit, int& value);
    void bindFloat(QLineEdit* edit, float& value);
    void bindHeight(QLineEdit* edit, int& metres);
    void showInt(QLineEdit* edit, int& field, int v);
    void showFloat(QLineEdit* edit, float& field, float v);
    void showHeight(QLineEdit* edit, int& field, int metres);

    void ApplyCumulusToAll();
    void ApplyProfileToAll();

    QButtonGroup* typeGroup_ = nullptr;
    QRadioButton* one_ = nullptr;
    QRadioButton* two_ = nullptr;
    QRadioButton* three_ = nullptr;
    QRadioButton* four_ = nullptr;

    QLineEdit* bottom_ = nullptr;
    QLineEdit* top_ = nullptr;
    QLineEdit* radius_ = nullptr;
    QLineEdit* windDir_ = nullptr;
    QLineEdit* factor_ = nullptr;
    QLabel* bottomUnits_ = nullptr;
    QLabel* topUnits_ = nullptr;

    QCheckBox* cloudOn_ = nullptr;
    QLineEdit* cloudBase_ = nullptr;
    QLineEdit* cloudRadius_ = nullptr;
    QLineEdit* cloudType_ = nullptr;
    QLabel* cloudBaseUnits_ = nullptr;

    QLineEdit* strength_ = nullptr;
    QLineEdit* coreSize_ = nullptr;
    QLineEdit* coreTop_ = nullptr;
    QLineEdit* coreBottom_ = nullptr;
    QCheckBox* profileOnOff_ = nullptr;
    QCheckBox* roll_ = nullptr;

    QCheckBox* windLeft_ = nullptr;
    QCheckBox* windRight_ = nullptr;
    QCheckBox* topsMSL_ = nullptr;

    QCheckBox* autoThermals_ = nullptr;

    QLineEdit* cuHS_ = nullptr;
    QLineEdit* cuVS_ = nullptr;
    QLineEdit* cuRotation_ = nullptr;
    QLineEdit* cuCloud_ = nullptr;
    QLineEdit* cuStart_ = nullptr;
    QLineEdit* cuEnd_ = nullptr;
    QCheckBox* saveCuData_ = nullptr;
};
