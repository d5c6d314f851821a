#include "registry/win32/registry_error_box.h"

#include <windows.h>

#include <memory>

namespace velmora::registry {

namespace {

struct LocalFreeDeleter {
    void operator()(char* text) const { LocalFree(text); }
};

constexpr DWORD kUserDefaultLanguage = 1024;

}  // namespace

std::string SystemErrorText(RegistryError error) {
    char* allocated = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(error), kUserDefaultLanguage,
        reinterpret_cast<char*>(&allocated), 0, nullptr);
    const std::unique_ptr<char, LocalFreeDeleter> text(allocated);
    if (length == 0 || !text) {
        return {};
    }
    return std::string(text.get(), length);
}

void RegistryErrorBox::Report(RegistryError error) {
    const std::string text = SystemErrorText(error);
    if (text.empty()) {
        return;
    }
    MessageBoxA(nullptr, text.c_str(), "Registry Error", MB_OK | MB_ICONINFORMATION);
}

}  // namespace velmora::registry
