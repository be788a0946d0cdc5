#pragma once

#include <QImage>
#include <QObject>
#include <QString>

// The calibrated map: a picture whose four edges carry latitudes and longitudes, shown
// fitted to the map panel at the current zoom. The calibration is linear in degrees.
// The map view draws picture() stretched to displayWidth() x displayHeight() as the
// scene's background; every conversion uses that displayed size.
class Map : public QObject {
    Q_OBJECT
public:
    explicit Map(QObject* parent = nullptr);

    // Loads the picture mapFile from directory and stores the calibration. On any failure
    // shows "Error with Map File" (caption "File Error") and keeps the previous picture
    // and calibration. Pictures too large to hold are refused the same way.
    void Load(const QString& mapFile, const QString& directory, double latTop, double latBottom,
              double lonLeft, double lonRight);
    // Fits the displayed picture into a box of w x h pixels, keeping its aspect ratio;
    // 0 x 0 while nothing is loaded.
    void Resize(int w, int h);

    int LonToX(double lon) const;
    int LatToY(double lat) const;
    double XToLon(int x) const;
    double YToLat(int y) const;

    bool loaded = false;
    QString mapFile;
    double latTop = 0;
    double latBottom = 0;
    double lonLeft = 0;
    double lonRight = 0;
    int pictureWidth = 0;
    int pictureHeight = 0;

    const QImage& picture() const { return picture_; }
    int displayWidth() const { return displayWidth_; }
    int displayHeight() const { return displayHeight_; }

signals:
    // The displayed size or the picture changed: the view refits its scene.
    void displayChanged();

private:
    QImage picture_;
    int displayWidth_ = 0;
    int displayHeight_ = 0;
};
