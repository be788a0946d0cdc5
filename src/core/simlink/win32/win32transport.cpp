#include <windows.h>
// winbase.h maps AddAtom to AddAtomA, which would rename the transport's member.
#undef AddAtom

#include "simlink/transport.h"

namespace {

// The link over the Windows API: the server is a top-level window, the request area a
// named mapping backed by the paging file, and its name travels as a global atom.
class Win32Transport final : public Transport {
public:
    // A manual-reset event that stays set once Interrupt has set it.
    Win32Transport()
        : interrupted_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}
    Win32Transport(const Win32Transport&) = delete;
    Win32Transport& operator=(const Win32Transport&) = delete;
    ~Win32Transport() override {
        CloseArea();
        if (interrupted_ != nullptr)
            CloseHandle(interrupted_);
    }

    Server FindServer() override {
        server_ = FindWindowExA(nullptr, nullptr, "UIPCMAIN", nullptr);
        if (server_ != nullptr)
            return Server::uipcMain;
        server_ = FindWindowExA(nullptr, nullptr, "FS98MAIN", nullptr);
        return server_ != nullptr ? Server::fs98Main : Server::none;
    }

    void ForgetServer() override { server_ = nullptr; }

    std::uint32_t RegisterMessage() override { return RegisterWindowMessageA("FsasmLib:IPC"); }

    std::uint32_t ProcessId() override { return GetCurrentProcessId(); }

    std::uint16_t AddAtom(const std::string& name) override { return GlobalAddAtomA(name.c_str()); }

    void DeleteAtom(std::uint16_t atom) override { GlobalDeleteAtom(atom); }

    bool CreateArea(const std::string& name, std::uint32_t size) override {
        CloseArea();
        mapping_ = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, size,
                                      name.c_str());
        // An existing mapping of that name is handed back with this error: someone else's
        // area, never to be written. The handle is kept so that CloseArea releases it.
        return mapping_ != nullptr && GetLastError() != ERROR_ALREADY_EXISTS;
    }

    std::byte* MapArea() override {
        if (mapping_ == nullptr)
            return nullptr;
        return static_cast<std::byte*>(MapViewOfFile(mapping_, FILE_MAP_WRITE, 0, 0, 0));
    }

    void UnmapArea(std::byte* view) override { UnmapViewOfFile(view); }

    void CloseArea() override {
        if (mapping_ != nullptr)
            CloseHandle(mapping_);
        mapping_ = nullptr;
    }

    SendResult Send(std::uint32_t message, std::uint16_t atom,
                    std::chrono::milliseconds timeout) override {
        // Once interrupted nothing more is sent. A send already under way cannot be cut
        // short: it ends at its own time-out.
        if (Interrupted())
            return {SendResult::Outcome::failed, ERROR_CANCELLED};
        DWORD_PTR result = 0;
        SetLastError(0);
        if (SendMessageTimeoutA(server_, message, atom, 0, SMTO_BLOCK,
                                static_cast<UINT>(timeout.count()), &result) != 0) {
            // A reply wider than 32 bits is not the value 1 the link waits for; keep it so.
            return {SendResult::Outcome::handled, result == static_cast<std::uint32_t>(result)
                                                      ? static_cast<std::uint32_t>(result)
                                                      : 0};
        }
        // Windows reports a time-out as ERROR_TIMEOUT, and may report none at all.
        const DWORD error = GetLastError();
        if (error == ERROR_TIMEOUT || error == 0)
            return {SendResult::Outcome::timedOut};
        return {SendResult::Outcome::failed, error};
    }

    void Sleep(std::chrono::milliseconds pause) override {
        if (interrupted_ == nullptr)
            ::Sleep(static_cast<DWORD>(pause.count()));
        else
            WaitForSingleObject(interrupted_, static_cast<DWORD>(pause.count()));
    }

    void Interrupt() override {
        if (interrupted_ != nullptr)
            SetEvent(interrupted_);
    }

private:
    bool Interrupted() const {
        return interrupted_ != nullptr && WaitForSingleObject(interrupted_, 0) == WAIT_OBJECT_0;
    }

    HWND server_ = nullptr;
    HANDLE mapping_ = nullptr;
    HANDLE interrupted_;
};

} // namespace

std::unique_ptr<Transport> MakeDefaultTransport() {
    return std::make_unique<Win32Transport>();
}
