#include "registry/win32/win32_registry_store.h"

#include <windows.h>

namespace velmora::registry {

namespace {

HKEY ToKey(RegistryHandle handle) {
    return static_cast<HKEY>(handle);
}

// Sizes pass through DWORDs, which are 32 bits like ours.
static_assert(sizeof(DWORD) == sizeof(std::uint32_t));

}  // namespace

RegistryHandle Win32RegistryStore::Root(RegistryRoot root) {
    switch (root) {
        case RegistryRoot::ClassesRoot:
            return HKEY_CLASSES_ROOT;
        case RegistryRoot::CurrentUser:
            return HKEY_CURRENT_USER;
        case RegistryRoot::LocalMachine:
            return HKEY_LOCAL_MACHINE;
        case RegistryRoot::Users:
            return HKEY_USERS;
    }
    return nullptr;
}

RegistryError Win32RegistryStore::OpenKey(RegistryHandle parent, const char* path,
                                          RegistryAccess access, RegistryHandle* result) {
    if (result == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    HKEY key = nullptr;
    const LONG error = RegOpenKeyExA(ToKey(parent), path, 0, access, &key);
    *result = error == ERROR_SUCCESS ? key : nullptr;
    return error;
}

RegistryError Win32RegistryStore::CreateKey(RegistryHandle parent, const char* path,
                                            RegistryAccess access, RegistryHandle* result) {
    if (result == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    HKEY key = nullptr;
    const LONG error = RegCreateKeyExA(ToKey(parent), path, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                       access, nullptr, &key, nullptr);
    *result = error == ERROR_SUCCESS ? key : nullptr;
    return error;
}

RegistryError Win32RegistryStore::CloseKey(RegistryHandle key) {
    return RegCloseKey(ToKey(key));
}

RegistryError Win32RegistryStore::QueryValue(RegistryHandle key, const char* name,
                                             RegistryType* type, void* data, std::uint32_t* size) {
    DWORD kind = REG_NONE;
    DWORD bytes = size != nullptr ? *size : 0;
    const LONG error = RegQueryValueExA(ToKey(key), name, nullptr, &kind, static_cast<BYTE*>(data),
                                        size != nullptr ? &bytes : nullptr);
    if (type != nullptr) {
        *type = static_cast<RegistryType>(kind);
    }
    if (size != nullptr) {
        *size = bytes;
    }
    return error;
}

RegistryError Win32RegistryStore::SetValue(RegistryHandle key, const char* name, RegistryType type,
                                           const void* data, std::uint32_t size) {
    return RegSetValueExA(ToKey(key), name, 0, static_cast<DWORD>(type),
                          static_cast<const BYTE*>(data), size);
}

RegistryError Win32RegistryStore::DeleteValue(RegistryHandle key, const char* name) {
    return RegDeleteValueA(ToKey(key), name);
}

RegistryError Win32RegistryStore::EnumKey(RegistryHandle key, std::uint32_t index, char* name,
                                          std::uint32_t* nameSize) {
    if (nameSize == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    DWORD chars = *nameSize;
    const LONG error =
        RegEnumKeyExA(ToKey(key), index, name, &chars, nullptr, nullptr, nullptr, nullptr);
    *nameSize = chars;
    return error;
}

RegistryError Win32RegistryStore::EnumValue(RegistryHandle key, std::uint32_t index, char* name,
                                            std::uint32_t* nameSize, RegistryType* type, void* data,
                                            std::uint32_t* dataSize) {
    if (nameSize == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    DWORD chars = *nameSize;
    DWORD kind = REG_NONE;
    DWORD bytes = dataSize != nullptr ? *dataSize : 0;
    const LONG error =
        RegEnumValueA(ToKey(key), index, name, &chars, nullptr, &kind, static_cast<BYTE*>(data),
                      dataSize != nullptr ? &bytes : nullptr);
    *nameSize = chars;
    if (type != nullptr) {
        *type = static_cast<RegistryType>(kind);
    }
    if (dataSize != nullptr) {
        *dataSize = bytes;
    }
    return error;
}

RegistryError Win32RegistryStore::QueryValueCount(RegistryHandle key, std::uint32_t* count) {
    if (count == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    DWORD values = 0;
    const LONG error = RegQueryInfoKeyA(ToKey(key), nullptr, nullptr, nullptr, nullptr, nullptr,
                                        nullptr, &values, nullptr, nullptr, nullptr, nullptr);
    *count = error == ERROR_SUCCESS ? values : 0;
    return error;
}

RegistryError Win32RegistryStore::DeleteKey(RegistryHandle parent, const char* path) {
    return RegDeleteKeyA(ToKey(parent), path);
}

Win32RegistryStore& SystemRegistry() {
    static Win32RegistryStore store;
    return store;
}

}  // namespace velmora::registry
