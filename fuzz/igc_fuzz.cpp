// A flight log's bytes read: every fix lies on the earth and no earlier than the one before,
// each fix has its extensions' characters, the first problems are kept and the rest counted,
// the fixes take at most about twice the bytes, and the climbs found lie within the flight.

#include "check.h"
#include "flight/climbs.h"
#include "flight/igcfile.h"

#include <algorithm>
#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const IgcFlight flight = ReadIgcFile(Text(data, size));
    Check(flight.problems.problems.size() ==
              std::min(flight.problems.problemCount, kListedProblems),
          "the first problems are kept and the rest counted");
    Check(IgcReadReport(flight).empty() ==
              (flight.problems.problemCount == 0 && !flight.fixes.empty()),
          "every problem is reported, and a log without fixes");
    Check(flight.extensionText.size() == flight.fixes.size() * flight.ExtensionWidth(),
          "every fix has its extensions");
    Check(flight.fixes.capacity() * sizeof(IgcFix) + flight.extensionText.capacity() <=
              size * 5 / 2 + 1024,
          "the fixes take at most about twice the bytes");
    for (std::size_t i = 0; i < flight.fixes.size(); ++i) {
        const GeoPoint p = flight.fixes[i].Position();
        Check(std::abs(p.lat) <= 90 && std::abs(p.lon) <= 180, "every fix lies on the earth");
        Check(i == 0 || flight.fixes[i].timeS >= flight.fixes[i - 1].timeS,
              "time never runs backwards");
    }
    for (const Climb& c : FindClimbs(flight)) {
        Check(c.startS < c.endS && c.startS >= flight.fixes.front().timeS &&
                  c.endS <= flight.fixes.back().timeS,
              "a climb lies within the flight");
        Check(std::isfinite(c.radiusM) && std::isfinite(c.driftSpeedMps) &&
                  std::isfinite(c.centre.lat) && std::isfinite(c.centre.lon),
              "a climb's values are numbers");
    }
    return 0;
}
