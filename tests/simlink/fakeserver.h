#pragma once

#include "serve.h"
#include "simlink/transport.h"

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// An in-process server for the link: a transport whose area is plain memory and whose
// sends serve the records at once from a 64 KiB offset memory, like the stand-in. Every
// step can be made to fail, and what happened is recorded.
class FakeServer : public OffsetSpace {
public:
    enum class Try { answer, timeOut, fail };

    struct Request {
        bool write;
        std::uint32_t offset;
        std::uint32_t size;
        std::vector<std::byte> bytes; // written bytes
    };

    // Starts with the handshake values of an acceptable FSUIPC running FS2002.
    FakeServer();

    std::unique_ptr<Transport> MakeTransport();

    void SetU32(std::uint32_t offset, std::uint32_t value);
    void SetU64(std::uint32_t offset, std::uint64_t value);
    std::uint32_t U32(std::uint32_t offset) const;
    void FailTries(Try how, int count) { tries.insert(tries.end(), count, how); }
    // The request area as the client sees it now.
    std::span<const std::byte> Area() const { return area_; }

    void ReadOffset(std::uint32_t offset, std::span<std::byte> data) override;
    void WriteOffset(std::uint32_t offset, std::span<const std::byte> data) override;

    std::array<std::byte, 0x10000> memory{};

    // Behaviour.
    Transport::Server server = Transport::Server::uipcMain;
    std::uint32_t processId = 0x1A2B;
    bool registerFails = false;
    bool atomFails = false;
    bool createFails = false;
    bool mapFails = false;
    std::deque<Try> tries; // one taken per try; none left: answer
    std::uint32_t failError = 1460;
    std::uint32_t replyValue = 1;
    std::function<void(int send)> beforeServe;
    std::function<void(std::span<std::byte> area)> afterServe;

    // What happened.
    std::vector<std::string> areaNames;
    std::vector<std::byte> lastBatch; // the area as the last send found it
    std::vector<Request> requests;
    int sends = 0;
    std::vector<std::chrono::milliseconds> sleeps;
    bool serverHeld = false;
    int atomsHeld = 0;
    bool areaHeld = false;
    bool viewHeld = false;
    std::uint32_t libraryVersion = 0; // written at 0x330A, kept apart from the FS version

private:
    class Link;
    std::vector<std::byte> area_;
};
