#include "registry/registry_key.h"

#include <utility>

namespace velmora::registry {

bool NamesSubKey(std::string_view path) {
    return path.find_first_not_of('\\') != std::string_view::npos;
}

RegistryKey::RegistryKey(RegistryKey&& other) noexcept
    : store_(std::exchange(other.store_, nullptr)),
      handle_(std::exchange(other.handle_, nullptr)) {}

RegistryKey& RegistryKey::operator=(RegistryKey&& other) noexcept {
    if (this != &other) {
        Close();
        store_ = std::exchange(other.store_, nullptr);
        handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
}

RegistryKey::~RegistryKey() {
    Close();
}

RegistryError RegistryKey::Acquire(RegistryStore& store, RegistryHandle parent,
                                   const std::string& path, RegistryAccess access, Mode mode) {
    RegistryHandle opened = nullptr;
    const RegistryError error = mode == Mode::Open
                                    ? store.OpenKey(parent, path.c_str(), access, &opened)
                                    : store.CreateKey(parent, path.c_str(), access, &opened);
    // The parent may be this very key, so it is replaced only after the call.
    Close();
    if (error != registry_error::Success) {
        return error;
    }
    store_ = &store;
    handle_ = opened;
    return error;
}

RegistryError RegistryKey::Open(RegistryStore& store, RegistryRoot root, const std::string& path,
                                RegistryAccess access) {
    return Acquire(store, store.Root(root), path, access, Mode::Open);
}

RegistryError RegistryKey::Create(RegistryStore& store, RegistryRoot root, const std::string& path,
                                  RegistryAccess access) {
    return Acquire(store, store.Root(root), path, access, Mode::Create);
}

RegistryError RegistryKey::OpenBelow(const RegistryKey& parent, const std::string& path,
                                     RegistryAccess access) {
    if (!parent.IsOpen()) {
        Close();
        return registry_error::InvalidHandle;
    }
    return Acquire(*parent.store_, parent.handle_, path, access, Mode::Open);
}

RegistryError RegistryKey::CreateBelow(const RegistryKey& parent, const std::string& path,
                                       RegistryAccess access) {
    if (!parent.IsOpen()) {
        Close();
        return registry_error::InvalidHandle;
    }
    return Acquire(*parent.store_, parent.handle_, path, access, Mode::Create);
}

void RegistryKey::Close() {
    if (handle_ != nullptr) {
        store_->CloseKey(handle_);
    }
    store_ = nullptr;
    handle_ = nullptr;
}

RegistryError RegistryKey::QueryValue(const char* name, RegistryType* type, void* data,
                                      std::uint32_t* size) const {
    if (!IsOpen()) {
        return registry_error::InvalidHandle;
    }
    return store_->QueryValue(handle_, name, type, data, size);
}

RegistryError RegistryKey::SetValue(const char* name, RegistryType type, const void* data,
                                    std::uint32_t size) const {
    if (!IsOpen()) {
        return registry_error::InvalidHandle;
    }
    return store_->SetValue(handle_, name, type, data, size);
}

RegistryError RegistryKey::DeleteValue(const char* name) const {
    if (!IsOpen()) {
        return registry_error::InvalidHandle;
    }
    return store_->DeleteValue(handle_, name);
}

RegistryError RegistryKey::EnumKey(std::uint32_t index, char* name, std::uint32_t* nameSize) const {
    if (!IsOpen()) {
        return registry_error::InvalidHandle;
    }
    return store_->EnumKey(handle_, index, name, nameSize);
}

RegistryError RegistryKey::EnumValue(std::uint32_t index, char* name, std::uint32_t* nameSize,
                                     RegistryType* type, void* data,
                                     std::uint32_t* dataSize) const {
    if (!IsOpen()) {
        return registry_error::InvalidHandle;
    }
    return store_->EnumValue(handle_, index, name, nameSize, type, data, dataSize);
}

RegistryError RegistryKey::QueryValueCount(std::uint32_t* count) const {
    if (!IsOpen()) {
        return registry_error::InvalidHandle;
    }
    return store_->QueryValueCount(handle_, count);
}

RegistryError RegistryKey::DeleteSubKey(const char* path) const {
    if (!IsOpen()) {
        return registry_error::InvalidHandle;
    }
    if (path == nullptr || !NamesSubKey(path)) {
        return registry_error::InvalidParameter;
    }
    return store_->DeleteKey(handle_, path);
}

}  // namespace velmora::registry
