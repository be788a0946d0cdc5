#include "testserver.h"

#include "simlink/records.h"

#include <windows.h>

TestServer::TestServer(const char* windowClass) {
    std::promise<void> ready;
    thread_ = std::thread([this, &ready, name = std::string(windowClass)] { Serve(name, ready); });
    ready.get_future().wait();
}

TestServer::~TestServer() {
    hanging = false;
    CloseWindow();
    thread_.join();
}

void TestServer::CloseWindow() {
    if (window_ != nullptr)
        SendMessageA(static_cast<HWND>(window_), WM_CLOSE, 0, 0);
    window_ = nullptr;
}

void TestServer::Serve(const std::string& windowClass, std::promise<void>& ready) {
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA type{};
    type.hInstance = instance;
    type.lpszClassName = windowClass.c_str();
    type.lpfnWndProc = [](HWND window, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        auto* server = reinterpret_cast<TestServer*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (server != nullptr && message == server->message_)
            return static_cast<LRESULT>(server->Handle(static_cast<std::uint16_t>(wParam)));
        if (message == WM_DESTROY)
            PostQuitMessage(0);
        return DefWindowProcA(window, message, wParam, lParam);
    };
    RegisterClassA(&type);
    message_ = RegisterWindowMessageA("FsasmLib:IPC");
    // Never shown: a top-level window that FindWindowEx finds by its class.
    HWND window = CreateWindowExA(0, windowClass.c_str(), "", WS_OVERLAPPEDWINDOW, 0, 0, 0, 0,
                                  nullptr, nullptr, instance, nullptr);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    window_ = window;
    ready.set_value();

    MSG message;
    while (window != nullptr && GetMessageA(&message, nullptr, 0, 0) > 0)
        DispatchMessageA(&message);
    UnregisterClassA(windowClass.c_str(), instance);
}

std::uint64_t TestServer::Handle(std::uint16_t atom) {
    while (hanging)
        Sleep(1);
    const std::lock_guard lock(mutex_);
    char name[256];
    HANDLE mapping = GlobalGetAtomNameA(atom, name, sizeof name) == 0
                         ? nullptr
                         : OpenFileMappingA(FILE_MAP_WRITE, FALSE, name);
    void* view = mapping == nullptr
                     ? nullptr
                     : MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, records::areaSize);
    if (mapping != nullptr)
        CloseHandle(mapping);
    if (view == nullptr)
        return 0;
    ServeRecords({static_cast<std::byte*>(view), records::areaSize}, variables_);
    UnmapViewOfFile(view);
    return reply;
}
