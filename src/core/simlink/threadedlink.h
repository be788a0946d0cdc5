#pragma once

#include "simlink/linkworker.h"
#include "simlink/simlink.h"

// The simulator link the program uses: a LinkWorker behind the SimLink interface. ReadCycle
// takes the worker's latest snapshot, which every getter then reads, so one tick sees one
// cycle's values; writes are queued. Nothing here waits on an exchange: GetHeading gives
// the heading of the last heading exchange, which RequestHeading asks for.
class ThreadedLink final : public SimLink {
public:
    // Values count as stale after three read intervals, but never before a second.
    ThreadedLink(std::unique_ptr<Transport> transport, std::chrono::milliseconds readInterval,
                 LinkTiming timing = {});

    void ReadCycle() override { snapshot_ = worker_.Snapshot(); }

    std::optional<GeoPoint> Position() const override { return snapshot_.position; }
    double GetGroundAlt() const override { return snapshot_.groundM; }
    double GetAltitude() const override { return snapshot_.altitudeM; }
    double GetHeading() override { return snapshot_.headingDeg; }
    bool ThermalBlockPresent() const override { return snapshot_.blockPresent; }
    int GetMsStrength() const override { return snapshot_.msStrength; }

    void SetMsStrength(int value) override;
    void SetLift(int strength, double verticalAirMs) override;
    void SetRollRate(double value) override;
    void MoveAircraft(GeoPoint to) override;

    // Live while the last good cycle is no older than staleAfter.
    LinkStatus Status() const override;
    bool RequestHeading() override;
    std::uint64_t HeadingsServed() const override { return snapshot_.headings; }
    // The snapshot the getters read.
    const LinkSnapshot& snapshot() const { return snapshot_; }

private:
    const std::chrono::milliseconds staleAfter_;
    LinkWorker worker_;
    LinkSnapshot snapshot_;
};
