#pragma once

#include "simlink/simlink.h"

#include <tuple>
#include <vector>

// A simulator link without a simulator: the cached values are plain fields the test sets,
// and every exchange and write is counted or recorded in order.
class FakeLink final : public SimLink {
public:
    double lat = 0;
    double lon = 0;
    bool hasPosition = true; // lat and lon have been read
    double ground = 0;
    double altitude = 0;
    double heading = 0;
    bool block = false;
    int msStrength = 0;
    bool live = true; // a position has been read from a link that answers
    // A link that reads the heading on request, later: it counts headingsServed up.
    bool headingOnRequest = false;
    std::uint64_t headingsServed = 0;

    int readCycles = 0;
    int headingReads = 0;
    std::vector<int> strengthWrites;
    std::vector<double> airWrites; // the vertical air handed with a strength, m/s
    std::vector<double> rollWrites;

    void ReadCycle() override { ++readCycles; }
    std::optional<GeoPoint> Position() const override {
        return hasPosition ? std::optional(GeoPoint{lat, lon}) : std::nullopt;
    }
    double GetGroundAlt() const override { return ground; }
    double GetAltitude() const override { return altitude; }
    double GetHeading() override {
        ++headingReads;
        return heading;
    }
    bool ThermalBlockPresent() const override { return block; }
    int GetMsStrength() const override { return msStrength; }
    void SetMsStrength(int value) override { strengthWrites.push_back(value); }
    void SetLift(int strength, double verticalAirMs) override {
        airWrites.push_back(verticalAirMs);
        SetMsStrength(strength);
    }
    void SetRollRate(double value) override { rollWrites.push_back(value); }
    LinkStatus Status() const override { return {live, live ? "Linked" : "No simulator"}; }
    bool RequestHeading() override { return headingOnRequest; }
    std::uint64_t HeadingsServed() const override { return headingsServed; }
    void MoveAircraft(GeoPoint to) override {
        std::tie(lat, lon, hasPosition) = std::tuple(to.lat, to.lon, true);
    }
};
