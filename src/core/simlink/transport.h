#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

// The platform operations the request codec needs, one call each. A transport holds the
// handles it acquires (server connection, mapping) and releases them when told to or when
// it is destroyed. Names follow the Windows calls they stand for; the POSIX transport gives
// them the meaning of its socket-and-shared-memory contract.
class Transport {
public:
    enum class Server {
        none,
        uipcMain, // found under "UIPCMAIN"
        fs98Main, // found only under "FS98MAIN"
    };

    // What one try of a send came to.
    struct SendResult {
        enum class Outcome {
            handled,  // in time: value is the server's reply
            timedOut, // no answer in time
            failed,   // the send itself failed: value is the system's error code
        };
        Outcome outcome = Outcome::timedOut;
        std::uint32_t value = 0;
    };

    virtual ~Transport() = default;

    // Looks for the server, first as "UIPCMAIN", then as "FS98MAIN", and keeps it for Send.
    virtual Server FindServer() = 0;
    // Drops the server found last; harmless when there is none.
    virtual void ForgetServer() = 0;
    // The id of the registered message "FsasmLib:IPC"; 0 on failure.
    virtual std::uint32_t RegisterMessage() = 0;
    virtual std::uint32_t ProcessId() = 0;
    // A global atom holding the area name; 0 on failure.
    virtual std::uint16_t AddAtom(const std::string& name) = 0;
    virtual void DeleteAtom(std::uint16_t atom) = 0;
    // Creates the named shared area of `size` bytes. False on failure, and also when the
    // name was already in use (the transport then keeps what it got so CloseArea frees it).
    virtual bool CreateArea(const std::string& name, std::uint32_t size) = 0;
    // A writable view of the whole area; null on failure.
    virtual std::byte* MapArea() = 0;
    virtual void UnmapArea(std::byte* view) = 0;
    // Releases the area created last; harmless when there is none.
    virtual void CloseArea() = 0;
    // One try: sends the message with the atom to the server and waits at most `timeout`
    // for it to be handled.
    virtual SendResult Send(std::uint32_t message, std::uint16_t atom,
                            std::chrono::milliseconds timeout) = 0;
    virtual void Sleep(std::chrono::milliseconds pause) = 0;
    // May be called from another thread: from now on every wait (a send's wait for its
    // reply, a pause) returns at once, failed, so that a link stuck with a server that does
    // not answer can be closed without waiting out its time-outs.
    virtual void Interrupt() {}
    // Whether every server this transport reaches is one of our own (the stand-in, a bridge),
    // which takes the vertical air the program writes at its own offset. A real simulator
    // could hold anything there, so no transport to one may say yes.
    virtual bool CarriesVerticalAir() const { return false; }
};

// The platform's transport: POSIX on Linux and macOS, Win32 on Windows. Each platform's
// transport source defines it.
std::unique_ptr<Transport> MakeDefaultTransport();
