#include "units.h"

#include "numbertext.h"

#include <algorithm>
#include <cmath>
#include <limits>

int TruncateToInt(double value) {
    if (std::isnan(value))
        return 0;
    constexpr double lowest = std::numeric_limits<int>::min();
    constexpr double highest = std::numeric_limits<int>::max();
    return static_cast<int>(std::trunc(std::clamp(value, lowest, highest)));
}

int MetresToFeetTruncated(double metres) {
    return TruncateToInt(metres * kFeetPerMetre);
}

std::string HeightText(double metres, heightDispType unit) {
    return unit == feet ? IntText(MetresToFeetTruncated(metres)) + "ft"
                        : IntText(TruncateToInt(metres)) + "m";
}

int MetresToFeetRounded(int metres) {
    return TruncateToInt(metres * kFeetPerMetre + 0.5);
}

int FeetToMetresTruncated(int feet) {
    return TruncateToInt(feet * (1 / kFeetPerMetre));
}

int FeetToMetresRounded(int feet) {
    return TruncateToInt(feet * 0.3048 + 0.5);
}
