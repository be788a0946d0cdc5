#pragma once

#include "geo/geopoint.h"

#include <cstdint>
#include <optional>
#include <string>

// How the link stands for the pilot.
struct LinkStatus {
    // The cached values are live: the link answers and has read a position. Nothing is
    // placed at the aircraft otherwise.
    bool live = false;
    std::string text; // "Linked", "Not answering 12 s", "No simulator"
};

// What the rest of the program uses of the simulator link: cached simulator variables in
// the program's units and the few writes. ThreadedLink serves them from a thread of its
// own; FSUPIC exchanges on the caller's thread; tests use a fake.
class SimLink {
public:
    virtual ~SimLink() = default;

    // Refreshes the cache: the latest values the link has read (and a link that is down
    // is reconnected).
    virtual void ReadCycle() = 0;

    // The aircraft's position as last read or moved to; none before either.
    virtual std::optional<GeoPoint> Position() const = 0;
    virtual double GetGroundAlt() const = 0; // metres
    virtual double GetAltitude() const = 0;  // whole metres
    // Degrees from -180 to +180: read at once, or (where RequestHeading is taken up) the
    // heading of the last heading exchange.
    virtual double GetHeading() = 0;
    virtual bool ThermalBlockPresent() const = 0;
    virtual int GetMsStrength() const = 0; // 0-255

    virtual void SetMsStrength(int value) = 0;
    // The profiler's lift: the strength byte, and with it the signed vertical air (m/s) where
    // the link carries it; elsewhere the byte alone.
    virtual void SetLift(int strength, double /*verticalAirMs*/) { SetMsStrength(strength); }
    virtual void SetRollRate(double value) = 0;
    // Updates the cached position at once, then writes it to the simulator.
    virtual void MoveAircraft(GeoPoint to) = 0;

    virtual LinkStatus Status() const = 0;
    // Asks for a fresh heading without waiting for it; false where GetHeading reads at once.
    // When taken up, HeadingsServed counts up (after a ReadCycle) once it has been read.
    virtual bool RequestHeading() { return false; }
    virtual std::uint64_t HeadingsServed() const { return 0; }
};
