#include "fakeserver.h"

#include <algorithm>
#include <cstring>

class FakeServer::Link : public Transport {
public:
    explicit Link(FakeServer& server)
        : s_(server) {}

    Server FindServer() override {
        s_.serverHeld = s_.server != Server::none;
        return s_.server;
    }
    void ForgetServer() override { s_.serverHeld = false; }
    std::uint32_t RegisterMessage() override { return s_.registerFails ? 0 : 0xC123; }
    std::uint32_t ProcessId() override { return s_.processId; }
    std::uint16_t AddAtom(const std::string& name) override {
        s_.areaNames.push_back(name);
        if (s_.atomFails)
            return 0;
        ++s_.atomsHeld;
        return 0xC001;
    }
    void DeleteAtom(std::uint16_t) override { --s_.atomsHeld; }
    bool CreateArea(const std::string&, std::uint32_t size) override {
        if (s_.createFails)
            return false;
        s_.area_.assign(size, std::byte{0x5A});
        s_.areaHeld = true;
        return true;
    }
    std::byte* MapArea() override {
        if (s_.mapFails || !s_.areaHeld)
            return nullptr;
        s_.viewHeld = true;
        return s_.area_.data();
    }
    void UnmapArea(std::byte*) override { s_.viewHeld = false; }
    void CloseArea() override {
        s_.areaHeld = false;
        s_.area_.clear();
    }
    bool Send(std::uint32_t, std::uint16_t, std::chrono::milliseconds,
              std::uint32_t& reply) override {
        ++s_.sends;
        lastError_ = 0;
        const Try how = s_.tries.empty() ? Try::answer : s_.tries.front();
        if (!s_.tries.empty())
            s_.tries.pop_front();
        if (how == Try::timeOut)
            return false;
        if (how == Try::fail) {
            lastError_ = s_.failError;
            return false;
        }
        s_.lastBatch = s_.area_;
        if (s_.beforeServe)
            s_.beforeServe(s_.sends);
        ServeRecords(s_.area_, s_);
        if (s_.afterServe)
            s_.afterServe(s_.area_);
        reply = s_.replyValue;
        return true;
    }
    std::uint32_t LastError() override { return lastError_; }
    void Sleep(std::chrono::milliseconds pause) override { s_.sleeps.push_back(pause); }

private:
    FakeServer& s_;
    std::uint32_t lastError_ = 0;
};

FakeServer::FakeServer() {
    SetU32(0x3304, 0x19980005);
    SetU32(0x3308, 0xFADE0006);
}

std::unique_ptr<Transport> FakeServer::MakeTransport() {
    return std::make_unique<Link>(*this);
}

void FakeServer::SetU32(std::uint32_t offset, std::uint32_t value) {
    std::memcpy(memory.data() + offset, &value, sizeof value);
}

void FakeServer::SetU64(std::uint32_t offset, std::uint64_t value) {
    std::memcpy(memory.data() + offset, &value, sizeof value);
}

std::uint32_t FakeServer::U32(std::uint32_t offset) const {
    std::uint32_t value = 0;
    std::memcpy(&value, memory.data() + offset, sizeof value);
    return value;
}

void FakeServer::ReadOffset(std::uint32_t offset, std::span<std::byte> data) {
    requests.push_back({false, offset, static_cast<std::uint32_t>(data.size()), {}});
    std::fill(data.begin(), data.end(), std::byte{0});
    if (offset < memory.size())
        std::memcpy(data.data(), memory.data() + offset,
                    std::min<std::size_t>(data.size(), memory.size() - offset));
}

void FakeServer::WriteOffset(std::uint32_t offset, std::span<const std::byte> data) {
    requests.push_back(
        {true, offset, static_cast<std::uint32_t>(data.size()), {data.begin(), data.end()}});
    if (offset == 0x330A && data.size() == 2) {
        libraryVersion =
            std::to_integer<std::uint32_t>(data[0]) | std::to_integer<std::uint32_t>(data[1]) << 8;
        return;
    }
    if (offset < memory.size())
        std::memcpy(memory.data() + offset, data.data(),
                    std::min<std::size_t>(data.size(), memory.size() - offset));
}
