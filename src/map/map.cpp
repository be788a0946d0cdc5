#include "map/map.h"

#include "io/filestore.h"
#include "prompts/prompts.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>

namespace {

constexpr int kPictureLimitMB = 512;

} // namespace

Map::Map(QObject* parent)
    : QObject(parent) {}

bool Map::Load(const QString& mapFile, const QString& directory, const GeoBounds& edges) {
    // The reader refuses a picture above its allocation limit before allocating it, so a
    // huge or forged picture cannot exhaust the memory; the limit still takes large
    // scanned maps (about 11000 x 11000 pixels).
    const QString path = QDir(directory).filePath(mapFile);
    QImageReader reader(path);
    reader.setAllocationLimit(kPictureLimitMB);
    // Only a plain file is a picture: opening a pipe named in a project would wait for a
    // writer for ever.
    const QString notAFile = NotAPlainFile(path);
    QImage picture = notAFile.isEmpty() ? reader.read() : QImage();
    if (picture.isNull()) {
        ShowFileMessage("File Error", "Error with Map File", ShownPath(path),
                        (notAFile.isEmpty() ? reader.errorString() : notAFile).toStdString());
        return false;
    }
    // Indexed and odd formats are scaled coarsely and slowly; 32-bit pixels draw smoothly.
    picture_ = picture.hasAlphaChannel()
                   ? picture.convertToFormat(QImage::Format_ARGB32_Premultiplied)
                   : picture.convertToFormat(QImage::Format_RGB32);
    mapFile_ = mapFile;
    frame_.edges = edges;
    Fit();
    return true;
}

void Map::SetPicture(const QImage& picture, const GeoBounds& edges) {
    picture_ = picture.convertToFormat(QImage::Format_RGB32);
    mapFile_.clear();
    frame_.edges = edges;
    Fit();
}

void Map::Resize(int w, int h) {
    boxWidth_ = w;
    boxHeight_ = h;
    Fit();
}

void Map::Fit() {
    const PixelSize shown =
        loaded() ? FitPicture(picture_.width(), picture_.height(), boxWidth_, boxHeight_)
                 : PixelSize{};
    frame_.displayWidth = shown.width;
    frame_.displayHeight = shown.height;
    emit displayChanged();
}
