#include "thermaldata.h"

#include "dialogs/editparse.h"
#include "geo/numbertext.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFontInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace {

// The window's sizes were laid out for text of 8 points on a screen of 120 pixels per inch;
// they grow and shrink with the text.
constexpr double kDesignFontPixels = 8.0 * 120.0 / 72.0;

// Group boxes hold many rows in a small window: keep their margins tight.
void SetTightMargins(QLayout* layout) {
    layout->setContentsMargins(4, 2, 4, 2);
}

QLineEdit* NewEdit(const char* name, const char* text, const char* hint = nullptr) {
    auto* edit = new QLineEdit(QString::fromLatin1(text));
    edit->setObjectName(QString::fromLatin1(name));
    if (hint)
        edit->setToolTip(QString::fromLatin1(hint));
    // Room for five digits: the window is narrow and no default needs more.
    edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 10);
    return edit;
}

QCheckBox* NewCheckBox(const char* name, const char* caption, bool ticked,
                       const char* hint = nullptr) {
    auto* box = new QCheckBox(QString::fromLatin1(caption));
    box->setObjectName(QString::fromLatin1(name));
    box->setChecked(ticked);
    if (hint)
        box->setToolTip(QString::fromLatin1(hint));
    return box;
}

QPushButton* NewButton(const char* name, const char* caption, const char* hint) {
    auto* button = new QPushButton(QString::fromLatin1(caption));
    button->setObjectName(QString::fromLatin1(name));
    button->setToolTip(QString::fromLatin1(hint));
    return button;
}

QLabel* NewLabel(const char* text, const char* name = nullptr) {
    auto* label = new QLabel(QString::fromLatin1(text));
    if (name)
        label->setObjectName(QString::fromLatin1(name));
    return label;
}

QGridLayout* NewGrid(QWidget* parent) {
    auto* grid = new QGridLayout(parent);
    SetTightMargins(grid);
    grid->setVerticalSpacing(2);
    grid->setHorizontalSpacing(4);
    return grid;
}

// One "caption [edit] unit" row at the end of a grid, starting at column `column`.
void AddEditRow(QGridLayout* grid, int row, int column, const char* caption, QLineEdit* edit,
                QLabel* unit = nullptr) {
    auto* label = NewLabel(caption);
    label->setBuddy(edit);
    grid->addWidget(label, row, column);
    grid->addWidget(edit, row, column + 1);
    if (unit)
        grid->addWidget(unit, row, column + 2);
}

} // namespace

TThermalData::TThermalData(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("ThermalData"));
    setWindowTitle(QStringLiteral("Thermal Data"));
    // A tool window: closing it must never end the program.
    setAttribute(Qt::WA_QuitOnClose, false);

    // The window may be made smaller than its contents; they scroll then.
    auto* scroll = new QScrollArea(this);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    auto* contents = new QWidget;
    auto* column = new QVBoxLayout(contents);
    column->setContentsMargins(4, 4, 4, 4);
    column->setSpacing(2);
    auto* topRow = new QHBoxLayout;
    topRow->setSpacing(4);
    column->addLayout(topRow);
    buildTopRow(topRow);
    column->addWidget(buildProfileGroup());
    column->addWidget(buildAircraftGroup());
    column->addWidget(buildAutomaticGroup());
    column->addWidget(buildCumulusGroup());
    column->addStretch();
    scroll->setWidget(contents);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(scroll);

    const double scale = QFontInfo(font()).pixelSize() / kDesignFontPixels;
    const auto scaled = [scale](int pixels) {
        return qRound(pixels * scale);
    };
    // Where the text needs more room than that, the window starts large enough to show it all.
    const QSize start = QSize(scaled(385), scaled(613)).expandedTo(contents->sizeHint());
    setMinimumSize(scaled(321), scaled(164));
    setMaximumSize(QSize(scaled(393), scaled(653)).expandedTo(start));
    resize(start);
    move(200, 152);
}

