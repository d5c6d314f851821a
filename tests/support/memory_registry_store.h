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

class MemoryRegistryStore : public settings::RegistryStore {
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
    using FaultHook = std::function<settings::RegistryError(Operation, const std::string& keyPath,
                                                            const std::string& name)>;

    MemoryRegistryStore();
    ~MemoryRegistryStore() override;

    settings::RegistryHandle Root(settings::RegistryRoot root) override;
    settings::RegistryError OpenKey(settings::RegistryHandle parent, const char* path,
                                    settings::RegistryAccess access,
                                    settings::RegistryHandle* result) override;
    settings::RegistryError CreateKey(settings::RegistryHandle parent, const char* path,
                                      settings::RegistryAccess access,
                                      settings::RegistryHandle* result) override;
    settings::RegistryError CloseKey(settings::RegistryHandle key) override;
    settings::RegistryError QueryValue(settings::RegistryHandle key, const char* name,
                                       settings::RegistryType* type, void* data,
                                       std::uint32_t* size) override;
    settings::RegistryError SetValue(settings::RegistryHandle key, const char* name,
                                     settings::RegistryType type, const void* data,
                                     std::uint32_t size) override;
    settings::RegistryError DeleteValue(settings::RegistryHandle key, const char* name) override;
    settings::RegistryError EnumKey(settings::RegistryHandle key, std::uint32_t index, char* name,
                                    std::uint32_t* nameSize) override;
    settings::RegistryError EnumValue(settings::RegistryHandle key, std::uint32_t index, char* name,
                                      std::uint32_t* nameSize, settings::RegistryType* type,
                                      void* data, std::uint32_t* dataSize) override;
    settings::RegistryError QueryValueCount(settings::RegistryHandle key,
                                            std::uint32_t* count) override;
    settings::RegistryError DeleteKey(settings::RegistryHandle parent, const char* path) override;

    void SetFaultHook(FaultHook hook) { faultHook_ = std::move(hook); }
    // Handles opened and not yet closed; roots do not count.
    std::size_t OpenHandleCount() const { return handles_.size(); }

private:
    struct Node;
    struct Handle {
        std::shared_ptr<Node> node;
        settings::RegistryAccess access = 0;
    };

    settings::RegistryError Resolve(settings::RegistryHandle key, settings::RegistryAccess needed,
                                    Handle* handle) const;
    settings::RegistryError Fault(Operation operation, const Node& node, const char* name) const;
    // Resolve, then the test's fault for the operation.
    settings::RegistryError Prepare(settings::RegistryHandle key, settings::RegistryAccess needed,
                                    Operation operation, const char* name, Handle* handle) const;
    settings::RegistryHandle AddHandle(std::shared_ptr<Node> node, settings::RegistryAccess access);

    std::shared_ptr<Node> roots_[4];
    std::map<std::uintptr_t, Handle> handles_;
    std::uintptr_t nextHandle_ = 1;
    FaultHook faultHook_;
};

}  // namespace velmora::testing
