// Storing and loading the picture and music lists in a registry kept in memory.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "lists/list_entry.h"
#include "lists/list_storage.h"
#include "lists/list_texts.h"
#include "tests/support/memory_registry_store.h"
#include "tests/support/recording_error_reporter.h"
#include "tests/support/registry_inspection.h"

namespace velmora {
namespace {

using registry::RegistryError;
using registry::RegistryKey;
using registry::RegistryRoot;
using registry::RegistryType;
using testing::MemoryRegistryStore;
using testing::PutText;
using testing::PutValue;
using testing::SubkeysOf;
using testing::ValueNamesOf;
using testing::ValuesOf;
namespace access = registry::registry_access;
namespace error = registry::registry_error;

const std::string kList = "Software\\Quillfen Graphics\\Velmora\\Pictures";

class ListStorage : public ::testing::Test {
protected:
    void TearDown() override { EXPECT_EQ(store.OpenHandleCount(), 0u); }

    RegistryError Save(const std::vector<std::string>& items) {
        return lists::SaveList(store, RegistryRoot::CurrentUser, kList, items, reporter);
    }
    std::vector<std::string> Run() {
        return lists::LoadListForRun(store, RegistryRoot::CurrentUser, kList);
    }
    std::vector<std::pair<std::string, bool>> Editor() {
        std::vector<std::pair<std::string, bool>> added;
        lists::LoadListForEditor(
            store, RegistryRoot::CurrentUser, kList,
            [&](const std::string& path, bool first) { added.emplace_back(path, first); });
        return added;
    }
    void FailWhen(MemoryRegistryStore::Operation failing, const std::string& onName,
                  RegistryError e) {
        store.SetFaultHook([=](auto operation, const std::string&, const std::string& name) {
            return operation == failing && (onName.empty() || name == onName) ? e : error::Success;
        });
    }

