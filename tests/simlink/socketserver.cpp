#include "socketserver.h"

#include "simlink/records.h"

#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <sys/mman.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

SocketServer::SocketServer(std::string path, OffsetSpace& space)
    : path_(std::move(path))
    , space_(space) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path_.c_str(), sizeof address.sun_path - 1);
    listener_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (listener_ < 0 ||
        ::bind(listener_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listener_, 4) != 0)
        throw std::runtime_error("cannot listen on " + path_);
    thread_ = std::thread([this] { Run(); });
}

SocketServer::~SocketServer() {
    stop_ = true;
    thread_.join();
    ::close(listener_);
    ::unlink(path_.c_str());
}

void SocketServer::Script(Action action, int count) {
    std::lock_guard lock(mutex_);
    script_.insert(script_.end(), count, action);
}

std::vector<std::vector<std::byte>> SocketServer::Frames() const {
    std::lock_guard lock(mutex_);
    return frames_;
}

std::vector<std::vector<std::byte>> SocketServer::FramesOnceThere(std::size_t count) const {
    // The server thread may read the last frames a little after the client gave up on them.
    for (int i = 0; i < 200 && Frames().size() < count; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return Frames();
}

SocketServer::Action SocketServer::Next() {
    std::lock_guard lock(mutex_);
    if (script_.empty())
        return Action::serve;
    const Action action = script_.front();
    script_.pop_front();
    return action;
}

void SocketServer::Run() {
    std::vector<int> clients;
    std::vector<std::vector<std::byte>> inputs;
    while (!stop_) {
        std::vector<pollfd> waiting{{listener_, POLLIN, 0}};
        for (const int c : clients)
            waiting.push_back({c, POLLIN, 0});
        if (::poll(waiting.data(), waiting.size(), 10) <= 0)
            continue;
        for (std::size_t i = clients.size(); i-- > 0;) {
            if (waiting[i + 1].revents != 0 && !Handle(clients[i], inputs[i])) {
                ::close(clients[i]);
                clients.erase(clients.begin() + static_cast<std::ptrdiff_t>(i));
                inputs.erase(inputs.begin() + static_cast<std::ptrdiff_t>(i));
            }
        }
        if (waiting[0].revents & POLLIN) {
            clients.push_back(::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC));
            inputs.emplace_back();
        }
    }
    for (const int c : clients)
        ::close(c);
}

// False when the connection is to be closed.
bool SocketServer::Handle(int client, std::vector<std::byte>& input) {
    std::byte buffer[1024];
    const ssize_t got = ::recv(client, buffer, sizeof buffer, 0);
    if (got <= 0)
        return false;
    input.insert(input.end(), buffer, buffer + got);
    while (input.size() >= 8 && input.size() >= 4 + records::LoadU32(input.data())) {
        const std::size_t size = 4 + records::LoadU32(input.data());
        const std::vector<std::byte> frame(input.begin(),
                                           input.begin() + static_cast<std::ptrdiff_t>(size));
        input.erase(input.begin(), input.begin() + static_cast<std::ptrdiff_t>(size));
        {
            std::lock_guard lock(mutex_);
            frames_.push_back(frame);
        }
        const std::uint32_t sequence = records::LoadU32(frame.data() + 4);
        const std::string name(reinterpret_cast<const char*>(frame.data() + 8), size - 8);

        const Action action = Next();
        if (action == Action::silent)
            continue;
        if (action == Action::hangUp)
            return false;
        if (action == Action::late)
            std::this_thread::sleep_for(lateBy);

        const int fd = ::shm_open(("/" + name).c_str(), O_RDWR, 0);
        if (fd >= 0) {
            void* view =
                ::mmap(nullptr, records::areaSize, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
            ::close(fd);
            if (view != MAP_FAILED) {
                ServeRecords({static_cast<std::byte*>(view), records::areaSize}, space_);
                ::munmap(view, records::areaSize);
            }
        }
        std::byte reply[16];
        records::StoreU32(reply, sequence - 1);
        records::StoreU32(reply + 4, 7);
        records::StoreU32(reply + 8, sequence);
        records::StoreU32(reply + 12, 1);
        const bool stale = action == Action::staleFirst;
        const std::size_t length = stale ? 16 : 8;
        if (::send(client, stale ? reply : reply + 8, length, MSG_NOSIGNAL) !=
            static_cast<ssize_t>(length))
            return false;
    }
    return true;
}
