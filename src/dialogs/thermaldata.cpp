#include "thermaldata.h"

#include "dialogs/liftprofile.h"
#include "geo/edittext.h"
#include "geo/numbertext.h"
#include "prompts/prompts.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
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

TThermalData::TThermalData(const DisplayUnits& units, QWidget* parent)
    : QWidget(parent)
    , units_(units) {
    setObjectName(QStringLiteral("ThermalData"));
    // The title of its dock panel.
    setWindowTitle(QStringLiteral("Thermal Data"));

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
    profile_ = new LiftProfileView(units_);
    column->addWidget(profile_);
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
    // The picture follows every value as it is typed or set.
    const auto picture = [this] {
        profile_->SetValues(values(), liftModel());
    };
    connect(this, &TThermalData::valuesChanged, this, picture);
    connect(this, &TThermalData::liftModelChosen, this, picture);
    connect(typeGroup_, &QButtonGroup::idClicked, this, &TThermalData::valuesChanged);
    picture();
    // A box also changes when another one unticks it, or when Get Data shows a thermal.
    const auto announce = [this] {
        emit liveSettingsChanged(liveSettings());
    };
    connect(this, &TThermalData::valuesChanged, this, announce);
    connect(this, &TThermalData::liftModelChosen, this, announce);
    for (QCheckBox* box :
         {cloudOn_, profileOnOff_, roll_, windLeft_, windRight_, topsMSL_, autoThermals_})
        connect(box, &QCheckBox::toggled, this, announce);
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
    addRadio("one", "1 Ridge", "Ridge", 1)->setChecked(true);
    addRadio("two", "2 Turbulence", "Turbulence", 2);
    addRadio("three", "3 Turbulence", "Turbulence", 3);
    addRadio("four", "4 Thermal", "Thermal", 4);
    typeColumn->addStretch();
    layout->addWidget(typeBox);

    auto* dataBox = new QGroupBox(QStringLiteral("Data"));
    auto* data = NewGrid(dataBox);
    auto* bottom_ = NewEdit("bottom", "0", "Height above the ground");
    bottomUnits_ = NewLabel("m", "bottomUnits");
    AddEditRow(data, 0, 0, "Bottom", bottom_, bottomUnits_);
    auto* top_ = NewEdit("top", "1500");
    topUnits_ = NewLabel("m", "topUnits");
    AddEditRow(data, 1, 0, "Top", top_, topUnits_);
    auto* radius_ = NewEdit("radius", "500");
    AddEditRow(data, 2, 0, "Radius", radius_, NewLabel("m"));
    auto* windDir_ = NewEdit("windDir", "270");
    AddEditRow(data, 3, 0, "Wind Dir", windDir_);
    auto* factor_ = NewEdit("factor", "30000", "Not used by fs");
    AddEditRow(data, 4, 0, "Factor", factor_);
    data->setRowStretch(5, 1);
    layout->addWidget(dataBox);

    auto* cloudBox = new QGroupBox(QStringLiteral("Cloud"));
    auto* cloud = NewGrid(cloudBox);
    cloudOn_ = NewCheckBox("cloudOn", "On/Off", true);
    cloud->addWidget(cloudOn_, 0, 0, 1, 3);
    auto* cloudBase_ = NewEdit("cloudBase", "1500");
    cloudBaseUnits_ = NewLabel("m", "cloudBaseUnits");
    AddEditRow(cloud, 1, 0, "Base", cloudBase_, cloudBaseUnits_);
    auto* cloudRadius_ = NewEdit("cloudRadius", "500");
    AddEditRow(cloud, 2, 0, "Radius", cloudRadius_, NewLabel("m"));
    auto* cloudType_ = NewEdit("cloudType", "1", "Bitmap to use");
    AddEditRow(cloud, 3, 0, "Type", cloudType_);
    cloud->setRowStretch(4, 1);
    layout->addWidget(cloudBox);

    bind(bottom_, values_.bottom, ValueField::bottom);
    bind(top_, values_.top, ValueField::top);
    bind(radius_, values_.radius, ValueField::radius);
    bind(windDir_, values_.windDir, ValueField::windDir);
    bind(factor_, values_.factor, ValueField::factor);
    bind(cloudBase_, values_.cloudBase, ValueField::cloudBase);
    bind(cloudRadius_, values_.cloudRadius, ValueField::cloudRadius);
    bind(cloudType_, values_.cloudType, ValueField::cloudType);
}

