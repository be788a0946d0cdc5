#pragma once

#include "simlink/transport.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The link over a Unix-domain socket and POSIX shared memory, where the Windows calls do not
// exist. The server listens on D/UIPCMAIN.sock (or D/FS98MAIN.sock) in the directory D of
// IpcDirectory(). For every try the client sends one frame, all little-endian:
//   u32 length (4 + name length), u32 sequence, the area name without its leading "/"
// and the server answers u32 sequence, u32 reply value, after applying the records in the
// shared-memory object "/" + name. A reply with another sequence answers an earlier try.
namespace posixipc {

inline constexpr const char* uipcMainSocket = "UIPCMAIN.sock";
inline constexpr const char* fs98MainSocket = "FS98MAIN.sock";
inline constexpr std::uint32_t replyFrameSize = 8;

// $BREVAN_IPC_DIR if set and not empty, else $XDG_RUNTIME_DIR if set and not empty, else /tmp.
std::string IpcDirectory();

} // namespace posixipc

class PosixTransport : public Transport {
public:
    PosixTransport();
    ~PosixTransport() override;
    PosixTransport(const PosixTransport&) = delete;
    PosixTransport& operator=(const PosixTransport&) = delete;

    Server FindServer() override;
    void ForgetServer() override;
    std::uint32_t RegisterMessage() override;
    std::uint32_t ProcessId() override;
    std::uint16_t AddAtom(const std::string& name) override;
    void DeleteAtom(std::uint16_t atom) override;
    bool CreateArea(const std::string& name, std::uint32_t size) override;
    std::byte* MapArea() override;
    void UnmapArea(std::byte* view) override;
    void CloseArea() override;
    SendResult Send(std::uint32_t message, std::uint16_t atom,
                    std::chrono::milliseconds timeout) override;
    void Sleep(std::chrono::milliseconds pause) override;
    void Interrupt() override;
    // Only the stand-in and our bridges serve this transport.
    bool CarriesVerticalAir() const override { return true; }

private:
    using Clock = std::chrono::steady_clock;

    bool Connect(const std::string& path);
    // One try's frame out and its reply in; none when the try failed (lastError_ says why,
    // 0 for a time-out).
    std::optional<std::uint32_t> Exchange(Clock::time_point deadline);
    bool Flush(Clock::time_point deadline);
    bool Receive(Clock::time_point deadline);
    // Waits until the socket is ready for events or the deadline passes; false on a
    // time-out or an interruption (lastError_ then says which).
    bool WaitFor(short events, Clock::time_point deadline);

    int socket_ = -1;
    // A byte written to wake_[1] ends every wait from then on (Interrupt).
    int wake_[2] = {-1, -1};
    int area_ = -1;
    std::string areaObject_; // "/" + area name
    std::uint32_t areaSize_ = 0;
    std::string atomName_;
    std::uint32_t sequence_ = 0;
    std::uint32_t lastError_ = 0;
    // Bytes of frames not yet sent, and reply bytes not yet used: a try that times out
    // mid-frame leaves the stream where the next try picks it up.
    std::vector<std::byte> outgoing_;
    std::vector<std::byte> incoming_;
};
