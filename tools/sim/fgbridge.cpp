#include "fgbridge.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// A flood of datagrams must not hold up the program's exchanges.
constexpr int maxDatagramsPerStep = 256;
// Within this of the moved-to place (about 10 m), FlightGear has taken the move.
constexpr double moveTaken = 1e-4;
// JSBSim cannot fly over a pole.
constexpr double maxMoveLat = 89.9;

sockaddr_in Loopback(int port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

} // namespace

const char* FgPhaseName(FgPhase phase) {
    switch (phase) {
    case FgPhase::waiting:
        return "waiting";
    case FgPhase::loading:
        return "loading";
    case FgPhase::flying:
        return "flying";
    case FgPhase::paused:
        return "paused";
    case FgPhase::gone:
        return "gone";
    }
    return "?";
}

FgBridge::FgBridge(SimState& state, const FgSettings& settings)
    : state_(state)
    , settings_(settings)
    , startStrength_(state.strength)
    , start_(Clock::now())
    , seenWrites_(state.strengthWrites)
    , seenMoves_(state.moves) {
    state_.blockPresent = false;
    if (!state_.flatGround)
        state_.flatGround = 0;
}

FgBridge::~FgBridge() {
    if (socket_ < 0)
        return;
    // A FlightGear that flies on without us must not keep the last lift.
    Send(settings_.inPort, LiftLine(0, 0));
    ::close(socket_);
}

