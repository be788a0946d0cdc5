#pragma once

#include "simlink/transport.h"

#include <bit>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// The simulator's bytes land in the destinations as they are, and they are little-endian.
static_assert(std::endian::native == std::endian::little);

// Result codes of the link operations.
enum LinkResult : std::uint32_t {
    resultOkay = 0,
    resultAlreadyOpen = 1,
    resultNoServer = 2,
    resultNoMessage = 3,
    resultNoAtom = 4,
    resultNoMapping = 5,
    resultNoView = 6,
    resultWrongVersion = 7,
    resultWrongSim = 8,
    resultNotOpen = 9,
    resultNothingQueued = 10,
    resultTimedOut = 11,
    resultSendFailed = 12,
    resultBadData = 13,
    resultNoSimOnServer = 14,
    resultFull = 15,
};

// The text the link holds for a result code; empty for an unknown code.
std::string_view ResultText(std::uint32_t result);

// How long the link waits. The program runs with these values; tests shorten them.
struct LinkTiming {
    std::chrono::milliseconds sendTimeout{2000};
    std::chrono::milliseconds pause{100};
    int tries = 9;
};

// The client side of the simulator link: a request area shared with the server, records
// queued into it, and one message per batch. Every operation but Close reports a result
// code and returns true on success.
class FsuipcLink {
public:
    static constexpr std::uint32_t libraryVersion = 1004;

    explicit FsuipcLink(std::unique_ptr<Transport> transport, LinkTiming timing = {});
    ~FsuipcLink();
    FsuipcLink(const FsuipcLink&) = delete;
    FsuipcLink& operator=(const FsuipcLink&) = delete;

    // `requested` is a simulator code, 0 for any.
    bool Open(std::uint32_t requested, std::uint32_t& result);
    void Close();
    // Queues a read; `destination` (may be null) receives the data on the next successful
    // Process and must stay valid until then.
    bool Read(std::uint32_t offset, std::uint32_t size, void* destination, std::uint32_t& result);
    // Queues a write; the source bytes are copied at once.
    bool Write(std::uint32_t offset, std::uint32_t size, const void* source, std::uint32_t& result);
    bool Process(std::uint32_t& result);

    bool IsOpen() const { return view_ != nullptr; }
    std::uint32_t FsuipcVersion() const { return fsuipcVersion_; }
    // The simulator code once open (1 FS98 ... 6 FS2002).
    std::uint32_t FsVersion() const { return fsVersion_; }
    // The name of the request area created by the last Open that got that far.
    const std::string& AreaName() const { return areaName_; }

private:
    struct Destination {
        void* buffer;
        std::uint32_t size;
    };

    bool Handshake(std::uint32_t& result);
    bool Send(std::uint32_t& result);
    void WalkReplies();
    bool Fits(std::uint32_t header, std::uint32_t size) const;

    std::unique_ptr<Transport> transport_;
    LinkTiming timing_;

    std::uint32_t fsuipcVersion_ = 0;
    std::uint32_t fsVersion_ = 0;
    std::uint32_t messageId_ = 0;
    std::uint16_t atom_ = 0;
    std::byte* view_ = nullptr;
    std::uint32_t next_ = 0; // bytes queued from the start of the area
    std::string areaName_;
    // The destination field is only 32 bits wide, so a record carries a token: the index
    // into this table plus one, 0 for no destination.
    std::vector<Destination> destinations_;
};
