#pragma once

#include "geo/geopoint.h"
#include "model/thermalglyph.h"

#include <chrono>
#include <cstddef>
#include <deque>

// Where the aircraft has been: its positions with their time and altitude, the last 30
// minutes of them, and the climb rate from the altitude over the last seconds. The trail
// falls into pieces where the aircraft did not fly from one point to the next: a move, a
// reconnection, or a step faster than any glider flies.
class Trail {
public:
    using Clock = std::chrono::steady_clock;

    struct Point {
        Clock::time_point time;
        GeoPoint position;
        double altitudeM = 0;
        double climbMps = 0;      // the climb rate when the point was taken
        bool startsPiece = false; // nothing joins it to the point before
    };

    // Faster than any glider flies: a step at this speed or more is a jump.
    static constexpr double kFastestMps = 150;

    explicit Trail(std::chrono::seconds length = std::chrono::minutes(30),
                   std::chrono::seconds varioWindow = std::chrono::seconds(3));

    // A new position; points older than the trail's length drop off its far end. A point
    // earlier than the last one (a clock that went back) starts the trail anew.
    void Add(Clock::time_point time, GeoPoint position, double altitudeM);
    // The next point starts a new piece, and the climb rate starts afresh with it.
    void Break();
    void Clear();

    const std::deque<Point>& points() const { return points_; }
    // Points dropped off the far end so far: an index into points() plus this is stable.
    std::size_t dropped() const { return dropped_; }
    // Metres per second over the vario's window (the altitude's change from the first
    // point within it and its piece to the last); 0 with fewer than two such points.
    double ClimbMps() const { return climbMps_; }

private:
    double ClimbOverWindow() const;

    std::chrono::seconds length_;
    std::chrono::seconds varioWindow_;
    std::deque<Point> points_;
    std::size_t dropped_ = 0;
    double climbMps_ = 0;
    bool breakNext_ = false;
};

// The colour a climb rate draws the trail in: blue for 3 m/s of sink or more, through grey
// at 0, to red for 3 m/s of lift or more.
Rgb ClimbColour(double climbMps);
// The same scale in steps: 0 (strongest sink) to kClimbSteps - 1 (strongest lift); the
// trail is drawn one step at a time.
inline constexpr int kClimbSteps = 13;
int ClimbStep(double climbMps);
Rgb ClimbStepColour(int step);
