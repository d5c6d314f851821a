// Reading and writing the settings in a registry kept in memory.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "frame/cube_saver_app.h"
#include "settings/settings_storage.h"
#include "tests/support/memory_registry_store.h"
#include "tests/support/registry_inspection.h"

namespace velmora {
namespace {

using registry::RegistryKey;
using registry::RegistryRoot;
using registry::RegistryType;
using settings::Direction;
using testing::MemoryRegistryStore;
using testing::PutText;
using testing::PutValue;
using testing::ValueNamesOf;
using testing::ValuesOf;
namespace access = registry::registry_access;
namespace error = registry::registry_error;

const std::string kKey = "Software\\Quillfen Graphics\\Velmora";

class SettingsStorage : public ::testing::Test {
protected:
    void TearDown() override { EXPECT_EQ(store.OpenHandleCount(), 0u); }

    void PutDword(const char* name, std::uint32_t value) {
        PutValue(store, kKey, name, RegistryType::Dword, &value, sizeof value);
    }

    MemoryRegistryStore store;
};

// Saving

TEST_F(SettingsStorage, OkWritesTwentyThreeValuesWithoutVersionTexts) {
    CubeSaverApp app;
    ASSERT_TRUE(app.SaveSettings(store, nullptr, kKey));
    const auto values = ValuesOf(store, kKey);
    const std::vector<std::string> expected = {
        "000_000", "000_001", "000_002", "000_003", "000_004", "000_005", "000_007", "000_008",
        "000_009", "000_010", "000_011", "000_012", "000_013", "000_100", "000_101", "000_102",
        "000_103", "000_104", "000_105", "000_106", "000_107", "000_108", "000_109"};
    EXPECT_EQ(ValueNamesOf(store, kKey), expected);
    for (const auto& value : values) {
        const bool raw = value.name == "000_005";
        EXPECT_EQ(value.type, raw ? RegistryType::Binary : RegistryType::Dword) << value.name;
        EXPECT_EQ(value.data.size(), 4u) << value.name;
    }
    EXPECT_EQ(values[5].Float(), 1.0f);
    EXPECT_EQ(values[17].Dword(), 2u);  // 000_104, a star field
}

TEST_F(SettingsStorage, OkWritesTwentyFiveValuesWithBothVersionTexts) {
    CubeSaverApp app;
    std::strcpy(app.saverSettings.LatestVersion, "1.2");
    std::strcpy(app.saverSettings.NotifiedVersion, "1.15");
    ASSERT_TRUE(app.SaveSettings(store, nullptr, kKey));
    const auto values = ValuesOf(store, kKey);
    ASSERT_EQ(values.size(), 25u);
    EXPECT_EQ(values[13].name, "000_075");
    EXPECT_EQ(values[13].type, RegistryType::String);
    EXPECT_EQ(values[13].Bytes(), std::string("1.2\0", 4));
    EXPECT_EQ(values[14].name, "000_076");
    EXPECT_EQ(values[14].Bytes(), std::string("1.15\0", 5));
}

TEST_F(SettingsStorage, EmptyLatestVersionIsNotWrittenAndAnOldOneStays) {
    PutText(store, kKey, "000_075", "0.9");
    CubeSaverApp app;
    ASSERT_TRUE(app.SaveSettings(store, nullptr, kKey));
    const auto values = ValuesOf(store, kKey);
    EXPECT_EQ(values.size(), 24u);
    EXPECT_EQ(values.front().name, "000_075");
    EXPECT_EQ(values.front().Bytes(), std::string("0.9\0", 4));
}

TEST_F(SettingsStorage, SaveFailsWithoutWritingWhenTheKeyCannotBeOpened) {
    store.SetFaultHook([](auto operation, const std::string&, const std::string&) {
        return operation == MemoryRegistryStore::Operation::CreateKey ? error::AccessDenied
                                                                      : error::Success;
    });
    CubeSaverApp app;
    EXPECT_FALSE(app.SaveSettings(store, nullptr, kKey));
    store.SetFaultHook(nullptr);
    EXPECT_FALSE(testing::KeyExists(store, kKey));
}

TEST_F(SettingsStorage, ValuesAreWrittenAndReadInTheFixedOrder) {
    std::vector<std::string> writes;
    std::vector<std::string> reads;
    store.SetFaultHook([&](auto operation, const std::string&, const std::string& name) {
        if (operation == MemoryRegistryStore::Operation::SetValue) {
            writes.push_back(name);
        } else if (operation == MemoryRegistryStore::Operation::QueryValue) {
            reads.push_back(name);
        }
        return error::Success;
    });
    CubeSaverApp app;
    std::strcpy(app.saverSettings.LatestVersion, "1.2");
    std::strcpy(app.saverSettings.NotifiedVersion, "1.2");
    app.SaveSettings(store, nullptr, kKey);
    app.LoadSettings(store, nullptr, kKey);
    const std::vector<std::string> order = {"000_000", "000_001", "000_002", "000_003", "000_004",
                                            "000_005", "000_007", "000_008", "000_009", "000_010",
                                            "000_011", "000_012", "000_013", "000_075", "000_076",
                                            "000_100", "000_101", "000_102", "000_103", "000_104",
                                            "000_105", "000_106", "000_107", "000_108", "000_109"};
    EXPECT_EQ(writes, order);
    EXPECT_EQ(reads, order);
}

// Loading

TEST_F(SettingsStorage, FreshLoadCreatesAnEmptyKeyAndKeepsTheDefaults) {
    CubeSaverApp app;
    app.LoadSettings(store, nullptr, kKey);
    EXPECT_TRUE(testing::KeyExists(store, kKey));
    EXPECT_TRUE(ValuesOf(store, kKey).empty());
    const CubeSaverApp fresh;
    EXPECT_EQ(app.saverSettings.DisplayPowerDown, fresh.saverSettings.DisplayPowerDown);
    EXPECT_EQ(app.saverSettings.AuxFactor5, 1.0f);
    EXPECT_EQ(app.cubeSettings.BackgroundKind, fresh.cubeSettings.BackgroundKind);
    EXPECT_EQ(app.cubeSettings.ShuffleMusic, 1);
}

TEST_F(SettingsStorage, MissingValuesKeepTheirDefaults) {
    PutDword("000_104", 0);
    PutDword("000_001", 1);
    CubeSaverApp app;
    app.LoadSettings(store, nullptr, kKey);
    EXPECT_EQ(app.cubeSettings.BackgroundKind, 0);
    EXPECT_EQ(app.saverSettings.ShowFrameRate, 1);
    EXPECT_EQ(app.cubeSettings.RotationSeconds, 2);
    EXPECT_EQ(app.cubeSettings.PictureSeconds, 4);
    EXPECT_EQ(app.saverSettings.DisplayPowerDown, 1);
}

TEST_F(SettingsStorage, EveryFieldSurvivesARoundTrip) {
    CubeSaverApp saved;
    auto& s = saved.saverSettings;
    s = {7, 8, 1, 0, 1, 1, 1, 1, 1024, 768, 16, 75, 2.5f, "1.3", "1.25"};
    auto& c = saved.cubeSettings;
    c = {9, 11, 3, 1, 0, 1, 0x00112233u, 2, 1, 0};
    ASSERT_TRUE(saved.SaveSettings(store, nullptr, kKey));
    CubeSaverApp loaded;
    loaded.LoadSettings(store, nullptr, kKey);
    const auto& l = loaded.saverSettings;
    EXPECT_EQ(std::memcmp(&l, &s, sizeof s), 0);
    EXPECT_EQ(std::memcmp(&loaded.cubeSettings, &c, sizeof c), 0);
}

TEST_F(SettingsStorage, AFlagStoredAsAnyNonZeroValueReadsAsOn) {
    CubeSaverApp app;
    auto& s = app.saverSettings;
    auto& c = app.cubeSettings;
    const std::pair<const char*, std::int32_t*> flags[] = {
        {"000_001", &s.ShowFrameRate},     {"000_002", &s.DisplayPowerDown},
        {"000_004", &s.DisableAutoUpdate}, {"000_007", &s.UseOtherResolution},
        {"000_012", &s.LessProcessor},     {"000_013", &s.ShowDateTime},
        {"000_102", &c.StretchPictures},   {"000_103", &c.ShufflePictures},
        {"000_108", &c.ShowPictureNames},  {"000_109", &c.ShuffleMusic}};
    for (std::uint32_t stored : {2u, 0xFFFFFFFFu, 0u}) {
        SCOPED_TRACE(stored);
        for (const auto& [name, field] : flags) {
            PutDword(name, stored);
        }
        PutDword("000_000", 2);  // a plain integer, kept as it is
        app.LoadSettings(store, nullptr, kKey);
        for (const auto& [name, field] : flags) {
            EXPECT_EQ(*field, stored != 0 ? 1 : 0) << name;
        }
        EXPECT_EQ(s.AuxFlag0, 2);
    }
}

TEST_F(SettingsStorage, NothingIsReadWhenTheKeyCannotBeOpened) {
    PutDword("000_104", 0);
    store.SetFaultHook([](auto operation, const std::string&, const std::string&) {
        return operation == MemoryRegistryStore::Operation::CreateKey ? error::AccessDenied
                                                                      : error::Success;
    });
    CubeSaverApp app;
    app.LoadSettings(store, nullptr, kKey);
    EXPECT_EQ(app.cubeSettings.BackgroundKind, 2);
}

// Texts that do not fit

TEST_F(SettingsStorage, FortyCharacterLatestVersionLeavesTheTextEmpty) {
    PutText(store, kKey, "000_075", std::string(40, '7'));
    CubeSaverApp app;
    app.LoadSettings(store, nullptr, kKey);
    EXPECT_STREQ(app.saverSettings.LatestVersion, "");
}

TEST_F(SettingsStorage, TextThatDoesNotFitKeepsThePreviousText) {
    RegistryKey key;
    key.Create(store, RegistryRoot::CurrentUser, kKey, access::Read | access::Write);
    char text[32] = "1.0";
    PutText(store, kKey, "000_075", std::string(31, 'x'));  // 32 bytes: fits
    EXPECT_EQ(settings::TransferValue(Direction::Read, key, 0, 75, settings::TextTarget(text)), 1);
    EXPECT_EQ(std::string(text), std::string(31, 'x'));
    std::strcpy(text, "1.0");
    PutText(store, kKey, "000_075", std::string(32, 'x'));  // 33 bytes
    EXPECT_EQ(settings::TransferValue(Direction::Read, key, 0, 75, settings::TextTarget(text)), 0);
    EXPECT_STREQ(text, "1.0");
    // 32 bytes without a terminator: the text would be 32 characters.
    PutValue(store, kKey, "000_075", RegistryType::String, std::string(32, 'y').data(), 32);
    EXPECT_EQ(settings::TransferValue(Direction::Read, key, 0, 75, settings::TextTarget(text)), 0);
    EXPECT_STREQ(text, "1.0");
}

TEST_F(SettingsStorage, ValueThatIsNotTextIsReadOnlyToItsSize) {
    RegistryKey key;
    key.Create(store, RegistryRoot::CurrentUser, kKey, access::Read | access::Write);
    PutValue(store, kKey, "000_076", RegistryType::Binary, "abcd", 4);
    char text[32];
    std::memset(text, 'Z', sizeof text);
    EXPECT_EQ(settings::TransferValue(Direction::Read, key, 0, 76, settings::TextTarget(text)), 1);
    EXPECT_STREQ(text, "abcd");
    EXPECT_EQ(text[31], '\0');
}

// Integers and raw fields of other sizes

TEST_F(SettingsStorage, IntegerTakesAShorterValueAndRejectsALongerOne) {
    RegistryKey key;
    key.Create(store, RegistryRoot::CurrentUser, kKey, access::Read | access::Write);
    const std::uint8_t two[2] = {0x34, 0x12};
    PutValue(store, kKey, "000_100", RegistryType::Binary, two, 2);
    std::int32_t field = -1;
    EXPECT_EQ(settings::TransferValue(Direction::Read, key, 0, 100, settings::IntegerTarget(field)),
              1);
    EXPECT_EQ(field, 0x1234);
    PutValue(store, kKey, "000_100", RegistryType::Binary, "12345678", 8);
    EXPECT_EQ(settings::TransferValue(Direction::Read, key, 0, 100, settings::IntegerTarget(field)),
              0);
    EXPECT_EQ(field, 0x1234);
}

TEST_F(SettingsStorage, RawReadReportsNothingAndKeepsTheFieldWhenTooLong) {
    RegistryKey key;
    key.Create(store, RegistryRoot::CurrentUser, kKey, access::Read | access::Write);
    const float stored = 3.5f;
    PutValue(store, kKey, "000_005", RegistryType::Binary, &stored, 4);
    float field = 1.0f;
    EXPECT_EQ(settings::TransferValue(Direction::Read, key, 0, 5, settings::RawTarget(field)), 0);
    EXPECT_EQ(field, 3.5f);
    PutValue(store, kKey, "000_005", RegistryType::Binary, "12345678", 8);
    settings::TransferValue(Direction::Read, key, 0, 5, settings::RawTarget(field));
    EXPECT_EQ(field, 3.5f);
}

TEST_F(SettingsStorage, WriteResultsFollowTheirKinds) {
    RegistryKey readOnly;
    readOnly.Create(store, RegistryRoot::CurrentUser, kKey, access::Read);
    std::int32_t integer = 5;
    float raw = 2.0f;
    char text[32] = "1.1";
    // The integer and text writes do not report failure; the raw one does.
    EXPECT_EQ(
        settings::TransferValue(Direction::Write, readOnly, 0, 1, settings::IntegerTarget(integer)),
        1);
    EXPECT_EQ(settings::TransferValue(Direction::Write, readOnly, 0, 5, settings::RawTarget(raw)),
              0);
    EXPECT_EQ(
        settings::TransferValue(Direction::Write, readOnly, 0, 75, settings::TextTarget(text)), 1);
    EXPECT_TRUE(ValuesOf(store, kKey).empty());
}

TEST_F(SettingsStorage, TextBufferWithoutTerminatorIsWrittenOnlyToItsEnd) {
    RegistryKey key;
    key.Create(store, RegistryRoot::CurrentUser, kKey, access::Write);
    struct {
        char text[4] = {'1', '.', '2', '3'};
        char after[4] = {'!', '!', '!', '\0'};
    } fields;
    settings::TransferValue(Direction::Write, key, 0, 75, settings::TextTarget(fields.text));
    EXPECT_EQ(ValuesOf(store, kKey).at(0).Bytes(), std::string("1.23\0", 5));
}

// Single values

TEST_F(SettingsStorage, SingleReadOfAMissingKeyLeavesTargetAndRegistryAlone) {
    std::int32_t count = 41;
    EXPECT_EQ(settings::TransferSingleValue(Direction::Read, store, RegistryRoot::CurrentUser, kKey,
                                            0, 77, settings::IntegerTarget(count)),
              0);
    EXPECT_EQ(count, 41);
    EXPECT_FALSE(testing::KeyExists(store, kKey));
}

TEST_F(SettingsStorage, SingleTextIsWrittenAsTheWholeBuffer) {
    char version[32] = "1.4";
    EXPECT_EQ(settings::TransferSingleValue(Direction::Write, store, RegistryRoot::CurrentUser,
                                            kKey, 0, 76, settings::TextTarget(version)),
              1);
    const auto values = ValuesOf(store, kKey);
    ASSERT_EQ(values.size(), 1u);
    EXPECT_EQ(values[0].data.size(), 32u);
    EXPECT_EQ(values[0].Bytes(), std::string(version, 32));
}

TEST_F(SettingsStorage, FirstDialogOpeningStoresOnlyTheCountOfOne) {
    CubeSaverApp app;
    app.LoadSettings(store, nullptr, kKey);
    const std::int32_t count = settings::ReadSettingsOpenCount(store, kKey);
    EXPECT_EQ(count, 0);
    settings::WriteSettingsOpenCount(store, kKey, count + 1);
    const auto values = ValuesOf(store, kKey);
    ASSERT_EQ(values.size(), 1u);
    EXPECT_EQ(values[0].name, "000_077");
    EXPECT_EQ(values[0].type, RegistryType::Dword);
    EXPECT_EQ(values[0].Dword(), 1u);
    EXPECT_EQ(settings::ReadSettingsOpenCount(store, kKey), 1);
}

TEST_F(SettingsStorage, TotalRunSecondsAccumulatesFromNothing) {
    settings::AddTotalRunSeconds(store, kKey, 60.25f);
    auto values = ValuesOf(store, kKey);
    ASSERT_EQ(values.size(), 1u);
    EXPECT_EQ(values[0].name, "000_081");
    EXPECT_EQ(values[0].type, RegistryType::Binary);
    EXPECT_EQ(values[0].Float(), 60.25f);
    settings::AddTotalRunSeconds(store, kKey, 59.75f);
    EXPECT_EQ(ValuesOf(store, kKey).at(0).Float(), 120.0f);
}

TEST(SettingValueName, FormsGroupAndIndexWithThreeDigits) {
    EXPECT_EQ(settings::SettingValueName(0, 5), "000_005");
    EXPECT_EQ(settings::SettingValueName(0, 109), "000_109");
    EXPECT_EQ(settings::SettingValueName(12, 1234), "012_1234");
    EXPECT_EQ(settings::SettingsKeyPath(), kKey);
}

}  // namespace
}  // namespace velmora
