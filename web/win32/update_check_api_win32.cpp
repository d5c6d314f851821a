#include <windows.h>
#include <wininet.h>

#include "settings/win32/win32_registry_store.h"
#include "web/update_check_api.h"

namespace velmora::web {

namespace {

bool IsConnected() {
    DWORD flags = 0;
    return InternetGetConnectedState(&flags, 0) != FALSE;
}

InternetHandle OpenSession(const char* agent) {
    return InternetOpenA(agent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
}

InternetHandle OpenUrl(InternetHandle session, const char* url, std::uint32_t flags) {
    return InternetOpenUrlA(static_cast<HINTERNET>(session), url, nullptr, 0, flags, 0);
}

bool QueryContentLength(InternetHandle request, std::uint32_t* length) {
    DWORD value = 0;
    DWORD size = sizeof value;
    if (!HttpQueryInfoA(static_cast<HINTERNET>(request),
                        HTTP_QUERY_CONTENT_LENGTH | HTTP_QUERY_FLAG_NUMBER, &value, &size,
                        nullptr)) {
        return false;
    }
    *length = value;
    return true;
}

bool ReadFile(InternetHandle request, void* buffer, std::uint32_t size, std::uint32_t* read) {
    DWORD count = 0;
    const bool ok =
        InternetReadFile(static_cast<HINTERNET>(request), buffer, size, &count) != FALSE;
    *read = count;
    return ok;
}

void CloseHandle(InternetHandle handle) {
    InternetCloseHandle(static_cast<HINTERNET>(handle));
}

void SetWindowTimer(WindowHandle window, std::uintptr_t id, std::uint32_t milliseconds) {
    ::SetTimer(static_cast<HWND>(window), id, milliseconds, nullptr);
}

void KillWindowTimer(WindowHandle window, std::uintptr_t id) {
    ::KillTimer(static_cast<HWND>(window), id);
}

void PostWindowMessage(WindowHandle window, unsigned message, MessageParam wParam,
                       MessageLParam lParam) {
    PostMessageA(static_cast<HWND>(window), message, wParam, lParam);
}

struct ThreadStart {
    void (*body)(void*);
    void* argument;
};

DWORD WINAPI ThreadMain(void* parameter) {
    const ThreadStart start = *static_cast<ThreadStart*>(parameter);
    delete static_cast<ThreadStart*>(parameter);
    start.body(start.argument);
    return 0;
}

bool StartThread(void (*body)(void*), void* argument) {
    auto* start = new ThreadStart{body, argument};
    HANDLE thread = CreateThread(nullptr, 0, ThreadMain, start, 0, nullptr);
    if (thread == nullptr) {
        delete start;
        return false;
    }
    ::CloseHandle(thread);
    return true;
}

settings::RegistryStore* Registry() {
    return &settings::SystemRegistry();
}

}  // namespace

UpdateCheckApi SystemUpdateCheckApi() {
    return UpdateCheckApi{IsConnected,       OpenSession, OpenUrl,        QueryContentLength,
                          ReadFile,          CloseHandle, SetWindowTimer, KillWindowTimer,
                          PostWindowMessage, StartThread, Registry,       {}};
}

}  // namespace velmora::web
