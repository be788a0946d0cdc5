#pragma once

#include "serve.h"
#include "simstate.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

// The server side of the POSIX link: listens on a Unix-domain socket, reads the clients'
// frames, applies the records in the named shared-memory areas and answers.
class SimServer {
public:
    SimServer(OffsetSpace& space, const SimState& state);
    ~SimServer();
    SimServer(const SimServer&) = delete;
    SimServer& operator=(const SimServer&) = delete;

    // Listens at `path`. A stale socket file left by a server that is gone is replaced;
    // a live one is not.
    bool Listen(const std::string& path, std::string& error);
    // Waits at most `timeout` for connections and frames, and serves what arrived.
    void Poll(std::chrono::milliseconds timeout);

    std::size_t Clients() const { return clients_.size(); }
    std::uint64_t Frames() const { return frames_; }

private:
    struct Client {
        int socket = -1;
        std::vector<std::byte> input;
        // Areas are mapped the first time their name comes and kept until the client goes:
        // a name is never reused, and mapping on every frame would triple the exchange time.
        std::map<std::string, std::byte*> areas;
    };

    void Accept();
    // False when the client has gone or broke the protocol.
    bool Read(Client& client);
    bool Answer(Client& client, std::uint32_t sequence, const std::string& name);
    std::byte* Area(Client& client, const std::string& name);
    void Drop(Client& client);

    OffsetSpace& space_;
    const SimState& state_;
    int listener_ = -1;
    std::string path_;
    std::vector<Client> clients_;
    std::uint64_t frames_ = 0;
};