QWidget* TThermalData::buildProfileGroup() {
    auto* box = new QGroupBox(QStringLiteral("Profile Data"));
    auto* grid = NewGrid(box);
    auto* strength_ = NewEdit("strength", "80", "Strength of thermal, % of MS value");
    AddEditRow(grid, 0, 0, "Strength", strength_, NewLabel("%"));
    auto* coreSize_ = NewEdit("coreSize", "60", "Percentage of radius that is at full strength");
    AddEditRow(grid, 1, 0, "Core Size", coreSize_, NewLabel("%"));
    auto* coreTop_ = NewEdit("coreTop", "80",
                             "Percentage of thermals height (Top - Bottom) above which the thermal "
                             "will decrease in strength");
    AddEditRow(grid, 2, 0, "Core Top", coreTop_, NewLabel("%"));
    auto* coreBottom_ =
        NewEdit("coreBottom", "20",
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
    liftShape_ = new QComboBox;
    liftShape_->setObjectName(QStringLiteral("liftShape"));
    liftShape_->setToolTip(tr("How the lift spreads across the radius and up the band"));
    liftShape_->addItem(tr("Plateau"), int(LiftShape::plateau));
    liftShape_->addItem(tr("Bell with sink"), int(LiftShape::bellWithSink));
    liftShape_->addItem(tr("Gaussian"), int(LiftShape::gaussian));
    auto* shapeLabel = NewLabel("Shape");
    shapeLabel->setBuddy(liftShape_);
    grid->addWidget(shapeLabel, 4, 0);
    grid->addWidget(liftShape_, 4, 1, 1, 3, Qt::AlignLeft);
    windSpeed_ =
        NewEdit("windSpeed", "0", "Wind speed: every thermal leans downwind of its wind direction");
    AddEditRow(grid, 4, 4, "Wind", windSpeed_, NewLabel("m/s"));
    grid->setColumnStretch(3, 1);

    bind(strength_, values_.tStrengthPercent, ValueField::strength);
    bind(coreSize_, values_.tCorePercent, ValueField::coreSize);
    bind(coreTop_, values_.tCoreTopPercent, ValueField::coreTop);
    bind(coreBottom_, values_.tCoreBasePercent, ValueField::coreBottom);
    bind(rollRate, rollRatePercent_, ValueField::rollRate);
    bind(sampleSize, sampleSize_, ValueField::sampleSize);
    bind(windSpeed_, windMs_, ValueField::windSpeed);
    // After the binding has parsed the text.
    connect(windSpeed_, &QLineEdit::textChanged, this, &TThermalData::liftModelChosen);
    connect(liftShape_, &QComboBox::currentIndexChanged, this, &TThermalData::liftModelChosen);
    connect(applyToAll, &QPushButton::clicked, this, [this] {
        if (CheckValues(ValueUse::profile))
            emit applyProfileToAll(values());
    });
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

    bind(autoThermalDist, autoThermalDistM_, ValueField::autoThermalDist);
    connect(autoThermals_, &QCheckBox::clicked, this, [this](bool ticked) {
        if (ticked && !projectOpen_)
            autoThermals_->setChecked(false);
    });
    return box;
}

QWidget* TThermalData::buildCumulusGroup() {
    auto* box = new QGroupBox(QStringLiteral("Cumulus"));
    auto* grid = NewGrid(box);
    auto* cuHS_ = NewEdit("cuHS", "-1", "Should be 1.0-3.0; -1: random");
    AddEditRow(grid, 0, 0, "Horizontal Scale ", cuHS_);
    auto* cuVS_ = NewEdit("cuVS", "-1", "Should be 0.5-1.5; -1 : random");
    AddEditRow(grid, 1, 0, "Vertical Scale ", cuVS_);
    auto* cuRotation_ = NewEdit("cuRotation", "0");
    AddEditRow(grid, 2, 0, "Rotation", cuRotation_);
    auto* cuCloud_ = NewEdit("cuCloud", "-0.5", "0: blue, 1: cloud, 0...-1 probability");
    AddEditRow(grid, 0, 3, "Cloud Visibility ", cuCloud_);
    auto* cuStart_ = NewEdit("cuStart", "-1", "-1= random");
    AddEditRow(grid, 1, 3, "Minute of Start ", cuStart_);
    auto* cuEnd_ = NewEdit("cuEnd", "-1", "-1= random");
    AddEditRow(grid, 2, 3, "Minute of End ", cuEnd_);
    auto* applyToAll =
        NewButton("ApplyToAll", "Apply To All", "Apply Cumulus settings to all thermals");
    grid->addWidget(applyToAll, 3, 0, 1, 2);
    saveCuData_ = NewCheckBox("saveCuData", "Save all data in project", true,
                              "Saving all the data prevents Thermik from using the file");
    grid->addWidget(saveCuData_, 3, 2, 1, 3);
    grid->setColumnStretch(2, 1);

    bind(cuHS_, values_.tCuHS, ValueField::cuHS);
    bind(cuVS_, values_.tCuVS, ValueField::cuVS);
    bind(cuRotation_, values_.tCuRotation, ValueField::cuRotation);
    bind(cuCloud_, values_.tCuCloud, ValueField::cuCloud);
    bind(cuStart_, values_.tCuStart, ValueField::cuStart);
    bind(cuEnd_, values_.tCuEnd, ValueField::cuEnd);
    connect(applyToAll, &QPushButton::clicked, this, [this] {
        if (CheckValues(ValueUse::cumulus))
            emit applyCumulusToAll(values());
    });
    return box;
}

// Every edit is parsed on each change, and once now for its initial text. Text that does not
// convert or lies outside the range leaves the value as it was, marked, without a message.
// The value is shown, not parsed back, when set from outside: a negative height shown in
// rounded feet would not come back as the same metres.
void TThermalData::bind(QLineEdit* edit, int& value, ValueField field) {
    bind({edit, &value, nullptr, field, edit->toolTip()});
}

void TThermalData::bind(QLineEdit* edit, float& value, ValueField field) {
    bind({edit, nullptr, &value, field, edit->toolTip()});
}

void TThermalData::bind(const Binding& binding) {
    bindings_.push_back(binding);
    connect(binding.edit, &QLineEdit::textChanged, this,
            [this, binding](const QString& text) { parse(binding, text); });
    parse(binding, binding.edit->text());
}

void TThermalData::parse(const Binding& binding, const QString& text) {
    mark(binding);
    const std::optional<double> v =
        ParseFieldText(binding.field, text.toStdString(), units_.height);
    if (!v)
        return emit valuesChanged(); // automatic thermals pause
    if (binding.decimal)
        *binding.decimal = static_cast<float>(*v);
    else
        *binding.integer = static_cast<int>(*v);
    emit valuesChanged();
}

void TThermalData::showValue(const Binding& binding) {
    const QSignalBlocker quiet(binding.edit);
    const std::string text = binding.decimal ? NumberText(*binding.decimal)
                             : RangeOf(binding.field).height
                                 ? HeightEditText(*binding.integer, units_.height)
                                 : IntText(*binding.integer);
    binding.edit->setText(QString::fromStdString(text));
    mark(binding);
}

bool TThermalData::good(const Binding& binding) const {
    return ParseFieldText(binding.field, binding.edit->text().toStdString(), units_.height)
        .has_value();
}

void TThermalData::mark(const Binding& binding) {
    const bool ok = good(binding);
    QPalette palette;
    if (!ok)
        palette.setColor(QPalette::Base, QColor(255, 190, 190));
    binding.edit->setPalette(palette);
    const QString range = QStringLiteral("%1: %2").arg(
        QString::fromLatin1(ok ? "Range" : "Out of range or not a number; the range is"),
        QString::fromStdString(RangeText(binding.field, units_.height)));
    binding.edit->setToolTip(binding.hint.isEmpty() ? range : binding.hint + '\n' + range);
}

std::vector<ValueField> TThermalData::badFields(ValueUse use) const {
    std::vector<ValueField> bad;
    for (const Binding& binding : bindings_) {
        if (Reads(use, binding.field) && !good(binding))
            bad.push_back(binding.field);
    }
    return bad;
}

bool TThermalData::CheckValues(ValueUse use) const {
    const std::vector<ValueField> bad = badFields(use);
    if (!bad.empty())
        prompts().message("Error", BadValuesText(bad, units_.height));
    return bad.empty();
}

ThermalSettings TThermalData::values() const {
    ThermalSettings v = values_;
    const int checked = typeGroup_->checkedId();
    v.type = checked >= 1 && checked <= 3 ? checked : 4;
    v.cloud = cloudOn_->isChecked();
    return v;
}

LiveSettings TThermalData::liveSettings() const {
    return {values(),
            profileOnOff_->isChecked(),
            {roll_->isChecked(), rollRatePercent_, sampleSize_, liftModel()},
            autoThermals_->isChecked() && badFields(ValueUse::thermal).empty(),
            autoThermalDistM_,
            windRight_->isChecked(),
            windLeft_->isChecked(),
            topsMSL_->isChecked()};
}

void TThermalData::ShowValues(const ThermalSettings& v) {
    SetType(v.type);
    cloudOn_->setChecked(v.cloud);
    values_ = v;
    for (const Binding& binding : bindings_)
        showValue(binding);
    emit valuesChanged();
}

LiftModel TThermalData::liftModel() const {
    LiftModel model;
    model.shape = static_cast<LiftShape>(liftShape_->currentData().toInt());
    model.windMs = windMs_;
    return model;
}

void TThermalData::ShowLiftModel(const LiftModel& model) {
    {
        const QSignalBlocker shown(liftShape_);
        liftShape_->setCurrentIndex(std::max(liftShape_->findData(int(model.shape)), 0));
    }
    windMs_ = static_cast<float>(model.windMs);
    for (const Binding& binding : bindings_) {
        if (binding.edit == windSpeed_)
            showValue(binding);
    }
    emit liveSettingsChanged(liveSettings());
    profile_->SetValues(values(), liftModel());
}

bool TThermalData::GetSaveCuData() const {
    return saveCuData_->isChecked();
}

void TThermalData::SetType(int t) {
    // A value that wraps to no type selects nothing: the type shown before stays.
    if (QAbstractButton* radio = typeGroup_->button(WrappedType(t)))
        radio->setChecked(true);
}

void TThermalData::ShowHeights() {
    const QString unit = units_.height == feet ? QStringLiteral("ft") : QStringLiteral("m");
    for (QLabel* label : {topUnits_, bottomUnits_, cloudBaseUnits_})
        label->setText(unit);
    // The picture labels its heights when painted; the fields below change without a signal.
    profile_->update();
    for (const Binding& binding : bindings_) {
        if (RangeOf(binding.field).height)
            showValue(binding);
    }
}
