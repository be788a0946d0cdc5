#pragma once

#include "fakeserver.h"

#include <atomic>
#include <cstdint>
#include <future>
#include <mutex>
#include <thread>

// A server for the link tests: a hidden top-level window of the given class, on a thread of
// its own, that answers the registered message "FsasmLib:IPC" the way the simulator's module
// does. It reads the area name from the atom, opens that mapping and applies the records
// against the fake server's 64 KiB of variables, as the stand-in does. Answers `reply` for a
// batch it applied, 0 for one it could not reach.
class TestServer {
public:
    // Starts the server with an accepted FSUIPC version and simulator code 6.
    explicit TestServer(const char* windowClass = "UIPCMAIN");
    ~TestServer();

    template <typename T> void Set(std::uint32_t offset, T value) {
        const std::lock_guard lock(mutex_);
        variables_.Set(offset, value);
    }
    std::atomic<std::uint64_t> reply = 1;
    // While set, each message waits, unanswered.
    std::atomic<bool> hanging = false;
    // Destroys the window at once; the thread stays until the server is destroyed.
    void CloseWindow();

private:
    void Serve(const std::string& windowClass, std::promise<void>& ready);
    std::uint64_t Handle(std::uint16_t atom);

    std::mutex mutex_;
    FakeServer variables_;
    void* window_ = nullptr;
    std::uint32_t message_ = 0;
    std::thread thread_;
};
