// The waypoint file loader on any file: load, save, and load and save again. What is not a
// waypoint is kept byte for byte, and what one save wrote is read back whole.

#include "check.h"
#include "files/dat.h"
#include "map/map.h"
#include "scene/mapview.h"
#include "scratchfiles.h"
#include "silentprompts.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

struct Loaded {
    std::size_t waypoints;
    std::string saved;
};

// A fresh scene each time, so that no input depends on the one before.
Loaded LoadAndSave(const QString& path, std::string_view bytes, const char* savedName) {
    const ScratchFiles& scratch = ScratchFiles::instance();
    Map map;
    MapView panel(map);
    WaypointList waypoints;
    Dat dat(map, waypoints);
    dat.Load(path, panel);
    Check(bytes.starts_with(dat.header), "the comment lines are the start of the file");
    Check(bytes.ends_with(dat.trailer), "the trailer is the end of the file");

    const QString saved = scratch.Path(savedName);
    dat.SaveTo(saved);
    Check(dat.fileName == QString::fromLatin1(savedName), "a save names the file");
    const std::string written = scratch.Read(saved);
    Check(written.starts_with(dat.header) && written.ends_with(dat.trailer),
          "a save keeps the comment lines and the trailer");
    return {waypoints.size(), written};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static SilentPrompts prompts;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const ScratchFiles& scratch = ScratchFiles::instance();

    const Loaded first = LoadAndSave(scratch.Write("input.dat", bytes), bytes, "first.dat");
    const Loaded second = LoadAndSave(scratch.Path("first.dat"), first.saved, "second.dat");
    Check(second.waypoints == first.waypoints, "every saved waypoint is read back");
    Check(second.saved == first.saved, "a saved waypoint file saves again unchanged");
    return 0;
}
