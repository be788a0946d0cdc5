#include "randomize.h"

#include "prompts/prompts.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

QLabel* RedHeading(const char* text) {
    auto* label = new QLabel(QString::fromLatin1(text));
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::red);
    label->setPalette(palette);
    return label;
}

// Check boxes carry their caption at the left, next to the Min column.
QCheckBox* NewRowBox(const QString& name, const QString& caption) {
    auto* box = new QCheckBox(caption);
    box->setObjectName(name);
    box->setLayoutDirection(Qt::RightToLeft);
    return box;
}

QLineEdit* NewEdit(const QString& name, int digits) {
    auto* edit = new QLineEdit(QStringLiteral("0"));
    edit->setObjectName(name);
    edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QString(digits, u'0')) + 10);
    return edit;
}

} // namespace

TRandomizeForm::TRandomizeForm(QWidget* parent, std::uint32_t seed)
    // A dialog of the main window, which the window manager keeps above it.
    : QWidget(parent, Qt::Dialog)
    , random_(seed) {
    setObjectName(QStringLiteral("RandomizeForm"));
    setWindowTitle(QStringLiteral("Randomize Thermals"));
    setAttribute(Qt::WA_QuitOnClose, false);

    auto* grid = new QGridLayout(this);
    grid->setSizeConstraint(QLayout::SetFixedSize);
    grid->setVerticalSpacing(2);
    int row = 0;
    grid->addWidget(RedHeading("Apply To"), row, 0);
    grid->addWidget(RedHeading("Min Value"), row, 1);
    grid->addWidget(RedHeading("Max Value"), row, 2);
    ++row;

    for (int i = 0; i < 4; ++i) {
        const QString number = QString::number(i + 1);
        types_[i] = NewRowBox(QStringLiteral("type") + number, QStringLiteral("Type ") + number);
        grid->addWidget(types_[i], row++, 0);
    }

    const auto addRange = [&](RangeField field, const char* caption) {
        const QString name = QString::fromLatin1(RangeFieldName(field));
        RangeRow& range = ranges_[static_cast<int>(field)];
        range.box = NewRowBox(name, QString::fromLatin1(caption));
        range.min = NewEdit(name + QStringLiteral("Min"), 8);
        range.max = NewEdit(name + QStringLiteral("Max"), 8);
        grid->addWidget(range.box, row, 0);
        grid->addWidget(range.min, row, 1);
        grid->addWidget(range.max, row, 2);
        ++row;
    };

    grid->addWidget(RedHeading("Thermal Data"), row++, 0);
    addRange(RangeField::thermBottom, "Bottom");
    addRange(RangeField::thermTop, "Top");
    addRange(RangeField::thermRadius, "Radius");
    addRange(RangeField::thermWinddir, "Wind Dir");
    addRange(RangeField::thermFactor, "Factor");

    grid->addWidget(RedHeading("Cloud Data"), row++, 0);
    cloudOnOff_ = NewRowBox(QStringLiteral("cloudOnOff"), QStringLiteral("On/Off"));
    grid->addWidget(cloudOnOff_, row, 0);
    auto* chance = new QHBoxLayout;
    chance->setSpacing(6);
    cloudOnOffchance_ = NewEdit(QStringLiteral("cloudOnOffchance"), 3);
    chance->addWidget(cloudOnOffchance_);
    chance->addWidget(new QLabel(QStringLiteral("%")));
    chance->addWidget(new QLabel(QStringLiteral("Chance of on")));
    chance->addStretch();
    grid->addLayout(chance, row++, 1, 1, 2);
    addRange(RangeField::cloudBase, "Base");
    addRange(RangeField::cloudRadius, "Radius");
    addRange(RangeField::cloudType, "Type");

    grid->addWidget(RedHeading("Profile Data"), row++, 0);
    addRange(RangeField::profileStrength, "Strength");
    addRange(RangeField::profileSize, "Core Size");
    addRange(RangeField::profileTop, "Core Top");
    addRange(RangeField::profileBottom, "Core Bot");

    auto* apply = new QPushButton(QStringLiteral("Apply"));
    apply->setObjectName(QStringLiteral("Apply"));
    grid->addWidget(apply, row, 1, 1, 2, Qt::AlignRight);
    connect(apply, &QPushButton::clicked, this, &TRandomizeForm::ApplyClick);

    move(734, 127);
}

void TRandomizeForm::SetThermals(const ThermalList* thermals) {
    thermals_ = thermals;
}

RandomizeChoice TRandomizeForm::choice() const {
    RandomizeChoice choice;
    for (std::size_t i = 0; i < types_.size(); ++i)
        choice.typeTicked[i] = types_[i]->isChecked();
    for (std::size_t i = 0; i < ranges_.size(); ++i)
        choice.ranges[i] = {ranges_[i].box->isChecked(), ranges_[i].min->text().toStdString(),
                            ranges_[i].max->text().toStdString()};
    choice.cloudOnOff = cloudOnOff_->isChecked();
    choice.cloudChance = cloudOnOffchance_->text().toStdString();
    return choice;
}

void TRandomizeForm::ApplyClick() {
    if (!thermals_)
        return;
    const auto plan = PlanRandomize(choice());
    if (const auto* refused = std::get_if<Message>(&plan))
        return ShowMessages({*refused});
    emit randomized(RandomizedThermals(*thermals_, std::get<RandomizePlan>(plan), random_));
}
