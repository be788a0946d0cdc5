#include "model/randomize.h"

#include "geo/numbertext.h"

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

std::optional<int> Randomizer::RandomInRange(std::string_view minText, std::string_view maxText,
                                             const char* field, Messages& problems) {
    const std::optional<int> min = ParseWholeNumber(minText);
    if (!min) {
        problems.push_back(
            {kErrorCaption, std::string("Error Converting ") + field + " Min Value", 0, {}});
        return std::nullopt;
    }
    const std::optional<int> max = ParseWholeNumber(maxText);
    if (!max) {
        problems.push_back(
            {kErrorCaption, std::string("Error Converting ") + field + " Max Value", 0, {}});
        return std::nullopt;
    }
    return ValueInRange(*min, *max, Draw());
}

std::optional<bool> Randomizer::CloudDraw(std::string_view chanceText, Messages& problems) {
    const std::optional<int> chance = ParseInteger(chanceText);
    if (!chance) {
        problems.push_back({kErrorCaption, "Error Converting Cloud On/Off Value", 0, {}});
        return std::nullopt;
    }
    return static_cast<int>(Draw() % 101) <= *chance;
}

Messages RandomizeThermals(const ThermalList& thermals, const RandomizeChoice& choice,
                           Randomizer& random) {
    Messages problems;
    for (const auto& owned : thermals) {
        Thermal& thermal = *owned;
        if (!PassesTypeFilter(thermal.type, choice.typeTicked))
            continue;
        // Every thermal meets the same texts and so the same problems: they are told once.
        problems.clear();
        const auto drawInto = [&](const RangeSetter& setter) {
            const RandomizeChoice::Range& range = choice[setter.field];
            if (!range.ticked)
                return;
            if (const std::optional<int> value = random.RandomInRange(
                    range.min, range.max, RangeFieldName(setter.field), problems))
                (thermal.*setter.set)(*value);
        };
        for (const RangeSetter& setter : kThermalSetters)
            drawInto(setter);
        if (choice.cloudOnOff) {
            if (const std::optional<bool> on = random.CloudDraw(choice.cloudChance, problems))
                thermal.SetCloud(*on);
        }
        for (const RangeSetter& setter : kCloudAndProfileSetters)
            drawInto(setter);
    }
    return problems;
}
