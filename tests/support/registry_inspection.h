// Reading back what a registry store holds, for the storage tests.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "registry/registry_key.h"

namespace velmora::testing {

struct StoredValue {
    std::string name;
    registry::RegistryType type = registry::RegistryType::None;
    std::vector<std::uint8_t> data;

    std::uint32_t Dword() const {
        std::uint32_t value = 0;
        std::memcpy(&value, data.data(), std::min<std::size_t>(data.size(), sizeof value));
        return value;
    }
    float Float() const {
        float value = 0;
        std::memcpy(&value, data.data(), std::min<std::size_t>(data.size(), sizeof value));
        return value;
    }
    std::string Bytes() const { return std::string(data.begin(), data.end()); }
};

inline bool KeyExists(registry::RegistryStore& store, const std::string& path) {
    registry::RegistryKey key;
    return key.Open(store, registry::RegistryRoot::CurrentUser, path,
                    registry::registry_access::Read) == registry::registry_error::Success;
}

// The values of a key under HKEY_CURRENT_USER in enumeration order.
inline std::vector<StoredValue> ValuesOf(registry::RegistryStore& store, const std::string& path) {
    std::vector<StoredValue> values;
    registry::RegistryKey key;
    if (key.Open(store, registry::RegistryRoot::CurrentUser, path,
                 registry::registry_access::Read) != registry::registry_error::Success) {
        return values;
    }
    for (std::uint32_t index = 0;; ++index) {
        char name[256] = {};
        std::uint32_t nameSize = sizeof name;
        std::vector<std::uint8_t> data(4096);
        std::uint32_t dataSize = static_cast<std::uint32_t>(data.size());
        StoredValue value;
        if (key.EnumValue(index, name, &nameSize, &value.type, data.data(), &dataSize) !=
            registry::registry_error::Success) {
            return values;
        }
        value.name = name;
        value.data.assign(data.begin(), data.begin() + dataSize);
        values.push_back(std::move(value));
    }
}

inline std::vector<std::string> ValueNamesOf(registry::RegistryStore& store,
                                             const std::string& path) {
    std::vector<std::string> names;
    for (const StoredValue& value : ValuesOf(store, path)) {
        names.push_back(value.name);
    }
    return names;
}

inline std::vector<std::string> SubkeysOf(registry::RegistryStore& store, const std::string& path) {
    std::vector<std::string> names;
    registry::RegistryKey key;
    if (key.Open(store, registry::RegistryRoot::CurrentUser, path,
                 registry::registry_access::Read) != registry::registry_error::Success) {
        return names;
    }
    for (std::uint32_t index = 0;; ++index) {
        char name[256] = {};
        std::uint32_t size = sizeof name;
        if (key.EnumKey(index, name, &size) != registry::registry_error::Success) {
            return names;
        }
        names.emplace_back(name);
    }
}

// Sets one value under HKEY_CURRENT_USER, creating the key.
inline void PutValue(registry::RegistryStore& store, const std::string& path, const char* name,
                     registry::RegistryType type, const void* data, std::uint32_t size) {
    registry::RegistryKey key;
    key.Create(store, registry::RegistryRoot::CurrentUser, path, registry::registry_access::Write);
    key.SetValue(name, type, data, size);
}

inline void PutText(registry::RegistryStore& store, const std::string& path, const char* name,
                    const std::string& text) {
    PutValue(store, path, name, registry::RegistryType::String, text.c_str(),
             static_cast<std::uint32_t>(text.size() + 1));
}

}  // namespace velmora::testing
