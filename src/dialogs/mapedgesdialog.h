#pragma once

#include "geo/geopoint.h"

#include <array>
#include <optional>

#include <QDialog>

class QLineEdit;

// Asks for the four edges of a map picture that carries no world file or GeoTIFF tags:
// north, south, west and east, each in any of the three forms the status bar shows or as a
// project file holds them. OK keeps the dialog open, with a message that names the edge,
// until all four are right.
class MapEdgesDialog : public QDialog {
    Q_OBJECT
public:
    explicit MapEdgesDialog(QWidget* parent = nullptr);

    // The edges OK accepted; nothing before that.
    const std::optional<GeoBounds>& edges() const { return edges_; }

    void accept() override;

private:
    std::array<QLineEdit*, 4> edits_{}; // north, south, west, east
    std::optional<GeoBounds> edges_;
};

// Shows the dialog and waits for it: the edges, or nothing when the user cancels.
std::optional<GeoBounds> AskMapEdges(QWidget* parent);
