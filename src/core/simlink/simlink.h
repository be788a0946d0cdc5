#pragma once

// What the rest of the program uses of the simulator link: cached simulator variables in
// the program's units and the few writes. FSUPIC implements it over the request codec;
// tests use a fake.
class SimLink {
public:
    virtual ~SimLink() = default;

    // One exchange that refreshes the cache (and reconnects a link that is down).
    virtual void ReadCycle() = 0;

    virtual double GetLat() const = 0;       // degrees, north positive
    virtual double GetLon() const = 0;       // degrees, east positive
    virtual double GetGroundAlt() const = 0; // metres
    virtual double GetAltitude() const = 0;  // whole metres
    // Makes its own exchange; degrees from -180 to +180.
    virtual double GetHeading() = 0;
    virtual bool ThermalBlockPresent() const = 0;
    virtual int GetMsStrength() const = 0; // 0-255

    virtual void SetMsStrength(int value) = 0;
    virtual void SetRollRate(double value) = 0;
    // Updates the cached position at once, then writes it to the simulator.
    virtual void MoveAircraft(double lat, double lon) = 0;
};
