// A project file's bytes read and written whole: the header, the thermal lines up to the
// first short one, the whole file written and read again. A save keeps the header byte for
// byte, and what one save wrote reads back to the same thermals and saves unchanged.

#include "check.h"
#include "codecs/projectfile.h"
#include "silentprompts.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

struct Read {
    std::string header;
    ThermalList thermals;
};

Read ReadAll(std::string_view bytes, bool add) {
    Read read;
    std::size_t offset = 0;
    if (add)
        SkipProjectHeader(bytes, offset);
    else
        read.header = ReadProjectHeader(bytes, offset).text;
    Check(offset <= bytes.size(), "the header ends within the file");
    read.thermals = ReadThermalLines(bytes, offset);
    return read;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static SilentPrompts prompts;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    const Read first = ReadAll(bytes, false);
    Check(ReadAll(bytes, true).thermals.size() == first.thermals.size(),
          "adding a file reads the thermals a load reads");
    const std::string saved = ProjectFileBytes(first.header, first.thermals, true);

    const Read second = ReadAll(saved, false);
    Check(second.header == first.header, "the header is written back as read");
    Check(second.thermals.size() == first.thermals.size(), "every saved thermal is read back");
    Check(ProjectFileBytes(second.header, second.thermals, true) == saved,
          "a saved project saves again unchanged");
    return 0;
}
