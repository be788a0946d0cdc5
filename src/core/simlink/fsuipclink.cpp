#include "simlink/fsuipclink.h"

#include "simlink/records.h"
#include "simlink/simvalues.h"

#include <array>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <utility>

namespace {

// Numbers the request areas of this process; never reset, so every area name is fresh.
std::atomic<std::uint32_t> areaCounter{0};

constexpr std::uint32_t minimumFsuipcVersion = 0x19980005;
constexpr std::uint32_t fsVersionMark = 0xFADE0000;
constexpr int handshakePasses = 5;

std::string AreaNameFor(std::uint32_t processId, std::uint32_t counter) {
    std::array<char, 40> text{};
    std::snprintf(text.data(), text.size(), "FsasmLib:IPC:%X:%X", processId, counter);
    return text.data();
}

} // namespace

std::string_view ResultText(LinkResult result) {
    static constexpr std::array<std::string_view, 16> texts{
        "Okay",
        "Attempt to Open when already Open",
        "Cannot link to FSUIPC or WideClient",
        "Failed to Register common message with Windows",
        "Failed to create Atom for mapping filename",
        "Failed to create a file mapping object",
        "Failed to open a view to the file map",
        "Incorrect version of FSUIPC, or not FSUIPC",
        "Sim is not version requested",
        "Call cannot execute, link not Open",
        "Call cannot execute: no requests accumulated",
        "IPC timed out all retries",
        "IPC sendmessage failed all retries",
        "IPC request contains bad data",
        "Maybe running on WideClient, but FS not running on Server, or wrong FSUIPC",
        "Read or Write request cannot be added, memory for Process is full",
    };
    const auto number = static_cast<std::uint32_t>(result);
    return number < texts.size() ? texts[number] : std::string_view{};
}

FsuipcLink::FsuipcLink(std::unique_ptr<Transport> transport, LinkTiming timing)
    : transport_(std::move(transport))
    , timing_(timing) {}

FsuipcLink::~FsuipcLink() {
    Close();
}

LinkResult FsuipcLink::Open(std::uint32_t requested) {
    if (view_)
        return LinkResult::alreadyOpen;
    fsuipcVersion_ = 0;
    fsVersion_ = 0;

    const Transport::Server server = transport_->FindServer();
    if (server == Transport::Server::none)
        return LinkResult::noServer;
    messageId_ = transport_->RegisterMessage();
    if (messageId_ == 0) {
        transport_->ForgetServer();
        return LinkResult::noMessage;
    }

    // From here on a failure closes what was acquired.
    const auto fail = [this](LinkResult result) {
        Close();
        return result;
    };
    areaName_ = AreaNameFor(transport_->ProcessId(), ++areaCounter);
    atom_ = transport_->AddAtom(areaName_);
    if (atom_ == 0)
        return fail(LinkResult::noAtom);
    if (!transport_->CreateArea(areaName_, records::areaSize))
        return fail(LinkResult::noMapping);
    view_ = transport_->MapArea();
    if (!view_)
        return fail(LinkResult::noView);
    next_ = 0;

    if (const LinkResult shaken = Handshake(); shaken != LinkResult::okay)
        return fail(shaken);
    if (fsuipcVersion_ < minimumFsuipcVersion || (fsVersion_ & 0xFFFF0000) != fsVersionMark)
        return fail(server == Transport::Server::fs98Main ? LinkResult::noSimOnServer
                                                          : LinkResult::wrongVersion);
    fsVersion_ &= 0xFFFF;
    if (requested != 0 && requested != fsVersion_)
        return fail(LinkResult::wrongSim);
    return LinkResult::okay;
}

LinkResult FsuipcLink::Handshake() {
    const std::uint16_t version = libraryVersion & 0xFFFF;
    const std::array<std::byte, 2> versionBytes{static_cast<std::byte>(version),
                                                static_cast<std::byte>(version >> 8)};
    for (int pass = 0; pass < handshakePasses && (fsuipcVersion_ == 0 || fsVersion_ == 0); ++pass) {
        LinkResult result = Read(simvalues::fsuipcVersionOffset, 4, &fsuipcVersion_);
        if (result == LinkResult::okay)
            result = Read(simvalues::fsVersionOffset, 4, &fsVersion_);
        if (result == LinkResult::okay && pass == 0)
            result = Write(simvalues::libraryVersionOffset, 2, versionBytes.data());
        if (result == LinkResult::okay)
            result = Process();
        if (result != LinkResult::okay)
            return result;
        transport_->Sleep(timing_.pause);
    }
    return LinkResult::okay;
}

