#pragma once

#include "scene/thermal.h"

#include <QString>

// The steps of the "Thermik" and "Cumulus" commands that need no window.

// A project's file name without its extension, the part from the last "." on
// ("alps.prj" gives "alps", "alps" stays "alps", a never-saved project's "" stays "").
QString BaseName(const QString& fileName);

// The smallest and largest latitude and longitude over all thermals; false, leaving the
// four values alone, for an empty list.
bool ThermalBounds(const ThermalList& thermals, double& minLat, double& minLon, double& maxLat,
                   double& maxLon);

enum class SceneryKind { thermik, cumulus };

// One whole command: the generator of the kind, given the tool directory, generates from
// the thermals under the base name of the project's file name. An empty list is refused
// with a message before anything is written. True when the tool ran and exited with 0.
bool GenerateScenery(SceneryKind kind, const QString& toolDir, const ThermalList& thermals,
                     const QString& projectFileName);
