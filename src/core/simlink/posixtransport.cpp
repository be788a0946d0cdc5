#include "simlink/posixtransport.h"

#include "simlink/records.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/mman.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

namespace {

// The message id needs no registration here; any non-zero value will do.
constexpr std::uint32_t messageId = 1;
// The atom is the area name itself; this stands for it.
constexpr std::uint16_t atomValue = 1;

#ifdef MSG_NOSIGNAL
constexpr int sendFlags = MSG_NOSIGNAL;
#else
constexpr int sendFlags = 0; // SO_NOSIGPIPE is set on the socket instead
#endif

int PollMilliseconds(std::chrono::steady_clock::time_point deadline) {
    const auto left =
        std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    return static_cast<int>(std::max<std::chrono::milliseconds::rep>(left.count(), 0));
}

} // namespace

std::string posixipc::IpcDirectory() {
    for (const char* variable : {"BREVAN_IPC_DIR", "XDG_RUNTIME_DIR"}) {
        const char* value = std::getenv(variable);
        if (value && *value)
            return value;
    }
    return "/tmp";
}

std::unique_ptr<Transport> MakeDefaultTransport() {
    return std::make_unique<PosixTransport>();
}

PosixTransport::~PosixTransport() {
    ForgetServer();
    CloseArea();
}

bool PosixTransport::Connect(const std::string& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);

    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::fcntl(fd, F_SETFL, O_NONBLOCK) != 0) {
        ::close(fd);
        return false;
    }
#ifndef MSG_NOSIGNAL
    const int on = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_NOSIGPIPE, &on, sizeof on);
#endif
    socket_ = fd;
    return true;
}

Transport::Server PosixTransport::FindServer() {
    ForgetServer();
    const std::string directory = posixipc::IpcDirectory() + "/";
    if (Connect(directory + posixipc::uipcMainSocket))
        return Server::uipcMain;
    if (Connect(directory + posixipc::fs98MainSocket))
        return Server::fs98Main;
    return Server::none;
}

void PosixTransport::ForgetServer() {
    if (socket_ >= 0)
        ::close(socket_);
    socket_ = -1;
    outgoing_.clear();
    incoming_.clear();
}

std::uint32_t PosixTransport::RegisterMessage() {
    return messageId;
}

std::uint32_t PosixTransport::ProcessId() {
    return static_cast<std::uint32_t>(::getpid());
}

std::uint16_t PosixTransport::AddAtom(const std::string& name) {
    atomName_ = name;
    return atomValue;
}

void PosixTransport::DeleteAtom(std::uint16_t) {
    atomName_.clear();
}

bool PosixTransport::CreateArea(const std::string& name, std::uint32_t size) {
    CloseArea();
    const std::string object = "/" + name;
    const int fd = ::shm_open(object.c_str(), O_RDWR | O_CREAT | O_EXCL, 0600);
    if (fd < 0) {
        lastError_ = static_cast<std::uint32_t>(errno);
        return false;
    }
    if (::ftruncate(fd, size) != 0) {
        lastError_ = static_cast<std::uint32_t>(errno);
        ::close(fd);
        ::shm_unlink(object.c_str());
        return false;
    }
    area_ = fd;
    areaObject_ = object;
    areaSize_ = size;
    return true;
}

std::byte* PosixTransport::MapArea() {
    if (area_ < 0)
        return nullptr;
    void* view = ::mmap(nullptr, areaSize_, PROT_READ | PROT_WRITE, MAP_SHARED, area_, 0);
    return view == MAP_FAILED ? nullptr : static_cast<std::byte*>(view);
}

void PosixTransport::UnmapArea(std::byte* view) {
    ::munmap(view, areaSize_);
}

void PosixTransport::CloseArea() {
    if (area_ < 0)
        return;
    ::close(area_);
    ::shm_unlink(areaObject_.c_str());
    area_ = -1;
    areaObject_.clear();
}

bool PosixTransport::Send(std::uint32_t, std::uint16_t, std::chrono::milliseconds timeout,
                          std::uint32_t& reply) {
    const Clock::time_point deadline = Clock::now() + timeout;
    lastError_ = 0;
    if (socket_ < 0) {
        lastError_ = ENOTCONN;
        return false;
    }

    const std::uint32_t sequence = ++sequence_;
    const std::size_t start = outgoing_.size();
    outgoing_.resize(start + 8 + atomName_.size());
    records::StoreU32(outgoing_.data() + start, static_cast<std::uint32_t>(4 + atomName_.size()));
    records::StoreU32(outgoing_.data() + start + 4, sequence);
    std::memcpy(outgoing_.data() + start + 8, atomName_.data(), atomName_.size());
    if (!Flush(deadline))
        return false;

    for (;;) {
        while (incoming_.size() >= posixipc::replyFrameSize) {
            const std::uint32_t answered = records::LoadU32(incoming_.data());
            const std::uint32_t value = records::LoadU32(incoming_.data() + 4);
            incoming_.erase(incoming_.begin(), incoming_.begin() + posixipc::replyFrameSize);
            if (answered == sequence) {
                reply = value;
                return true;
            }
        }
        if (!Receive(deadline))
            return false;
    }
}

// Sends what is waiting in outgoing_ until it is all gone or the deadline passes.
bool PosixTransport::Flush(Clock::time_point deadline) {
    while (!outgoing_.empty()) {
        const ssize_t sent = ::send(socket_, outgoing_.data(), outgoing_.size(), sendFlags);
        if (sent > 0) {
            outgoing_.erase(outgoing_.begin(), outgoing_.begin() + sent);
            continue;
        }
        if (sent < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) {
            lastError_ = static_cast<std::uint32_t>(errno);
            return false;
        }
        pollfd waiting{socket_, POLLOUT, 0};
        if (::poll(&waiting, 1, PollMilliseconds(deadline)) == 0)
            return false;
    }
    return true;
}

// Waits until more reply bytes arrive; false on a time-out (last error 0), a socket error or
// the end of the stream.
bool PosixTransport::Receive(Clock::time_point deadline) {
    // Checked first so that a server flooding stale replies cannot hold the wait open.
    if (Clock::now() >= deadline)
        return false;
    pollfd waiting{socket_, POLLIN, 0};
    const int ready = ::poll(&waiting, 1, PollMilliseconds(deadline));
    if (ready == 0)
        return false;
    if (ready < 0) {
        if (errno == EINTR)
            return true;
        lastError_ = static_cast<std::uint32_t>(errno);
        return false;
    }
    std::byte buffer[256];
    const ssize_t got = ::recv(socket_, buffer, sizeof buffer, 0);
    if (got > 0) {
        incoming_.insert(incoming_.end(), buffer, buffer + got);
        return true;
    }
    if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR))
        return true;
    lastError_ = got == 0 ? ECONNRESET : static_cast<std::uint32_t>(errno);
    return false;
}

void PosixTransport::Sleep(std::chrono::milliseconds pause) {
    std::this_thread::sleep_for(pause);
}
