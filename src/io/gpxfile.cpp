#include "gpxfile.h"

#include "geo/units.h"

#include <cmath>

#include <QXmlStreamReader>

namespace {

std::string FieldText(const QString& text) {
    return WaypointFieldText(text.simplified().toStdString());
}

// One <wpt>, the reader on its start; the reader is left on its end. Nothing when it
// cannot be read: why is in problem.
std::unique_ptr<Waypoint> ReadWpt(QXmlStreamReader& xml, std::string& problem) {
    bool latOk = false, lonOk = false;
    const double lat = xml.attributes().value(QLatin1String("lat")).toDouble(&latOk);
    const double lon = xml.attributes().value(QLatin1String("lon")).toDouble(&lonOk);
    if (!latOk || !lonOk || std::fabs(lat) > 90 || std::fabs(lon) > 180)
        problem = "a waypoint without a latitude and longitude in degrees";
    auto w = std::make_unique<Waypoint>();
    w->SetPosition({lat, lon});
    w->SetAttributes("T");
    while (xml.readNextStartElement()) {
        const auto name = xml.name();
        if (name == QLatin1String("name")) {
            w->SetName(FieldText(xml.readElementText(QXmlStreamReader::SkipChildElements)));
        } else if (name == QLatin1String("desc")) {
            w->SetText(FieldText(xml.readElementText(QXmlStreamReader::SkipChildElements)));
        } else if (name == QLatin1String("ele")) {
            bool ok = false;
            const double ele = xml.readElementText().trimmed().toDouble(&ok);
            if ((!ok || !(std::fabs(ele) < 1e6)) && problem.empty())
                problem = "an elevation that is not a number of metres";
            w->SetGroundHeight(TruncateToInt(ele));
        } else {
            xml.skipCurrentElement();
        }
    }
    if (!problem.empty() || xml.hasError())
        return nullptr;
    return w;
}

} // namespace

ImportedWaypoints ReadGpxFile(const QByteArray& data) {
    ImportedWaypoints result;
    QXmlStreamReader xml(data);
    if (!xml.readNextStartElement() || xml.name() != QLatin1String("gpx")) {
        if (!xml.hasError())
            result.AddProblem(xml.lineNumber(), "the file is not GPX");
    } else {
        while (xml.readNextStartElement()) {
            if (xml.name() != QLatin1String("wpt")) {
                xml.skipCurrentElement();
                continue;
            }
            const qint64 line = xml.lineNumber();
            std::string problem;
            if (auto w = ReadWpt(xml, problem))
                result.waypoints.push_back(std::move(w));
            else if (!problem.empty())
                result.AddProblem(line, problem);
        }
    }
    if (xml.hasError())
        result.AddProblem(xml.lineNumber(), xml.errorString().toStdString());
    return result;
}
