#include "model/randomize.h"

#include "geo/numbertext.h"
#include "model/valueranges.h"

#include <algorithm>
#include <cmath>
#include <ctime>
#include <limits>

namespace {

constexpr const char* kErrorCaption = "Error";

struct RangeSetter {
    RangeField field;
    void (Thermal::*set)(int);
};

// The order in which the fields of one thermal are drawn (Core Bot before Core Top), split
// where the cloud flag is drawn.
constexpr std::array<RangeSetter, 5> kThermalSetters{{
    {RangeField::thermBottom, &Thermal::SetBottom},
    {RangeField::thermTop, &Thermal::SetTop},
    {RangeField::thermRadius, &Thermal::SetRadius},
    {RangeField::thermWinddir, &Thermal::SetWindDir},
    {RangeField::thermFactor, &Thermal::SetFactor},
}};
constexpr std::array<RangeSetter, 7> kCloudAndProfileSetters{{
    {RangeField::cloudBase, &Thermal::SetCloudBase},
    {RangeField::cloudRadius, &Thermal::SetCloudRadius},
    {RangeField::cloudType, &Thermal::SetCloudType},
    {RangeField::profileStrength, &Thermal::SetStrengthPercent},
    {RangeField::profileSize, &Thermal::SetCorePercent},
    {RangeField::profileBottom, &Thermal::SetCoreBasePercent},
    {RangeField::profileTop, &Thermal::SetCoreTopPercent},
}};

} // namespace

const char* RangeFieldName(RangeField field) {
    static constexpr std::array<const char*, kRangeFieldCount> names{
        "thermBottom",     "thermTop",    "thermRadius", "thermWinddir",
        "thermFactor",     "cloudBase",   "cloudRadius", "cloudType",
        "profileStrength", "profileSize", "profileTop",  "profileBottom",
    };
    return names[static_cast<int>(field)];
}

std::optional<int> ParseWholeNumber(std::string_view text) {
    const std::optional<double> value = ParseDecimal(text);
    if (!value)
        return std::nullopt;
    const double whole = std::trunc(*value);
    if (!(whole >= std::numeric_limits<int>::min() && whole <= std::numeric_limits<int>::max()))
        return std::nullopt;
    return static_cast<int>(whole);
}

int ValueInRange(int min, int max, std::uint32_t r) {
    const long long low = std::min(min, max);
    const long long high = std::max(min, max);
    return static_cast<int>(low + static_cast<long long>(r) % (high - low + 1));
}

bool PassesTypeFilter(int type, const std::array<bool, 4>& typeTicked) {
    if (type < 1 || type > 4)
        return true;
    return typeTicked[static_cast<std::size_t>(type - 1)];
}

Randomizer::Randomizer(std::uint32_t seed)
    : generator_(seed) {}

std::uint32_t Randomizer::TimeSeed() {
    return static_cast<std::uint32_t>(std::time(nullptr));
}

namespace {

// The field of the Thermal Data window whose range a row's values must keep.
ValueField RangeFieldValue(RangeField field) {
    static constexpr std::array<ValueField, kRangeFieldCount> fields{
        ValueField::bottom,      ValueField::top,       ValueField::radius,
        ValueField::windDir,     ValueField::factor,    ValueField::cloudBase,
        ValueField::cloudRadius, ValueField::cloudType, ValueField::strength,
        ValueField::coreSize,    ValueField::coreTop,   ValueField::coreBottom,
    };
    return fields[static_cast<std::size_t>(field)];
}

std::string Quoted(std::string_view text) {
    return '"' + std::string(text) + '"';
}

} // namespace

std::variant<RandomizePlan, Message> PlanRandomize(const RandomizeChoice& choice) {
    RandomizePlan plan;
    plan.typeTicked = choice.typeTicked;
    std::string bad;
    for (int i = 0; i < kRangeFieldCount; ++i) {
        const RandomizeChoice::Range& row = choice.ranges[static_cast<std::size_t>(i)];
        if (!row.ticked)
            continue;
        const ValueField field = RangeFieldValue(static_cast<RangeField>(i));
        const ValueRange& range = RangeOf(field);
        const auto checked = [&](const char* which, const std::string& text) {
            const std::optional<int> value = ParseWholeNumber(text);
            if (value && *value >= range.min && *value <= range.max)
                return value;
            bad += std::string("\n") + range.label + ": " + which + ' ' + Quoted(text) +
                   " is not a number from " + RangeText(field, meters);
            return std::optional<int>();
        };
        const std::optional<int> min = checked("Min", row.min);
        const std::optional<int> max = checked("Max", row.max);
        if (min && max && *max < *min)
            bad += std::string("\n") + range.label + ": Max " + IntText(*max) + " is below Min " +
                   IntText(*min);
        plan.ranges[static_cast<std::size_t>(i)] = std::pair(min.value_or(0), max.value_or(0));
    }
    if (choice.cloudOnOff) {
        plan.cloudChance = ParseInteger(choice.cloudChance);
        if (!plan.cloudChance || *plan.cloudChance < 0 || *plan.cloudChance > 100)
            bad += "\nCloud On/Off: the chance " + Quoted(choice.cloudChance) +
                   " is not a whole number from 0 to 100 %";
    }
    if (!bad.empty())
        return Message{
            kErrorCaption, "Nothing was randomized; these rows need other values:" + bad, 0, {}};
    return plan;
}

ThermalValues RandomizedThermals(const ThermalList& thermals, const RandomizePlan& plan,
                                 Randomizer& random) {
    ThermalValues changed;
    for (std::size_t i = 0; i < thermals.size(); ++i) {
        if (!PassesTypeFilter(thermals[i]->type, plan.typeTicked))
            continue;
        Thermal thermal = *thermals[i];
        const auto drawInto = [&](const RangeSetter& setter) {
            if (const auto& range = plan.ranges[static_cast<std::size_t>(setter.field)])
                (thermal.*setter.set)(random.InRange(range->first, range->second));
        };
        for (const RangeSetter& setter : kThermalSetters)
            drawInto(setter);
        if (plan.cloudChance)
            thermal.SetCloud(random.CloudOn(*plan.cloudChance));
        for (const RangeSetter& setter : kCloudAndProfileSetters)
            drawInto(setter);
        changed.emplace_back(i, std::move(thermal));
    }
    return changed;
}
