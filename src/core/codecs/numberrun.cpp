#include "numberrun.h"

#include "geo/textfields.h"

std::optional<std::string_view> NextPresentNumber(std::string_view line, int& p) {
    // NextNumber moves p whenever the line holds anything more.
    const int before = p;
    const std::string_view run = NextNumber(line, p);
    if (p == before)
        return std::nullopt;
    return run;
}
