#pragma once

#include "model/thermal.h"

#include <chrono>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <thread>

// One builder per kind of fixture, and the waits and reads around them, shared by every test
// folder.

// The values a new thermal gets from the Thermal Data window as it starts: type 1, 0 to
// 1500 m, radius 500 m, wind from 270, factor 30000, a cloud at 1500 m of radius 500 and
// bitmap 1, the cumulus values -1, -1, 0, -0.5, -1, -1, strength 80 %, core 60 %, core
// bottom 20 %, core top 80 %.
inline ThermalSettings WindowDefaults() {
    return {1,  0,  1500, 500,   270, 30000, true, 1500, 500, 1,
            -1, -1, 0,    -0.5f, -1,  -1,    80,   60,   20,  80};
}

// A thermal at a position with the given values, set through the setters.
inline std::unique_ptr<Thermal> NewThermal(double lat, double lon,
                                           const ThermalSettings& values = WindowDefaults()) {
    auto t = std::make_unique<Thermal>();
    t->SetData(values);
    t->SetLat(lat);
    t->SetLon(lon);
    return t;
}

// Thermals with the window's values at the given latitudes and longitudes, in order.
inline ThermalList Thermals(std::initializer_list<std::pair<double, double>> positions) {
    ThermalList list;
    for (const auto& [lat, lon] : positions)
        list.push_back(NewThermal(lat, lon));
    return list;
}

// A project file's text: the header of a map "map.bmp" over 47.5-47 N, 7.5-8.5 E, then the
// given thermal lines (each ending with CR LF), as a file holds them.
inline std::string ProjectText(std::string_view thermalLines = {}) {
    return "map.bmp\r\n47:30.000N\r\n47:00.000N\r\n7:30.000E\r\n8:30.000E\r\n" +
           std::string(thermalLines);
}

// Polls the condition, a pause apart, until it holds; false once the limit has passed.
inline bool Eventually(const std::function<bool()>& condition,
                       std::chrono::milliseconds limit = std::chrono::seconds(5),
                       std::chrono::milliseconds pause = std::chrono::milliseconds(1)) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (; !condition(); std::this_thread::sleep_for(pause))
        if (std::chrono::steady_clock::now() > deadline)
            return false;
    return true;
}

// A whole file as stored; empty when it cannot be read.
inline std::string ReadText(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}
