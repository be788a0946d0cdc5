#pragma once

#include "geo/geopoint.h"

#include <functional>
#include <optional>

#include <QString>

// Where a map picture lies on the earth, found in this order: a world file beside it
// (.pgw .jgw .bpw .tfw .gfw .wld, the picture's name with that extension), the GeoTIFF tags
// of a .tif picture, or else what ask returns (the map edges dialog; nothing when the user
// cancels). A picture that cannot be read, a rotated map and a map in a projected system are
// refused with a message (caption "File Error") that names what was found; then, and when
// ask gives nothing, the result is nothing.
using AskForMapEdges = std::function<std::optional<GeoBounds>()>;
std::optional<GeoBounds> FindMapEdges(const QString& picturePath, const AskForMapEdges& ask);

// libtiff warns on standard error about tags it does not know (every GeoTIFF has some) and
// about damaged files, also when Qt reads a picture; the program's own messages say what
// matters, so the library stays quiet for the whole run.
void QuietTiffLibrary();

// The open dialog's filter for map pictures, in the prompts' "Text|*.EXT" form.
inline constexpr const char* kMapPictureFilter =
    "Map pictures (*.png *.jpg *.bmp *.tif *.gif)|*.png;*.jpg;*.jpeg;*.bmp;*.tif;*.tiff;*.gif";
