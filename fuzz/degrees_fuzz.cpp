// The degree parser on any text, as it meets the calibration lines of a project file.

#include "check.h"
#include "geo/coordtext.h"

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Read<double> degrees = ParseDegrees(Text(data, size));
    Check(std::isfinite(degrees.value), "the degrees are a finite number");
    // Degrees, minutes, their sum and the hemisphere can each fail once, no more.
    Check(degrees.messages.size() <= 4, "at most one message per failing step");
    return 0;
}
