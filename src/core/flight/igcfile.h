#pragma once

#include "codecs/lineproblems.h"
#include "geo/geopoint.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A flight log in the flight recorders' IGC format, as far as this program uses it: the
// recorder (A record), the date, pilot and glider (H records), the extensions of the fixes
// (I record) and the fixes themselves (B records). Every other record is passed over.

struct IgcDate {
    int year = 0; // four digits
    int month = 0;
    int day = 0;

    friend bool operator==(const IgcDate&, const IgcDate&) = default;
};

// One fix, 24 bytes, and its extensions' characters: a flight of 15,000 fixes without
// extensions takes 360 kB, a third less than its lines. Positions keep the file's own
// thousandths of a minute, so nothing is lost in the reading.
struct IgcFix {
    // UTC seconds after midnight of the log's date: past 86,400 once the flight has passed
    // midnight. Never less than the fix before's.
    std::int32_t timeS = 0;
    std::int32_t latMilliMinutes = 0; // north positive
    std::int32_t lonMilliMinutes = 0; // east positive
    std::int32_t pressureAltitudeM = 0;
    std::int32_t gnssAltitudeM = 0;
    bool valid = true; // "A": a three-dimensional fix; "V": two-dimensional or none

    GeoPoint Position() const { return {latMilliMinutes / 60000.0, lonMilliMinutes / 60000.0}; }
};

// A value the I record adds to every fix: its three-letter code and the columns it takes in
// a B record, counted from 1 as the record gives them.
struct IgcExtension {
    std::string code;
    int firstColumn = 0;
    int lastColumn = 0;

    int Width() const { return lastColumn - firstColumn + 1; }
};

struct IgcFlight {
    std::string recorder; // the A record after its "A": maker's code, serial, more
    std::optional<IgcDate> date;
    std::string pilot;
    std::string gliderType;
    std::string gliderId;
    std::vector<IgcExtension> extensions;
    std::vector<IgcFix> fixes;
    // Each fix's extension characters one after the other, ExtensionWidth() of them a fix.
    std::string extensionText;
    // Altitudes come from the barometer when the log has one (any pressure altitude that is
    // not 0), else from the satellites.
    bool pressureAltitudes = true;
    LineProblems problems;

    int AltitudeM(const IgcFix& fix) const {
        return pressureAltitudes ? fix.pressureAltitudeM : fix.gnssAltitudeM;
    }
    std::size_t ExtensionWidth() const;
    // A fix's value of the extension with this code as the B record has it; empty when the
    // log declares no such extension.
    std::string_view Extension(std::size_t fix, std::string_view code) const;
};

// Reads a flight log's bytes. A line that cannot be read is passed over and kept in
// problems with its number; so is a line that is no record of the format. Midnight passes
// into the next day; a fix whose time goes back (by less than half a day) keeps the time of
// the fix before it, so a flight's time never runs backwards.
IgcFlight ReadIgcFile(std::string_view bytes);

// What to tell about a read: empty when every line was read; a log without a single fix is
// not a flight and says so first.
std::string IgcReadReport(const IgcFlight& flight);
