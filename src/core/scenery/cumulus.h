#pragma once

#include "model/thermal.h"

#include <string>

// An angle as whole degrees, minutes and seconds, each truncated and followed by a blank
// ("8 41 59 " for 8.7). The sign stands on the degrees, "-0" for angles above -1.
std::string AngleText(double degrees);

// The cumulus tool's input, line feeds as in memory: the base name, the centre of the
// bounds, "P", then one line per thermal.
std::string CumulusInput(const ThermalList& thermals, const std::string& base, double minLat,
                         double minLon, double maxLat, double maxLon);
