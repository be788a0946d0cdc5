#pragma once

#include "fakeserver.h"

#include <atomic>
#include <cstdint>
#include <cstring>
#include <future>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// A server for the link tests: a hidden top-level window of the given class, on a thread of
// its own, that answers the registered message "FsasmLib:IPC" the way the simulator's module
// does. It reads the area name from the atom, opens that mapping and applies the records
// against the fake server's 64 KiB of variables, as the stand-in does. Answers 1 for a batch
// it applied, 0 for one it could not reach.
class TestServer {
    template <typename F> auto Locked(F f) const {
        const std::lock_guard lock(mutex_);
        return f();
    }

public:
    // Starts the server with an accepted FSUIPC version and simulator code 6.
    explicit TestServer(const char* windowClass = "UIPCMAIN");
    ~TestServer();

    template <typename T> void Set(std::uint32_t offset, T value) {
        Locked([&] { variables_.Set(offset, value); });
    }
    template <typename T> T Get(std::uint32_t offset) const {
        T value;
        Locked([&] { std::memcpy(&value, variables_.memory.data() + offset, sizeof value); });
        return value;
    }
    // What the window procedure returns for an applied batch from now on.
    std::atomic<std::uint64_t> reply = 1;
    // While set, each message waits, unanswered.
    std::atomic<bool> hanging = false;
    // Destroys the window at once; the thread stays until the server is destroyed.
    void CloseWindow();

    // The client's library version from the handshake. It is kept apart: its offset lies
    // inside the FS version that reads return.
    std::uint16_t LibraryVersion() const {
        return Locked([&] { return static_cast<std::uint16_t>(variables_.libraryVersion); });
    }
    // The area names of the batches reached, in order.
    std::vector<std::string> AreaNames() const {
        return Locked([&] { return areaNames_; });
    }

private:
    void Serve(const std::string& windowClass, std::promise<void>& ready);
    std::uint64_t Handle(std::uint16_t atom);

    mutable std::mutex mutex_;
    FakeServer variables_;
    std::vector<std::string> areaNames_;

    void* window_ = nullptr;
    std::uint32_t message_ = 0;
    std::thread thread_;
};
