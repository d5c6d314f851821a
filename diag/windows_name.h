// The Windows line of the system report: the name of the Windows version and
// its version text, from the values the system reports.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace velmora::diag {

// dwPlatformId values.
enum WindowsPlatform : std::uint32_t {
    kPlatformWin32s = 0,
    kPlatformWindows9x = 1,
    kPlatformWindowsNt = 2,
    kPlatformWindowsCe = 3,
};

struct WindowsVersion {
    std::uint32_t platform = kPlatformWin32s;
    std::uint32_t major = 0;
    std::uint32_t minor = 0;
    std::uint32_t build = 0;  // only the low 16 bits count
    std::string servicePack;
};

struct WindowsName {
    std::string text;
    int code = 0;
};

// "unknown Windows version" (code 0) without a version or for one the table
// does not hold.
WindowsName NameOfWindows(const std::optional<WindowsVersion>& version);

// "major.minor.build service-pack" on Windows 9x and NT, empty elsewhere.
std::string VersionText(const WindowsVersion& version);

// True for the product type "SERVERNT", in any case.
bool IsServerProductType(std::string_view productType);

}  // namespace velmora::diag
