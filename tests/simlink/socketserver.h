#pragma once

#include "serve.h"

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// A server for the POSIX transport on a thread of its own: it serves the frames from an
// offset space, or misbehaves frame by frame as scripted.
class SocketServer {
public:
    enum class Action {
        serve,
        silent,     // read the frame, never answer
        staleFirst, // answer an older sequence first (with a bad value), then this one
        late,       // answer after `lateBy`
        hangUp,     // close the connection instead of answering
    };

    SocketServer(std::string path, OffsetSpace& space);
    ~SocketServer();
    SocketServer(const SocketServer&) = delete;
    SocketServer& operator=(const SocketServer&) = delete;

    // Actions for the next frames; with none left, frames are served.
    void Script(Action action, int count = 1);
    // Every frame received so far, as its bytes.
    std::vector<std::vector<std::byte>> Frames() const;
    // Frames() once at least `count` have come, or after two seconds whatever came.
    std::vector<std::vector<std::byte>> FramesOnceThere(std::size_t count) const;

    std::chrono::milliseconds lateBy{80};

private:
    void Run();
    bool Handle(int client, std::vector<std::byte>& input);
    Action Next();

    std::string path_;
    OffsetSpace& space_;
    int listener_ = -1;
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    std::deque<Action> script_;
    std::vector<std::vector<std::byte>> frames_;
    std::thread thread_;
};
