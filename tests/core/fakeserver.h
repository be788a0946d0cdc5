#pragma once

#include "serve.h"
#include "simlink/transport.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

// An in-process server for the link: a transport whose request area is plain memory and whose
// sends apply the batch at once to a 64 KiB offset memory, as the stand-in does. Every step
// can be made to fail, a send can be held at a gate, and what happened is recorded.
class FakeServer : public OffsetSpace {
public:
    struct Request {
        bool write;
        std::uint32_t offset;
        std::vector<std::byte> bytes; // the written bytes; a read's size in zeros
        bool operator==(const Request&) const = default;
    };

    // Starts with the handshake values of an accepted FSUIPC running FS2002.
    FakeServer();
    std::unique_ptr<Transport> MakeTransport();

    template <typename T> void Set(std::uint32_t offset, T value) {
        std::memcpy(memory.data() + offset, &value, sizeof value);
    }
    bool HoldsNothing() const { return !serverHeld && atoms == 0 && !areaHeld && !viewHeld; }
    // Forgets the requests, sends and pauses so far.
    void Forget() { requests.clear(), sleeps.clear(), timeouts.clear(), sends = 0; }
    std::vector<Request> Writes() const {
        std::vector<Request> writes;
        std::ranges::copy_if(requests, std::back_inserter(writes), &Request::write);
        return writes;
    }

    void ReadOffset(std::uint32_t offset, std::span<std::byte> data) override;
    void WriteOffset(std::uint32_t offset, std::span<const std::byte> data) override;

    std::array<std::byte, 0x10000> memory{};
    std::vector<std::byte> area;

    // Behaviour.
    Transport::Server server = Transport::Server::uipcMain;
    bool registerFails = false, atomFails = false, createFails = false, mapFails = false;
    // One letter per try, used up in order: a answer, t time out, f fail, l late (the batch is
    // applied but the try times out). None left: answer, or time out when silent.
    std::string tries;
    bool silent = false;
    std::uint32_t replyValue = 1;
    bool carriesAir = false; // one of our own servers, which takes the vertical air
    std::function<void(std::span<std::byte> area)> afterServe;
    // While shut, a send waits at the gate until it opens, or fails once interrupted.
    std::atomic<bool> gateShut = false, interrupted = false;
    std::atomic<int> held = 0; // sends waiting at the gate

    // What happened.
    std::vector<std::byte> lastBatch; // the area as the last send found it
    std::vector<Request> requests;
    std::vector<std::chrono::milliseconds> sleeps, timeouts;
    int sends = 0;
    bool serverHeld = false, areaHeld = false, viewHeld = false;
    int atoms = 0;
};

// A write of the value's bytes, as the server records it.
template <typename T> FakeServer::Request Wrote(std::uint32_t offset, const T& value) {
    FakeServer::Request r{true, offset, std::vector<std::byte>(sizeof value)};
    std::memcpy(r.bytes.data(), &value, sizeof value);
    return r;
}
