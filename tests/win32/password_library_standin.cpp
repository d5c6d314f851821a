// A stand-in for the Windows 9x screen-saver password library: it records
// how it was called in the file named by VELMORA_PASSWORD_RECORD.
#include <windows.h>

#include <cstdio>

namespace {

void Record(const char* text) {
    char path[MAX_PATH] = {};
    if (GetEnvironmentVariableA("VELMORA_PASSWORD_RECORD", path, MAX_PATH) == 0) {
        return;
    }
    FILE* file = std::fopen(path, "ab");
    if (file != nullptr) {
        std::fputs(text, file);
        std::fclose(file);
    }
}

}  // namespace

extern "C" __declspec(dllexport) DWORD WINAPI
    PwdChangePasswordA(LPCSTR provider, HWND parent, DWORD reserved1, LPVOID reserved2) {
    char line[512];
    std::snprintf(line, sizeof line, "change %s %lld %lu %llu\n",
                  provider != nullptr ? provider : "-",
                  static_cast<long long>(reinterpret_cast<INT_PTR>(parent)),
                  static_cast<unsigned long>(reserved1),
                  static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(reserved2)));
    Record(line);
    return 0;
}
