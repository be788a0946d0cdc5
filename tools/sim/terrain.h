#pragma once

// Ground elevation of the stand-in simulator's world, in metres above sea level: smooth
// rolling hills and valleys, defined everywhere, always between 40 and 1000 m.
double TerrainElevation(double lat, double lon);
