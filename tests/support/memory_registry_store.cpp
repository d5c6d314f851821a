// The registry kept in memory (memory_registry_store.h).
#include "tests/support/memory_registry_store.h"

#include <algorithm>
#include <cstring>
#include <string_view>
#include <vector>

namespace velmora::testing {

using registry::RegistryAccess;
using registry::RegistryError;
using registry::RegistryHandle;
using registry::RegistryRoot;
using registry::RegistryType;

namespace {

namespace access = registry::registry_access;
namespace error = registry::registry_error;

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return Lower(x) == Lower(y); });
}

struct NameLess {
    bool operator()(const std::string& a, const std::string& b) const {
        return std::lexicographical_compare(
            a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
                return static_cast<unsigned char>(Lower(x)) < static_cast<unsigned char>(Lower(y));
            });
    }
};

std::vector<std::string> SplitPath(const char* path) {
    std::vector<std::string> parts;
    std::string_view rest = path != nullptr ? path : "";
    while (!rest.empty()) {
        const std::size_t end = std::min(rest.find('\\'), rest.size());
        if (end > 0) {
            parts.emplace_back(rest.substr(0, end));
        }
        rest.remove_prefix(std::min(end + 1, rest.size()));
    }
    return parts;
}

constexpr std::uintptr_t kRootBase = 0x80000000u;

}  // namespace

struct MemoryRegistryStore::Node {
    struct Value {
        std::string name;
        RegistryType type = RegistryType::None;
        std::vector<std::uint8_t> data;
    };

    std::string path;
    Node* parent = nullptr;
    bool deleted = false;
    std::vector<Value> values;
    std::map<std::string, std::shared_ptr<Node>, NameLess> children;

    Value* FindValue(const char* name) {
        const std::string_view wanted = name != nullptr ? name : "";
        for (Value& value : values) {
            if (SameName(value.name, wanted)) {
                return &value;
            }
        }
        return nullptr;
    }

    std::shared_ptr<Node> Child(const std::string& name) const {
        const auto found = children.find(name);
        return found != children.end() ? found->second : nullptr;
    }

    std::shared_ptr<Node> AddChild(const std::string& name) {
        auto child = std::make_shared<Node>();
        child->path = path.empty() ? name : path + "\\" + name;
        child->parent = this;
        children.emplace(name, child);
        return child;
    }
};

MemoryRegistryStore::MemoryRegistryStore() {
    for (auto& root : roots_) {
        root = std::make_shared<Node>();
    }
}

MemoryRegistryStore::~MemoryRegistryStore() = default;

RegistryHandle MemoryRegistryStore::Root(RegistryRoot root) {
    return reinterpret_cast<RegistryHandle>(kRootBase + static_cast<std::uintptr_t>(root));
}

RegistryError MemoryRegistryStore::Resolve(RegistryHandle key, RegistryAccess needed,
                                           Handle* handle) const {
    const auto value = reinterpret_cast<std::uintptr_t>(key);
    if (value >= kRootBase && value < kRootBase + std::size(roots_)) {
        *handle = Handle{roots_[value - kRootBase], access::AllAccess};
        return error::Success;
    }
    const auto found = handles_.find(value);
    if (found == handles_.end()) {
        return error::InvalidHandle;
    }
    if (found->second.node->deleted) {
        return error::KeyDeleted;
    }
    if ((found->second.access & needed) != needed) {
        return error::AccessDenied;
    }
    *handle = found->second;
    return error::Success;
}

RegistryError MemoryRegistryStore::Prepare(RegistryHandle key, RegistryAccess needed,
                                           Operation operation, const char* name,
                                           Handle* handle) const {
    if (const RegistryError e = Resolve(key, needed, handle); e != error::Success) {
        return e;
    }
    return Fault(operation, *handle->node, name);
}

RegistryError MemoryRegistryStore::Fault(Operation operation, const Node& node,
                                         const char* name) const {
    if (!faultHook_) {
        return error::Success;
    }
    return faultHook_(operation, node.path, name != nullptr ? name : "");
}

