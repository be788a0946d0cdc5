#include "climbswindow.h"

#include <cmath>

#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

QString TimeOfDay(int seconds) {
    const int s = seconds % 86400;
    return QStringLiteral("%1:%2:%3")
        .arg(s / 3600, 2, 10, QLatin1Char('0'))
        .arg(s / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(s % 60, 2, 10, QLatin1Char('0'));
}

} // namespace

ClimbsWindow::ClimbsWindow(QWidget* parent)
    : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("ClimbsWindow"));
    setWindowTitle(tr("Climbs"));
    setAttribute(Qt::WA_QuitOnClose, false);
    auto* layout = new QVBoxLayout(this);
    title_ = new QLabel(this);
    layout->addWidget(title_);

    table_ = new QTableWidget(0, 7, this);
    table_->setObjectName(QStringLiteral("climbs"));
    table_->setHorizontalHeaderLabels({tr("Start UTC"), tr("Duration"), tr("Climb m/s"),
                                       tr("Entry m"), tr("Exit m"), tr("Drift"), tr("Strength")});
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    layout->addWidget(table_);

    auto* form = new QFormLayout;
    ground_ = new QSpinBox(this);
    ground_->setObjectName(QStringLiteral("ground"));
    ground_->setRange(-500, 9000);
    ground_->setSuffix(QStringLiteral(" m"));
    ground_->setToolTip(tr("Bottom and top are the climb's entry and exit altitudes above this"));
    form->addRow(tr("&Ground elevation:"), ground_);
    fullStrength_ = new QDoubleSpinBox(this);
    fullStrength_->setObjectName(QStringLiteral("fullStrength"));
    fullStrength_->setRange(0.5, 20);
    fullStrength_->setDecimals(1);
    fullStrength_->setSingleStep(0.5);
    fullStrength_->setValue(kDefaultFullStrengthMps);
    fullStrength_->setPrefix(QStringLiteral("100 % = "));
    fullStrength_->setSuffix(QStringLiteral(" m/s"));
    form->addRow(tr("&Strength rule:"), fullStrength_);
    layout->addLayout(form);

    add_ = new QPushButton(tr("&Add as Thermals"), this);
    add_->setObjectName(QStringLiteral("addAsThermals"));
    add_->setEnabled(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(add_);
    layout->addLayout(buttons);

    connect(table_, &QTableWidget::itemSelectionChanged, this, [this] {
        add_->setEnabled(!chosen().empty());
        emit climbsChosen(chosen());
    });
    connect(add_, &QPushButton::clicked, this, &ClimbsWindow::addAsThermals);
    // The strength column follows the rule.
    connect(fullStrength_, &QDoubleSpinBox::valueChanged, this, &ClimbsWindow::fillTable);
    resize(620, 360);
}

void ClimbsWindow::SetClimbs(std::vector<Climb> climbs, int groundM, const QString& logName) {
    climbs_ = std::move(climbs);
    ground_->setValue(groundM);
    title_->setText(logName.isEmpty()
                        ? tr("No flight log is open.")
                        : tr("%1: %n climb(s)", nullptr, int(climbs_.size())).arg(logName));
    table_->clearSelection();
    fillTable();
}

void ClimbsWindow::fillTable() {
    const QSignalBlocker keepChoice(table_);
    table_->setRowCount(int(climbs_.size()));
    for (int row = 0; row < int(climbs_.size()); ++row) {
        const Climb& c = climbs_[std::size_t(row)];
        const int durationS = c.endS - c.startS;
        const int percent =
            ThermalFromClimb(c, ground_->value(), fullStrength_->value()).settings.tStrengthPercent;
        const QStringList texts = {TimeOfDay(c.startS),
                                   QStringLiteral("%1:%2")
                                       .arg(durationS / 60)
                                       .arg(durationS % 60, 2, 10, QLatin1Char('0')),
                                   QString::number(c.meanClimbMps, 'f', 1),
                                   QString::number(c.entryAltitudeM),
                                   QString::number(c.exitAltitudeM),
                                   QStringLiteral("%1\u00B0 %2 m/s")
                                       .arg(std::lround(c.driftDirectionDeg) % 360)
                                       .arg(c.driftSpeedMps, 0, 'f', 1),
                                   QStringLiteral("%1 %").arg(percent)};
        for (int column = 0; column < texts.size(); ++column) {
            auto* item = new QTableWidgetItem(texts[column]);
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            table_->setItem(row, column, item);
        }
    }
}

std::vector<Climb> ClimbsWindow::chosen() const {
    std::vector<Climb> climbs;
    for (int row = 0; row < int(climbs_.size()); ++row)
        if (table_->selectionModel()->isRowSelected(row, {}))
            climbs.push_back(climbs_[std::size_t(row)]);
    return climbs;
}

std::vector<ClimbThermal> ClimbsWindow::ChosenThermals(const ThermalSettings& base) const {
    std::vector<ClimbThermal> thermals;
    for (const Climb& climb : chosen())
        thermals.push_back(ThermalFromClimb(climb, ground_->value(), fullStrength_->value(), base));
    return thermals;
}
