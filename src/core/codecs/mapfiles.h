#pragma once

#include "geo/geopoint.h"

#include <string>
#include <string_view>
#include <variant>

// The files that place a map picture on the earth: a world file beside the picture, and
// the header that a new project is given.

// A world file's six numbers: the pixel's width, two rotation terms, the pixel's height
// (negative: rows run south), then the centre of the upper-left pixel. The picture's outer
// edges lie half a pixel beyond the centres of its outer pixels. A rotated or projected
// map is refused with a text that names what was found.
std::variant<GeoBounds, std::string> ReadWorldFile(std::string_view text, int width, int height);

// A project file's five header lines, each followed by a line feed, as the project reader
// reads them back: the picture's name, then the north, south, west and east edges as
// degrees, minutes to a thousandth and a hemisphere letter ("47:30.000N").
std::string ProjectHeaderText(std::string_view mapFile, const GeoBounds& edges);
