#pragma once

#include "simlink/simlink.h"

#include <vector>

// A simulator link without a simulator: the cached values are plain fields the test sets,
// and every write is recorded in order.
class FakeSimLink final : public SimLink {
public:
    double lat = 0;
    double lon = 0;
    double groundAlt = 0;
    double altitude = 0;
    double heading = 0;
    bool blockPresent = true;
    int msStrength = 0;

    std::vector<int> strengthWrites;
    std::vector<double> rollWrites;
    int headingReads = 0;

    void ReadCycle() override {}
    double GetLat() const override { return lat; }
    double GetLon() const override { return lon; }
    double GetGroundAlt() const override { return groundAlt; }
    double GetAltitude() const override { return altitude; }
    double GetHeading() override {
        ++headingReads;
        return heading;
    }
    bool ThermalBlockPresent() const override { return blockPresent; }
    int GetMsStrength() const override { return msStrength; }
    void SetMsStrength(int value) override { strengthWrites.push_back(value); }
    void SetRollRate(double value) override { rollWrites.push_back(value); }
    void MoveAircraft(double newLat, double newLon) override {
        lat = newLat;
        lon = newLon;
    }
};
