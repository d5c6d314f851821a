#include "setup/win32/registry_helper.h"

#include <cassert>

namespace velmora::setup {

LONG RegistryHelper::Open(HKEY root, const char* path, REGSAM access, DWORD* disposition) {
    assert(root != nullptr);
    Close();
    if (root == nullptr) {
        return ERROR_INVALID_HANDLE;
    }
    return RegCreateKeyExA(root, path, 0, nullptr, 0, access, nullptr, &key_, disposition);
}

LONG RegistryHelper::ReadDword(const char* name, DWORD* value) const {
    if (key_ == nullptr) {
        return ERROR_INVALID_HANDLE;
    }
    DWORD type = 0;
    DWORD read = 0;
    DWORD size = sizeof(read);
    const LONG result =
        RegQueryValueExA(key_, name, nullptr, &type, reinterpret_cast<BYTE*>(&read), &size);
    const bool wrongShape =
        result == ERROR_MORE_DATA ||
        (result == ERROR_SUCCESS && (type != REG_DWORD || size != sizeof(read)));
    assert(!wrongShape);
    if (wrongShape) {
        return ERROR_INVALID_DATA;
    }
    if (result != ERROR_SUCCESS) {
        return result;
    }
    *value = read;
    return ERROR_SUCCESS;
}

LONG RegistryHelper::WriteDword(const char* name, DWORD value) const {
    assert(key_ != nullptr);
    if (key_ == nullptr) {
        return ERROR_INVALID_HANDLE;
    }
    return RegSetValueExA(key_, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                          sizeof(value));
}

void RegistryHelper::Close() {
    if (key_ != nullptr) {
        RegCloseKey(key_);
        key_ = nullptr;
    }
}

}  // namespace velmora::setup