RegistryHandle MemoryRegistryStore::AddHandle(std::shared_ptr<Node> node, RegistryAccess rights) {
    const std::uintptr_t id = nextHandle_++ << 4;
    handles_.emplace(id, Handle{std::move(node), rights});
    return reinterpret_cast<RegistryHandle>(id);
}

RegistryError MemoryRegistryStore::OpenKey(RegistryHandle parent, const char* path,
                                           RegistryAccess rights, RegistryHandle* result) {
    if (result == nullptr) {
        return error::InvalidParameter;
    }
    *result = nullptr;
    Handle from;
    if (const RegistryError e = Prepare(parent, 0, Operation::OpenKey, path, &from);
        e != error::Success) {
        return e;
    }
    std::shared_ptr<Node> node = from.node;
    for (const std::string& part : SplitPath(path)) {
        node = node->Child(part);
        if (!node) {
            return error::FileNotFound;
        }
    }
    *result = AddHandle(std::move(node), rights);
    return error::Success;
}

RegistryError MemoryRegistryStore::CreateKey(RegistryHandle parent, const char* path,
                                             RegistryAccess rights, RegistryHandle* result) {
    if (result == nullptr) {
        return error::InvalidParameter;
    }
    *result = nullptr;
    Handle from;
    if (const RegistryError e = Prepare(parent, 0, Operation::CreateKey, path, &from);
        e != error::Success) {
        return e;
    }
    // As in the system, creating is checked against the key's security, not
    // against the rights of the handle the path starts from.
    std::shared_ptr<Node> node = from.node;
    for (const std::string& part : SplitPath(path)) {
        std::shared_ptr<Node> child = node->Child(part);
        node = child ? child : node->AddChild(part);
    }
    *result = AddHandle(std::move(node), rights);
    return error::Success;
}

RegistryError MemoryRegistryStore::CloseKey(RegistryHandle key) {
    const auto value = reinterpret_cast<std::uintptr_t>(key);
    if (value >= kRootBase && value < kRootBase + std::size(roots_)) {
        return error::Success;
    }
    return handles_.erase(value) == 1 ? error::Success : error::InvalidHandle;
}

RegistryError MemoryRegistryStore::QueryValue(RegistryHandle key, const char* name,
                                              RegistryType* type, void* data, std::uint32_t* size) {
    if (data != nullptr && size == nullptr) {
        return error::InvalidParameter;
    }
    Handle handle;
    if (const RegistryError e =
            Prepare(key, access::QueryValue, Operation::QueryValue, name, &handle);
        e != error::Success) {
        return e;
    }
    const Node::Value* value = handle.node->FindValue(name);
    if (value == nullptr) {
        return error::FileNotFound;
    }
    if (type != nullptr) {
        *type = value->type;
    }
    if (size == nullptr) {
        return error::Success;
    }
    const auto needed = static_cast<std::uint32_t>(value->data.size());
    const std::uint32_t room = *size;
    *size = needed;
    if (data == nullptr) {
        return error::Success;
    }
    if (room < needed) {
        return error::MoreData;
    }
    std::copy(value->data.begin(), value->data.end(), static_cast<std::uint8_t*>(data));
    return error::Success;
}

RegistryError MemoryRegistryStore::SetValue(RegistryHandle key, const char* name, RegistryType type,
                                            const void* data, std::uint32_t size) {
    if (data == nullptr && size != 0) {
        return error::InvalidParameter;
    }
    Handle handle;
    if (const RegistryError e = Prepare(key, access::SetValue, Operation::SetValue, name, &handle);
        e != error::Success) {
        return e;
    }
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    std::vector<std::uint8_t> content(bytes, bytes + size);
    if (Node::Value* existing = handle.node->FindValue(name)) {
        existing->type = type;
        existing->data = std::move(content);
    } else {
        handle.node->values.push_back({name != nullptr ? name : "", type, std::move(content)});
    }
    return error::Success;
}

