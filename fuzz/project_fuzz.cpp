// The project file loader on any file: load, add, save, and load and save again. A save
// keeps the header byte for byte, and what one save wrote is read back whole.

#include "check.h"
#include "files/project.h"
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
    std::size_t thermals;
    std::string saved;
};

// A fresh scene each time, so that no input depends on the one before.
Loaded LoadAndSave(const QString& path, const char* savedName) {
    const ScratchFiles& scratch = ScratchFiles::instance();
    Map map;
    MapView panel(map);
    ThermalList thermals;
    Project project(map, thermals);
    project.Load(path, panel, false);
    const std::size_t count = thermals.size();
    Check(!project.modified, "a loaded project is not modified");

    const QString saved = scratch.Path(savedName);
    project.SaveTo(saved, true);
    Check(project.fileName == QString::fromLatin1(savedName), "a save names the file");

    project.Load(path, panel, true);
    Check(thermals.size() == 2 * count, "adding a file adds the thermals a load reads");
    return {count, scratch.Read(saved)};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static SilentPrompts prompts;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const ScratchFiles& scratch = ScratchFiles::instance();

    const Loaded first = LoadAndSave(scratch.Write("input.prj", bytes), "first.prj");
    Check(first.saved.starts_with(FirstLines(bytes, 5)), "the header is written back as read");

    const Loaded second = LoadAndSave(scratch.Path("first.prj"), "second.prj");
    Check(second.thermals == first.thermals, "every saved thermal is read back");
    Check(second.saved == first.saved, "a saved project saves again unchanged");
    return 0;
}
