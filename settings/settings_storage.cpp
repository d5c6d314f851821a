#include "settings/settings_storage.h"

#include <cstdio>
#include <cstring>
#include <optional>
#include <string_view>
#include <vector>

#include "base/product_texts.h"
#include "registry/registry_text.h"

namespace velmora::settings {

namespace {

namespace error = registry::registry_error;

int ReadValue(const registry::RegistryKey& key, const std::string& name,
              const ValueTarget& target) {
    switch (target.kind) {
        case ValueTarget::Kind::Integer:
        case ValueTarget::Kind::Flag: {
            // A shorter value of another type fills the low bytes, the rest stay 0.
            std::uint32_t value = 0;
            std::uint32_t size = sizeof value;
            if (key.QueryValue(name.c_str(), nullptr, &value, &size) != error::Success) {
                return 0;
            }
            if (target.kind == ValueTarget::Kind::Flag && value != 0) {
                value = 1;
            }
            std::memcpy(target.data, &value, sizeof value);
            return 1;
        }
        case ValueTarget::Kind::Raw: {
            // Through a temporary: a value that does not fit would leave the
            // buffer undefined, and the field is to keep its value then.
            std::uint8_t bytes[4] = {};
            std::uint32_t size = sizeof bytes;
            if (key.QueryValue(name.c_str(), nullptr, bytes, &size) == error::Success) {
                std::memcpy(target.data, bytes, size);
            }
            return 0;
        }
        case ValueTarget::Kind::Text: {
            if (target.size == 0) {
                return 0;
            }
            std::vector<char> buffer(target.size);
            std::uint32_t size = target.size;
            if (key.QueryValue(name.c_str(), nullptr, buffer.data(), &size) != error::Success) {
                return 0;
            }
            const std::optional<std::string_view> text =
                registry::TextInValueData(buffer.data(), size, target.size);
            if (!text) {
                return 0;
            }
            char* out = static_cast<char*>(target.data);
            std::memset(out, 0, target.size);
            std::memcpy(out, text->data(), text->size());
            return 1;
        }
    }
    return 0;
}

// wholeBuffer: a text goes out as the caller's whole buffer, not just its text.
int WriteValue(const registry::RegistryKey& key, const std::string& name, const ValueTarget& target,
               bool wholeBuffer) {
    switch (target.kind) {
        case ValueTarget::Kind::Integer:
        case ValueTarget::Kind::Flag:
            key.SetValue(name.c_str(), registry::RegistryType::Dword, target.data, 4);
            return 1;
        case ValueTarget::Kind::Raw:
            return key.SetValue(name.c_str(), registry::RegistryType::Binary, target.data, 4) ==
                           error::Success
                       ? 1
                       : 0;
        case ValueTarget::Kind::Text: {
            const char* buffer = static_cast<const char*>(target.data);
            // Bounded by the buffer: it may lack a terminator.
            const void* end = std::memchr(buffer, '\0', target.size);
            const std::size_t length =
                end != nullptr ? static_cast<const char*>(end) - buffer : target.size;
            if (length == 0) {
                return 1;
            }
            if (wholeBuffer) {
                key.SetValue(name.c_str(), registry::RegistryType::String, buffer, target.size);
            } else {
                const std::string text(buffer, length);
                key.SetValue(name.c_str(), registry::RegistryType::String, text.c_str(),
                             static_cast<std::uint32_t>(length + 1));
            }
            return 1;
        }
    }
    return 0;
}

int Transfer(Direction direction, const registry::RegistryKey& key, int group, int index,
             const ValueTarget& target, bool wholeBuffer) {
    const std::string name = SettingValueName(group, index);
    return direction == Direction::Read ? ReadValue(key, name, target)
                                        : WriteValue(key, name, target, wholeBuffer);
}

}  // namespace

std::string SettingsKeyPath() {
    return DecodeText(texts::kSettingsKeyPath);
}

std::string SettingValueName(int group, int index) {
    char name[32] = {};
    std::snprintf(name, sizeof name, "%03d_%03d", group, index);
    return name;
}

int TransferValue(Direction direction, const registry::RegistryKey& key, int group, int index,
                  ValueTarget target) {
    return Transfer(direction, key, group, index, target, false);
}

int TransferSingleValue(Direction direction, registry::RegistryStore& store,
                        registry::RegistryRoot root, const std::string& keyPath, int group,
                        int index, ValueTarget target) {
    registry::RegistryKey key;
    const registry::RegistryError opened =
        direction == Direction::Read
            ? key.Open(store, root, keyPath, registry::registry_access::Read)
            : key.Create(store, root, keyPath, registry::registry_access::Write);
    if (opened != error::Success) {
        return 0;
    }
    return Transfer(direction, key, group, index, target, true);
}

void TransferSaverGroup(Direction direction, const registry::RegistryKey& key, SaverSettings& s) {
    namespace si = saver_index;
    const auto transfer = [&](int index, ValueTarget target) {
        TransferValue(direction, key, kSaverGroup, index, target);
    };
    // The two auxiliary values are plain integers, not flags.
    transfer(si::AuxFlag0, IntegerTarget(s.AuxFlag0));
    transfer(si::ShowFrameRate, FlagTarget(s.ShowFrameRate));
    transfer(si::DisplayPowerDown, FlagTarget(s.DisplayPowerDown));
    transfer(si::AuxFlag3, IntegerTarget(s.AuxFlag3));
    transfer(si::DisableAutoUpdate, FlagTarget(s.DisableAutoUpdate));
    transfer(si::AuxFactor5, RawTarget(s.AuxFactor5));
    transfer(si::UseOtherResolution, FlagTarget(s.UseOtherResolution));
    transfer(si::ScreenWidth, IntegerTarget(s.ScreenWidth));
    transfer(si::ScreenHeight, IntegerTarget(s.ScreenHeight));
    transfer(si::ColorDepth, IntegerTarget(s.ColorDepth));
    transfer(si::RefreshRate, IntegerTarget(s.RefreshRate));
    transfer(si::LessProcessor, FlagTarget(s.LessProcessor));
    transfer(si::ShowDateTime, FlagTarget(s.ShowDateTime));
    transfer(si::LatestVersion, TextTarget(s.LatestVersion));
    transfer(si::NotifiedVersion, TextTarget(s.NotifiedVersion));
}

void TransferCubeGroup(Direction direction, const registry::RegistryKey& key, int group,
                       int firstIndex, CubeSettings& c) {
    namespace ci = cube_index;
    const auto transfer = [&](int index, ValueTarget target) {
        TransferValue(direction, key, group, firstIndex + (index - kCubeFirstIndex), target);
    };
    transfer(ci::RotationSeconds, IntegerTarget(c.RotationSeconds));
    transfer(ci::CubeStyle, IntegerTarget(c.CubeStyle));
    transfer(ci::StretchPictures, FlagTarget(c.StretchPictures));
    transfer(ci::ShufflePictures, FlagTarget(c.ShufflePictures));
    transfer(ci::BackgroundKind, IntegerTarget(c.BackgroundKind));
    transfer(ci::BackgroundColor, IntegerTarget(c.BackgroundColor));
    transfer(ci::CubeGlass, IntegerTarget(c.CubeGlass));
    transfer(ci::PictureSeconds, IntegerTarget(c.PictureSeconds));
    transfer(ci::ShowPictureNames, FlagTarget(c.ShowPictureNames));
    transfer(ci::ShuffleMusic, FlagTarget(c.ShuffleMusic));
}

bool LoadSettings(registry::RegistryStore& store, const std::string& keyPath,
                  SaverSettings& settings, const GroupTransfer& readGroup) {
    registry::RegistryKey key;
    if (key.Create(store, registry::RegistryRoot::CurrentUser, keyPath,
                   registry::registry_access::Read | registry::registry_access::Write) !=
        error::Success) {
        return false;
    }
    TransferSaverGroup(Direction::Read, key, settings);
    if (readGroup) {
        readGroup(key, kSaverGroup, kCubeFirstIndex);
    }
    return true;
}

bool SaveSettings(registry::RegistryStore& store, const std::string& keyPath,
                  SaverSettings& settings, const GroupTransfer& writeGroup) {
    registry::RegistryKey key;
    if (key.Create(store, registry::RegistryRoot::CurrentUser, keyPath,
                   registry::registry_access::Write) != error::Success) {
        return false;
    }
    TransferSaverGroup(Direction::Write, key, settings);
    if (writeGroup) {
        writeGroup(key, kSaverGroup, kCubeFirstIndex);
    }
    return true;
}

std::int32_t ReadSettingsOpenCount(registry::RegistryStore& store, const std::string& keyPath) {
    std::int32_t count = 0;
    TransferSingleValue(Direction::Read, store, registry::RegistryRoot::CurrentUser, keyPath,
                        kSaverGroup, saver_index::SettingsOpenCount, IntegerTarget(count));
    return count;
}

void WriteSettingsOpenCount(registry::RegistryStore& store, const std::string& keyPath,
                            std::int32_t count) {
    TransferSingleValue(Direction::Write, store, registry::RegistryRoot::CurrentUser, keyPath,
                        kSaverGroup, saver_index::SettingsOpenCount, IntegerTarget(count));
}

void AddTotalRunSeconds(registry::RegistryStore& store, const std::string& keyPath, float seconds) {
    float total = 0.0f;
    TransferSingleValue(Direction::Read, store, registry::RegistryRoot::CurrentUser, keyPath,
                        kSaverGroup, saver_index::TotalRunSeconds, RawTarget(total));
    total += seconds;
    TransferSingleValue(Direction::Write, store, registry::RegistryRoot::CurrentUser, keyPath,
                        kSaverGroup, saver_index::TotalRunSeconds, RawTarget(total));
}

}  // namespace velmora::settings
