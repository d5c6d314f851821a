// The settings record in the registry: one value per setting under the
// settings key, named "%03d_%03d" from group and index, and the helpers
// through which every part of the program reads or writes one value.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "registry/registry_key.h"
#include "settings/cube_settings.h"
#include "settings/saver_settings.h"

namespace velmora::settings {

enum class Direction { Read, Write };

// What one value moves from or to: an integer field (REG_DWORD), a flag (an
// integer that reads as 1 whenever it is not 0), the raw four bytes of a field
// (REG_BINARY) or a NUL-terminated text buffer (REG_SZ).
struct ValueTarget {
    enum class Kind { Integer, Flag, Raw, Text };
    Kind kind = Kind::Integer;
    void* data = nullptr;
    std::uint32_t size = 0;  // 4, or the text buffer's size in bytes
};

inline ValueTarget IntegerTarget(std::int32_t& field) {
    return {ValueTarget::Kind::Integer, &field, 4};
}
inline ValueTarget IntegerTarget(std::uint32_t& field) {
    return {ValueTarget::Kind::Integer, &field, 4};
}
// Another tool may store any non-zero value for "on"; the dialog and the run
// must both see it as 1.
inline ValueTarget FlagTarget(std::int32_t& field) {
    return {ValueTarget::Kind::Flag, &field, 4};
}
inline ValueTarget RawTarget(float& field) {
    return {ValueTarget::Kind::Raw, &field, 4};
}
inline ValueTarget TextTarget(char* buffer, std::uint32_t size) {
    return {ValueTarget::Kind::Text, buffer, size};
}
template <std::size_t N>
ValueTarget TextTarget(char (&buffer)[N]) {
    return TextTarget(buffer, static_cast<std::uint32_t>(N));
}

// The decoded path of the settings key below HKEY_CURRENT_USER.
std::string SettingsKeyPath();

// "%03d_%03d" of group and index.
std::string SettingValueName(int group, int index);

// Moves one value through an open key. Result 1 when it moved, 0 otherwise,
// with the system's quirks kept: integer writes and text writes report 1 even
// when the write failed, a raw read always reports 0, and an empty text is not
// written at all (an older value keeps its content). A read that fails leaves
// the target as it was, and so does a text that does not fit its buffer with
// its terminator; a text that is read is zero-padded to the buffer's end.
int TransferValue(Direction direction, const registry::RegistryKey& key, int group, int index,
                  ValueTarget target);

// The same for a single value with its own open and close of keyPath: a read
// opens the key for reading only (result 0 when it is missing), a write
// creates it. A text is written as the caller's whole buffer.
int TransferSingleValue(Direction direction, registry::RegistryStore& store,
                        registry::RegistryRoot root, const std::string& keyPath, int group,
                        int index, ValueTarget target);

// Moves the saver group through an open key, in the fixed order of its indexes.
void TransferSaverGroup(Direction direction, const registry::RegistryKey& key,
                        SaverSettings& settings);

// Moves the cube group through an open key: firstIndex is the index of its
// first value, the others follow in the fixed order of the cube indexes.
void TransferCubeGroup(Direction direction, const registry::RegistryKey& key, int group,
                       int firstIndex, CubeSettings& settings);

// Moves the derived class's group through the open key: its TransferSettings.
using GroupTransfer = std::function<void(registry::RegistryKey& key, int group, int firstIndex)>;

// Opens the settings key for reading and writing, creating it when missing,
// and reads the saver group and then the derived group. When the key cannot
// be opened nothing is read, the record keeps what it holds, and the result
// is false.
bool LoadSettings(registry::RegistryStore& store, const std::string& keyPath,
                  SaverSettings& settings, const GroupTransfer& readGroup);

// Writes the saver group and then the derived group; false, with nothing
// written, when the key cannot be opened or created.
bool SaveSettings(registry::RegistryStore& store, const std::string& keyPath,
                  SaverSettings& settings, const GroupTransfer& writeGroup);

// How often the settings dialog has opened; 0 when nothing is stored.
std::int32_t ReadSettingsOpenCount(registry::RegistryStore& store, const std::string& keyPath);
void WriteSettingsOpenCount(registry::RegistryStore& store, const std::string& keyPath,
                            std::int32_t count);

// Adds one run's length to the running time of all saver runs.
void AddTotalRunSeconds(registry::RegistryStore& store, const std::string& keyPath, float seconds);

}  // namespace velmora::settings
