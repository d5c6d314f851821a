// The settings and list storage against the system registry, in a scratch
// key of this process that is deleted before and after every test; and the
// in-memory store of the native tests held to the same behaviour.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "frame/cube_saver_app.h"
#include "lists/list_storage.h"
#include "registry/win32/registry_error_box.h"
#include "registry/win32/win32_registry_store.h"
#include "settings/settings_storage.h"
#include "tests/support/memory_registry_store.h"
#include "tests/support/recording_error_reporter.h"
#include "tests/support/registry_inspection.h"
#include "tests/support/store_behaviour_suite.h"

namespace velmora {
namespace {

using registry::RegistryError;
using registry::RegistryKey;
using registry::RegistryRoot;
using registry::RegistryStore;
using registry::RegistryType;
using testing::PutText;
using testing::PutValue;
using testing::SubkeysOf;
using testing::ValueNamesOf;
using testing::ValuesOf;
namespace access = registry::registry_access;
namespace error = registry::registry_error;

const std::string kMakerKey = "Software\\Quillfen Graphics";

std::string ScratchName() {
    return "VelmoraTest-" + std::to_string(GetCurrentProcessId());
}

// Deletes the scratch key, and the maker's key when this test made it.
class ScratchKey {
public:
    explicit ScratchKey(RegistryStore& store) : store_(store) {
        makerExisted_ = testing::KeyExists(store_, kMakerKey);
        Delete();
    }
    ~ScratchKey() {
        Delete();
        if (!makerExisted_ && SubkeysOf(store_, kMakerKey).empty() &&
            ValuesOf(store_, kMakerKey).empty()) {
            RegistryKey software;
            software.Open(store_, RegistryRoot::CurrentUser, "Software", access::AllAccess);
            software.DeleteSubKey("Quillfen Graphics");
        }
    }
    std::string Path() const { return kMakerKey + "\\" + ScratchName(); }

private:
    void Delete() {
        RegistryKey maker;
        if (maker.Open(store_, RegistryRoot::CurrentUser, kMakerKey, access::AllAccess) ==
            error::Success) {
            lists::DeleteKeyTree(maker, ScratchName());
        }
    }

    RegistryStore& store_;
    bool makerExisted_ = false;
};

class SystemRegistryStorage : public ::testing::Test {
protected:
    RegistryStore& store = registry::SystemRegistry();
    ScratchKey scratch{store};
    const std::string key = scratch.Path();
    const std::string list = key + "\\Pictures";
    testing::RecordingErrorReporter reporter;

