#include "simlink/linkworker.h"

#include "simlink/fsupic.h"

#include <algorithm>

namespace {

using Clock = LinkSnapshot::Clock;

} // namespace

LinkState StateOf(const LinkSnapshot& snapshot, Clock::time_point now,
                  std::chrono::milliseconds staleAfter) {
    if (snapshot.linked)
        return now - snapshot.lastGoodCycle <= staleAfter ? LinkState::linked
                                                          : LinkState::notAnswering;
    return snapshot.linkResult == LinkResult::noServer ? LinkState::noSimulator
                                                       : LinkState::notAnswering;
}

std::string LinkStateText(const LinkSnapshot& snapshot, Clock::time_point now,
                          std::chrono::milliseconds staleAfter) {
    const LinkState state = StateOf(snapshot, now, staleAfter);
    if (state == LinkState::linked)
        return "Linked";
    std::string text = state == LinkState::noSimulator ? "No simulator" : "Not answering";
    if (snapshot.positionRead) {
        const auto seconds =
            std::chrono::duration_cast<std::chrono::seconds>(now - snapshot.lastGoodCycle);
        text += ' ' + std::to_string(std::max<long long>(seconds.count(), 0)) + " s";
    }
    return text;
}

LinkWorker::LinkWorker(std::unique_ptr<Transport> transport, std::chrono::milliseconds readInterval,
                       LinkTiming timing)
    : readInterval_(readInterval)
    , transport_(transport.get()) {
    snapshot_.linkResult = LinkResult::noServer;
    thread_ = std::thread(&LinkWorker::Run, this, std::move(transport), timing);
}

LinkWorker::~LinkWorker() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    // Cuts a stalled exchange short; the link then closes and releases its area.
    transport_->Interrupt();
    wake_.notify_all();
    thread_.join();
}

LinkSnapshot LinkWorker::Snapshot() const {
    const std::lock_guard lock(mutex_);
    return snapshot_;
}

void LinkWorker::Queue(const Write& write) {
    {
        const std::lock_guard lock(mutex_);
        std::optional<Write>& slot = pending_[static_cast<int>(write.kind)];
        if (!slot)
            order_[waiting_++] = write.kind;
        slot = write;
        if (write.kind == Kind::move) {
            ++moves_;
            snapshot_.position = write.to;
        }
    }
    wake_.notify_one();
}

void LinkWorker::WriteStrength(int value, std::uint64_t connection,
                               std::optional<double> verticalAirMs) {
    Queue({Kind::strength, connection, value, verticalAirMs});
}

void LinkWorker::WriteRoll(double value, std::uint64_t connection) {
    Queue({Kind::roll, connection, 0, std::nullopt, value});
}

void LinkWorker::MoveAircraft(GeoPoint to, std::uint64_t connection) {
    Queue({Kind::move, connection, 0, std::nullopt, 0, to});
}

void LinkWorker::RequestHeading() {
    {
        const std::lock_guard lock(mutex_);
        ++headingRequests_;
    }
    wake_.notify_one();
}

void LinkWorker::Run(std::unique_ptr<Transport> transport, LinkTiming timing) {
    // Links at once; a failure only leaves the link down until the next cycle.
    FSUPIC link(std::move(transport), timing);
    std::unique_lock lock(mutex_);
    std::string areaName;
    const auto noteLink = [&] {
        snapshot_.linked = link.Result() == LinkResult::okay;
        snapshot_.linkResult = link.Result();
        // Every link gets a fresh area name.
        if (snapshot_.linked && link.Link().AreaName() != areaName) {
            areaName = link.Link().AreaName();
            ++snapshot_.connection;
        }
        // Writes meant for a link that went down are not sent to the next one.
        if (!snapshot_.linked) {
            for (auto& slot : pending_)
                slot.reset();
            waiting_ = 0;
        }
    };
    noteLink();
    if (snapshot_.linked)
        snapshot_.lastGoodCycle = Clock::now();

    Clock::time_point nextCycle = Clock::now();
    while (!stopping_) {
        if (readInterval_.count() > 0 && Clock::now() >= nextCycle) {
            const std::uint64_t movesBefore = moves_;
            const bool blockBefore = snapshot_.blockPresent;
            lock.unlock();
            link.ReadCycle();
            const bool read = link.Result() == LinkResult::okay;
            // The profiler reads the heading when it starts, which is when the thermal block
            // appears: it is read right then, before the cycle is published.
            const bool blockAppeared = read && link.ThermalBlockPresent() && !blockBefore;
            const double heading = blockAppeared ? link.GetHeading() : 0;
            lock.lock();
            noteLink();
            if (read) {
                // A move queued while the cycle was under way is newer than what it read.
                if (moves_ == movesBefore)
                    snapshot_.position = link.Position();
                snapshot_.groundM = link.GetGroundAlt();
                snapshot_.altitudeM = link.GetAltitude();
                snapshot_.blockPresent = link.ThermalBlockPresent();
                snapshot_.msStrength = link.GetMsStrength();
                snapshot_.positionRead = true;
                ++snapshot_.cycles;
                snapshot_.lastGoodCycle = Clock::now();
                if (blockAppeared)
                    snapshot_.headingDeg = heading;
            }
            // After a stall the cycles go on from now rather than catching up in a burst.
            nextCycle = std::max(nextCycle + readInterval_, Clock::now());
            continue;
        }
        if (waiting_ > 0) {
            const Write write = *pending_[static_cast<int>(order_[0])];
            pending_[static_cast<int>(order_[0])].reset();
            std::rotate(order_, order_ + 1, order_ + waiting_--);
            if (write.connection != 0 && write.connection != snapshot_.connection)
                continue;
            lock.unlock();
            if (write.kind == Kind::strength && write.verticalAirMs)
                link.SetLift(write.strength, *write.verticalAirMs);
            else if (write.kind == Kind::strength)
                link.SetMsStrength(write.strength);
            else if (write.kind == Kind::roll)
                link.SetRollRate(write.roll);
            else
                link.MoveAircraft(write.to);
            lock.lock();
            noteLink();
            continue;
        }
        if (headingRequests_ > 0) {
            const int served = headingRequests_;
            headingRequests_ = 0;
            lock.unlock();
            const double heading = link.GetHeading();
            lock.lock();
            noteLink();
            snapshot_.headingDeg = heading;
            snapshot_.headings += static_cast<std::uint64_t>(served);
            continue;
        }
        if (readInterval_.count() > 0)
            wake_.wait_until(lock, nextCycle);
        else
            wake_.wait(lock);
    }
}
