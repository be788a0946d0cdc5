#pragma once

// A place on the earth in decimal degrees, latitude positive north, longitude positive east.
// Where a position may be missing ("no position read yet") it is a std::optional<GeoPoint>,
// never a point at 0, 0: that is a real place.
struct GeoPoint {
    double lat = 0;
    double lon = 0;

    friend bool operator==(const GeoPoint&, const GeoPoint&) = default;
};

// The four edges of an area in degrees (north and east positive): a map picture's outer
// pixel edges as a project header gives them, a flight's frame. For a map picture, north is
// the latitude of the top edge and west the longitude of the left edge however the picture
// stands: its conversions use only the differences.
struct GeoBounds {
    double north = 0;
    double south = 0;
    double west = 0;
    double east = 0;

    friend bool operator==(const GeoBounds&, const GeoBounds&) = default;

    // Edges included; a map across the 180th meridian is not supported.
    bool Contains(GeoPoint p) const {
        return p.lat <= north && p.lat >= south && p.lon >= west && p.lon <= east;
    }
};