bool FgBridge::Open(std::string& error) {
    socket_ = ::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    const sockaddr_in address = Loopback(settings_.outPort);
    sockaddr_in bound{};
    socklen_t size = sizeof bound;
    if (socket_ < 0 ||
        ::bind(socket_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::getsockname(socket_, reinterpret_cast<sockaddr*>(&bound), &size) != 0) {
        error = "cannot listen for FlightGear on udp port " + std::to_string(settings_.outPort) +
                ": " + std::strerror(errno);
        return false;
    }
    outPort_ = ntohs(bound.sin_port);
    return true;
}

std::ostream* FgBridge::Log(Clock::time_point now, const char* event) {
    if (!record_)
        return nullptr;
    char head[64];
    std::snprintf(head, sizeof head, "%.3f %s", std::chrono::duration<double>(now - start_).count(),
                  event);
    *record_ << head;
    return record_;
}

void FgBridge::Send(int port, const std::string& line) {
    const sockaddr_in address = Loopback(port);
    // Nobody listening is no fault: FlightGear may not be there yet.
    ::sendto(socket_, line.data(), line.size(), MSG_DONTWAIT,
             reinterpret_cast<const sockaddr*>(&address), sizeof address);
}

void FgBridge::Receive(Clock::time_point now) {
    char buffer[2048];
    for (int i = 0; i < maxDatagramsPerStep; ++i) {
        const ssize_t got = ::recv(socket_, buffer, sizeof buffer, 0);
        if (got <= 0)
            return;
        std::string_view rest(buffer, static_cast<std::size_t>(got));
        while (!rest.empty()) {
            const std::size_t end = std::min(rest.find('\n'), rest.size());
            const std::string_view line = rest.substr(0, end);
            rest.remove_prefix(std::min(end + 1, rest.size()));
            if (line.empty() || line == "\r")
                continue;
            if (const std::optional<FgFrame> frame = ParseFgLine(line)) {
                Take(*frame, now);
                continue;
            }
            if (badLines_++ == 0)
                std::fprintf(stderr,
                             "brevan-fg: ignoring lines that are not brevan_out's, "
                             "such as \"%.60s\"\n",
                             std::string(line).c_str());
            if (std::ostream* out = Log(now, "bad"))
                *out << ' ' << line.size() << "\n";
        }
    }
}

void FgBridge::Take(const FgFrame& frame, Clock::time_point now) {
    ++frames_;
    frameCame_ = true;
    lastLine_ = now;
    last_ = frame;
    if (moveUntil_ && (now > *moveUntil_ || (std::abs(frame.lat - moveLat_) < moveTaken &&
                                             std::abs(frame.lon - moveLon_) < moveTaken)))
        moveUntil_.reset();
    if (!moveUntil_) {
        state_.lat = frame.lat;
        state_.lon = frame.lon;
    }
    state_.altitude = frame.altitudeFt * metresPerFoot;
    state_.flatGround = frame.groundM;
    state_.heading = frame.heading;
    if (std::ostream* out = Log(now, "frame")) {
        char values[160];
        std::snprintf(values, sizeof values, " %.7f %.7f %.1f %.1f %.1f %.2f %.2f %.2f %d\n",
                      frame.lat, frame.lon, frame.altitudeFt * metresPerFoot, frame.groundM,
                      frame.heading, frame.climbFps, frame.airFps, frame.liftSetFps,
                      frame.paused ? 1 : 0);
        *out << values;
    }
}

void FgBridge::Move(double lat, double lon) {
    state_.lat = std::clamp(lat, -90.0, 90.0);
    state_.lon = std::remainder(lon, 360.0);
    ++state_.moves;
}

void FgBridge::Step(Clock::time_point now) {
    frameCame_ = false;
    // The program's writes first: a line read before would overwrite a position written.
    if (state_.strengthWrites != seenWrites_) {
        seenWrites_ = state_.strengthWrites;
        lastWrite_ = now;
    }
    if (state_.moves != seenMoves_) {
        seenMoves_ = state_.moves;
        moveLat_ = std::clamp(state_.lat, -maxMoveLat, maxMoveLat);
        moveLon_ = state_.lon;
        state_.lat = moveLat_;
        moveUntil_ = now + std::chrono::seconds(1);
        Send(settings_.movePort, MoveLine(moveLat_, moveLon_));
        if (std::ostream* out = Log(now, "move")) {
            char values[64];
            std::snprintf(values, sizeof values, " %.7f %.7f\n", moveLat_, moveLon_);
            *out << values;
        }
    }

    Receive(now);

    const std::chrono::duration<double> timeout(settings_.fgTimeout);
    const FgPhase phase = !lastLine_                   ? FgPhase::waiting
                          : now - *lastLine_ > timeout ? FgPhase::gone
                          : !last_->loaded             ? FgPhase::loading
                          : last_->paused              ? FgPhase::paused
                                                       : FgPhase::flying;
    if (phase != phase_) {
        phase_ = phase;
        if (std::ostream* out = Log(now, "phase"))
            *out << ' ' << FgPhaseName(phase) << "\n";
    }
    const bool live = phase == FgPhase::flying;
    state_.blockPresent = live;
    const std::chrono::duration<double> writeTimeout(settings_.writeTimeout);
    if (lastWrite_ && (!live || now - *lastWrite_ > writeTimeout))
        lastWrite_.reset();
    if (!lastWrite_) {
        state_.strength = startStrength_;
        state_.verticalAirMs.reset();
        state_.rollRate = 0;
    }
    if (state_.strength != recordedStrength_) {
        recordedStrength_ = state_.strength;
        if (std::ostream* out = Log(now, "strength"))
            *out << ' ' << recordedStrength_ << "\n";
    }

    const double lift = lastWrite_ ? LiftMs(state_, settings_.liftPerUnit) / metresPerFoot : 0;
    const double trim =
        lastWrite_ ? std::clamp(state_.rollRate / settings_.rollScale, -1.0, 1.0) : 0;
    const bool changed = lift != liftFps_ || trim != trim_;
    liftFps_ = lift;
    trim_ = trim;
    // One line for every frame, so that a FlightGear that comes back learns the lift at
    // once, and one at every change, so that the lift does not wait for the next frame.
    if (frameCame_ || changed)
        Send(settings_.inPort, LiftLine(lift, trim));
    if (changed) {
        if (std::ostream* out = Log(now, "lift")) {
            char values[64];
            std::snprintf(values, sizeof values, " %.3f %.4f\n", lift, trim);
            *out << values;
        }
    }
}
