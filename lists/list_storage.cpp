#include "lists/list_storage.h"

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string_view>
#include <utility>

#include "lists/list_entry.h"
#include "registry/registry_text.h"

namespace velmora::lists {

namespace {

using registry::RegistryError;
using registry::RegistryKey;
namespace access = registry::registry_access;
namespace error = registry::registry_error;

// Subkey names of the registry have at most 255 characters, value names at
// most 16383.
constexpr std::uint32_t kKeyNameBufferSize = 256;
constexpr std::uint32_t kValueNameBufferSize = 256;
constexpr std::uint32_t kLongestValueNameBufferSize = 16384;

// The entry a value's data holds: broken UTF-8 shows as replacement
// characters, and an entry longer than a list keeps is none.
std::optional<std::string> EntryInValueData(const char* data, std::uint32_t dataSize) {
    const std::optional<std::string_view> text =
        registry::TextInValueData(data, dataSize, kListEntryBufferSize);
    if (!text) {
        return std::nullopt;
    }
    std::string entry = ValidUtf8(*text);
    if (!FitsListEntry(entry)) {
        return std::nullopt;
    }
    return entry;
}

// Deletes every value of an open key.
RegistryError DeleteAllValues(const RegistryKey& key) {
    std::string name(kLongestValueNameBufferSize, '\0');
    for (;;) {
        std::uint32_t size = kLongestValueNameBufferSize;
        const RegistryError e = key.EnumValue(0, name.data(), &size, nullptr, nullptr, nullptr);
        if (e == error::NoMoreItems) {
            return error::Success;
        }
        if (e != error::Success) {
            return e;
        }
        if (const RegistryError d = key.DeleteValue(name.c_str()); d != error::Success) {
            return d;
        }
    }
}

}  // namespace

std::string ListValueName(std::size_t position) {
    char name[32] = {};
    std::snprintf(name, sizeof name, "%05d", static_cast<int>(position));
    return name;
}

RegistryError DeleteKeyTree(const RegistryKey& parent, const std::string& subKey) {
    // Opening an empty name opens the parent itself, whose subkeys would all go.
    if (!registry::NamesSubKey(subKey)) {
        return error::InvalidParameter;
    }
    RegistryKey key;
    if (const RegistryError e =
            key.OpenBelow(parent, subKey, access::Read | access::CreateSubKey | access::SetValue);
        e != error::Success) {
        return e;
    }
    for (;;) {
        char child[kKeyNameBufferSize] = {};
        std::uint32_t size = sizeof child;
        if (key.EnumKey(0, child, &size) != error::Success) {
            break;
        }
        if (const RegistryError e = DeleteKeyTree(key, child); e != error::Success) {
            return e;
        }
    }
    key.Close();
    return parent.DeleteSubKey(subKey.c_str());
}

RegistryError SaveList(registry::RegistryStore& store, registry::RegistryRoot root,
                       const std::string& subKeyPath, std::span<const std::string> items,
                       registry::RegistryErrorReporter& reporter) {
    if (!registry::NamesSubKey(subKeyPath)) {
        reporter.Report(error::InvalidParameter);
        return error::InvalidParameter;
    }
    RegistryKey rootKey;
    if (const RegistryError e = rootKey.Open(store, root, "", access::AllAccess);
        e != error::Success) {
        reporter.Report(e);
        return e;
    }
    // A missing subkey is the normal case of a first save; a part of the old
    // tree that could not be deleted is dealt with below.
    DeleteKeyTree(rootKey, subKeyPath);
    RegistryKey list;
    if (const RegistryError e = list.CreateBelow(rootKey, subKeyPath, access::AllAccess);
        e != error::Success) {
        reporter.Report(e);
        return e;
    }
    // Old entries left in a subkey that survived would load after the new ones.
    if (const RegistryError e = DeleteAllValues(list); e != error::Success) {
        reporter.Report(e);
        return e;
    }
    for (std::size_t i = 0; i < items.size(); ++i) {
        const std::string& path = items[i];
        const RegistryError e =
            list.SetValue(ListValueName(i).c_str(), registry::RegistryType::String, path.c_str(),
                          static_cast<std::uint32_t>(path.size() + 1));
        if (e != error::Success) {
            reporter.Report(e);
            return e;
        }
    }
    return error::Success;
}

void LoadListForEditor(registry::RegistryStore& store, registry::RegistryRoot root,
                       const std::string& subKeyPath, const AddListEntry& add) {
    RegistryKey list;
    if (list.Open(store, root, subKeyPath, access::Read) != error::Success) {
        return;
    }
    bool first = true;
    for (std::uint32_t index = 0;; ++index) {
        char name[kValueNameBufferSize] = {};
        std::uint32_t nameSize = sizeof name;
        char data[kListEntryBufferSize] = {};
        std::uint32_t dataSize = sizeof data;
        const RegistryError e = list.EnumValue(index, name, &nameSize, nullptr, data, &dataSize);
        // A value too long for the buffers is skipped, as the run skips it:
        // ending here would let the editor's next save drop the entries after it.
        if (e == error::MoreData) {
            continue;
        }
        if (e != error::Success) {
            return;
        }
        const std::optional<std::string> entry = EntryInValueData(data, dataSize);
        if (!entry) {
            continue;
        }
        add(*entry, first);
        first = false;
    }
}

std::vector<std::string> LoadListForRun(registry::RegistryStore& store, registry::RegistryRoot root,
                                        const std::string& subKeyPath) {
    std::vector<std::string> entries;
    RegistryKey list;
    if (list.Open(store, root, subKeyPath, access::Read) != error::Success) {
        return entries;
    }
    std::uint32_t count = 0;
    if (list.QueryValueCount(&count) != error::Success) {
        return entries;
    }
    for (std::uint32_t i = 0; i < count; ++i) {
        char data[kListEntryBufferSize] = {};
        std::uint32_t dataSize = sizeof data;
        if (list.QueryValue(ListValueName(i).c_str(), nullptr, data, &dataSize) != error::Success) {
            continue;
        }
        if (std::optional<std::string> entry = EntryInValueData(data, dataSize)) {
            entries.push_back(std::move(*entry));
        }
    }
    return entries;
}

}  // namespace velmora::lists
