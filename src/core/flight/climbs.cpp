#include "climbs.h"

#include "geo/offset.h"

#include <algorithm>
#include <cmath>
#include <optional>

// How the climbs are found:
// 1. The track's direction between each two valid fixes that are apart in time and at least
//    2 m/s apart in ground speed (below that, on the ground, the direction is the
//    receiver's noise), each belonging to the middle of its step.
// 2. The turn rate at each direction: the change of direction summed over 30 s around it.
//    The pilot circles where it is 5 degrees a second or more one way (a circle in 72 s
//    or less).
// 3. Circling that breaks off for 20 s or less goes on: the pilot straightening to centre.
// 4. Circling is a climb when it turns at least two full circles and gains 0.2 m/s or more
//    on average from its first fix to its last.
// 5. The circling is cut into whole circles. Over a whole circle the positions average out
//    to its centre; the line through these centres against time is the drift, and the
//    radius is the mean distance of the fixes from the drifting centre.

namespace {

constexpr double kLeastGroundSpeedMps = 2;
constexpr double kTurnWindowS = 30;
constexpr double kLeastTurnWindowS = 10; // a window with less in it says nothing
constexpr double kCirclingDegPerS = 5;
constexpr double kLongestBreakS = 20;
constexpr double kLeastTurningDeg = 720;
constexpr double kLeastClimbMps = 0.2;

struct Sample {
    double timeS;
    GeoPoint position;
    int altitudeM;
};

// The track's direction at a moment, and the turning up to it from the flight's first
// direction: signed (right positive) and counting both ways.
struct Direction {
    double timeS;
    double turnDeg;
    double turningDeg;
};

std::vector<Sample> ValidSamples(const IgcFlight& flight) {
    std::vector<Sample> samples;
    samples.reserve(flight.fixes.size());
    for (const IgcFix& fix : flight.fixes)
        if (fix.valid)
            samples.push_back({double(fix.timeS), fix.Position(), flight.AltitudeM(fix)});
    return samples;
}

std::vector<Direction> Directions(const std::vector<Sample>& samples) {
    std::vector<Direction> directions;
    double lastBearing = 0;
    for (std::size_t i = 0; i + 1 < samples.size(); ++i) {
        const Sample& from = samples[i];
        const Sample& to = samples[i + 1];
        const double stepS = to.timeS - from.timeS;
        const GeoOffset step = OffsetBetween(from.position, to.position);
        if (stepS <= 0 || std::hypot(step.eastM, step.northM) < kLeastGroundSpeedMps * stepS)
            continue;
        const double bearing = BearingDeg(step);
        const double timeS = (from.timeS + to.timeS) / 2;
        Direction direction{timeS, 0, 0};
        // After a gap the turn between the two directions is unknown: none is counted.
        if (!directions.empty() && timeS - directions.back().timeS <= kLongestBreakS) {
            const double change = std::remainder(bearing - lastBearing, 360.0);
            direction.turnDeg = directions.back().turnDeg + change;
            direction.turningDeg = directions.back().turningDeg + std::abs(change);
        } else if (!directions.empty()) {
            direction.turnDeg = directions.back().turnDeg;
            direction.turningDeg = directions.back().turningDeg;
        }
        directions.push_back(direction);
        lastBearing = bearing;
    }
    return directions;
}

// The stretches of circling as ranges of directions, first and one past the last.
std::vector<std::pair<std::size_t, std::size_t>> Circling(const std::vector<Direction>& d) {
    std::vector<std::pair<std::size_t, std::size_t>> stretches;
    std::size_t first = 0, last = 0;
    for (std::size_t i = 0; i < d.size(); ++i) {
        while (d[i].timeS - d[first].timeS > kTurnWindowS / 2)
            ++first;
        while (last + 1 < d.size() && d[last + 1].timeS - d[i].timeS <= kTurnWindowS / 2)
            ++last;
        const double spanS = d[last].timeS - d[first].timeS;
        const bool circling =
            spanS >= kLeastTurnWindowS &&
            std::abs(d[last].turnDeg - d[first].turnDeg) >= kCirclingDegPerS * spanS;
        if (!circling)
            continue;
        if (!stretches.empty() &&
            d[i].timeS - d[stretches.back().second - 1].timeS <= kLongestBreakS)
            stretches.back().second = i + 1;
        else
            stretches.emplace_back(i, i + 1);
    }
    // The window lets circling begin a little before the first turn and end a little
    // after the last: each stretch starts and ends where the track turns.
    const auto turning = [&](std::size_t i) {
        return std::abs(d[i + 1].turnDeg - d[i].turnDeg) >=
               kCirclingDegPerS * (d[i + 1].timeS - d[i].timeS);
    };
    for (auto& [begin, end] : stretches) {
        while (begin + 1 < end && !turning(begin))
            ++begin;
        while (end - 1 > begin && !turning(end - 2))
            --end;
    }
    return stretches;
}

// The value of a piecewise linear function of time at t, the function given at the times
// of `points` (ascending) by `value`.
template <typename Point, typename Value>
auto Interpolate(const std::vector<Point>& points, double t, Value value) {
    const auto after = std::upper_bound(points.begin(), points.end(), t,
                                        [](double time, const Point& p) { return time < p.timeS; });
    if (after == points.begin())
        return value(points.front());
    if (after == points.end())
        return value(points.back());
    const Point& a = *(after - 1);
    const Point& b = *after;
    const double share = b.timeS > a.timeS ? (t - a.timeS) / (b.timeS - a.timeS) : 0;
    return value(a) + (value(b) - value(a)) * share;
}

struct Vector {
    double x = 0, y = 0;
    Vector operator+(Vector o) const { return {x + o.x, y + o.y}; }
    Vector operator-(Vector o) const { return {x - o.x, y - o.y}; }
    Vector operator*(double f) const { return {x * f, y * f}; }
};

struct PlanePoint {
    double timeS;
    Vector p;
};

// The mean position over [fromS, toS] of the track through the points.
Vector AverageOver(const std::vector<PlanePoint>& track, double fromS, double toS) {
    const auto at = [&](double t) {
        return Interpolate(track, t, [](const PlanePoint& q) { return q.p; });
    };
    Vector sum;
    double lastT = fromS;
    Vector lastP = at(fromS);
    for (auto point = std::upper_bound(track.begin(), track.end(), fromS,
                                       [](double t, const PlanePoint&q) { return t < q.timeS; });
         point != track.end(); ++point) {
        const double t = std::min(point->timeS, toS);
        const Vector p = at(t);
        sum = sum + (lastP + p) * ((t - lastT) / 2);
        lastT = t;
        lastP = p;
        if (t >= toS)
            break;
    }
    return sum * (1 / (toS - fromS));
}

// The climb of the circling from direction `first` to `last` (inclusive), if it is one.
std::optional<Climb> ClimbOf(const std::vector<Sample>& samples, const std::vector<Direction>& d,
                             std::size_t first, std::size_t last) {
    const double turningDeg = d[last].turningDeg - d[first].turningDeg;
    if (turningDeg < kLeastTurningDeg)
        return std::nullopt;
    // From the fix where the first circling step starts to the one where the last ends.
    const auto byTime = [](double t, const Sample& s) {
        return t < s.timeS;
    };
    const auto entry = std::upper_bound(samples.begin(), samples.end(), d[first].timeS, byTime) - 1;
    const auto exit = std::upper_bound(samples.begin(), samples.end(), d[last].timeS, byTime);
    Climb climb;
    climb.startS = static_cast<std::int32_t>(entry->timeS);
    climb.endS = static_cast<std::int32_t>(exit->timeS);
    climb.entryAltitudeM = entry->altitudeM;
    climb.exitAltitudeM = exit->altitudeM;
    if (climb.endS <= climb.startS)
        return std::nullopt;
    climb.meanClimbMps =
        double(climb.exitAltitudeM - climb.entryAltitudeM) / (climb.endS - climb.startS);
    if (climb.meanClimbMps < kLeastClimbMps)
        return std::nullopt;

    const GeoPoint origin = entry->position;
    std::vector<PlanePoint> track;
    for (auto s = entry; s <= exit; ++s) {
        const GeoOffset offset = OffsetBetween(origin, s->position);
        track.push_back({s->timeS, {offset.eastM, offset.northM}});
    }
    // Each whole circle's centre at its middle time.
    const std::vector<Direction> circling(d.begin() + first, d.begin() + last + 1);
    const int circles = static_cast<int>(turningDeg / 360);
    std::vector<PlanePoint> centres;
    const auto timeAtTurning = [&](double turning) {
        const auto after = std::lower_bound(
            circling.begin(), circling.end(), turning,
            [](const Direction& direction, double t) { return direction.turningDeg < t; });
        // The last whole circle may end a rounding past the last direction.
        if (after == circling.end())
            return circling.back().timeS;
        if (after == circling.begin())
            return after->timeS;
        const Direction& a = *(after - 1);
        return a.timeS + (after->timeS - a.timeS) * (turning - a.turningDeg) /
                             (after->turningDeg - a.turningDeg);
    };
    double circleStartS = timeAtTurning(d[first].turningDeg);
    for (int k = 1; k <= circles; ++k) {
        const double circleEndS = timeAtTurning(d[first].turningDeg + 360.0 * k);
        centres.push_back(
            {(circleStartS + circleEndS) / 2, AverageOver(track, circleStartS, circleEndS)});
        circleStartS = circleEndS;
    }
    // The drift: the least-squares line through the centres.
    double meanTimeS = 0;
    Vector meanCentre;
    for (const PlanePoint& c : centres) {
        meanTimeS += c.timeS / circles;
        meanCentre = meanCentre + c.p * (1.0 / circles);
    }
    double spread = 0;
    Vector drift;
    for (const PlanePoint& c : centres) {
        spread += (c.timeS - meanTimeS) * (c.timeS - meanTimeS);
        drift = drift + (c.p - meanCentre) * (c.timeS - meanTimeS);
    }
    drift = drift * (spread > 0 ? 1 / spread : 0);
    const auto centreAt = [&](double t) {
        return meanCentre + drift * (t - meanTimeS);
    };

    double distanceSum = 0;
    for (const PlanePoint& point : track) {
        const Vector off = point.p - centreAt(point.timeS);
        distanceSum += std::hypot(off.x, off.y);
    }
    climb.radiusM = distanceSum / double(track.size());
    const Vector centre = centreAt((climb.startS + climb.endS) / 2.0);
    climb.centre = Moved(origin, {centre.x, centre.y});
    climb.driftSpeedMps = std::hypot(drift.x, drift.y);
    climb.driftDirectionDeg = BearingDeg({drift.x, drift.y});
    return climb;
}

} // namespace

double Climb::WindFromDeg() const {
    return std::fmod(driftDirectionDeg + 180, 360);
}

std::vector<Climb> FindClimbs(const IgcFlight& flight) {
    const std::vector<Sample> samples = ValidSamples(flight);
    const std::vector<Direction> directions = Directions(samples);
    std::vector<Climb> climbs;
    for (const auto& [first, end] : Circling(directions))
        if (const auto climb = ClimbOf(samples, directions, first, end - 1))
            climbs.push_back(*climb);
    return climbs;
}
