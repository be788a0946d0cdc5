#include "randomizer.h"

#include "geo/numbertext.h"
#include "prompts/prompts.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include <QDateTime>

namespace {

const QString kErrorCaption = QStringLiteral("Error");

struct RangeSetter {
    RangeField field;
    void (TThermal::*set)(int);
};

// The order in which the fields of one thermal are drawn (Core Bot before Core Top), split
// where the cloud flag is drawn.
constexpr std::array<RangeSetter, 5> kThermalSetters{{
    {RangeField::thermBottom, &TThermal::SetBottom},
    {RangeField::thermTop, &TThermal::SetTop},
    {RangeField::thermRadius, &TThermal::SetRadius},
    {RangeField::thermWinddir, &TThermal::SetWindDir},
    {RangeField::thermFactor, &TThermal::SetFactor},
}};
constexpr std::array<RangeSetter, 7> kCloudAndProfileSetters{{
    {RangeField::cloudBase, &TThermal::SetCloudBase},
    {RangeField::cloudRadius, &TThermal::SetCloudRadius},
    {RangeField::cloudType, &TThermal::SetCloudType},
    {RangeField::profileStrength, &TThermal::SetStrengthPercent},
    {RangeField::profileSize, &TThermal::SetCorePercent},
    {RangeField::profileBottom, &TThermal::SetCoreBasePercent},
    {RangeField::profileTop, &TThermal::SetCoreTopPercent},
}};

} // namespace

QString RangeFieldName(RangeField field) {
    static const std::array<QString, kRangeFieldCount> names{
        QStringLiteral("thermBottom"),     QStringLiteral("thermTop"),
        QStringLiteral("thermRadius"),     QStringLiteral("thermWinddir"),
        QStringLiteral("thermFactor"),     QStringLiteral("cloudBase"),
        QStringLiteral("cloudRadius"),     QStringLiteral("cloudType"),
        QStringLiteral("profileStrength"), QStringLiteral("profileSize"),
        QStringLiteral("profileTop"),      QStringLiteral("profileBottom"),
    };
    return names[static_cast<int>(field)];
}

std::optional<int> ParseWholeNumber(const QString& text) {
    const std::optional<double> value = ParseDecimal(text.toStdString());
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
    return static_cast<std::uint32_t>(QDateTime::currentSecsSinceEpoch());
}

std::optional<int> Randomizer::RandomInRange(const QString& minText, const QString& maxText,
                                             const QString& field) {
    const std::optional<int> min = ParseWholeNumber(minText);
    if (!min) {
        if (reportErrors)
            prompts().message(kErrorCaption, QStringLiteral("Error Converting ") + field +
                                                 QStringLiteral(" Min Value"));
        return std::nullopt;
    }
    const std::optional<int> max = ParseWholeNumber(maxText);
    if (!max) {
        if (reportErrors)
            prompts().message(kErrorCaption, QStringLiteral("Error Converting ") + field +
                                                 QStringLiteral(" Max Value"));
        return std::nullopt;
    }
    return ValueInRange(*min, *max, Draw());
}

std::optional<bool> Randomizer::CloudDraw(const QString& chanceText) {
    const std::optional<int> chance = ParseInteger(chanceText.toStdString());
    if (!chance) {
        if (reportErrors)
            prompts().message(kErrorCaption, QStringLiteral("Error Converting Cloud On/Off Value"));
        return std::nullopt;
    }
    return static_cast<int>(Draw() % 101) <= *chance;
}

void RandomizeThermals(const ThermalList& thermals, const RandomizeChoice& choice,
                       Randomizer& random) {
    const auto drawInto = [&](TThermal& thermal, const RangeSetter& setter) {
        const RandomizeChoice::Range& range = choice[setter.field];
        if (!range.ticked)
            return;
        if (const std::optional<int> value =
                random.RandomInRange(range.min, range.max, RangeFieldName(setter.field)))
            (thermal.*setter.set)(*value);
    };

    random.reportErrors = true;
    // By index, the size read again each time: a message box runs the event loop, and the
    // timers may add thermals meanwhile (they never remove any).
    for (std::size_t i = 0; i < thermals.size(); ++i) {
        TThermal& thermal = *thermals[i];
        if (!PassesTypeFilter(thermal.type, choice.typeTicked))
            continue;
        for (const RangeSetter& setter : kThermalSetters)
            drawInto(thermal, setter);
        if (choice.cloudOnOff) {
            if (const std::optional<bool> on = random.CloudDraw(choice.cloudChance))
                thermal.SetCloud(*on);
        }
        for (const RangeSetter& setter : kCloudAndProfileSetters)
            drawInto(thermal, setter);
        random.reportErrors = false;
    }
}
