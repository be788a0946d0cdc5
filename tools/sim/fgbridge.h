#pragma once

#include "fgprotocol.h"
#include "simstate.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>

// How the bridge meets FlightGear: where the lines go and how the program's values turn into
// FlightGear's.
struct FgSettings {
    int outPort = 5510;  // FlightGear's brevan_out lines arrive here (0: any free port)
    int inPort = 5511;   // brevan_in lines go here
    int movePort = 5512; // brevan_move lines go here
    // m/s of lift for one unit of the strength byte, as in the stand-in: 255 is 5.1 m/s. The
    // vertical air the program sends with it is in m/s already.
    double liftPerUnit = 0.02;
    // The roll rate that gives full aileron trim; smaller and larger ones are in proportion,
    // held within -1 to 1.
    double rollScale = 10;
    double fgTimeout = 3;    // seconds without a line before FlightGear counts as gone
    double writeTimeout = 2; // seconds without a strength write before the lift goes to 0
};

// Where FlightGear stands for the program.
enum class FgPhase { waiting, loading, flying, paused, gone };
const char* FgPhaseName(FgPhase phase);

// Serves FlightGear's aircraft through the stand-in's state: every valid brevan_out line sets
// the position, altitude, ground and heading the program reads; the thermal block is there
// only while FlightGear sends lines, has loaded its scenery and is not paused. The program's
// strength writes go to FlightGear as lift (its vertical air, sink included, where it sends it
// with the strength), its roll rate as aileron trim and its position writes as a move. While there
// is no thermal block, or the program has not written the strength for writeTimeout, the lift is 0
// and the strength byte reads as the strength the bridge started with (the value the program's
// profiler starts from).
class FgBridge {
public:
    using Clock = std::chrono::steady_clock;

    // The state's strength at this point is the starting strength.
    FgBridge(SimState& state, const FgSettings& settings);
    ~FgBridge();
    FgBridge(const FgBridge&) = delete;
    FgBridge& operator=(const FgBridge&) = delete;

    // Binds the UDP port for FlightGear's lines on 127.0.0.1.
    bool Open(std::string& error);
    int OutPort() const { return outPort_; }
    int Socket() const { return socket_; }

    // Reads what FlightGear sent, applies the program's writes since the last step and sends
    // FlightGear what has changed (and one line for every line it sent).
    void Step(Clock::time_point now);

    // Every event as one line "SECONDS EVENT VALUES...": frame (lat lon altitude-m ground-m
    // heading climb-fps air-fps lift-set-fps paused), strength N, lift FPS TRIM, move LAT LON,
    // phase NAME, bad LENGTH.
    void Record(std::ostream* out) { record_ = out; }

    FgPhase Phase() const { return phase_; }
    double LiftFps() const { return liftFps_; }
    double Trim() const { return trim_; }
    std::uint64_t Frames() const { return frames_; }
    std::uint64_t BadLines() const { return badLines_; }
    const std::optional<FgFrame>& LastFrame() const { return last_; }

    // Moves the aircraft as a position written by the program does.
    void Move(double lat, double lon);

private:
    void Receive(Clock::time_point now);
    void Take(const FgFrame& frame, Clock::time_point now);
    void Send(int port, const std::string& line);
    std::ostream* Log(Clock::time_point now, const char* event);

    SimState& state_;
    const FgSettings settings_;
    const int startStrength_;
    int socket_ = -1;
    int outPort_ = 0;
    std::ostream* record_ = nullptr;
    Clock::time_point start_;

    FgPhase phase_ = FgPhase::waiting;
    std::optional<FgFrame> last_;
    std::optional<Clock::time_point> lastLine_;
    std::optional<Clock::time_point> lastWrite_;
    std::uint64_t seenWrites_;
    std::uint64_t seenMoves_;
    int recordedStrength_ = -1;
    // After a move, FlightGear's next lines may still carry the old place: the moved-to place
    // is served until FlightGear reports it, or for a second at most.
    std::optional<Clock::time_point> moveUntil_;
    double moveLat_ = 0;
    double moveLon_ = 0;
    bool frameCame_ = false;
    double liftFps_ = 0;
    double trim_ = 0;
    std::uint64_t frames_ = 0;
    std::uint64_t badLines_ = 0;
};
