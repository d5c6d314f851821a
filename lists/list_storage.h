// The picture and music lists in the registry: one REG_SZ value per entry in
// the list's subkey, named "%05d" from the entry's position, nothing else.
#pragma once

#include <cstddef>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "registry/registry_error_reporter.h"
#include "registry/registry_key.h"

namespace velmora::lists {

// "%05d" of an entry's zero-based position.
std::string ListValueName(std::size_t position);

// Deletes a subkey of an open key with everything below it, depth first.
// Returns the first error, or the result of deleting the subkey itself;
// InvalidParameter for a name that names no subkey.
registry::RegistryError DeleteKeyTree(const registry::RegistryKey& parent,
                                      const std::string& subKey);

// Replaces the list stored under subKeyPath with the given entries: the old
// subkey goes with everything below it, so an empty list leaves an empty
// subkey. Where part of the old tree cannot be deleted, the old values are
// cleared all the same, so a success always stores exactly the entries given.
// A failure is reported (and returned); entries after a failed one are not
// written.
registry::RegistryError SaveList(registry::RegistryStore& store, registry::RegistryRoot root,
                                 const std::string& subKeyPath, std::span<const std::string> items,
                                 registry::RegistryErrorReporter& reporter);

// The editor's add operation; first is set for the first entry only.
using AddListEntry = std::function<void(const std::string& path, bool first)>;

// Hands the stored entries to the editor in the order the values enumerate,
// up to the first value that cannot be enumerated. A value that holds no
// entry that fits a path buffer is skipped. A subkey that cannot be opened
// gives nothing.
void LoadListForEditor(registry::RegistryStore& store, registry::RegistryRoot root,
                       const std::string& subKeyPath, const AddListEntry& add);

// The stored entries for a run, read by their names "00000" onwards for as
// many values as the subkey holds. A value that is missing or holds no entry
// that fits a path buffer is skipped.
std::vector<std::string> LoadListForRun(registry::RegistryStore& store, registry::RegistryRoot root,
                                        const std::string& subKeyPath);

}  // namespace velmora::lists
