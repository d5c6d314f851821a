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

#include "settings/registry_store.h"

namespace velmora::settings {

class MemoryRegistryStore : public RegistryStore {
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
    using FaultHook = std::function<RegistryError(Operation, const std::string& keyPath,
                                                  const std::string& name)>;

    MemoryRegistryStore();
    ~MemoryRegistryStore() override;

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

    void SetFaultHook(FaultHook hook) { faultHook_ = std::move(hook); }
    // Handles opened and not yet closed; roots do not count.
    std::size_t OpenHandleCount() const { return handles_.size(); }

private:
    struct Node;
    struct Handle {
        std::shared_ptr<Node> node;
        RegistryAccess access = 0;
    };

    RegistryError Resolve(RegistryHandle key, RegistryAccess needed, Handle* handle) const;
    RegistryError Fault(Operation operation, const Node& node, const char* name) const;
    // Resolve, then the test's fault for the operation.
    RegistryError Prepare(RegistryHandle key, RegistryAccess needed, Operation operation,
                          const char* name, Handle* handle) const;
    RegistryHandle AddHandle(std::shared_ptr<Node> node, RegistryAccess access);

    std::shared_ptr<Node> roots_[4];
    std::map<std::uintptr_t, Handle> handles_;
    std::uintptr_t nextHandle_ = 1;
    FaultHook faultHook_;
};

}  // namespace velmora::settings
