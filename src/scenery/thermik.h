#pragma once

#include "scene/thermal.h"
#include "scenery/generation.h"

#include <string>

#include <QString>

// The scenery assembler's source text for the thermals, line feeds as in memory: the
// header with a 0.2-degree margin around the bounds, one cloud macro per thermal with a
// cloud, an empty line, one lift macro per thermal.
std::string ThermikSource(const ThermalList& thermals, double minLat, double minLon, double maxLat,
                          double maxLon);

// Thermal scenery: writes base + ".sca" into the current directory and runs the
// assembler `scasm` from the tool directory on it, which makes base + ".bgl".
class TThermik : public SceneryGenerator {
public:
    using SceneryGenerator::SceneryGenerator;

    void Generate(const ThermalList& thermals, const QString& base, double minLat, double minLon,
                  double maxLat, double maxLon);
};
