// One open registry key of the setup assistant, closed when another is opened
// into it or when the helper goes.
#pragma once

#include <windows.h>

namespace velmora::setup {

class RegistryHelper {
public:
    RegistryHelper() = default;
    RegistryHelper(const RegistryHelper&) = delete;
    RegistryHelper& operator=(const RegistryHelper&) = delete;
    ~RegistryHelper() { Close(); }

    // Creates or opens root\path with the given access; the disposition
    // (created or opened) is handed back when asked for. A system error code.
    LONG Open(HKEY root, const char* path, REGSAM access, DWORD* disposition = nullptr);

    // Reads a REG_DWORD value. A value of another type or size is refused
    // (ERROR_INVALID_DATA) and asserted against in debug builds.
    LONG ReadDword(const char* name, DWORD* value) const;
    LONG WriteDword(const char* name, DWORD value) const;

    void Close();
    HKEY Key() const { return key_; }

private:
    HKEY key_ = nullptr;
};

}  // namespace velmora::setup
