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

// What a link operation came to, each with the number the protocol gives it.
enum class LinkResult : std::uint32_t {
    okay = 0,
    alreadyOpen = 1,
    noServer = 2,
    noMessage = 3,
    noAtom = 4,
    noMapping = 5,
    noView = 6,
    wrongVersion = 7,
    wrongSim = 8,
    notOpen = 9,
    nothingQueued = 10,
    timedOut = 11,
    sendFailed = 12,
    badData = 13,
    noSimOnServer = 14,
    full = 15,
};

// The text the link holds for a result; empty for a number that is no result.
std::string_view ResultText(LinkResult result);

// How long the link waits. The program runs with these values; tests shorten them.
struct LinkTiming {
    std::chrono::milliseconds sendTimeout{2000};
    std::chrono::milliseconds pause{100};
    int tries = 9;
};

// The client side of the simulator link: a request area shared with the server, records
// queued into it, and one message per batch. Every operation but Close returns its result,
// LinkResult::okay on success.
class FsuipcLink {
public:
    static constexpr std::uint32_t libraryVersion = 1004;

    explicit FsuipcLink(std::unique_ptr<Transport> transport, LinkTiming timing = {});
    ~FsuipcLink();
    FsuipcLink(const FsuipcLink&) = delete;
    FsuipcLink& operator=(const FsuipcLink&) = delete;

    // `requested` is a simulator code, 0 for any.
    LinkResult Open(std::uint32_t requested);
    void Close();
    // Queues a read; `destination` (may be null) receives the data on the next successful
    // Process and must stay valid until then.
    LinkResult Read(std::uint32_t offset, std::uint32_t size, void* destination);
    // Queues a write; the source bytes are copied at once.
    LinkResult Write(std::uint32_t offset, std::uint32_t size, const void* source);
    LinkResult Process();

    bool IsOpen() const { return view_ != nullptr; }
    std::uint32_t FsuipcVersion() const { return fsuipcVersion_; }
    // The simulator code once open (1 FS98 ... 6 FS2002).
    std::uint32_t FsVersion() const { return fsVersion_; }
    // The name of the request area created by the last Open that got that far.
    const std::string& AreaName() const { return areaName_; }
    bool CarriesVerticalAir() const { return transport_->CarriesVerticalAir(); }

private:
    struct Destination {
        void* buffer;
        std::uint32_t size;
    };

    LinkResult Handshake();
    LinkResult Send();
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
