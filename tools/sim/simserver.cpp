#include "simserver.h"

#include "simlink/posixtransport.h"
#include "simlink/records.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/mman.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

namespace {

constexpr std::size_t maxNameLength = 255;
// A client that sends a flood of different names gets its old mappings released.
constexpr std::size_t maxAreasPerClient = 16;

// Only request areas are opened: a frame must not make the server write into some other
// shared-memory object of the same user.
bool ValidName(const std::string& name) {
    return name.starts_with("FsasmLib:IPC:") && name.find('/') == std::string::npos &&
           name.find('\0') == std::string::npos;
}

bool MakeAddress(const std::string& path, sockaddr_un& address) {
    address = {};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return true;
}

bool SomeoneListens(const sockaddr_un& address) {
    // Non-blocking, so that a server that is there but no longer accepts (its queue full)
    // is seen at once instead of holding this one up.
    const int probe = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (probe < 0)
        return false;
    const bool live =
        ::connect(probe, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 ||
        errno == EAGAIN;
    ::close(probe);
    return live;
}

} // namespace

SimServer::SimServer(OffsetSpace& space, const SimState& state)
    : space_(space)
    , state_(state) {}

SimServer::~SimServer() {
    for (Client& client : clients_)
        Drop(client);
    if (listener_ >= 0) {
        ::close(listener_);
        ::unlink(path_.c_str());
    }
}

bool SimServer::Listen(const std::string& path, std::string& error) {
    sockaddr_un address;
    if (!MakeAddress(path, address)) {
        error = "socket path too long: " + path;
        return false;
    }
    if (SomeoneListens(address)) {
        error = "another server is already listening on " + path;
        return false;
    }
    ::unlink(path.c_str());
    listener_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (listener_ < 0 ||
        ::bind(listener_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listener_, 16) != 0) {
        error = "cannot listen on " + path + ": " + std::strerror(errno);
        if (listener_ >= 0)
            ::close(listener_);
        listener_ = -1;
        return false;
    }
    path_ = path;
    return true;
}

void SimServer::Poll(std::chrono::milliseconds timeout) {
    std::vector<pollfd> waiting{{listener_, POLLIN, 0}};
    for (const Client& client : clients_)
        waiting.push_back({client.socket, POLLIN, 0});
    if (::poll(waiting.data(), waiting.size(), static_cast<int>(timeout.count())) <= 0)
        return;

    for (std::size_t i = 0; i < clients_.size(); ++i) {
        if (waiting[i + 1].revents != 0 && !Read(clients_[i]))
            Drop(clients_[i]);
    }
    std::erase_if(clients_, [](const Client& c) { return c.socket < 0; });
    if (waiting[0].revents & POLLIN)
        Accept();
}

void SimServer::Accept() {
    for (;;) {
        const int socket = ::accept4(listener_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (socket < 0)
            return;
        clients_.push_back({socket, {}, {}});
    }
}

bool SimServer::Read(Client& client) {
    std::byte buffer[4096];
    const ssize_t got = ::recv(client.socket, buffer, sizeof buffer, 0);
    if (got < 0)
        return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR;
    if (got == 0)
        return false;
    client.input.insert(client.input.end(), buffer, buffer + got);

    std::size_t used = 0;
    while (client.input.size() - used >= 8) {
        const std::byte* frame = client.input.data() + used;
        const std::uint32_t length = records::LoadU32(frame);
        if (length < 4 || length - 4 > maxNameLength)
            return false;
        if (client.input.size() - used - 4 < length)
            break;
        const std::uint32_t sequence = records::LoadU32(frame + 4);
        const std::string name(reinterpret_cast<const char*>(frame + 8), length - 4);
        used += 4 + length;
        ++frames_;
        if (!state_.answering)
            continue;
        // A slow simulator: the whole server waits, as one that is busy would.
        if (state_.replyDelayMs > 0)
            std::this_thread::sleep_for(
                std::chrono::duration<double, std::milli>(state_.replyDelayMs));
        if (!Answer(client, sequence, name))
            return false;
    }
    client.input.erase(client.input.begin(), client.input.begin() + used);
    return true;
}

bool SimServer::Answer(Client& client, std::uint32_t sequence, const std::string& name) {
    std::byte* area = Area(client, name);
    if (area)
        ServeRecords({area, records::areaSize}, space_);
    std::byte reply[posixipc::replyFrameSize];
    records::StoreU32(reply, sequence);
    // A name that cannot be opened is answered with a value that is not 1: "bad data".
    records::StoreU32(reply + 4, area ? 1 : 0);
    return ::send(client.socket, reply, sizeof reply, MSG_NOSIGNAL | MSG_DONTWAIT) ==
           static_cast<ssize_t>(sizeof reply);
}

std::byte* SimServer::Area(Client& client, const std::string& name) {
    if (const auto known = client.areas.find(name); known != client.areas.end())
        return known->second;
    if (!ValidName(name))
        return nullptr;

    const int fd = ::shm_open(("/" + name).c_str(), O_RDWR | O_CLOEXEC, 0);
    if (fd < 0)
        return nullptr;
    struct stat status {};
    void* view = MAP_FAILED;
    if (::fstat(fd, &status) == 0 && status.st_size >= records::areaSize)
        view = ::mmap(nullptr, records::areaSize, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    ::close(fd);
    if (view == MAP_FAILED)
        return nullptr;

    if (client.areas.size() >= maxAreasPerClient) {
        for (const auto& [known, mapped] : client.areas)
            ::munmap(mapped, records::areaSize);
        client.areas.clear();
    }
    return client.areas[name] = static_cast<std::byte*>(view);
}

void SimServer::Drop(Client& client) {
    for (const auto& [name, mapped] : client.areas)
        ::munmap(mapped, records::areaSize);
    client.areas.clear();
    if (client.socket >= 0)
        ::close(client.socket);
    client.socket = -1;
}
