#pragma once

#include "geo/geopoint.h"

#include <optional>
#include <string>
#include <string_view>
#include <variant>

// A latitude or longitude typed in any of the three forms the status bar shows ("47.5",
// "N47*30'", "N47*30'0\"") or as a project file holds it ("47:30.000N"): degrees, then
// optionally minutes, then optionally seconds, only the last with a fraction; a hemisphere
// letter before or after, or a sign. Nothing when the text is not such a value or lies
// beyond 90 (180) degrees.
std::optional<double> ParseLatitude(std::string_view text);
std::optional<double> ParseLongitude(std::string_view text);

// The four edges as typed; or a text that says which one is wrong and how to type it.
std::variant<GeoBounds, std::string> ParseMapEdges(std::string_view north, std::string_view south,
                                                   std::string_view west, std::string_view east);

// What is wrong with edges that are to place a map, or an empty text: north must lie north
// of south and east east of west (a map across the 180th meridian is not supported).
std::string MapEdgesProblem(const GeoBounds& edges);

// The edges of a north-up picture of width x height pixels whose upper-left corner lies at
// (west, north) and whose pixels span pixelWidth degrees to the east and pixelHeight to the
// south; or why they place no map in latitude and longitude.
std::variant<GeoBounds, std::string> GridEdges(double west, double north, double pixelWidth,
                                               double pixelHeight, int width, int height);
