// The system registry behind the store interface.
#pragma once

#include "registry/registry_store.h"

namespace velmora::registry {

class Win32RegistryStore : public RegistryStore {
public:
    RegistryHandle Root(RegistryRoot root) override;
    RegistryError OpenKey(RegistryHandle parent, const char* path, RegistryAccess access,
                          RegistryHandle* result) override;
    RegistryError CreateKey(RegistryHandle parent, const char* path, RegistryAccess access,
                            RegistryHandle* result) override;
    RegistryError CloseKey(RegistryHandle key) override;
    RegistryError QueryValue(RegistryHandle key, const char* name, RegistryType* type, void* data,
                             std::uint32_t* size) override;
    RegistryError SetValue(RegistryHandle key, const char* name, RegistryType type,
                           const void* data, std::uint32_t size) override;
    RegistryError DeleteValue(RegistryHandle key, const char* name) override;
    RegistryError EnumKey(RegistryHandle key, std::uint32_t index, char* name,
                          std::uint32_t* nameSize) override;
    RegistryError EnumValue(RegistryHandle key, std::uint32_t index, char* name,
                            std::uint32_t* nameSize, RegistryType* type, void* data,
                            std::uint32_t* dataSize) override;
    RegistryError QueryValueCount(RegistryHandle key, std::uint32_t* count) override;
    RegistryError DeleteKey(RegistryHandle parent, const char* path) override;
};

// The one system registry of the process.
Win32RegistryStore& SystemRegistry();

}  // namespace velmora::registry
