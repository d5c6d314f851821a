// The system services the update check uses: the Internet functions, the
// window's timer and messages, a thread and the registry. Each platform gives
// one table (win32/, posix/); an update checker is handed one when made.
#pragma once

#include <cstdint>

#include "base/handles.h"

namespace velmora::registry {
class RegistryStore;
}

namespace velmora::web {

using InternetHandle = void*;

struct UpdateTimerPeriods {
    // First request: base + random % spread milliseconds after arming.
    std::uint32_t firstBase = 240000;
    // After a failed open: base + random % spread.
    std::uint32_t retryBase = 600000;
    std::uint32_t spread = 60000;
};

struct UpdateCheckApi {
    // InternetGetConnectedState.
    bool (*isConnected)();
    // InternetOpenA with the preconfigured access type; null on failure.
    InternetHandle (*openSession)(const char* agent);
    // InternetOpenUrlA with no headers and context 0; null on failure.
    InternetHandle (*openUrl)(InternetHandle session, const char* url, std::uint32_t flags);
    // HttpQueryInfoA for the content length as a number.
    bool (*queryContentLength)(InternetHandle request, std::uint32_t* length);
    // InternetReadFile.
    bool (*readFile)(InternetHandle request, void* buffer, std::uint32_t size, std::uint32_t* read);
    void (*closeHandle)(InternetHandle handle);
    void (*setTimer)(WindowHandle window, std::uintptr_t id, std::uint32_t milliseconds);
    void (*killTimer)(WindowHandle window, std::uintptr_t id);
    void (*postMessage)(WindowHandle window, unsigned message, MessageParam wParam,
                        MessageLParam lParam);
    // Runs body(argument) on a new thread that nobody waits for; false when
    // none could be started.
    bool (*startThread)(void (*body)(void*), void* argument);
    // The registry the settings and the Internet settings live in.
    registry::RegistryStore* (*registry)();
    UpdateTimerPeriods periods;
};

// The platform's own table.
UpdateCheckApi SystemUpdateCheckApi();

}  // namespace velmora::web
