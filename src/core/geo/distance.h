#pragma once

// Great-circle distance in kilometres between two positions in decimal degrees.
// A position whose latitude plus longitude is exactly 0 counts as 1000 km from anything.
double Distance(double lat1, double lon1, double lat2, double lon2);