void TThermalData::buildTopRow(QBoxLayout* layout) {
    auto* typeBox = new QGroupBox(QStringLiteral("Type"));
    auto* typeColumn = new QVBoxLayout(typeBox);
    SetTightMargins(typeColumn);
    typeColumn->setSpacing(2);
    typeGroup_ = new QButtonGroup(this);
    const auto addRadio = [&](const char* name, const char* caption, const char* hint, int id) {
        auto* radio = new QRadioButton(QString::fromLatin1(caption));
        radio->setObjectName(QString::fromLatin1(name));
        radio->setToolTip(QString::fromLatin1(hint));
        typeColumn->addWidget(radio);
        typeGroup_->addButton(radio, id);
        return radio;
    };
    one_ = addRadio("one", "1", "Ridge", 1);
    two_ = addRadio("two", "2", "Turbulence", 2);
    three_ = addRadio("three", "3", "Turbulence", 3);
    four_ = addRadio("four", "4", "Thermal", 4);
    one_->setChecked(true);
    typeColumn->addStretch();
    layout->addWidget(typeBox);

    auto* dataBox = new QGroupBox(QStringLiteral("Data"));
    auto* data = NewGrid(dataBox);
    bottom_ = NewEdit("bottom", "0", "Height above the ground");
    bottomUnits_ = NewLabel("m", "bottomUnits");
    AddEditRow(data, 0, 0, "Bottom", bottom_, bottomUnits_);
    top_ = NewEdit("top", "1500");
    topUnits_ = NewLabel("m", "topUnits");
    AddEditRow(data, 1, 0, "Top", top_, topUnits_);
    radius_ = NewEdit("radius", "500");
    AddEditRow(data, 2, 0, "Radius", radius_, NewLabel("m"));
    windDir_ = NewEdit("windDir", "270");
    AddEditRow(data, 3, 0, "Wind Dir", windDir_);
    factor_ = NewEdit("factor", "30000", "Not used by fs");
    AddEditRow(data, 4, 0, "Factor", factor_);
    data->setRowStretch(5, 1);
    layout->addWidget(dataBox);

    auto* cloudBox = new QGroupBox(QStringLiteral("Cloud"));
    auto* cloud = NewGrid(cloudBox);
    cloudOn_ = NewCheckBox("cloudOn", "On/Off", true);
    cloud->addWidget(cloudOn_, 0, 0, 1, 3);
    cloudBase_ = NewEdit("cloudBase", "1500");
    cloudBaseUnits_ = NewLabel("m", "cloudBaseUnits");
    AddEditRow(cloud, 1, 0, "Base", cloudBase_, cloudBaseUnits_);
    cloudRadius_ = NewEdit("cloudRadius", "500");
    AddEditRow(cloud, 2, 0, "Radius", cloudRadius_, NewLabel("m"));
    cloudType_ = NewEdit("cloudType", "1", "Bitmap to use");
    AddEditRow(cloud, 3, 0, "Type", cloudType_);
    cloud->setRowStretch(4, 1);
    layout->addWidget(cloudBox);

    bindHeight(bottom_, bottomValue);
    bindHeight(top_, topValue);
    bindInt(radius_, radiusValue);
    bindInt(windDir_, windDirValue);
    bindInt(factor_, factorValue);
    bindHeight(cloudBase_, cloudBaseValue);
    bindInt(cloudRadius_, cloudRadiusValue);
    bindInt(cloudType_, cloudTypeValue);
}

