// A waypoint file's bytes read and written whole, and read and written again. What is not a
// waypoint is kept byte for byte, and what one save wrote reads back whole.

#include "check.h"
#include "codecs/waypointfile.h"

#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = Text(data, size);
    const WaypointFileContent first = ReadWaypointFile(bytes).value;
    Check(bytes.starts_with(first.frame.header), "the comment lines are the start of the file");
    Check(bytes.ends_with(first.frame.trailer), "the trailer is the end of the file");
    const std::string saved = WaypointFileBytes(first.frame, first.waypoints);
    Check(saved.starts_with(first.frame.header) && saved.ends_with(first.frame.trailer),
          "a save keeps the comment lines and the trailer");

    const WaypointFileContent second = ReadWaypointFile(saved).value;
    Check(second.waypoints.size() == first.waypoints.size(), "every saved waypoint is read back");
    Check(WaypointFileBytes(second.frame, second.waypoints) == saved,
          "a saved waypoint file saves again unchanged");
    return 0;
}
