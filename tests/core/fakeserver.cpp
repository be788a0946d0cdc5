#include "fakeserver.h"

#include <algorithm>
#include <thread>

namespace {

class FakeTransport : public Transport {
public:
    explicit FakeTransport(FakeServer& server)
        : s_(server) {}

    Server FindServer() override {
        s_.serverHeld = s_.server != Server::none;
        return s_.server;
    }
    void ForgetServer() override { s_.serverHeld = false; }
    std::uint32_t RegisterMessage() override { return s_.registerFails ? 0 : 0xC123; }
    std::uint32_t ProcessId() override { return 0x1A2B; }
    std::uint16_t AddAtom(const std::string&) override {
        s_.atoms += s_.atomFails ? 0 : 1;
        return s_.atomFails ? 0 : 0xC001;
    }
    void DeleteAtom(std::uint16_t) override { --s_.atoms; }
    bool CreateArea(const std::string&, std::uint32_t size) override {
        // Filled with a pattern, so that nothing relies on a zeroed area.
        s_.area.assign(size, std::byte{0x5A});
        return s_.areaHeld = !s_.createFails;
    }
    std::byte* MapArea() override {
        s_.viewHeld = !s_.mapFails && s_.areaHeld;
        return s_.viewHeld ? s_.area.data() : nullptr;
    }
    void UnmapArea(std::byte*) override { s_.viewHeld = false; }
    void CloseArea() override { s_.areaHeld = false; }
    SendResult Send(std::uint32_t, std::uint16_t, std::chrono::milliseconds timeout) override {
        using Outcome = SendResult::Outcome;
        ++s_.held;
        while (s_.gateShut && !s_.interrupted)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        --s_.held;
        if (s_.interrupted)
            return {Outcome::timedOut};
        ++s_.sends;
        s_.timeouts.push_back(timeout);
        const char how = !s_.tries.empty() ? s_.tries[0] : s_.silent ? 't' : 'a';
        s_.tries.erase(0, s_.tries.empty() ? 0 : 1);
        if (how == 't' || how == 'f')
            return {how == 'f' ? Outcome::failed : Outcome::timedOut, how == 'f' ? 1460u : 0u};
        s_.lastBatch = s_.area;
        ServeRecords(s_.area, s_);
        if (s_.afterServe)
            s_.afterServe(s_.area);
        return how == 'a' ? SendResult{Outcome::handled, s_.replyValue} : SendResult{};
    }
    void Sleep(std::chrono::milliseconds pause) override { s_.sleeps.push_back(pause); }
    void Interrupt() override { s_.interrupted = true; }
    bool CarriesVerticalAir() const override { return s_.carriesAir; }

private:
    FakeServer& s_;
};

} // namespace

FakeServer::FakeServer() {
    Set<std::uint32_t>(0x3304, 0x19980005);
    Set<std::uint32_t>(0x3308, 0xFADE0006);
}

std::unique_ptr<Transport> FakeServer::MakeTransport() {
    return std::make_unique<FakeTransport>(*this);
}

void FakeServer::ReadOffset(std::uint32_t offset, std::span<std::byte> data) {
    requests.push_back({false, offset, std::vector<std::byte>(data.size())});
    std::fill(data.begin(), data.end(), std::byte{0});
    if (offset < memory.size())
        std::copy_n(memory.begin() + offset, std::min(data.size(), memory.size() - offset),
                    data.begin());
}

void FakeServer::WriteOffset(std::uint32_t offset, std::span<const std::byte> data) {
    requests.push_back({true, offset, {data.begin(), data.end()}});
    // The client's version lies inside the FS version, which the next handshake reads again.
    if (offset != 0x330A && offset < memory.size())
        std::copy_n(data.begin(), std::min(data.size(), memory.size() - offset),
                    memory.begin() + offset);
}
