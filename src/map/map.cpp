#include "map/map.h"

#include "prompts/prompts.h"

#include <algorithm>
#include <cmath>

#include <QDir>
#include <QFileInfo>
#include <QImageReader>

namespace {

// Pixel positions far off the map still have to fit the int arithmetic of the glyphs that
// are placed with them; a billion pixels is beyond any zoom in use.
constexpr double kPixelLimit = 1e9;

constexpr int kPictureLimitMB = 512;

int TruncPixel(double v) {
    if (std::isnan(v))
        return 0;
    return static_cast<int>(std::clamp(v, -kPixelLimit, kPixelLimit));
}

} // namespace

Map::Map(QObject* parent)
    : QObject(parent) {}

void Map::Load(const QString& mapFile, const QString& directory, double latTop, double latBottom,
               double lonLeft, double lonRight) {
    // The reader refuses a picture above its allocation limit before allocating it, so a
    // huge or forged picture cannot exhaust the memory; the limit still takes large
    // scanned maps (about 11000 x 11000 pixels).
    const QString path = QDir(directory).filePath(mapFile);
    QImageReader reader(path);
    reader.setAllocationLimit(kPictureLimitMB);
    // Only a plain file is a picture: opening a pipe named in a project would wait for a
    // writer for ever.
    QImage picture = QFileInfo(path).isFile() ? reader.read() : QImage();
    if (picture.isNull()) {
        prompts().message("File Error", "Error with Map File");
        return;
    }

    picture_ = std::move(picture);
    pictureWidth = picture_.width();
    pictureHeight = picture_.height();
    this->mapFile = mapFile;
    this->latTop = latTop;
    this->latBottom = latBottom;
    this->lonLeft = lonLeft;
    this->lonRight = lonRight;
    loaded = true;
    emit displayChanged();
}

void Map::Resize(int w, int h) {
    w = std::max(w, 0);
    h = std::max(h, 0);
    if (!loaded || pictureWidth + pictureHeight + w + h <= 0) {
        displayWidth_ = 0;
        displayHeight_ = 0;
    } else if (double(pictureWidth) / pictureHeight >= double(w) / h) {
        displayHeight_ = int(double(pictureHeight) / pictureWidth * w);
        displayWidth_ = w;
    } else {
        displayWidth_ = int(double(pictureWidth) / pictureHeight * h);
        displayHeight_ = h;
    }
    emit displayChanged();
}

int Map::LonToX(double lon) const {
    if (lonRight - lonLeft == 0)
        return 0;
    return TruncPixel((lon - lonLeft) / (lonRight - lonLeft) * double(displayWidth_));
}

int Map::LatToY(double lat) const {
    if (latBottom - latTop == 0)
        return 0;
    return TruncPixel((lat - latTop) / (latBottom - latTop) * double(displayHeight_));
}

double Map::XToLon(int x) const {
    if (displayWidth_ == 0)
        return 0.0;
    return double(x) / displayWidth_ * (lonRight - lonLeft) + lonLeft;
}

double Map::YToLat(int y) const {
    if (displayHeight_ == 0)
        return 0.0;
    return double(y) / displayHeight_ * (latBottom - latTop) + latTop;
}
