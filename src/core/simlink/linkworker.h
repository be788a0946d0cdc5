#pragma once

#include "geo/geopoint.h"
#include "simlink/fsuipclink.h"
#include "simlink/transport.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

// The simulator's values as the link last read them, and how the link stands.
struct LinkSnapshot {
    using Clock = std::chrono::steady_clock;

    std::optional<GeoPoint> position{}; // none before the first read or move
    double groundM = 0;
    double altitudeM = 0;
    double headingDeg = 0; // -180 to 180, from the last heading exchange
    bool blockPresent = false;
    int msStrength = 0; // the thermal block's strength byte

    bool linked = false;                      // the last exchange succeeded
    LinkResult linkResult = LinkResult::okay; // why the last exchange failed, when it did
    bool positionRead = false;                // a read cycle has succeeded since the start
    std::uint64_t cycles = 0;                 // good read cycles so far
    std::uint64_t headings = 0;               // heading requests served so far
    std::uint64_t connection = 0; // counts the links made: each new one may be another simulator
    Clock::time_point lastGoodCycle{};
};

// How the link stands for the pilot: "No simulator", "Linked", or "Not answering".
enum class LinkState { noSimulator, linked, notAnswering };
// Linked only while the last good cycle is recent (staleAfter); a link that has never
// found a server, or whose server is gone, has no simulator.
LinkState StateOf(const LinkSnapshot& snapshot, LinkSnapshot::Clock::time_point now,
                  std::chrono::milliseconds staleAfter);
// The state's text, with the seconds since the last good cycle where it is not live:
// "Linked", "Not answering 12 s", "No simulator", "No simulator 3 s".
std::string LinkStateText(const LinkSnapshot& snapshot, LinkSnapshot::Clock::time_point now,
                          std::chrono::milliseconds staleAfter);

// The simulator link on a thread of its own. It owns the transport and makes every
// exchange: the handshake and the reconnection, the read cycle at the read interval, the
// heading, and the writes. Callers on any thread read a snapshot and queue writes; nothing
// here waits on them, and they never wait on an exchange. Writes go out in the order they
// were queued; a write of the same kind still waiting is replaced by the newer value, so
// when writes back up only the latest strength, roll and position are sent. While the link
// is down, writes are dropped, also those still waiting when it went down.
class LinkWorker {
public:
    // A read interval of 0 reads nothing; the link still links and writes.
    LinkWorker(std::unique_ptr<Transport> transport, std::chrono::milliseconds readInterval,
               LinkTiming timing = {});
    // Stops: within about 100 ms on POSIX even in the middle of a stalled exchange, and
    // the request area is released.
    ~LinkWorker();
    LinkWorker(const LinkWorker&) = delete;
    LinkWorker& operator=(const LinkWorker&) = delete;

    LinkSnapshot Snapshot() const;

    // Each write may name the connection of the snapshot it was made from: it is dropped
    // when the link has been made anew since, as the values it came from were another
    // simulator's. 0 goes to whatever link there is.
    // 0-255; with the vertical air (m/s) where the link carries it.
    void WriteStrength(int value, std::uint64_t connection = 0,
                       std::optional<double> verticalAirMs = std::nullopt);
    void WriteRoll(double value, std::uint64_t connection = 0);
    // The snapshot's position changes at once; the simulator hears of it next.
    void MoveAircraft(GeoPoint to, std::uint64_t connection = 0);
    // One heading exchange, as soon as the writes queued before it have gone; the snapshot's
    // headings count goes up when it is served (with the last heading when it fails).
    void RequestHeading();

private:
    enum class Kind { strength, roll, move };
    struct Write {
        Kind kind;
        std::uint64_t connection = 0;
        int strength = 0;
        std::optional<double> verticalAirMs{};
        double roll = 0;
        GeoPoint to{};
    };

    void Run(std::unique_ptr<Transport> transport, LinkTiming timing);
    void Queue(const Write& write);

    const std::chrono::milliseconds readInterval_;
    Transport* transport_; // owned by the worker's link; only Interrupt is called from outside

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    LinkSnapshot snapshot_;
    std::optional<Write> pending_[3]; // one slot per kind
    Kind order_[3] = {};              // the kinds waiting, oldest first
    int waiting_ = 0;
    int headingRequests_ = 0;
    std::uint64_t moves_ = 0; // moves queued so far: a cycle begun before one keeps it
    bool stopping_ = false;

    std::thread thread_;
};
