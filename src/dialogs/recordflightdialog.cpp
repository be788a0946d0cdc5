#include "recordflightdialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>

RecordFlightDialog::RecordFlightDialog(const IgcLogHeader& names, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("RecordFlightDialog"));
    setWindowTitle(tr("Record Flight"));
    auto* layout = new QFormLayout(this);
    const char* objectNames[] = {"pilot", "gliderType", "gliderId"};
    const QString labels[] = {tr("&Pilot:"), tr("Glider &type:"), tr("Glider &id:")};
    const std::string* values[] = {&names.pilot, &names.gliderType, &names.gliderId};
    for (std::size_t i = 0; i < edits_.size(); ++i) {
        edits_[i] = new QLineEdit(QString::fromStdString(*values[i]), this);
        edits_[i]->setObjectName(QLatin1String(objectNames[i]));
        layout->addRow(labels[i], edits_[i]);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("ok"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addRow(buttons);
}

IgcLogHeader RecordFlightDialog::names() const {
    IgcLogHeader names;
    names.pilot = edits_[0]->text().trimmed().toStdString();
    names.gliderType = edits_[1]->text().trimmed().toStdString();
    names.gliderId = edits_[2]->text().trimmed().toStdString();
    return names;
}

std::optional<IgcLogHeader> AskRecordingNames(const IgcLogHeader& names, QWidget* parent) {
    RecordFlightDialog dialog(names, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.names();
}
