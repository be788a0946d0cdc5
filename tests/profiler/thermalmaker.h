#pragma once

#include "map/map.h"
#include "scene/thermal.h"

#include <memory>

// The values of a thermal that lift shaping reads; the rest keep their construction values.
struct Profile {
    double lat = 47.0;
    double lon = 8.0;
    int bottom = 0;
    int top = 2000;
    int radius = 1000;
    int strength = 100;
    int core = 50;
    int coreBase = 0;
    int coreTop = 100;
};

// A thermal on an unloaded map, as the loaders and commands build one.
inline std::unique_ptr<TThermal> MakeThermal(const Profile& p) {
    static Map map;
    auto t = std::make_unique<TThermal>();
    t->map = &map;
    t->SetLat(p.lat);
    t->SetLon(p.lon);
    t->SetType(4);
    t->SetBottom(p.bottom);
    t->SetTop(p.top);
    t->SetRadius(p.radius);
    t->SetStrengthPercent(p.strength);
    t->SetCorePercent(p.core);
    t->SetCoreBasePercent(p.coreBase);
    t->SetCoreTopPercent(p.coreTop);
    return t;
}

// Degrees of latitude to a point the given kilometres further north.
inline double KmNorth(double km) {
    return km / 111.195;
}