RegistryError MemoryRegistryStore::DeleteValue(RegistryHandle key, const char* name) {
    Handle handle;
    if (const RegistryError e =
            Prepare(key, access::SetValue, Operation::DeleteValue, name, &handle);
        e != error::Success) {
        return e;
    }
    auto& values = handle.node->values;
    const Node::Value* value = handle.node->FindValue(name);
    if (value == nullptr) {
        return error::FileNotFound;
    }
    values.erase(values.begin() + (value - values.data()));
    return error::Success;
}

RegistryError MemoryRegistryStore::EnumKey(RegistryHandle key, std::uint32_t index, char* name,
                                           std::uint32_t* nameSize) {
    if (name == nullptr || nameSize == nullptr) {
        return error::InvalidParameter;
    }
    Handle handle;
    if (const RegistryError e =
            Prepare(key, access::EnumerateSubKeys, Operation::EnumKey, nullptr, &handle);
        e != error::Success) {
        return e;
    }
    if (index >= handle.node->children.size()) {
        return error::NoMoreItems;
    }
    const std::string& child = std::next(handle.node->children.begin(), index)->first;
    if (child.size() + 1 > *nameSize) {
        return error::MoreData;
    }
    std::memcpy(name, child.c_str(), child.size() + 1);
    *nameSize = static_cast<std::uint32_t>(child.size());
    return error::Success;
}

RegistryError MemoryRegistryStore::EnumValue(RegistryHandle key, std::uint32_t index, char* name,
                                             std::uint32_t* nameSize, RegistryType* type,
                                             void* data, std::uint32_t* dataSize) {
    if (name == nullptr || nameSize == nullptr || (data != nullptr && dataSize == nullptr)) {
        return error::InvalidParameter;
    }
    Handle handle;
    if (const RegistryError e =
            Prepare(key, access::QueryValue, Operation::EnumValue, nullptr, &handle);
        e != error::Success) {
        return e;
    }
    if (index >= handle.node->values.size()) {
        return error::NoMoreItems;
    }
    const Node::Value& value = handle.node->values[index];
    if (value.name.size() + 1 > *nameSize) {
        return error::MoreData;
    }
    std::memcpy(name, value.name.c_str(), value.name.size() + 1);
    *nameSize = static_cast<std::uint32_t>(value.name.size());
    if (type != nullptr) {
        *type = value.type;
    }
    if (dataSize == nullptr) {
        return error::Success;
    }
    const auto needed = static_cast<std::uint32_t>(value.data.size());
    const std::uint32_t room = *dataSize;
    *dataSize = needed;
    if (data == nullptr) {
        return error::Success;
    }
    if (room < needed) {
        return error::MoreData;
    }
    std::copy(value.data.begin(), value.data.end(), static_cast<std::uint8_t*>(data));
    return error::Success;
}

RegistryError MemoryRegistryStore::QueryValueCount(RegistryHandle key, std::uint32_t* count) {
    if (count == nullptr) {
        return error::InvalidParameter;
    }
    Handle handle;
    if (const RegistryError e =
            Prepare(key, access::QueryValue, Operation::QueryValueCount, nullptr, &handle);
        e != error::Success) {
        return e;
    }
    *count = static_cast<std::uint32_t>(handle.node->values.size());
    return error::Success;
}

RegistryError MemoryRegistryStore::DeleteKey(RegistryHandle parent, const char* path) {
    Handle handle;
    if (const RegistryError e = Prepare(parent, 0, Operation::DeleteKey, path, &handle);
        e != error::Success) {
        return e;
    }
    std::shared_ptr<Node> node = handle.node;
    for (const std::string& part : SplitPath(path)) {
        node = node->Child(part);
        if (!node) {
            return error::FileNotFound;
        }
    }
    if (node->parent == nullptr || !node->children.empty()) {
        return error::AccessDenied;
    }
    node->deleted = true;
    auto& siblings = node->parent->children;
    for (auto it = siblings.begin(); it != siblings.end(); ++it) {
        if (it->second == node) {
            siblings.erase(it);
            break;
        }
    }
    return error::Success;
}

}  // namespace velmora::testing
