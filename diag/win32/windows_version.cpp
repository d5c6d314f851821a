#include "diag/win32/windows_version.h"

#include <windows.h>

#include "base/win32/library_entry.h"
#include "diag/diag_texts.h"

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

// GetVersionEx answers what the program's manifest and compatibility
// settings let it see (6.2 on Windows 10 and 11 without them); ntdll's
// RtlGetVersion gives the real numbers. Looked up at run time: Windows 9x
// has no such entry point.
WindowsVersion WithRealNumbers(WindowsVersion version) {
    using RtlGetVersionCall = LONG(WINAPI*)(OSVERSIONINFOW*);
    HMODULE ntdll = GetModuleHandleA(DecodeText(texts::kVersionLibrary).c_str());
    const auto call = ntdll != nullptr ? FindLibraryEntry<RtlGetVersionCall>(
                                             ntdll, DecodeText(texts::kVersionEntry).c_str())
                                       : nullptr;
    OSVERSIONINFOW real{};
    real.dwOSVersionInfoSize = sizeof real;
    if (version.platform == kPlatformWindowsNt && call != nullptr && call(&real) == 0) {
        version.major = real.dwMajorVersion;
        version.minor = real.dwMinorVersion;
        version.build = real.dwBuildNumber;
    }
    return version;
}

// The extended record, or the basic one where the extended is refused.
std::optional<WindowsVersion> AnyWindowsVersion() {
    OSVERSIONINFOEXA extended{};
    extended.dwOSVersionInfoSize = sizeof extended;
    if (GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&extended))) {
        return WithRealNumbers(FromRecord(*reinterpret_cast<OSVERSIONINFOA*>(&extended)));
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
    return WithRealNumbers(FromRecord(record));
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
