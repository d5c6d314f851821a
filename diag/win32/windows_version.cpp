#include "diag/win32/windows_version.h"

#include <windows.h>

namespace velmora::diag {

namespace {

WindowsVersion FromRecord(const OSVERSIONINFOA& record) {
    WindowsVersion version;
    version.platform = record.dwPlatformId;
    version.major = record.dwMajorVersion;
    version.minor = record.dwMinorVersion;
    version.build = record.dwBuildNumber;
    version.servicePack =
        std::string(record.szCSDVersion, strnlen(record.szCSDVersion, sizeof record.szCSDVersion));
    return version;
}

// The extended record, or the basic one where the extended is refused.
std::optional<WindowsVersion> AnyWindowsVersion() {
    OSVERSIONINFOEXA extended{};
    extended.dwOSVersionInfoSize = sizeof extended;
    if (GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&extended))) {
        return FromRecord(*reinterpret_cast<OSVERSIONINFOA*>(&extended));
    }
    return BasicWindowsVersion();
}

bool ProductTypeIsServer() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Control\\ProductOptions", 0,
                      KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
        return false;
    }
    // One byte more than the value may fill, so the text always ends.
    char type[81] = {};
    DWORD size = 80;
    const LONG result = RegQueryValueExA(key, "ProductType", nullptr, nullptr,
                                         reinterpret_cast<BYTE*>(type), &size);
    RegCloseKey(key);
    return result == ERROR_SUCCESS && IsServerProductType(type);
}

}  // namespace

std::optional<WindowsVersion> BasicWindowsVersion() {
    OSVERSIONINFOA record{};
    record.dwOSVersionInfoSize = sizeof record;
    if (!GetVersionExA(&record)) {
        return std::nullopt;
    }
    return FromRecord(record);
}

bool ReadVersionText(std::string& text, bool& server) {
    const std::optional<WindowsVersion> version = AnyWindowsVersion();
    if (!version) {
        return false;
    }
    text = VersionText(*version);
    server = version->platform == kPlatformWindowsNt && ProductTypeIsServer();
    return true;
}

}  // namespace velmora::diag
