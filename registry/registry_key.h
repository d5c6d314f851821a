// One open registry key. All registry access goes through this class, so a
// handle is closed on every path out of the code that opened it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "registry/registry_store.h"

namespace velmora::registry {

// Whether a path below a key names a subkey: an empty path, or one of
// backslashes only, names the key itself.
bool NamesSubKey(std::string_view path);

class RegistryKey {
public:
    RegistryKey() = default;
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;
    RegistryKey(RegistryKey&& other) noexcept;
    RegistryKey& operator=(RegistryKey&& other) noexcept;
    ~RegistryKey();

    // An existing key below a root. Whatever this object held is closed first;
    // on failure it stays closed.
    RegistryError Open(RegistryStore& store, RegistryRoot root, const std::string& path,
                       RegistryAccess access);
    // The key below a root, created with its parents when missing.
    RegistryError Create(RegistryStore& store, RegistryRoot root, const std::string& path,
                         RegistryAccess access);
    // The same below an open key (which may be this one).
    RegistryError OpenBelow(const RegistryKey& parent, const std::string& path,
                            RegistryAccess access);
    RegistryError CreateBelow(const RegistryKey& parent, const std::string& path,
                              RegistryAccess access);
    void Close();

    bool IsOpen() const { return handle_ != nullptr; }
    RegistryStore* Store() const { return store_; }

    // The store's operations on this key; InvalidHandle while it is closed.
    RegistryError QueryValue(const char* name, RegistryType* type, void* data,
                             std::uint32_t* size) const;
    RegistryError SetValue(const char* name, RegistryType type, const void* data,
                           std::uint32_t size) const;
    RegistryError DeleteValue(const char* name) const;
    RegistryError EnumKey(std::uint32_t index, char* name, std::uint32_t* nameSize) const;
    RegistryError EnumValue(std::uint32_t index, char* name, std::uint32_t* nameSize,
                            RegistryType* type, void* data, std::uint32_t* dataSize) const;
    RegistryError QueryValueCount(std::uint32_t* count) const;
    // InvalidParameter for a path that names no subkey, which the system
    // would take as this key itself.
    RegistryError DeleteSubKey(const char* path) const;

private:
    enum class Mode { Open, Create };
    RegistryError Acquire(RegistryStore& store, RegistryHandle parent, const std::string& path,
                          RegistryAccess access, Mode mode);

    RegistryStore* store_ = nullptr;
    RegistryHandle handle_ = nullptr;
};

}  // namespace velmora::registry
