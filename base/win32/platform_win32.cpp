#include <windows.h>

#include <mmsystem.h>

#include <string>

#include "base/platform.h"

namespace velmora::platform {

bool ReadPerformanceCounter(std::uint64_t& count, std::uint64_t& frequency) {
    LARGE_INTEGER f;
    LARGE_INTEGER c;
    if (!QueryPerformanceFrequency(&f) || f.QuadPart <= 0 || !QueryPerformanceCounter(&c)) {
        return false;
    }
    frequency = static_cast<std::uint64_t>(f.QuadPart);
    count = static_cast<std::uint64_t>(c.QuadPart);
    return true;
}

std::uint32_t TickCountMilliseconds() {
    return GetTickCount();
}

std::uint32_t MultimediaTimeMilliseconds() {
    return timeGetTime();
}

void SleepMilliseconds(std::uint32_t milliseconds) {
    Sleep(milliseconds);
}

std::uint32_t WallClockMillisecond() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return now.wMilliseconds;
}

void WriteDebugOutput(std::string_view text) {
    const std::string copy(text);
    OutputDebugStringA(copy.c_str());
}

void RestoreDefaultErrorMode() {
    SetErrorMode(0);
}

}  // namespace velmora::platform
