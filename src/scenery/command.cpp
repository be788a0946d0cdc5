#include "command.h"

#include "cumulus.h"
#include "thermik.h"

#include <algorithm>

QString BaseName(const QString& fileName) {
    const auto dot = fileName.lastIndexOf('.');
    return dot < 0 ? fileName : fileName.left(dot);
}

bool ThermalBounds(const ThermalList& thermals, double& minLat, double& minLon, double& maxLat,
                   double& maxLon) {
    if (thermals.empty())
        return false;
    minLat = maxLat = thermals.front()->lat;
    minLon = maxLon = thermals.front()->lon;
    for (const auto& t : thermals) {
        minLat = std::min(minLat, t->lat);
        minLon = std::min(minLon, t->lon);
        maxLat = std::max(maxLat, t->lat);
        maxLon = std::max(maxLon, t->lon);
    }
    return true;
}

bool GenerateScenery(SceneryKind kind, const QString& toolDir, const ThermalList& thermals,
                     const QString& projectFileName) {
    const QString base = BaseName(projectFileName);
    // An empty list leaves the bounds at 0; the generators refuse it.
    double minLat = 0, minLon = 0, maxLat = 0, maxLon = 0;
    ThermalBounds(thermals, minLat, minLon, maxLat, maxLon);
    if (kind == SceneryKind::thermik) {
        TThermik thermik(toolDir);
        thermik.Generate(thermals, base, minLat, minLon, maxLat, maxLon);
        return thermik.succeeded();
    }
    TCumulus cumulus(toolDir);
    cumulus.Generate(thermals, base, minLat, minLon, maxLat, maxLon);
    return cumulus.succeeded();
}
