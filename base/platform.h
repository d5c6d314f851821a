// The few operating-system services the portable code needs. Each platform
// (win32/, posix/) supplies one implementation of these functions.
#pragma once

#include <cstdint>
#include <string_view>

namespace velmora::platform {

// High-resolution counter; false where the system has none.
bool ReadPerformanceCounter(std::uint64_t& count, std::uint64_t& frequency);

// Milliseconds since some fixed point, wrapping at 2^32 like GetTickCount.
std::uint32_t TickCountMilliseconds();

// The multimedia timer's milliseconds; used only to seed random numbers.
std::uint32_t MultimediaTimeMilliseconds();

void SleepMilliseconds(std::uint32_t milliseconds);

// Milliseconds into the current second of the wall clock (0 to 999), so a
// shown clock can change at the change of second.
std::uint32_t WallClockMillisecond();

// Text for an attached debugger (Windows) or standard error (elsewhere),
// exactly as given: callers end their lines themselves.
void WriteDebugOutput(std::string_view text);

// Puts the process's error mode back to the system default (SetErrorMode 0);
// nothing elsewhere.
void RestoreDefaultErrorMode();

}  // namespace velmora::platform
