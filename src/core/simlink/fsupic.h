#pragma once

#include "simlink/fsuipclink.h"
#include "simlink/simlink.h"
#include "simlink/transport.h"

#include <array>
#include <cstdint>
#include <initializer_list>
#include <memory>

// The simulator link the program uses: one link to the simulator, a cache of the variables
// the program needs, refreshed by ReadCycle, and the few writes. A link that is down is
// reconnected by the next ReadCycle; nothing about it is ever shown.
class FSUPIC : public SimLink {
public:
    // Tries to link at once; a failure only leaves the link down.
    explicit FSUPIC(std::unique_ptr<Transport> transport, LinkTiming timing = {});

    void Connect();
    void ReadCycle() override;

    std::optional<GeoPoint> Position() const override;
    double GetGroundAlt() const override;
    double GetAltitude() const override;
    double GetHeading() override;
    bool ThermalBlockPresent() const override;
    int GetMsStrength() const override;

    void SetMsStrength(int value) override;
    void SetLift(int strength, double verticalAirMs) override;
    void SetRollRate(double value) override;
    void MoveAircraft(GeoPoint to) override;
    LinkStatus Status() const override;

    // The link result: okay while linked; else why the link is down, the result of the
    // failed Open or of the failed exchange.
    LinkResult Result() const { return linkResult_; }
    const FsuipcLink& Link() const { return link_; }

private:
    void GoDown(LinkResult why);
    // Queues the reads and sends them: the first result that is not okay, or okay.
    struct Request {
        std::uint32_t offset;
        std::uint32_t size;
        void* destination;
    };
    LinkResult Exchange(std::initializer_list<Request> reads);
    // Queues the writes and sends them as one exchange while linked; a failure is ignored.
    struct Written {
        std::uint32_t offset;
        std::uint32_t size;
        const void* source;
    };
    void WriteIfLinked(std::initializer_list<Written> writes);

    FsuipcLink link_;
    LinkResult linkResult_ = LinkResult::okay;
    bool positionRead_ = false;  // a read cycle has succeeded since the link last went down
    bool positionKnown_ = false; // a position has been read or moved to

    // Raw values as the simulator holds them; latitude then longitude, read as one block.
    std::array<std::int64_t, 2> position_{};
    std::int32_t groundElevation_ = 0;
    std::int32_t altitude_ = 0;
    std::int32_t heading_ = 0;
    std::array<std::uint8_t, 8> thermalBlock_{};
};
