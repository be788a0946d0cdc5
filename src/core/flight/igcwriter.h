#pragma once

#include "flight/igcfile.h"
#include "geo/geopoint.h"

#include <string>
#include <string_view>

// A flight flown in the simulator written as an IGC flight log, one fix a line, so that a
// recording can write each fix as it comes. It carries no security record: the log says
// that its positions come from a flight simulator, not a flight recorder.

// The maker's code of the A record: "X" marks a maker without a code of the format's own,
// "BT" is this program's.
inline constexpr std::string_view kIgcMakerCode = "XBT";

struct IgcLogHeader {
    IgcDate date; // UTC
    std::string pilot;
    std::string gliderType;
    std::string gliderId;
};

// The A record and the H records, each line with CR LF: date, pilot, glider type and id,
// the datum WGS-1984, the recorder type "Brevan Talvor" and a receiver that is a flight
// simulator. Line breaks and other control characters in the texts become spaces.
std::string IgcHeaderText(const IgcLogHeader& header);

// One B record with its CR LF: the UTC time of day (taken within the day), the position to
// a thousandth of a minute and the altitude in whole metres as both the pressure and the
// satellite altitude, held to what five characters can say.
std::string IgcFixLine(int utcSecondOfDay, GeoPoint position, double altitudeM);
