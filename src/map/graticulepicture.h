#pragma once

#include "geo/geopoint.h"
#include "geo/mapframe.h"

#include <QImage>

// A plain map of an area for a flight that has no map of its own: a light background with
// the lines of latitude and longitude, each labelled where it meets the picture's edge. Its
// edges are exactly the area's.
QImage GraticulePicture(const GeoBounds& area, PixelSize size);