void FsuipcLink::Close() {
    transport_->ForgetServer();
    messageId_ = 0;
    if (atom_ != 0) {
        transport_->DeleteAtom(atom_);
        atom_ = 0;
    }
    if (view_) {
        transport_->UnmapArea(view_);
        view_ = nullptr;
    }
    transport_->CloseArea();
    destinations_.clear();
}

bool FsuipcLink::Fits(std::uint32_t header, std::uint32_t size) const {
    return std::uint64_t{next_} + records::terminator + header + size <= records::requestLimit;
}

LinkResult FsuipcLink::Read(std::uint32_t offset, std::uint32_t size, void* destination) {
    if (!view_)
        return LinkResult::notOpen;
    if (!Fits(records::readHeader, size))
        return LinkResult::full;
    std::uint32_t token = 0;
    if (destination) {
        destinations_.push_back({destination, size});
        token = static_cast<std::uint32_t>(destinations_.size());
    }
    std::byte* record = view_ + next_;
    records::StoreU32(record, records::readId);
    records::StoreU32(record + 4, offset);
    records::StoreU32(record + 8, size);
    records::StoreU32(record + 12, token);
    std::memset(record + records::readHeader, 0, size);
    next_ += records::readHeader + size;
    return LinkResult::okay;
}

LinkResult FsuipcLink::Write(std::uint32_t offset, std::uint32_t size, const void* source) {
    if (!view_)
        return LinkResult::notOpen;
    if (!Fits(records::writeHeader, size))
        return LinkResult::full;
    std::byte* record = view_ + next_;
    records::StoreU32(record, records::writeId);
    records::StoreU32(record + 4, offset);
    records::StoreU32(record + 8, size);
    if (size != 0)
        std::memcpy(record + records::writeHeader, source, size);
    next_ += records::writeHeader + size;
    return LinkResult::okay;
}

LinkResult FsuipcLink::Process() {
    if (!view_)
        return LinkResult::notOpen;
    if (next_ == 0)
        return LinkResult::nothingQueued;
    records::StoreU32(view_ + next_, records::endId);
    next_ = 0;

    const LinkResult result = Send();
    if (result == LinkResult::okay)
        WalkReplies();
    // The queue is empty whatever the outcome; the table keeps its memory for the next batch.
    destinations_.clear();
    return result;
}

LinkResult FsuipcLink::Send() {
    using Outcome = Transport::SendResult::Outcome;
    Transport::SendResult sent;
    for (int tries = 0; tries < timing_.tries; ++tries) {
        sent = transport_->Send(messageId_, atom_, timing_.sendTimeout);
        if (sent.outcome == Outcome::handled)
            break;
        transport_->Sleep(timing_.pause);
    }
    if (sent.outcome != Outcome::handled)
        return sent.outcome == Outcome::failed ? LinkResult::sendFailed : LinkResult::timedOut;
    return sent.value == 1 ? LinkResult::okay : LinkResult::badData;
}

// The server may have changed anything in the area, so every step is checked against the
// area's end and against what was queued: a record that does not fit, or a read whose token
// or size is not one this batch queued, ends the walk.
void FsuipcLink::WalkReplies() {
    std::uint32_t at = 0;
    while (records::areaSize - at >= 4) {
        std::byte* record = view_ + at;
        const std::uint32_t id = records::LoadU32(record);
        if (id == records::endId)
            return;
        const std::uint32_t header = id == records::readId    ? records::readHeader
                                     : id == records::writeId ? records::writeHeader
                                                              : 0;
        if (header == 0) {
            records::StoreU32(record, records::endId);
            return;
        }
        if (records::areaSize - at < header)
            return;
        const std::uint32_t size = records::LoadU32(record + 8);
        if (size > records::areaSize - at - header)
            return;
        if (id == records::readId && size != 0) {
            const std::uint32_t token = records::LoadU32(record + 12);
            if (token != 0) {
                if (token > destinations_.size() || destinations_[token - 1].size != size)
                    return;
                std::memcpy(destinations_[token - 1].buffer, record + header, size);
            }
        }
        at += header + size;
    }
}
