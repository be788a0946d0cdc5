// The degree parser on any text, as it meets the calibration lines of a project file.

#include "check.h"
#include "geo/coordtext.h"

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static SilentPrompts prompts;
    const long before = prompts.messages;
    Check(std::isfinite(ParseDegrees(Text(data, size))), "the degrees are a finite number");
    // Degrees, minutes, their sum and the hemisphere can each fail once, no more.
    Check(prompts.messages - before <= 4, "at most one message per failing step");
    return 0;
}
