#include "model/valueranges.h"

#include "geo/edittext.h"
#include "geo/numbertext.h"

#include <array>

namespace {

using F = ValueField;

// Heights: metres above the ground (a top typed above sea level too); 20 km lies above the
// highest thunderstorm top. Radii: a radius of 0 gives no lift and no cloud anywhere; 50 km
// is wider than any ridge's lift area or storm's anvil. Angles are compass degrees, 360
// being north as pilots say it. The cumulus tool takes -1 for "random" where its hints say
// so; its scales run 1 to 3 (horizontal) and 0.5 to 1.5 (vertical), up to 10 leaves room;
// its cloud visibility runs from -1 (a probability) to 1; its start and end are minutes of
// the day. The factor is a whole number in the lift macro, kept to a signed 16-bit word (the
// default 30000 lies near its top); the cloud type names the bitmap cldN.bmp, a DOS 8.3 name
// up to five digits. Percentages run 0 to 100. A thermal every 100 m of flight is closer
// than thermals ever stand, one every 100 km farther than a glide between them; a sample of
// 100,000 looks at every thermal of the largest projects on each tick. No glider flies in a
// wind of 50 m/s (a hurricane's).
constexpr std::array<ValueRange, kValueFieldCount> kRanges{{
    {F::bottom, "Bottom", 0, 20000, "m", true, false},
    {F::top, "Top", 0, 20000, "m", true, false},
    {F::radius, "Radius", 1, 50000, "m", false, false},
    {F::windDir, "Wind Dir", 0, 360, "deg", false, false},
    {F::factor, "Factor", 0, 32767, "", false, false},
    {F::cloudBase, "Cloud Base", 0, 20000, "m", true, false},
    {F::cloudRadius, "Cloud Radius", 1, 50000, "m", false, false},
    {F::cloudType, "Cloud Type", 0, 99999, "", false, false},
    {F::cuHS, "Horizontal Scale", -1, 10, "", false, true},
    {F::cuVS, "Vertical Scale", -1, 10, "", false, true},
    {F::cuRotation, "Rotation", 0, 360, "deg", false, false},
    {F::cuCloud, "Cloud Visibility", -1, 1, "", false, true},
    {F::cuStart, "Minute of Start", -1, 1440, "min", false, false},
    {F::cuEnd, "Minute of End", -1, 1440, "min", false, false},
    {F::strength, "Strength", 0, 100, "%", false, false},
    {F::coreSize, "Core Size", 0, 100, "%", false, false},
    {F::coreTop, "Core Top", 0, 100, "%", false, false},
    {F::coreBottom, "Core Bottom", 0, 100, "%", false, false},
    {F::rollRate, "Roll Rate", 0, 100, "%", false, false},
    {F::sampleSize, "Sample Size", 0, 100000, "", false, false},
    {F::autoThermalDist, "Automatic Thermals every", 100, 100000, "m", false, false},
    {F::windSpeed, "Wind", 0, 50, "m/s", false, true},
}};

} // namespace

const ValueRange& RangeOf(ValueField field) {
    return kRanges[static_cast<std::size_t>(field)];
}

std::optional<double> ParseFieldText(ValueField field, std::string_view text, heightDispType unit) {
    const ValueRange& range = RangeOf(field);
    std::optional<double> value;
    if (range.decimal) {
        if (const std::optional<float> v = ParseFloatEdit(text))
            value = *v;
    } else if (const std::optional<int> v =
                   range.height ? ParseHeightEdit(text, unit) : ParseIntEdit(text)) {
        value = *v;
    }
    if (!value || *value < range.min || *value > range.max)
        return std::nullopt;
    return value;
}

std::string RangeText(ValueField field, heightDispType unit) {
    const ValueRange& range = RangeOf(field);
    if (range.height && unit == feet)
        return IntText(MetresToFeetRounded(static_cast<int>(range.min))) + " to " +
               IntText(MetresToFeetRounded(static_cast<int>(range.max))) + " ft";
    std::string text = NumberText(range.min) + " to " + NumberText(range.max);
    if (*range.unit)
        (text += ' ') += range.unit;
    return text;
}

bool Reads(ValueUse use, ValueField field) {
    switch (use) {
    case ValueUse::thermal:
        return field <= F::coreBottom;
    case ValueUse::cumulus:
        return field >= F::cuHS && field <= F::cuEnd;
    case ValueUse::profile:
        return field >= F::strength && field <= F::coreBottom;
    }
    return false;
}

std::string BadValuesText(const std::vector<ValueField>& bad, heightDispType unit) {
    std::string text = "These Thermal Data values do not convert or lie outside their range, so "
                       "nothing was changed:";
    for (const ValueField field : bad)
        (((text += '\n') += RangeOf(field).label) += ": ") += RangeText(field, unit);
    return text;
}