QWidget* TThermalData::buildProfileGroup() {
    auto* box = new QGroupBox(QStringLiteral("Profile Data"));
    auto* grid = NewGrid(box);
    strength_ = NewEdit("strength", "80", "Strength of thermal, % of MS value");
    AddEditRow(grid, 0, 0, "Strength", strength_, NewLabel("%"));
    coreSize_ = NewEdit("coreSize", "60", "Percentage of radius that is at full strength");
    AddEditRow(grid, 1, 0, "Core Size", coreSize_, NewLabel("%"));
    coreTop_ = NewEdit("coreTop", "80",
                       "Percentage of thermals height (Top - Bottom) above which the thermal "
                       "will decrease in strength");
    AddEditRow(grid, 2, 0, "Core Top", coreTop_, NewLabel("%"));
    coreBottom_ = NewEdit("coreBottom", "20",
                          "Percentage of thermals height (Top - Bottom) below which the thermal "
                          "will decrease in strength");
    AddEditRow(grid, 3, 0, "Core Bottom", coreBottom_, NewLabel("%"));

    auto* applyToAll =
        NewButton("Button1", "Apply To All", "Apply Profile settings to all thermals");
    grid->addWidget(applyToAll, 0, 4, 1, 2);
    profileOnOff_ = NewCheckBox("ProfileOnOff", "On / Off", true, "turns the profiler on / off");
    grid->addWidget(profileOnOff_, 1, 4);
    roll_ = NewCheckBox("Roll", "Roll", true);
    grid->addWidget(roll_, 1, 5);
    auto* rollRate = NewEdit("RollRate", "100");
    AddEditRow(grid, 2, 4, "Roll Rate", rollRate);
    auto* sampleSize = NewEdit("SampleSize", "10");
    AddEditRow(grid, 3, 4, "Sample Size", sampleSize);
    grid->setColumnStretch(3, 1);

    bindInt(strength_, strengthValue);
    bindInt(coreSize_, coreSizeValue);
    bindInt(coreTop_, coreTopValue);
    bindInt(coreBottom_, coreBottomValue);
    bindInt(rollRate, rollRateValue);
    bindInt(sampleSize, sampleSizeValue);
    connect(applyToAll, &QPushButton::clicked, this, &TThermalData::ApplyProfileToAll);
    return box;
}

QWidget* TThermalData::buildAircraftGroup() {
    auto* box = new QGroupBox(QStringLiteral("Aircraft Thermals"));
    auto* grid = NewGrid(box);
    windLeft_ = NewCheckBox("windLeft", "Wind From AC Left", false,
                            "Sets the wind dir to be comming from the left of aircraft");
    grid->addWidget(windLeft_, 0, 0);
    windRight_ = NewCheckBox("windRight", "Wind From AC Right", false);
    grid->addWidget(windRight_, 0, 1);
    topsMSL_ = NewCheckBox("TopsMSL", "Tops above MSL", false,
                           "Subtract terain height from Top and Cloud Base");
    grid->addWidget(topsMSL_, 1, 0);

    // The wind comes from one side or the other, never both.
    connect(windLeft_, &QCheckBox::clicked, this, [this](bool ticked) {
        if (ticked)
            windRight_->setChecked(false);
    });
    connect(windRight_, &QCheckBox::clicked, this, [this](bool ticked) {
        if (ticked)
            windLeft_->setChecked(false);
    });
    return box;
}

QWidget* TThermalData::buildAutomaticGroup() {
    auto* box = new QGroupBox(QStringLiteral("Automatic Thermals"));
    auto* row = new QHBoxLayout(box);
    SetTightMargins(row);
    autoThermals_ = NewCheckBox("autoThermals", "Enabled. Every", false);
    row->addWidget(autoThermals_);
    auto* autoThermalDist = NewEdit("autoThermalDist", "800");
    row->addWidget(autoThermalDist);
    row->addWidget(NewLabel("m"));
    row->addStretch();

    bindInt(autoThermalDist, autoThermalDistValue);
    // Automatic thermals need a thermal list to add to, which comes with a project.
    connect(autoThermals_, &QCheckBox::clicked, this, [this](bool ticked) {
        if (ticked && !thermals)
            autoThermals_->setChecked(false);
    });
    return box;
}

