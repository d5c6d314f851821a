#include <windows.h>
#include <wininet.h>

#include <type_traits>

#include "base/win32/library_entry.h"
#include "registry/win32/win32_registry_store.h"
#include "web/update_check_api.h"
#include "web/web_texts.h"

namespace velmora::web {

namespace {

// WinINet is loaded when the check first asks for the connection, not with the
// program: a run that never checks does not pay for the network libraries and
// the libraries they bring in. It stays loaded for the process's life, since a
// worker may still be inside a read when the checker lets go of it.
struct InternetLibrary {
    decltype(&InternetGetConnectedState) getConnectedState = nullptr;
    decltype(&InternetOpenA) open = nullptr;
    decltype(&InternetOpenUrlA) openUrl = nullptr;
    decltype(&HttpQueryInfoA) queryInfo = nullptr;
    decltype(&InternetReadFile) readFile = nullptr;
    decltype(&InternetCloseHandle) closeHandle = nullptr;

    bool Complete() const {
        return getConnectedState && open && openUrl && queryInfo && readFile && closeHandle;
    }
};

InternetLibrary LoadInternetLibrary() {
    InternetLibrary entries;
    HMODULE library = LoadLibraryA(DecodeText(texts::kInternetLibrary).c_str());
    if (library == nullptr) {
        return entries;
    }
    auto find = [library](const auto& name, auto& entry) {
        entry = FindLibraryEntry<std::remove_reference_t<decltype(entry)>>(
            library, DecodeText(name).c_str());
    };
    find(texts::kInternetGetConnectedState, entries.getConnectedState);
    find(texts::kInternetOpen, entries.open);
    find(texts::kInternetOpenUrl, entries.openUrl);
    find(texts::kHttpQueryInfo, entries.queryInfo);
    find(texts::kInternetReadFile, entries.readFile);
    find(texts::kInternetCloseHandle, entries.closeHandle);
    if (!entries.Complete()) {
        FreeLibrary(library);
        return InternetLibrary{};
    }
    return entries;
}

const InternetLibrary& Internet() {
    static const InternetLibrary library = LoadInternetLibrary();
    return library;
}

bool IsConnected() {
    DWORD flags = 0;
    return Internet().Complete() && Internet().getConnectedState(&flags, 0) != FALSE;
}

InternetHandle OpenSession(const char* agent) {
    if (!Internet().Complete()) {
        return nullptr;
    }
    return Internet().open(agent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
}

InternetHandle OpenUrl(InternetHandle session, const char* url, std::uint32_t flags) {
    if (!Internet().Complete()) {
        return nullptr;
    }
    return Internet().openUrl(static_cast<HINTERNET>(session), url, nullptr, 0, flags, 0);
}

bool QueryContentLength(InternetHandle request, std::uint32_t* length) {
    DWORD value = 0;
    DWORD size = sizeof value;
    if (!Internet().Complete() ||
        !Internet().queryInfo(static_cast<HINTERNET>(request),
                              HTTP_QUERY_CONTENT_LENGTH | HTTP_QUERY_FLAG_NUMBER, &value, &size,
                              nullptr)) {
        return false;
    }
    *length = value;
    return true;
}

bool ReadFile(InternetHandle request, void* buffer, std::uint32_t size, std::uint32_t* read) {
    DWORD count = 0;
    const bool ok = Internet().Complete() && Internet().readFile(static_cast<HINTERNET>(request),
                                                                 buffer, size, &count) != FALSE;
    *read = count;
    return ok;
}

void CloseHandle(InternetHandle handle) {
    if (!Internet().Complete()) {
        return;
    }
    Internet().closeHandle(static_cast<HINTERNET>(handle));
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

registry::RegistryStore* Registry() {
    return &registry::SystemRegistry();
}

}  // namespace

UpdateCheckApi SystemUpdateCheckApi() {
    return UpdateCheckApi{IsConnected,       OpenSession, OpenUrl,        QueryContentLength,
                          ReadFile,          CloseHandle, SetWindowTimer, KillWindowTimer,
                          PostWindowMessage, StartThread, Registry,       {}};
}

}  // namespace velmora::web
