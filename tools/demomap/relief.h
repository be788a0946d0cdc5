#pragma once

#include "geo/geopoint.h"

#include <QImage>

// Height in pixels for a picture `width` pixels wide that shows the area without stretch.
int TrueHeight(const GeoBounds& area, int width);

// The stand-in simulator's terrain over the area as a shaded relief: colours by height,
// lit from the north-west, with a contour line every 100 m. Every pixel shows the ground at
// its centre, so the picture matches the elevation the simulator serves there. An 8-bit
// picture with a fixed palette, so it stays small as a BMP file.
QImage RenderRelief(const GeoBounds& area, int width, int height);