QWidget* TThermalData::buildCumulusGroup() {
    auto* box = new QGroupBox(QStringLiteral("Cumulus"));
    auto* grid = NewGrid(box);
    cuHS_ = NewEdit("cuHS", "-1", "Should be 1.0-3.0; -1: random");
    AddEditRow(grid, 0, 0, "Horizontal Scale ", cuHS_);
    cuVS_ = NewEdit("cuVS", "-1", "Should be 0.5-1.5; -1 : random");
    AddEditRow(grid, 1, 0, "Vertical Scale ", cuVS_);
    cuRotation_ = NewEdit("cuRotation", "0");
    AddEditRow(grid, 2, 0, "Rotation", cuRotation_);
    cuCloud_ = NewEdit("cuCloud", "-0.5", "0: blue, 1: cloud, 0...-1 probability");
    AddEditRow(grid, 0, 3, "Cloud Visibility ", cuCloud_);
    cuStart_ = NewEdit("cuStart", "-1", "-1= random");
    AddEditRow(grid, 1, 3, "Minute of Start ", cuStart_);
    cuEnd_ = NewEdit("cuEnd", "-1", "-1= random");
    AddEditRow(grid, 2, 3, "Minute of End ", cuEnd_);
    auto* applyToAll =
        NewButton("ApplyToAll", "Apply To All", "Apply Cumulus settings to all thermals");
    grid->addWidget(applyToAll, 3, 0, 1, 2);
    saveCuData_ = NewCheckBox("saveCuData", "Save all data in project", true,
                              "Saving all the data prevents Thermik from using the file");
    grid->addWidget(saveCuData_, 3, 2, 1, 3);
    grid->setColumnStretch(2, 1);

    bindFloat(cuHS_, cuHSValue);
    bindFloat(cuVS_, cuVSValue);
    bindInt(cuRotation_, cuRotationValue);
    bindFloat(cuCloud_, cuCloudValue);
    bindInt(cuStart_, cuStartValue);
    bindInt(cuEnd_, cuEndValue);
    connect(applyToAll, &QPushButton::clicked, this, &TThermalData::ApplyCumulusToAll);
    return box;
}

// Every edit is parsed on each change, and once now for its initial text. Text that does not
// convert is replaced by the last good value, without a message.
void TThermalData::bindInt(QLineEdit* edit, int& value) {
    const auto parse = [this, edit, &value](const QString& text) {
        if (const std::optional<int> v = ParseIntEdit(text))
            value = *v;
        else
            showInt(edit, value, value);
    };
    connect(edit, &QLineEdit::textChanged, this, parse);
    parse(edit->text());
}

void TThermalData::bindFloat(QLineEdit* edit, float& value) {
    const auto parse = [this, edit, &value](const QString& text) {
        if (const std::optional<float> v = ParseFloatEdit(text))
            value = *v;
        else
            showFloat(edit, value, value);
    };
    connect(edit, &QLineEdit::textChanged, this, parse);
    parse(edit->text());
}

void TThermalData::bindHeight(QLineEdit* edit, int& metres) {
    const auto parse = [this, edit, &metres](const QString& text) {
        if (const std::optional<int> v = ParseHeightEdit(text, heightUnits))
            metres = *v;
        else
            showHeight(edit, metres, metres);
    };
    connect(edit, &QLineEdit::textChanged, this, parse);
    parse(edit->text());
}

// The setters store the value as given and show it. The shown text is not parsed back: a
// negative height shown in rounded feet would not come back as the same metres.
void TThermalData::showInt(QLineEdit* edit, int& field, int v) {
    field = v;
    const QSignalBlocker quiet(edit);
    edit->setText(QString::fromStdString(IntText(v)));
}

void TThermalData::showFloat(QLineEdit* edit, float& field, float v) {
    field = v;
    const QSignalBlocker quiet(edit);
    edit->setText(QString::fromStdString(NumberText(v)));
}

void TThermalData::showHeight(QLineEdit* edit, int& field, int metres) {
    field = metres;
    const QSignalBlocker quiet(edit);
    edit->setText(HeightEditText(metres, heightUnits));
}

int TThermalData::GetType() const {
    if (one_->isChecked())
        return 1;
    if (two_->isChecked())
        return 2;
    if (three_->isChecked())
        return 3;
    return 4;
}

