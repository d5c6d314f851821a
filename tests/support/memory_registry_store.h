// A registry kept in memory, for tests of the storage code on any platform.
// It follows the system registry where the program relies on it: names are
// matched without regard to letter case, values keep their type and bytes and
// enumerate in the order they were first set, subkeys enumerate sorted, a key
// with subkeys cannot be deleted, and reading or changing a key's values needs
// a handle with the matching access rights.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "registry/registry_store.h"

namespace velmora::testing {

class MemoryRegistryStore : public registry::RegistryStore {
public:
    enum class Operation {
        OpenKey,
        CreateKey,
        QueryValue,
        SetValue,
        DeleteValue,
        EnumKey,
        EnumValue,
        QueryValueCount,
        DeleteKey,
    };
    // Called before each operation with the path of the key it works on
    // (below its root) and the value or subkey name it names; a result other
    // than Success fails the operation with that error.
    using FaultHook = std::function<registry::RegistryError(Operation, const std::string& keyPath,
                                                            const std::string& name)>;

    MemoryRegistryStore();
    ~MemoryRegistryStore() override;

    registry::RegistryHandle Root(registry::RegistryRoot root) override;
    registry::RegistryError OpenKey(registry::RegistryHandle parent, const char* path,
                                    registry::RegistryAccess access,
                                    registry::RegistryHandle* result) override;
    registry::RegistryError CreateKey(registry::RegistryHandle parent, const char* path,
                                      registry::RegistryAccess access,
                                      registry::RegistryHandle* result) override;
    registry::RegistryError CloseKey(registry::RegistryHandle key) override;
    registry::RegistryError QueryValue(registry::RegistryHandle key, const char* name,
                                       registry::RegistryType* type, void* data,
                                       std::uint32_t* size) override;
    registry::RegistryError SetValue(registry::RegistryHandle key, const char* name,
                                     registry::RegistryType type, const void* data,
                                     std::uint32_t size) override;
    registry::RegistryError DeleteValue(registry::RegistryHandle key, const char* name) override;
    registry::RegistryError EnumKey(registry::RegistryHandle key, std::uint32_t index, char* name,
                                    std::uint32_t* nameSize) override;
    registry::RegistryError EnumValue(registry::RegistryHandle key, std::uint32_t index, char* name,
                                      std::uint32_t* nameSize, registry::RegistryType* type,
                                      void* data, std::uint32_t* dataSize) override;
    registry::RegistryError QueryValueCount(registry::RegistryHandle key,
                                            std::uint32_t* count) override;
    registry::RegistryError DeleteKey(registry::RegistryHandle parent, const char* path) override;

    void SetFaultHook(FaultHook hook) { faultHook_ = std::move(hook); }
    // Handles opened and not yet closed; roots do not count.
    std::size_t OpenHandleCount() const { return handles_.size(); }

private:
    struct Node;
    struct Handle {
        std::shared_ptr<Node> node;
        registry::RegistryAccess access = 0;
    };

    registry::RegistryError Resolve(registry::RegistryHandle key, registry::RegistryAccess needed,
                                    Handle* handle) const;
    registry::RegistryError Fault(Operation operation, const Node& node, const char* name) const;
    // Resolve, then the test's fault for the operation.
    registry::RegistryError Prepare(registry::RegistryHandle key, registry::RegistryAccess needed,
                                    Operation operation, const char* name, Handle* handle) const;
    registry::RegistryHandle AddHandle(std::shared_ptr<Node> node, registry::RegistryAccess access);

    std::shared_ptr<Node> roots_[4];
    std::map<std::uintptr_t, Handle> handles_;
    std::uintptr_t nextHandle_ = 1;
    FaultHook faultHook_;
};

}  // namespace velmora::testing
