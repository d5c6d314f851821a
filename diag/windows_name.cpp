#include "diag/windows_name.h"

#include <array>
#include <cstdio>
#include <limits>

namespace velmora::diag {

namespace {

constexpr std::uint32_t kAny = std::numeric_limits<std::uint32_t>::max();

struct NameRow {
    std::uint32_t platform;
    std::uint32_t major;  // kAny: every value
    std::uint32_t minorLow, minorHigh;
    std::uint32_t buildLow, buildHigh;
    const char* name;
    int code;
};

constexpr std::array<NameRow, 14> kNames = {{
    {kPlatformWindows9x, 4, 0, 9, 950, 950, "Windows 95", 1},
    {kPlatformWindows9x, 4, 0, 9, 951, 1080, "Windows 95 SP1", 2},
    {kPlatformWindows9x, 4, 0, 9, 1081, kAny, "Windows 95 OSR2", 3},
    {kPlatformWindows9x, 4, 10, 10, 1998, 1998, "Windows 98", 4},
    {kPlatformWindows9x, 4, 10, 10, 1999, 2182, "Windows 98 SP1", 5},
    {kPlatformWindows9x, 4, 10, 10, 2183, kAny, "Windows 98 SE", 6},
    {kPlatformWindows9x, 4, 90, 90, 0, kAny, "Windows ME", 7},
    {kPlatformWindowsNt, 3, 51, 51, 0, kAny, "Windows NT 3.51", 101},
    {kPlatformWindowsNt, 4, 0, 0, 0, kAny, "Windows NT 4", 102},
    {kPlatformWindowsNt, 5, 0, 0, 0, kAny, "Windows 2000", 103},
    {kPlatformWindowsNt, 5, 1, 1, 0, kAny, "Windows XP", 104},
    // Windows 11 kept the version number 10.0; its builds start at 22000.
    {kPlatformWindowsNt, 10, 0, 0, 0, 21999, "Windows 10", 110},
    {kPlatformWindowsNt, 10, 0, 0, 22000, kAny, "Windows 11", 111},
    {kPlatformWindowsCe, kAny, 0, kAny, 0, kAny, "Windows CE", 201},
}};

bool Matches(const NameRow& row, const WindowsVersion& version, std::uint32_t build) {
    return row.platform == version.platform && (row.major == kAny || row.major == version.major) &&
           version.minor >= row.minorLow && version.minor <= row.minorHigh &&
           build >= row.buildLow && build <= row.buildHigh;
}

}  // namespace

WindowsName NameOfWindows(const std::optional<WindowsVersion>& version) {
    if (version) {
        const std::uint32_t build = version->build & 0xFFFFu;
        for (const NameRow& row : kNames) {
            if (Matches(row, *version, build)) {
                return {row.name, row.code};
            }
        }
    }
    return {"unknown Windows version", 0};
}

std::string VersionText(const WindowsVersion& version) {
    if (version.platform != kPlatformWindows9x && version.platform != kPlatformWindowsNt) {
        return {};
    }
    char numbers[48];
    std::snprintf(numbers, sizeof numbers, "%d.%d.%d ", static_cast<int>(version.major),
                  static_cast<int>(version.minor), static_cast<int>(version.build & 0xFFFFu));
    return numbers + version.servicePack;
}

bool IsServerProductType(std::string_view productType) {
    constexpr std::string_view kServer = "SERVERNT";
    if (productType.size() != kServer.size()) {
        return false;
    }
    for (std::size_t i = 0; i < kServer.size(); ++i) {
        const char c = productType[i];
        const char upper = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
        if (upper != kServer[i]) {
            return false;
        }
    }
    return true;
}

}  // namespace velmora::diag
