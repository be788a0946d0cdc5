#pragma once

#include "geo/mapframe.h"

#include <QImage>
#include <QObject>
#include <QPoint>
#include <QString>

// The calibrated map: a picture whose four edges carry latitudes and longitudes, shown
// fitted into the map panel at the current zoom. The map view draws picture() stretched to
// the frame's displayed size as the scene's background; every conversion uses that size.
class Map : public QObject {
    Q_OBJECT
public:
    explicit Map(QObject* parent = nullptr);

    // Loads the picture mapFile from directory, stores the calibration and fits the picture
    // into the box of the last Resize. On any failure shows "Error with Map File" (caption
    // "File Error") and keeps the previous picture and calibration. Pictures too large to
    // hold are refused the same way. False when it failed.
    bool Load(const QString& mapFile, const QString& directory, const GeoBounds& edges);
    // A picture the program made, not yet in any file, placed by edges.
    void SetPicture(const QImage& picture, const GeoBounds& edges);
    // Fits the displayed picture into a box of w x h pixels, keeping its aspect ratio;
    // 0 x 0 while nothing is loaded.
    void Resize(int w, int h);

    int LonToX(double lon) const { return frame_.LonToX(lon); }
    int LatToY(double lat) const { return frame_.LatToY(lat); }
    double XToLon(int x) const { return frame_.XToLon(x); }
    double YToLat(int y) const { return frame_.YToLat(y); }
    QPoint PixelOf(GeoPoint p) const { return {LonToX(p.lon), LatToY(p.lat)}; }
    GeoPoint PositionAt(QPoint pixel) const { return frame_.PositionAt(pixel.x(), pixel.y()); }

    bool loaded() const { return !picture_.isNull(); }
    const QString& mapFile() const { return mapFile_; }
    const MapFrame& frame() const { return frame_; }
    const QImage& picture() const { return picture_; }
    int displayWidth() const { return frame_.displayWidth; }
    int displayHeight() const { return frame_.displayHeight; }

signals:
    // The displayed size or the picture changed: the view refits its scene.
    void displayChanged();

private:
    void Fit();

    QImage picture_;
    QString mapFile_;
    MapFrame frame_;
    int boxWidth_ = 0;
    int boxHeight_ = 0;
};
