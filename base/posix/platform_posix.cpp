#include <time.h>

#include <cstdio>

#include "base/platform.h"

namespace velmora::platform {

namespace {

std::uint64_t MonotonicNanoseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::uint64_t>(now.tv_sec) * 1000000000u +
           static_cast<std::uint64_t>(now.tv_nsec);
}

}  // namespace

bool ReadPerformanceCounter(std::uint64_t& count, std::uint64_t& frequency) {
    count = MonotonicNanoseconds();
    frequency = 1000000000u;
    return true;
}

std::uint32_t TickCountMilliseconds() {
    return static_cast<std::uint32_t>(MonotonicNanoseconds() / 1000000u);
}

std::uint32_t MultimediaTimeMilliseconds() {
    return TickCountMilliseconds();
}

std::uint32_t WallClockMillisecond() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return static_cast<std::uint32_t>(now.tv_nsec / 1000000);
}

void SleepMilliseconds(std::uint32_t milliseconds) {
    timespec pause{static_cast<time_t>(milliseconds / 1000),
                   static_cast<long>(milliseconds % 1000) * 1000000L};
    while (nanosleep(&pause, &pause) != 0) {
    }
}

void WriteDebugOutput(std::string_view text) {
    std::fprintf(stderr, "%.*s", static_cast<int>(text.size()), text.data());
}

void RestoreDefaultErrorMode() {}

}  // namespace velmora::platform
