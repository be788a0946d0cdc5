#include "georeference.h"

#include "codecs/mapfiles.h"
#include "filestore.h"
#include "geo/mapedges.h"
#include "prompts/prompts.h"

#include <geotiff.h>
#include <geovalues.h>
#include <string>
#include <variant>
#include <xtiffio.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

namespace {

constexpr int kPictureLimitMB = 512;
constexpr const char* kPlainLatLon =
    " Export the map in plain latitude and longitude (for example EPSG:4326).";

// Nothing found: the GeoTIFF tags are missing, so the edges are asked for.
struct NoTags {};
using Found = std::variant<NoTags, GeoBounds, std::string>;

void Refuse(const QString& file, const std::string& why) {
    prompts().message("File Error", WithDetail(why, ShownPath(file)));
}

std::string Number(double value) {
    return QString::number(value, 'g', 12).toStdString();
}

std::optional<int> GeoKey(GTIF* keys, geokey_t key) {
    geocode_t value = 0;
    if (GTIFKeyGet(keys, key, &value, 0, 1) != 1)
        return std::nullopt;
    return value;
}

Found GeoTiffEdgesOf(GTIF* keys, TIFF* tiff) {
    const auto model = GeoKey(keys, GTModelTypeGeoKey);
    if (!model)
        return NoTags{};
    if (*model == ModelTypeProjected) {
        const auto system = GeoKey(keys, ProjectedCSTypeGeoKey);
        return "The GeoTIFF is in a projected system (" +
               (system && *system != KvUserDefined ? "EPSG:" + std::to_string(*system)
                                                   : std::string("user-defined")) +
               "), not in plain latitude and longitude." + kPlainLatLon;
    }
    if (*model != ModelTypeGeographic)
        return "The GeoTIFF's model type is " + std::to_string(*model) +
               ", not geographic latitude and longitude." + kPlainLatLon;
    const auto unit = GeoKey(keys, GeogAngularUnitsGeoKey);
    if (unit && *unit != Angular_Degree)
        return "The GeoTIFF's angles are in unit " + std::to_string(*unit) + ", not degrees." +
               kPlainLatLon;

    std::uint32_t width = 0, height = 0;
    TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &width);
    TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &height);
    std::uint16_t count = 0;
    double* values = nullptr;
    double west = 0, north = 0, dx = 0, dy = 0;
    if (TIFFGetField(tiff, TIFFTAG_GEOTRANSMATRIX, &count, &values) && count >= 8) {
        if (values[1] != 0 || values[4] != 0)
            return "The GeoTIFF's transformation has the rotation terms " + Number(values[1]) +
                   " and " + Number(values[4]) + ": the map is rotated." + kPlainLatLon;
        west = values[3];
        north = values[7];
        dx = values[0];
        dy = -values[5];
    } else {
        double* tie = nullptr;
        std::uint16_t ties = 0;
        if (!TIFFGetField(tiff, TIFFTAG_GEOTIEPOINTS, &ties, &tie) || ties < 6 ||
            !TIFFGetField(tiff, TIFFTAG_GEOPIXELSCALE, &count, &values) || count < 2)
            return std::string("The GeoTIFF has no tie point with a pixel scale (a warped map "
                               "is not supported).") +
                   kPlainLatLon;
        dx = values[0];
        dy = values[1];
        west = tie[3] - tie[0] * dx;
        north = tie[4] + tie[1] * dy;
    }
    // A tie point may name the centre of a pixel instead of its corner.
    if (GeoKey(keys, GTRasterTypeGeoKey) == RasterPixelIsPoint) {
        west -= dx / 2;
        north += dy / 2;
    }
    auto edges = GridEdges(west, north, dx, dy, static_cast<int>(width), static_cast<int>(height));
    if (const auto* problem = std::get_if<std::string>(&edges))
        return "In the GeoTIFF, " + *problem + '.' + kPlainLatLon;
    return std::get<GeoBounds>(edges);
}

Found GeoTiffEdges(const QString& path) {
    TIFF* tiff = XTIFFOpen(QFile::encodeName(path).constData(), "r");
    if (!tiff)
        return NoTags{};
    GTIF* keys = GTIFNew(tiff);
    const Found found = keys ? GeoTiffEdgesOf(keys, tiff) : Found(NoTags{});
    if (keys)
        GTIFFree(keys);
    XTIFFClose(tiff);
    return found;
}

// The world file beside the picture, or an empty text when there is none.
QString WorldFileOf(const QFileInfo& picture) {
    const QDir folder = picture.absoluteDir();
    for (const char* suffix : {"pgw", "jgw", "bpw", "tfw", "gfw", "wld"}) {
        for (const QString& spelling :
             {QString::fromLatin1(suffix), QString::fromLatin1(suffix).toUpper()}) {
            const QString path = folder.filePath(picture.completeBaseName() + '.' + spelling);
            if (QFileInfo(path).isFile())
                return path;
        }
    }
    return {};
}

} // namespace

std::optional<GeoBounds> FindMapEdges(const QString& picturePath, const AskForMapEdges& ask) {
    const QFileInfo picture(picturePath);
    QImageReader reader(picturePath);
    reader.setAllocationLimit(kPictureLimitMB);
    // Only a plain file is a picture: opening a pipe would wait for a writer for ever.
    QSize size = picture.isFile() ? reader.size() : QSize();
    if (picture.isFile() && !size.isValid())
        size = reader.read().size();
    if (size.isEmpty()) {
        const QString notAFile = NotAPlainFile(picturePath);
        ShowFileMessage("File Error", "Error with Map File", ShownPath(picturePath),
                        (notAFile.isEmpty() ? reader.errorString() : notAFile).toStdString());
        return std::nullopt;
    }

    Found found = NoTags{};
    const QString worldFile = WorldFileOf(picture);
    if (!worldFile.isEmpty()) {
        const auto bytes = ReadTextFile(worldFile);
        const auto* data = std::get_if<QByteArray>(&bytes);
        auto edges = data ? ReadWorldFile(ByteView(*data), size.width(), size.height())
                          : std::variant<GeoBounds, std::string>(
                                "The world file cannot be read: " +
                                std::get<ReadFailure>(bytes).reason.toStdString() + '.');
        if (auto* problem = std::get_if<std::string>(&edges)) {
            Refuse(worldFile, *problem);
            return std::nullopt;
        }
        return std::get<GeoBounds>(edges);
    }
    const QString suffix = picture.suffix().toLower();
    if (suffix == QLatin1String("tif") || suffix == QLatin1String("tiff"))
        found = GeoTiffEdges(picturePath);
    if (const auto* problem = std::get_if<std::string>(&found)) {
        Refuse(picturePath, *problem);
        return std::nullopt;
    }
    if (const auto* edges = std::get_if<GeoBounds>(&found))
        return *edges;
    return ask ? ask() : std::nullopt;
}

void QuietTiffLibrary() {
    TIFFSetErrorHandler(nullptr);
    TIFFSetWarningHandler(nullptr);
}
