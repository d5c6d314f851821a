// Opaque stand-ins for the Win32 handles that the portable application classes
// pass through (HWND, HDC, HKEY), so their headers need no <windows.h>.
#pragma once

#include <cstdint>

namespace velmora {

using WindowHandle = void*;
using DeviceContextHandle = void*;
using MessageParam = std::uintptr_t;  // WPARAM
using MessageLParam = std::intptr_t;  // LPARAM
using MessageResult = std::intptr_t;  // LRESULT / INT_PTR

}  // namespace velmora
