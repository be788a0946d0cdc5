// A project file's bytes read and written whole: the header, the thermal lines up to the
// first short one, the whole file written and read again, with the two sections and without.
// A save keeps the header byte for byte, and what one save wrote reads back to the same
// thermals and saves unchanged.

#include "check.h"
#include "codecs/projectfile.h"

#include <string>

namespace {

// The header and thermals as a load reads them, or (add) the thermals alone as adding the
// file to the open project reads them.
std::pair<std::string, ThermalList> ReadAll(std::string_view bytes, bool add = false) {
    std::size_t offset = 0;
    std::string header;
    if (add)
        SkipProjectHeader(bytes, offset);
    else
        header = ReadProjectHeader(bytes, offset).value.text;
    return {header, ReadThermalLines(bytes, offset).value.thermals};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto [header, thermals] = ReadAll(Text(data, size));
    Check(ReadAll(Text(data, size), true).second.size() == thermals.size(),
          "adding a file reads the thermals a load reads");
    const std::string saved = ProjectFileBytes(header, thermals, true);

    const auto [header2, thermals2] = ReadAll(saved);
    Check(header2 == header, "the header is written back as read");
    Check(ProjectFileBytes(header2, thermals2, true) == saved,
          "a saved project saves again unchanged");
    const std::string basic = ProjectFileBytes(header, thermals, false);
    Check(ProjectFileBytes(header, ReadAll(basic).second, false) == basic,
          "a project saved without the sections saves again unchanged");
    return 0;
}
