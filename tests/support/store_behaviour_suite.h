// What the storage code relies on in a registry store, as one suite that runs
// against the in-memory store natively and against both stores under Wine, so
// the stand-in is held to the system's behaviour. Include it in one source
// file per test program and instantiate StoreBehaviour there.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "lists/list_storage.h"
#include "registry/registry_key.h"
#include "tests/support/registry_inspection.h"

namespace velmora::testing {

struct StoreUnderTest {
    std::string name;
    std::function<std::unique_ptr<registry::RegistryStore>()> make;
    std::string scratchPath;  // below HKEY_CURRENT_USER; deleted before and after
};

class StoreBehaviour : public ::testing::TestWithParam<StoreUnderTest> {
protected:
    StoreBehaviour() : store_(GetParam().make()), store(*store_), key(GetParam().scratchPath) {
        DeleteScratch();
    }
    ~StoreBehaviour() override { DeleteScratch(); }

    registry::RegistryKey Create(const std::string& path, registry::RegistryAccess rights) {
        registry::RegistryKey created;
        EXPECT_EQ(created.Create(store, registry::RegistryRoot::CurrentUser, path, rights),
                  registry::registry_error::Success);
        return created;
    }

private:
    void DeleteScratch() {
        registry::RegistryKey root;
        root.Open(store, registry::RegistryRoot::CurrentUser, "",
                  registry::registry_access::AllAccess);
        lists::DeleteKeyTree(root, key);
    }

    std::unique_ptr<registry::RegistryStore> store_;

protected:
    registry::RegistryStore& store;
    const std::string key;
};

namespace store_behaviour {
namespace access = registry::registry_access;
namespace error = registry::registry_error;
using registry::RegistryKey;
using registry::RegistryType;
}  // namespace store_behaviour

TEST_P(StoreBehaviour, ValuesSetInNameOrderEnumerateInThatOrder) {
    using namespace store_behaviour;
    const RegistryKey k = Create(key, access::AllAccess);
    for (const char* name : {"00000", "00001", "00002", "00003"}) {
        ASSERT_EQ(k.SetValue(name, RegistryType::String, name, 6), error::Success);
    }
    ASSERT_EQ(k.SetValue("00001", RegistryType::String, "x", 2), error::Success);
    EXPECT_EQ(ValueNamesOf(store, key),
              (std::vector<std::string>{"00000", "00001", "00002", "00003"}));
}

TEST_P(StoreBehaviour, SubkeysEnumerateSortedWithoutRegardToCase) {
    using namespace store_behaviour;
    Create(key + "\\Zeta", access::Write);
    Create(key + "\\alpha", access::Write);
    Create(key + "\\BETA", access::Write);
    Create(key + "\\beta", access::Write);
    EXPECT_EQ(SubkeysOf(store, key), (std::vector<std::string>{"alpha", "BETA", "Zeta"}));
}

TEST_P(StoreBehaviour, ShortBuffersGetMoreDataAndTheNeededSize) {
    using namespace store_behaviour;
    const RegistryKey k = Create(key, access::AllAccess);
    ASSERT_EQ(k.SetValue("Six", RegistryType::Binary, "123456", 6), error::Success);
    char data[4] = {};
    std::uint32_t size = sizeof data;
    EXPECT_EQ(k.QueryValue("six", nullptr, data, &size), error::MoreData);
    EXPECT_EQ(size, 6u);
    RegistryType type = RegistryType::None;
    size = 0;
    EXPECT_EQ(k.QueryValue("SIX", &type, nullptr, &size), error::Success);
    EXPECT_EQ(size, 6u);
    EXPECT_EQ(type, RegistryType::Binary);
    char name[8] = {};
    std::uint32_t nameSize = 3;  // "Six" needs 4 with its terminator
    size = 8;
    char big[8] = {};
    EXPECT_EQ(k.EnumValue(0, name, &nameSize, nullptr, big, &size), error::MoreData);
    nameSize = sizeof name;
    size = sizeof data;
    EXPECT_EQ(k.EnumValue(0, name, &nameSize, nullptr, data, &size), error::MoreData);
    nameSize = sizeof name;
    // The name alone needs no data buffer.
    EXPECT_EQ(k.EnumValue(0, name, &nameSize, nullptr, nullptr, nullptr), error::Success);
    EXPECT_STREQ(name, "Six");
    nameSize = sizeof name;
    EXPECT_EQ(k.EnumValue(1, name, &nameSize, nullptr, data, &size), error::NoMoreItems);
    EXPECT_EQ(k.QueryValue("none", nullptr, data, &size), error::FileNotFound);
    std::uint32_t count = 0;
    EXPECT_EQ(k.QueryValueCount(&count), error::Success);
    EXPECT_EQ(count, 1u);
}

TEST_P(StoreBehaviour, KeysWithSubkeysAreNotDeleted) {
    using namespace store_behaviour;
    const RegistryKey k = Create(key, access::AllAccess);
    Create(key + "\\Child\\Grandchild", access::Write);
    EXPECT_EQ(k.DeleteSubKey("Child"), error::AccessDenied);
    EXPECT_EQ(k.DeleteSubKey("Child\\Grandchild"), error::Success);
    EXPECT_EQ(k.DeleteSubKey("CHILD"), error::Success);
    EXPECT_EQ(k.DeleteSubKey("Child"), error::FileNotFound);
}

TEST_P(StoreBehaviour, HandleOfADeletedKeyReportsIt) {
    using namespace store_behaviour;
    const RegistryKey parent = Create(key, access::AllAccess);
    const RegistryKey child = Create(key + "\\Child", access::AllAccess);
    ASSERT_EQ(parent.DeleteSubKey("Child"), error::Success);
    std::uint32_t count = 0;
    EXPECT_EQ(child.QueryValueCount(&count), error::KeyDeleted);
    EXPECT_EQ(child.SetValue("x", RegistryType::Dword, "1234", 4), error::KeyDeleted);
}

TEST_P(StoreBehaviour, HandleRightsGuardValuesButNotCreating) {
    using namespace store_behaviour;
    const RegistryKey writer = Create(key, access::Write);
    const RegistryKey reader = Create(key, access::Read);
    EXPECT_EQ(reader.SetValue("x", RegistryType::Dword, "1234", 4), error::AccessDenied);
    EXPECT_EQ(writer.SetValue("x", RegistryType::Dword, "1234", 4), error::Success);
    char data[4];
    std::uint32_t size = sizeof data;
    EXPECT_EQ(writer.QueryValue("x", nullptr, data, &size), error::AccessDenied);
    // Creating is checked against the key's security, not the handle's rights.
    RegistryKey child;
    EXPECT_EQ(child.CreateBelow(reader, "New", access::Read), error::Success);
}

TEST_P(StoreBehaviour, OpeningAMissingKeyFailsAndLeavesTheKeyClosed) {
    using namespace store_behaviour;
    RegistryKey k = Create(key, access::Read);
    EXPECT_EQ(k.Open(store, registry::RegistryRoot::CurrentUser, key + "\\Missing", access::Read),
              error::FileNotFound);
    EXPECT_FALSE(k.IsOpen());
    std::uint32_t count = 0;
    EXPECT_EQ(k.QueryValueCount(&count), error::InvalidHandle);
}

}  // namespace velmora::testing
