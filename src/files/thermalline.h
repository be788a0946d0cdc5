#pragma once

#include <optional>
#include <string>
#include <string_view>

// One thermal line of a project file: 13 basic values and two optional tagged sections.

// The cumulus section (tag 1): values the cumulus tool takes from each thermal.
struct CumulusSection {
    float hs = -1.0f;
    float vs = -1.0f;
    int rotation = 0;
    float cloud = -0.5f;
    int start = -1;
    int end = -1;
    int groundHeight = 0;
};

// The profile section (tag 2): the strength profile of the in-flight lift.
struct ProfileSection {
    int strengthPercent = 0;
    int corePercent = 0;
    int coreBasePercent = 0;
    int coreTopPercent = 0;
};

struct ThermalLine {
    double lat = 0;
    double lon = 0;
    int type = 0;
    int bottom = 0;
    int top = 0;
    int radius = 0;
    int windDir = 0;
    int factor = 0;
    bool cloud = false;
    int groundHeight = 0;
    int cloudBase = 0;
    int cloudRadius = 0;
    int cloudType = 0;
    std::optional<CumulusSection> cumulus;
    std::optional<ProfileSection> profile;
};

// Lines shorter than this end the thermal list of a project file.
inline constexpr std::size_t kShortestThermalLine = 25;

// Nothing when a value is no number, is empty, is not an integer where one is needed,
// or is missing (the line ends before the 13 basic values or inside a section that its
// tag and count announce).
std::optional<ThermalLine> ParseThermalLine(std::string_view line);

// Appends the line with its CR LF; the sections only when saveAll is set.
void AppendThermalLine(std::string& out, const ThermalLine& thermal, bool saveAll);
