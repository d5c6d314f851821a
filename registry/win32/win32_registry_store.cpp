#include "registry/win32/win32_registry_store.h"

#include <windows.h>

#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "base/win32/wide_text.h"

// Names and text values cross as UTF-8 and are kept by the system as UTF-16
// through the wide calls; a text's size is then counted in UTF-8 bytes. A
// REG_SZ stored by a narrow call reads back through the wide call as the
// system converts it from the code page, so older lists load unchanged.

namespace velmora::registry {

namespace {

HKEY ToKey(RegistryHandle handle) {
    return static_cast<HKEY>(handle);
}

// Sizes pass through DWORDs, which are 32 bits like ours.
static_assert(sizeof(DWORD) == sizeof(std::uint32_t));

// A key or value name for the wide calls; null stays null (the default value).
class WideName {
public:
    explicit WideName(const char* name)
        : text_(name != nullptr ? WideFromUtf8(name) : std::wstring()), null_(name == nullptr) {}
    const wchar_t* Get() const { return null_ ? nullptr : text_.c_str(); }

private:
    std::wstring text_;
    bool null_;
};

bool IsText(DWORD kind) {
    return kind == REG_SZ || kind == REG_EXPAND_SZ || kind == REG_MULTI_SZ;
}

// UTF-16 data as UTF-8 bytes, NULs and all; an odd last byte is no unit.
std::string TextFromWideData(const std::vector<BYTE>& data, DWORD bytes) {
    std::wstring wide(bytes / sizeof(wchar_t), L'\0');
    std::memcpy(wide.data(), data.data(), wide.size() * sizeof(wchar_t));
    return Utf8FromWide(wide);
}

// Hands a text to the caller by the registry's size rules: null data asks
// for the size, a buffer too small gives MoreData and the size needed.
LONG DeliverBytes(std::string_view bytes, void* data, std::uint32_t* size) {
    if (size == nullptr) {
        return data == nullptr ? ERROR_SUCCESS : ERROR_INVALID_PARAMETER;
    }
    const std::uint32_t room = *size;
    *size = static_cast<std::uint32_t>(bytes.size());
    if (data == nullptr) {
        return ERROR_SUCCESS;
    }
    if (room < bytes.size()) {
        return ERROR_MORE_DATA;
    }
    std::memcpy(data, bytes.data(), bytes.size());
    return ERROR_SUCCESS;
}

// Reads data whole through read(buffer, size), growing the buffer while the
// value grows between the size query and the read.
template <typename Read>
LONG ReadWhole(const Read& read, DWORD bytes, std::vector<BYTE>& buffer, DWORD& got) {
    for (int attempt = 0; attempt < 4; ++attempt) {
        buffer.assign(bytes + sizeof(wchar_t), 0);
        got = static_cast<DWORD>(buffer.size());
        const LONG error = read(buffer.data(), &got);
        if (error != ERROR_MORE_DATA) {
            return error;
        }
        bytes = got;
    }
    return ERROR_MORE_DATA;
}

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
    const LONG error = RegOpenKeyExW(ToKey(parent), WideName(path).Get(), 0, access, &key);
    *result = error == ERROR_SUCCESS ? key : nullptr;
    return error;
}

RegistryError Win32RegistryStore::CreateKey(RegistryHandle parent, const char* path,
                                            RegistryAccess access, RegistryHandle* result) {
    if (result == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    HKEY key = nullptr;
    const LONG error = RegCreateKeyExW(ToKey(parent), WideName(path).Get(), 0, nullptr,
                                       REG_OPTION_NON_VOLATILE, access, nullptr, &key, nullptr);
    *result = error == ERROR_SUCCESS ? key : nullptr;
    return error;
}

RegistryError Win32RegistryStore::CloseKey(RegistryHandle key) {
    return RegCloseKey(ToKey(key));
}

RegistryError Win32RegistryStore::QueryValue(RegistryHandle key, const char* name,
                                             RegistryType* type, void* data, std::uint32_t* size) {
    const WideName wideName(name);
    DWORD kind = REG_NONE;
    DWORD bytes = 0;
    LONG error = RegQueryValueExW(ToKey(key), wideName.Get(), nullptr, &kind, nullptr, &bytes);
    if (error == ERROR_SUCCESS && IsText(kind)) {
        std::vector<BYTE> wide;
        DWORD got = 0;
        error = ReadWhole(
            [&](BYTE* buffer, DWORD* length) {
                return RegQueryValueExW(ToKey(key), wideName.Get(), nullptr, &kind, buffer, length);
            },
            bytes, wide, got);
        if (error == ERROR_SUCCESS) {
            error = DeliverBytes(TextFromWideData(wide, got), data, size);
        }
    } else if (error == ERROR_SUCCESS) {
        bytes = size != nullptr ? *size : 0;
        error = RegQueryValueExW(ToKey(key), wideName.Get(), nullptr, &kind,
                                 static_cast<BYTE*>(data), size != nullptr ? &bytes : nullptr);
        if (size != nullptr) {
            *size = bytes;
        }
    }
    if (type != nullptr) {
        *type = static_cast<RegistryType>(kind);
    }
    return error;
}

RegistryError Win32RegistryStore::SetValue(RegistryHandle key, const char* name, RegistryType type,
                                           const void* data, std::uint32_t size) {
    const DWORD kind = static_cast<DWORD>(type);
    if (IsText(kind) && data != nullptr) {
        const std::wstring wide =
            WideFromUtf8(std::string_view(static_cast<const char*>(data), size));
        return RegSetValueExW(ToKey(key), WideName(name).Get(), 0, kind,
                              reinterpret_cast<const BYTE*>(wide.data()),
                              static_cast<DWORD>(wide.size() * sizeof(wchar_t)));
    }
    return RegSetValueExW(ToKey(key), WideName(name).Get(), 0, kind, static_cast<const BYTE*>(data),
                          size);
}

RegistryError Win32RegistryStore::DeleteValue(RegistryHandle key, const char* name) {
    return RegDeleteValueW(ToKey(key), WideName(name).Get());
}

RegistryError Win32RegistryStore::EnumKey(RegistryHandle key, std::uint32_t index, char* name,
                                          std::uint32_t* nameSize) {
    if (nameSize == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    wchar_t wide[256] = {};  // key names have at most 255 characters
    DWORD chars = 256;
    const LONG error =
        RegEnumKeyExW(ToKey(key), index, wide, &chars, nullptr, nullptr, nullptr, nullptr);
    if (error != ERROR_SUCCESS) {
        return error;
    }
    const std::string text = Utf8FromWide(std::wstring_view(wide, chars));
    if (name == nullptr || text.size() >= *nameSize) {
        *nameSize = static_cast<std::uint32_t>(text.size() + 1);
        return ERROR_MORE_DATA;
    }
    std::memcpy(name, text.c_str(), text.size() + 1);
    *nameSize = static_cast<std::uint32_t>(text.size());
    return ERROR_SUCCESS;
}

RegistryError Win32RegistryStore::EnumValue(RegistryHandle key, std::uint32_t index, char* name,
                                            std::uint32_t* nameSize, RegistryType* type, void* data,
                                            std::uint32_t* dataSize) {
    if (nameSize == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    // Value names have at most 16383 characters.
    std::wstring wide(16384, L'\0');
    DWORD chars = static_cast<DWORD>(wide.size());
    DWORD kind = REG_NONE;
    DWORD bytes = 0;
    LONG error =
        RegEnumValueW(ToKey(key), index, wide.data(), &chars, nullptr, &kind, nullptr, &bytes);
    if (error != ERROR_SUCCESS) {
        return error;
    }
    const auto enumerate = [&](BYTE* buffer, DWORD* length) {
        chars = static_cast<DWORD>(wide.size());
        return RegEnumValueW(ToKey(key), index, wide.data(), &chars, nullptr, &kind, buffer,
                             length);
    };
    if (IsText(kind) && dataSize != nullptr) {
        std::vector<BYTE> wideData;
        DWORD got = 0;
        error = ReadWhole(enumerate, bytes, wideData, got);
        if (error == ERROR_SUCCESS) {
            error = DeliverBytes(TextFromWideData(wideData, got), data, dataSize);
        }
    } else if (dataSize != nullptr) {
        bytes = *dataSize;
        error = enumerate(static_cast<BYTE*>(data), &bytes);
        *dataSize = bytes;
    }
    if (type != nullptr) {
        *type = static_cast<RegistryType>(kind);
    }
    const std::string text = Utf8FromWide(std::wstring_view(wide.data(), chars));
    if (name == nullptr || text.size() >= *nameSize) {
        *nameSize = static_cast<std::uint32_t>(text.size() + 1);
        return ERROR_MORE_DATA;
    }
    std::memcpy(name, text.c_str(), text.size() + 1);
    *nameSize = static_cast<std::uint32_t>(text.size());
    return error;
}

RegistryError Win32RegistryStore::QueryValueCount(RegistryHandle key, std::uint32_t* count) {
    if (count == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    DWORD values = 0;
    const LONG error = RegQueryInfoKeyW(ToKey(key), nullptr, nullptr, nullptr, nullptr, nullptr,
                                        nullptr, &values, nullptr, nullptr, nullptr, nullptr);
    *count = error == ERROR_SUCCESS ? values : 0;
    return error;
}

RegistryError Win32RegistryStore::DeleteKey(RegistryHandle parent, const char* path) {
    return RegDeleteKeyW(ToKey(parent), WideName(path).Get());
}

Win32RegistryStore& SystemRegistry() {
    static Win32RegistryStore store;
    return store;
}

}  // namespace velmora::registry
