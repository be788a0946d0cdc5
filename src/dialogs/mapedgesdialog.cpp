#include "mapedgesdialog.h"

#include "geo/mapedges.h"
#include "prompts/prompts.h"

#include <variant>

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

MapEdgesDialog::MapEdgesDialog(QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("MapEdgesDialog"));
    setWindowTitle(tr("Map Edges"));
    auto* layout = new QFormLayout(this);
    auto* intro = new QLabel(tr("The picture carries no position. Type the latitudes of its top "
                                "and bottom edges and the longitudes of its left and right "
                                "edges, as 47.5, N47*30' or N47*30'0\"."));
    intro->setWordWrap(true);
    layout->addRow(intro);
    const char* names[] = {"north", "south", "west", "east"};
    const QString labels[] = {tr("&North (top):"), tr("&South (bottom):"), tr("&West (left):"),
                              tr("&East (right):")};
    for (std::size_t i = 0; i < edits_.size(); ++i) {
        edits_[i] = new QLineEdit(this);
        edits_[i]->setObjectName(QLatin1String(names[i]));
        layout->addRow(labels[i], edits_[i]);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("ok"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &MapEdgesDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &MapEdgesDialog::reject);
    layout->addRow(buttons);
}

void MapEdgesDialog::accept() {
    const auto text = [this](std::size_t i) {
        return edits_[i]->text().toStdString();
    };
    auto parsed = ParseMapEdges(text(0), text(1), text(2), text(3));
    if (const auto* problem = std::get_if<std::string>(&parsed)) {
        prompts().message("Error", *problem);
        return;
    }
    edges_ = std::get<GeoBounds>(parsed);
    QDialog::accept();
}

std::optional<GeoBounds> AskMapEdges(QWidget* parent) {
    MapEdgesDialog dialog(parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.edges();
}
