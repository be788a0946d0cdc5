// A SeeYou waypoint file's bytes imported: every place lies on the earth, every problem is
// counted but only the first few are kept, and the places go into a waypoint file and read
// back from it whole, as an import followed by a save does.

#include "check.h"
#include "codecs/waypointfile.h"
#include "codecs/waypointimport.h"

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const ImportedWaypoints read = ReadCupFile(Text(data, size));
    Check(read.problems.size() == std::min(read.problemCount, kListedProblems),
          "the first problems are kept and the rest counted");
    Check(read.Report().empty() == (read.problemCount == 0), "every problem is reported");
    for (const auto& w : read.waypoints) {
        Check(w->lat >= -90 && w->lat <= 90 && w->lon >= -180 && w->lon <= 180,
              "every place lies on the earth");
        Check((w->tName + w->tText).find_first_of(",\r\n") == std::string::npos,
              "names and texts fit a waypoint file's fields");
    }

    const Read<WaypointFileContent> saved = ReadWaypointFile(WaypointFileBytes({}, read.waypoints));
    Check(saved.value.waypoints.size() == read.waypoints.size(), "every imported place is saved");
    Check(saved.complete(), "a saved import reads back without a message");
    return 0;
}
