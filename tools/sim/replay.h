#pragma once

#include "flight/igcfile.h"
#include "simstate.h"

#include <optional>
#include <string>
#include <vector>

// A flight log flown again: the aircraft is where the log has it at the replay's clock,
// its position, altitude and heading (the track's) taken between the two fixes around that
// moment. The clock runs at the state's time factor and stands while the state is paused;
// the log's end holds the aircraft at its last fix.
class Replay {
public:
    // The log's valid fixes; nothing when it has none.
    static std::optional<Replay> FromLog(const IgcFlight& flight);
    // Reads the log at path; nothing, with a message, when it cannot be read or has no fix.
    static std::optional<Replay> FromFile(const std::string& path, std::string& error);

    // The first fix's altitude: the ground the replay flies over.
    double TakeOffAltitudeM() const;
    double LengthS() const;
    // Seconds after the first fix.
    double ClockS() const { return clockS_; }
    // UTC seconds of the day at the clock.
    int TimeOfDayS() const;

    // Makes a seek the state asks for, moves the clock on by realSeconds times the time
    // factor unless paused, and puts the aircraft where the log has it then.
    void Advance(SimState& state, double realSeconds);

private:
    Replay(std::vector<IgcFix> fixes, bool pressureAltitudes);
    double AltitudeM(const IgcFix& fix) const;

    std::vector<IgcFix> fixes_;
    bool pressureAltitudes_;
    double clockS_ = 0;
};