bool TThermalData::GetCloud() const {
    return cloudOn_->isChecked();
}
bool TThermalData::GetWindRight() const {
    return windRight_->isChecked();
}
bool TThermalData::GetWindLeft() const {
    return windLeft_->isChecked();
}
bool TThermalData::GetTopsMSL() const {
    return topsMSL_->isChecked();
}
bool TThermalData::GetSaveCuData() const {
    return saveCuData_->isChecked();
}
bool TThermalData::GetProfileOnOff() const {
    return profileOnOff_->isChecked();
}
bool TThermalData::GetRoll() const {
    return roll_->isChecked();
}
bool TThermalData::GetAutoThermals() const {
    return autoThermals_->isChecked();
}

void TThermalData::SetType(int t) {
    // Types run 1 to 4 and repeat; the remainder keeps the sign, so 0 and below select nothing.
    typeValue = static_cast<int>((static_cast<long long>(t) - 1) % 4 + 1);
    if (QAbstractButton* radio = typeGroup_->button(typeValue))
        radio->setChecked(true);
}

void TThermalData::SetBottom(int metres) {
    showHeight(bottom_, bottomValue, metres);
}
void TThermalData::SetTop(int metres) {
    showHeight(top_, topValue, metres);
}
void TThermalData::SetRadius(int v) {
    showInt(radius_, radiusValue, v);
}
void TThermalData::SetWindDir(int v) {
    showInt(windDir_, windDirValue, v);
}
void TThermalData::SetFactor(int v) {
    showInt(factor_, factorValue, v);
}

void TThermalData::SetCloud(bool b) {
    cloudValue = b;
    cloudOn_->setChecked(b);
}

void TThermalData::SetCloudBase(int metres) {
    showHeight(cloudBase_, cloudBaseValue, metres);
}
void TThermalData::SetCloudRadius(int v) {
    showInt(cloudRadius_, cloudRadiusValue, v);
}
void TThermalData::SetCloudType(int v) {
    showInt(cloudType_, cloudTypeValue, v);
}
void TThermalData::SetCuHs(float v) {
    showFloat(cuHS_, cuHSValue, v);
}
void TThermalData::SetCuVs(float v) {
    showFloat(cuVS_, cuVSValue, v);
}
void TThermalData::SetCuRotation(int v) {
    showInt(cuRotation_, cuRotationValue, v);
}
void TThermalData::SetCuCloud(float v) {
    showFloat(cuCloud_, cuCloudValue, v);
}
void TThermalData::SetCuStart(int v) {
    showInt(cuStart_, cuStartValue, v);
}
void TThermalData::SetCuEnd(int v) {
    showInt(cuEnd_, cuEndValue, v);
}
void TThermalData::SetStrength(int v) {
    showInt(strength_, strengthValue, v);
}
void TThermalData::SetCoreSize(int v) {
    showInt(coreSize_, coreSizeValue, v);
}
void TThermalData::SetCoreTop(int v) {
    showInt(coreTop_, coreTopValue, v);
}
void TThermalData::SetCoreBottom(int v) {
    showInt(coreBottom_, coreBottomValue, v);
}

void TThermalData::SetHeightUnits(heightDispType u) {
    heightUnits = u;
    const QString unit = u == feet ? QStringLiteral("ft") : QStringLiteral("m");
    topUnits_->setText(unit);
    bottomUnits_->setText(unit);
    cloudBaseUnits_->setText(unit);
    SetTop(topValue);
    SetBottom(bottomValue);
    SetCloudBase(cloudBaseValue);
}

void TThermalData::ApplyCumulusToAll() {
    if (!thermals)
        return;
    for (const auto& t : *thermals) {
        t->SetCuHs(cuHSValue);
        t->SetCuVs(cuVSValue);
        t->SetCuRotation(cuRotationValue);
        t->SetCuCloud(cuCloudValue);
        t->SetCuStart(cuStartValue);
        t->SetCuEnd(cuEndValue);
    }
}

void TThermalData::ApplyProfileToAll() {
    if (!thermals)
        return;
    for (const auto& t : *thermals) {
        t->SetStrengthPercent(strengthValue);
        t->SetCorePercent(coreSizeValue);
        t->SetCoreBasePercent(coreBottomValue);
        t->SetCoreTopPercent(coreTopValue);
    }
}
