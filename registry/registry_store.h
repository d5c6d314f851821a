// The registry as the program sees it: roots, value types, access rights and
// error codes with the system's numbers, and the store interface behind which
// sits either the system registry or an in-memory stand-in for tests.
#pragma once

#include <cstdint>

namespace velmora::registry {

// Error codes of the registry functions (winerror.h numbers).
using RegistryError = long;

namespace registry_error {
inline constexpr RegistryError Success = 0;
inline constexpr RegistryError FileNotFound = 2;
inline constexpr RegistryError AccessDenied = 5;
inline constexpr RegistryError InvalidHandle = 6;
inline constexpr RegistryError InvalidParameter = 87;
inline constexpr RegistryError MoreData = 234;
inline constexpr RegistryError NoMoreItems = 259;
inline constexpr RegistryError KeyDeleted = 1018;
}  // namespace registry_error

// The predefined keys that paths start from.
enum class RegistryRoot {
    ClassesRoot,
    CurrentUser,
    LocalMachine,
    Users,
};

// Value types with the system's numbers (REG_SZ, REG_BINARY, REG_DWORD...).
enum class RegistryType : std::uint32_t {
    None = 0,
    String = 1,
    ExpandString = 2,
    Binary = 3,
    Dword = 4,
    MultiString = 7,
};

// Access masks with the system's bits (KEY_READ, KEY_WRITE...).
using RegistryAccess = std::uint32_t;

namespace registry_access {
inline constexpr RegistryAccess QueryValue = 0x0001;
inline constexpr RegistryAccess SetValue = 0x0002;
inline constexpr RegistryAccess CreateSubKey = 0x0004;
inline constexpr RegistryAccess EnumerateSubKeys = 0x0008;
inline constexpr RegistryAccess Notify = 0x0010;
inline constexpr RegistryAccess CreateLink = 0x0020;
inline constexpr RegistryAccess Delete = 0x00010000;
inline constexpr RegistryAccess ReadControl = 0x00020000;
inline constexpr RegistryAccess WriteDac = 0x00040000;
inline constexpr RegistryAccess WriteOwner = 0x00080000;
inline constexpr RegistryAccess Read = ReadControl | QueryValue | EnumerateSubKeys | Notify;
inline constexpr RegistryAccess Write = ReadControl | SetValue | CreateSubKey;
inline constexpr RegistryAccess AllAccess = Delete | ReadControl | WriteDac | WriteOwner |
                                            QueryValue | SetValue | CreateSubKey |
                                            EnumerateSubKeys | Notify | CreateLink;
}  // namespace registry_access

// A key opened in a store (an HKEY for the system registry).
using RegistryHandle = void*;

// The registry functions the program uses, with their calling rules: sizes are
// in bytes (names: in characters, including the terminator on the way in and
// excluding it on the way out), and a buffer that is too small gives MoreData
// with the needed size. Names and text values are UTF-8, their sizes counted in
// UTF-8 bytes; the system store keeps them as UTF-16 through the wide calls.
class RegistryStore {
public:
    RegistryStore() = default;
    RegistryStore(const RegistryStore&) = delete;
    RegistryStore& operator=(const RegistryStore&) = delete;
    virtual ~RegistryStore() = default;

    // The predefined handle of a root; it is never closed.
    virtual RegistryHandle Root(RegistryRoot root) = 0;
    // RegOpenKeyExW: an existing key; an empty path opens a new handle to parent.
    virtual RegistryError OpenKey(RegistryHandle parent, const char* path, RegistryAccess access,
                                  RegistryHandle* result) = 0;
    // RegCreateKeyExW, non-volatile: opens the key, creating it and its parents.
    virtual RegistryError CreateKey(RegistryHandle parent, const char* path, RegistryAccess access,
                                    RegistryHandle* result) = 0;
    virtual RegistryError CloseKey(RegistryHandle key) = 0;
    // RegQueryValueExW. Null data asks for the size only.
    virtual RegistryError QueryValue(RegistryHandle key, const char* name, RegistryType* type,
                                     void* data, std::uint32_t* size) = 0;
    // RegSetValueExW.
    virtual RegistryError SetValue(RegistryHandle key, const char* name, RegistryType type,
                                   const void* data, std::uint32_t size) = 0;
    // RegDeleteValueW.
    virtual RegistryError DeleteValue(RegistryHandle key, const char* name) = 0;
    // RegEnumKeyExW.
    virtual RegistryError EnumKey(RegistryHandle key, std::uint32_t index, char* name,
                                  std::uint32_t* nameSize) = 0;
    // RegEnumValueW.
    virtual RegistryError EnumValue(RegistryHandle key, std::uint32_t index, char* name,
                                    std::uint32_t* nameSize, RegistryType* type, void* data,
                                    std::uint32_t* dataSize) = 0;
    // The number of values, as RegQueryInfoKeyW gives it.
    virtual RegistryError QueryValueCount(RegistryHandle key, std::uint32_t* count) = 0;
    // RegDeleteKeyW: fails while the key still has subkeys.
    virtual RegistryError DeleteKey(RegistryHandle parent, const char* path) = 0;
};

}  // namespace velmora::registry