    RegistryError Save(const std::vector<std::string>& items) {
        return lists::SaveList(store, RegistryRoot::CurrentUser, list, items, reporter);
    }
};

// Settings

TEST_F(SystemRegistryStorage, FreshLoadCreatesTheKeyAndKeepsTheDefaults) {
    ASSERT_FALSE(testing::KeyExists(store, key));
    CubeSaverApp app;
    app.LoadSettings(store, nullptr, key);
    EXPECT_TRUE(testing::KeyExists(store, key));
    EXPECT_TRUE(ValuesOf(store, key).empty());
    EXPECT_EQ(app.cubeSettings.BackgroundKind, 2);
    EXPECT_EQ(app.saverSettings.AuxFactor5, 1.0f);
}

TEST_F(SystemRegistryStorage, EveryFieldSurvivesARoundTrip) {
    CubeSaverApp saved;
    auto& s = saved.saverSettings;
    s = {7, 8, 1, 0, 1, 1, 1, 1, 1024, 768, 16, 75, 2.5f, "1.3", "1.25"};
    auto& c = saved.cubeSettings;
    c = {9, 11, 3, 1, 0, 1, 0x00112233u, 2, 1, 0};
    ASSERT_TRUE(saved.SaveSettings(store, nullptr, key));
    EXPECT_EQ(ValuesOf(store, key).size(), 25u);
    CubeSaverApp loaded;
    loaded.LoadSettings(store, nullptr, key);
    EXPECT_EQ(std::memcmp(&loaded.saverSettings, &s, sizeof s), 0);
    EXPECT_EQ(std::memcmp(&loaded.cubeSettings, &c, sizeof c), 0);
}

TEST_F(SystemRegistryStorage, TextsThatDoNotFitAreNotTaken) {
    PutText(store, key, "000_075", std::string(40, '7'));
    PutValue(store, key, "000_076", RegistryType::String, std::string(32, 'y').data(), 32);
    CubeSaverApp app;
    std::strcpy(app.saverSettings.NotifiedVersion, "1.0");
    app.LoadSettings(store, nullptr, key);
    EXPECT_STREQ(app.saverSettings.LatestVersion, "");
    EXPECT_STREQ(app.saverSettings.NotifiedVersion, "1.0");
}

TEST_F(SystemRegistryStorage, CountersStartFromNothing) {
    EXPECT_EQ(settings::ReadSettingsOpenCount(store, key), 0);
    EXPECT_FALSE(testing::KeyExists(store, key));
    settings::WriteSettingsOpenCount(store, key, 1);
    settings::AddTotalRunSeconds(store, key, 60.5f);
    settings::AddTotalRunSeconds(store, key, 59.5f);
    EXPECT_EQ(settings::ReadSettingsOpenCount(store, key), 1);
    const auto values = ValuesOf(store, key);
    ASSERT_EQ(values.size(), 2u);
    EXPECT_EQ(values[1].type, RegistryType::Binary);
    EXPECT_EQ(values[1].Float(), 120.0f);
}

TEST_F(SystemRegistryStorage, SingleTextIsStoredAsTheWholeBuffer) {
    char version[32] = "1.4";
    settings::TransferSingleValue(settings::Direction::Write, store, RegistryRoot::CurrentUser, key,
                                  0, 75, settings::TextTarget(version));
    const auto values = ValuesOf(store, key);
    ASSERT_EQ(values.size(), 1u);
    EXPECT_EQ(values[0].Bytes(), std::string(version, 32));
    char back[32];
    std::memset(back, 'Z', sizeof back);
    settings::TransferSingleValue(settings::Direction::Read, store, RegistryRoot::CurrentUser, key,
                                  0, 75, settings::TextTarget(back));
    EXPECT_EQ(std::memcmp(back, version, 32), 0);
}

// Lists

TEST_F(SystemRegistryStorage, ThreeEntriesAfterFiveLeaveExactlyThreeValues) {
    ASSERT_EQ(Save({"C:\\1.jpg", "C:\\2.jpg", "C:\\3.jpg", "C:\\4.jpg", "C:\\5.jpg"}),
              error::Success);
    ASSERT_EQ(Save({"C:\\a.jpg", "C:\\b\\", "C:\\c.jpg"}), error::Success);
    EXPECT_EQ(ValueNamesOf(store, list), (std::vector<std::string>{"00000", "00001", "00002"}));
    EXPECT_TRUE(reporter.errors.empty());
}

TEST_F(SystemRegistryStorage, EmptyListLeavesThePresentEmptySubkey) {
    Save({"C:\\a.jpg"});
    ASSERT_EQ(Save({}), error::Success);
    EXPECT_TRUE(testing::KeyExists(store, list));
    EXPECT_TRUE(ValuesOf(store, list).empty());
}

TEST_F(SystemRegistryStorage, StraySubkeyIsDeletedWithTheList) {
    PutText(store, list + "\\Stray\\Deeper", "x", "y");
    PutText(store, list + "\\Another", "x", "y");
    ASSERT_EQ(Save({"C:\\a.jpg"}), error::Success);
    EXPECT_TRUE(SubkeysOf(store, list).empty());
    EXPECT_EQ(ValueNamesOf(store, list), std::vector<std::string>{"00000"});
}

TEST_F(SystemRegistryStorage, RunAndEditorReadBackWhatWasSaved) {
    const std::vector<std::string> items = {"C:\\Photos\\", "C:\\My.Pictures\\beach.photo.jpg",
                                            std::string(259, 'p'), "E:\\song.mp3"};
    ASSERT_EQ(Save(items), error::Success);
    EXPECT_EQ(lists::LoadListForRun(store, RegistryRoot::CurrentUser, list), items);
    std::vector<std::string> edited;
    lists::LoadListForEditor(store, RegistryRoot::CurrentUser, list,
                             [&](const std::string& path, bool first) {
                                 EXPECT_EQ(first, edited.empty());
                                 edited.push_back(path);
                             });
    EXPECT_EQ(edited, items);
}

TEST_F(SystemRegistryStorage, TooLongEntryIsSkippedByTheRunAndTheEditor) {
    Save({"C:\\first.jpg", "placeholder", "C:\\third.jpg"});
    PutValue(store, list, "00001", RegistryType::String, std::string(260, 'b').data(), 260);
    const std::vector<std::string> run =
        lists::LoadListForRun(store, RegistryRoot::CurrentUser, list);
    EXPECT_EQ(run, (std::vector<std::string>{"C:\\first.jpg", "C:\\third.jpg"}));
    std::vector<std::string> edited;
    lists::LoadListForEditor(store, RegistryRoot::CurrentUser, list,
                             [&](const std::string& path, bool) { edited.push_back(path); });
    EXPECT_EQ(edited, run);
}

TEST(RegistryErrorText, SystemHasTextForRegistryErrorsOnly) {
    EXPECT_FALSE(registry::SystemErrorText(ERROR_ACCESS_DENIED).empty());
    EXPECT_FALSE(registry::SystemErrorText(ERROR_FILE_NOT_FOUND).empty());
    // An application-defined code: the system has no text, so no box either.
    EXPECT_TRUE(registry::SystemErrorText(0x20001234L).empty());
}

}  // namespace
}  // namespace velmora

namespace velmora::testing {

INSTANTIATE_TEST_SUITE_P(
    Stores, StoreBehaviour,
    ::testing::Values(
        StoreUnderTest{"System", [] { return std::make_unique<registry::Win32RegistryStore>(); },
                       "Software\\VelmoraStoreTest-" + std::to_string(GetCurrentProcessId())},
        StoreUnderTest{"Memory", [] { return std::make_unique<testing::MemoryRegistryStore>(); },
                       "Software\\VelmoraStoreTest"}),
    [](const auto& info) { return info.param.name; });

}  // namespace velmora::testing