    MemoryRegistryStore store;
    testing::RecordingErrorReporter reporter;
};

// Saving

TEST_F(ListStorage, ThreeEntriesAfterFiveLeaveExactlyThreeValues) {
    ASSERT_EQ(Save({"C:\\a.jpg", "C:\\b.jpg", "C:\\c.jpg", "C:\\d.jpg", "C:\\e.jpg"}),
              error::Success);
    ASSERT_EQ(Save({"D:\\x.bmp", "D:\\Photos\\", "D:\\z.jpg"}), error::Success);
    const auto values = ValuesOf(store, kList);
    EXPECT_EQ(ValueNamesOf(store, kList), (std::vector<std::string>{"00000", "00001", "00002"}));
    ASSERT_EQ(values.size(), 3u);
    EXPECT_EQ(values[1].type, RegistryType::String);
    EXPECT_EQ(values[1].Bytes(), std::string("D:\\Photos\\\0", 11));
    EXPECT_TRUE(reporter.errors.empty());
}

TEST_F(ListStorage, EmptyListLeavesThePresentEmptySubkey) {
    Save({"C:\\a.jpg"});
    ASSERT_EQ(Save({}), error::Success);
    EXPECT_TRUE(testing::KeyExists(store, kList));
    EXPECT_TRUE(ValuesOf(store, kList).empty());
    EXPECT_TRUE(Run().empty());
}

TEST_F(ListStorage, StraySubkeysGoWithTheList) {
    PutText(store, kList + "\\Stray\\Deeper\\Deepest", "x", "y");
    PutText(store, kList + "\\Other", "x", "y");
    PutText(store, kList, "zzz", "old");
    ASSERT_EQ(Save({"C:\\a.jpg"}), error::Success);
    EXPECT_TRUE(SubkeysOf(store, kList).empty());
    EXPECT_EQ(ValueNamesOf(store, kList), std::vector<std::string>{"00000"});
}

TEST_F(ListStorage, FailingRootIsReportedAndNothingHappens) {
    Save({"C:\\a.jpg"});
    FailWhen(MemoryRegistryStore::Operation::OpenKey, "", error::AccessDenied);
    EXPECT_EQ(Save({"C:\\b.jpg"}), error::AccessDenied);
    store.SetFaultHook(nullptr);
    EXPECT_EQ(reporter.errors, std::vector<RegistryError>{error::AccessDenied});
    EXPECT_EQ(Run(), std::vector<std::string>{"C:\\a.jpg"});
}

TEST_F(ListStorage, FailingCreateIsReportedAndNothingIsWritten) {
    FailWhen(MemoryRegistryStore::Operation::CreateKey, kList, 1021);
    EXPECT_EQ(Save({"C:\\b.jpg"}), 1021);
    store.SetFaultHook(nullptr);
    EXPECT_EQ(reporter.errors, std::vector<RegistryError>{1021});
    EXPECT_FALSE(testing::KeyExists(store, kList));
}

TEST_F(ListStorage, FirstFailingWriteIsReportedOnceAndEndsTheSave) {
    FailWhen(MemoryRegistryStore::Operation::SetValue, "00001", 1013);
    EXPECT_EQ(Save({"C:\\a.jpg", "C:\\b.jpg", "C:\\c.jpg"}), 1013);
    store.SetFaultHook(nullptr);
    EXPECT_EQ(reporter.errors, std::vector<RegistryError>{1013});
    EXPECT_EQ(ValueNamesOf(store, kList), std::vector<std::string>{"00000"});
}

TEST_F(ListStorage, OldListThatCannotBeDeletedIsClearedOrTheSaveFails) {
    using Op = MemoryRegistryStore::Operation;
    struct Case {
        Op failing;  // besides deleting the stray subkey, which always fails
        std::string name;
        RegistryError expected;
    };
    // In the first case only the stray subkey resists.
    for (const Case& c :
         {Case{Op::DeleteValue, "00003", error::Success}, Case{Op::DeleteValue, "00003", 1013},
          Case{Op::EnumValue, "", error::AccessDenied}}) {
        SCOPED_TRACE(c.expected);
        store.SetFaultHook(nullptr);
        reporter.errors.clear();
        Save({"C:\\1.jpg", "C:\\2.jpg", "C:\\3.jpg", "C:\\4.jpg", "C:\\5.jpg"});
        PutText(store, kList + "\\Locked", "x", "y");
        store.SetFaultHook([&](Op operation, const std::string&, const std::string& name) {
            if (operation == Op::DeleteKey && name == "Locked") {
                return error::AccessDenied;
            }
            return operation == c.failing && name == c.name ? c.expected : error::Success;
        });
        const RegistryError result = Save({"D:\\new.jpg"});
        store.SetFaultHook(nullptr);
        EXPECT_EQ(result, c.expected);
        if (result == error::Success) {
            EXPECT_EQ(Run(), std::vector<std::string>{"D:\\new.jpg"});
            EXPECT_EQ(Editor().size(), 1u);
            EXPECT_TRUE(reporter.errors.empty());
        } else {
            EXPECT_EQ(reporter.errors, std::vector<RegistryError>{c.expected});
        }
    }
}

TEST_F(ListStorage, NameOfNoSubkeyIsRefusedAndDeletesNothing) {
    PutText(store, kList + "\\Child", "x", "y");
    RegistryKey list;
    ASSERT_EQ(list.Open(store, RegistryRoot::CurrentUser, kList, access::AllAccess),
              error::Success);
    for (const std::string name : {"", "\\", "\\\\"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(lists::DeleteKeyTree(list, name), error::InvalidParameter);
        EXPECT_EQ(list.DeleteSubKey(name.c_str()), error::InvalidParameter);
        EXPECT_EQ(lists::SaveList(store, RegistryRoot::CurrentUser, name, {}, reporter),
                  error::InvalidParameter);
        EXPECT_EQ(SubkeysOf(store, kList), std::vector<std::string>{"Child"});
    }
    EXPECT_EQ(reporter.errors.size(), 3u);
}

TEST_F(ListStorage, DeleteKeyTreeReportsAMissingKeyAndAFailingChild) {
    RegistryKey root;
    ASSERT_EQ(root.Open(store, RegistryRoot::CurrentUser, "", access::AllAccess), error::Success);
    EXPECT_EQ(lists::DeleteKeyTree(root, kList), error::FileNotFound);
    PutText(store, kList + "\\Stray\\Deeper", "x", "y");
    FailWhen(MemoryRegistryStore::Operation::DeleteKey, "Deeper", error::AccessDenied);
    EXPECT_EQ(lists::DeleteKeyTree(root, kList), error::AccessDenied);
    store.SetFaultHook(nullptr);
    EXPECT_EQ(SubkeysOf(store, kList + "\\Stray"), std::vector<std::string>{"Deeper"});
    EXPECT_EQ(lists::DeleteKeyTree(root, kList), error::Success);
    EXPECT_FALSE(testing::KeyExists(store, kList));
}

// Loading

TEST_F(ListStorage, RunReadsBackWhatWasSavedWithFolderEntries) {
    const std::vector<std::string> items = {"C:\\Photos\\", "C:\\My.Pictures\\beach.photo.jpg",
                                            "E:\\song.mp3"};
    Save(items);
    const auto entries = Run();
    EXPECT_EQ(entries, items);
    EXPECT_TRUE(lists::IsFolderEntry(entries[0]));
    EXPECT_FALSE(lists::IsFolderEntry(entries[1]));
}

TEST_F(ListStorage, EditorGetsTheEntriesInOrderWithOnlyTheFirstSelected) {
    Save({"C:\\a.jpg", "C:\\b\\", "C:\\c.jpg"});
    const std::vector<std::pair<std::string, bool>> expected = {
        {"C:\\a.jpg", true}, {"C:\\b\\", false}, {"C:\\c.jpg", false}};
    EXPECT_EQ(Editor(), expected);
}

TEST_F(ListStorage, MissingSubkeyGivesEmptyLists) {
    EXPECT_TRUE(Run().empty());
    EXPECT_TRUE(Editor().empty());
    EXPECT_FALSE(testing::KeyExists(store, kList));
}

std::string Repeated(const std::string& text, std::size_t count) {
    std::string repeated;
    for (std::size_t i = 0; i < count; ++i) {
        repeated += text;
    }
    return repeated;
}

// The editor adds by the same rule as storage keeps: the longest entry that
// fits loads back whole, one character more does not. Characters count as
// the system's wide calls count them, whatever their UTF-8 length.
TEST_F(ListStorage, EntryLoadsBackExactlyWhenItFitsTheRule) {
    const std::string cjk = "\xE5\x86\x99";        // 3 bytes, 1 unit
    const std::string emoji = "\xF0\x9F\x99\x82";  // 4 bytes, 2 units
    const std::pair<std::string, bool> cases[] = {
        {std::string(259, 'a'), true},
        {std::string(260, 'a'), false},
        {Repeated(cjk, 259), true},
        {Repeated(cjk, 258) + emoji, false},
        {Repeated(emoji, 129) + "a", true},
        {"C:\\Caf\xE9.jpg", false},  // no UTF-8: would not come back as it is
    };
    for (const auto& [entry, loads] : cases) {
        const std::size_t length = entry.size();
        EXPECT_EQ(lists::FitsListEntry(entry), loads) << length;
        if (!IsValidUtf8(entry)) {
            continue;
        }
        Save({entry, "C:\\after.jpg"});
        const std::vector<std::string> run = Run();
        EXPECT_EQ(run.size() == 2 && run.front() == entry, loads) << length;
        EXPECT_EQ(Editor().size(), loads ? 2u : 1u) << length;
    }
}

TEST_F(ListStorage, TooLongEntryIsSkippedByTheRunAndTheEditor) {
    struct Case {
        const char* name;
        std::uint32_t size;
    };
    // Without a terminator, 260 bytes would be a 260-character entry.
    for (const Case c : {Case{"00001", 260}, Case{"00001", 261}, Case{"00000", 400}}) {
        SCOPED_TRACE(c.name + std::to_string(c.size));
        Save({"C:\\a.jpg", "C:\\b.jpg", "C:\\c.jpg"});
        const std::string data(c.size, 'x');
        PutValue(store, kList, c.name, RegistryType::String, data.data(), c.size);
        const std::vector<std::string> kept = Run();
        EXPECT_EQ(kept.size(), 2u);
        const auto editor = Editor();
        ASSERT_EQ(editor.size(), 2u);
        EXPECT_TRUE(editor[0].second);
        EXPECT_FALSE(editor[1].second);
        // The editor's next save keeps every entry that loaded.
        Save({editor[0].first, editor[1].first});
        EXPECT_EQ(Run(), kept);
    }
}

// Bytes that are no UTF-8 show as replacement characters; the entries after
// them still load.
TEST_F(ListStorage, BrokenUtf8InAValueIsReplacedAndTheRestLoads) {
    PutText(store, kList, "00000", "C:\\Caf\xE9\xF0\x9F.jpg");
    PutText(store, kList, "00001", "C:\\b.jpg");
    const std::vector<std::string> expected = {"C:\\Caf\xEF\xBF\xBD\xEF\xBF\xBD.jpg", "C:\\b.jpg"};
    EXPECT_EQ(Run(), expected);
    const auto editor = Editor();
    ASSERT_EQ(editor.size(), 2u);
    EXPECT_EQ(editor[0].first, expected[0]);
}

TEST_F(ListStorage, RunReadsByNameAndSkipsAGap) {
    PutText(store, kList, "00000", "C:\\a.jpg");
    PutText(store, kList, "00002", "C:\\c.jpg");
    PutText(store, kList, "other", "C:\\never.jpg");
    EXPECT_EQ(Run(), (std::vector<std::string>{"C:\\a.jpg", "C:\\c.jpg"}));
}

TEST_F(ListStorage, ValueThatIsNotTextIsNotReadPastItsSize) {
    const std::uint32_t number = 0x44434241;  // "ABCD", no terminator
    PutValue(store, kList, "00000", RegistryType::Dword, &number, sizeof number);
    EXPECT_EQ(Run(), std::vector<std::string>{"ABCD"});
    EXPECT_EQ(Editor().at(0).first, "ABCD");
}

TEST(ListKeys, SubkeysLieBelowTheSettingsKeyNamedByThePageCaptions) {
    EXPECT_EQ(lists::PictureListKeyPath("Software\\Q\\V"), "Software\\Q\\V\\Pictures");
    EXPECT_EQ(lists::MusicListKeyPath("Software\\Q\\V\\"), "Software\\Q\\V\\Music");
    EXPECT_EQ(lists::ListValueName(0), "00000");
    EXPECT_EQ(lists::ListValueName(123456), "123456");
}

}  // namespace
}  // namespace velmora
