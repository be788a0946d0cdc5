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

PosixTransport::PosixTransport() {
    // Without the pipe no wait could be cut short; the transport still works.
    if (::pipe(wake_) == 0) {
        for (const int fd : wake_) {
            ::fcntl(fd, F_SETFL, O_NONBLOCK);
            ::fcntl(fd, F_SETFD, FD_CLOEXEC);
        }
    } else {
        wake_[0] = wake_[1] = -1;
    }
}

PosixTransport::~PosixTransport() {
    ForgetServer();
    CloseArea();
    for (const int fd : wake_) {
        if (fd >= 0)
            ::close(fd);
    }
}

void PosixTransport::Interrupt() {
    if (wake_[1] >= 0) {
        const char byte = 1;
        [[maybe_unused]] const ssize_t written = ::write(wake_[1], &byte, 1);
    }
}

bool PosixTransport::Connect(const std::string& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);

    // Non-blocking from its creation: a blocking connect to a server whose listen queue is
    // full (one that has stopped accepting) would wait for ever. A connection that is not
    // made at once (EAGAIN, EINPROGRESS) counts as no server.
#ifdef SOCK_NONBLOCK
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return false;
#else
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    if (fd < 0)
        return false;
    if (::fcntl(fd, F_SETFL, O_NONBLOCK) != 0 || ::fcntl(fd, F_SETFD, FD_CLOEXEC) != 0) {
        ::close(fd);
        return false;
    }
#endif
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
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

Transport::SendResult PosixTransport::Send(std::uint32_t, std::uint16_t,
                                           std::chrono::milliseconds timeout) {
    lastError_ = 0;
    if (const std::optional<std::uint32_t> reply = Exchange(Clock::now() + timeout))
        return {SendResult::Outcome::handled, *reply};
    if (lastError_ == 0)
        return {SendResult::Outcome::timedOut};
    return {SendResult::Outcome::failed, lastError_};
}

std::optional<std::uint32_t> PosixTransport::Exchange(Clock::time_point deadline) {
    if (socket_ < 0) {
        lastError_ = ENOTCONN;
        return std::nullopt;
    }

    const std::uint32_t sequence = ++sequence_;
    const std::size_t start = outgoing_.size();
    outgoing_.resize(start + 8 + atomName_.size());
    records::StoreU32(outgoing_.data() + start, static_cast<std::uint32_t>(4 + atomName_.size()));
    records::StoreU32(outgoing_.data() + start + 4, sequence);
    std::memcpy(outgoing_.data() + start + 8, atomName_.data(), atomName_.size());
    if (!Flush(deadline))
        return std::nullopt;

    for (;;) {
        while (incoming_.size() >= posixipc::replyFrameSize) {
            const std::uint32_t answered = records::LoadU32(incoming_.data());
            const std::uint32_t value = records::LoadU32(incoming_.data() + 4);
            incoming_.erase(incoming_.begin(), incoming_.begin() + posixipc::replyFrameSize);
            if (answered == sequence)
                return value;
        }
        if (!Receive(deadline))
            return std::nullopt;
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
        if (!WaitFor(POLLOUT, deadline))
            return false;
    }
    return true;
}

bool PosixTransport::WaitFor(short events, Clock::time_point deadline) {
    for (;;) {
        pollfd waiting[2] = {{socket_, events, 0}, {wake_[0], POLLIN, 0}};
        const int ready = ::poll(waiting, wake_[0] >= 0 ? 2 : 1, PollMilliseconds(deadline));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready < 0) {
            lastError_ = static_cast<std::uint32_t>(errno);
            return false;
        }
        if (waiting[1].revents != 0) {
            lastError_ = ECANCELED;
            return false;
        }
        return ready > 0;
    }
}

// Waits until more reply bytes arrive; false on a time-out (last error 0), a socket error or
// the end of the stream.
bool PosixTransport::Receive(Clock::time_point deadline) {
    // Checked first so that a server flooding stale replies cannot hold the wait open.
    if (Clock::now() >= deadline || !WaitFor(POLLIN, deadline))
        return false;
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
    // The pause ends early once interrupted.
    if (wake_[0] < 0) {
        std::this_thread::sleep_for(pause);
        return;
    }
    pollfd waiting{wake_[0], POLLIN, 0};
    const Clock::time_point deadline = Clock::now() + pause;
    while (::poll(&waiting, 1, PollMilliseconds(deadline)) < 0 && errno == EINTR) {
    }
}
