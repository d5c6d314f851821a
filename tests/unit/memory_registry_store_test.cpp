// The in-memory registry store the storage tests use, against the store rules.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "registry/registry_key.h"
#include "tests/support/memory_registry_store.h"
#include "tests/support/registry_inspection.h"
#include "tests/support/store_behaviour_suite.h"

namespace velmora::settings {
namespace {

namespace error = registry::registry_error;
namespace access = registry::registry_access;
using velmora::testing::MemoryRegistryStore;
using velmora::testing::ValueNamesOf;

class MemoryStore : public ::testing::Test {
protected:
    void TearDown() override { EXPECT_EQ(store.OpenHandleCount(), 0u); }

    registry::RegistryKey Create(const std::string& path,
                                 registry::RegistryAccess rights = access::AllAccess) {
        registry::RegistryKey key;
        EXPECT_EQ(key.Create(store, registry::RegistryRoot::CurrentUser, path, rights),
                  error::Success);
        return key;
    }

    MemoryRegistryStore store;
};

// The system keeps this order too; Wine sorts by name, so it is checked here only.
TEST_F(MemoryStore, ValuesEnumerateInTheOrderTheyWereFirstSet) {
    const registry::RegistryKey key = Create("A");
    for (const char* name : {"b", "a", "c", "B"}) {
        key.SetValue(name, registry::RegistryType::String, name, 2);
    }
    EXPECT_EQ(ValueNamesOf(store, "a"), (std::vector<std::string>{"b", "a", "c"}));
}

TEST_F(MemoryStore, MovedKeysCloseTheirHandleOnce) {
    registry::RegistryKey first = Create("K");
    registry::RegistryKey second = std::move(first);
    EXPECT_FALSE(first.IsOpen());
    EXPECT_EQ(store.OpenHandleCount(), 1u);
    second = Create("L");
    EXPECT_EQ(store.OpenHandleCount(), 1u);
    // A key opened below itself replaces its own handle.
    EXPECT_EQ(second.CreateBelow(second, "M", access::Read), error::Success);
    EXPECT_EQ(store.OpenHandleCount(), 1u);
}

TEST_F(MemoryStore, RootsAreSeparate) {
    registry::RegistryKey key;
    key.Create(store, registry::RegistryRoot::LocalMachine, "Only", access::Read);
    EXPECT_FALSE(velmora::testing::KeyExists(store, "Only"));
}

TEST_F(MemoryStore, FaultHookFailsTheNamedOperation) {
    const registry::RegistryKey key = Create("K");
    store.SetFaultHook([](auto operation, const std::string& path, const std::string& name) {
        return operation == MemoryRegistryStore::Operation::SetValue && path == "K" && name == "x"
                   ? 1013
                   : error::Success;
    });
    EXPECT_EQ(key.SetValue("x", registry::RegistryType::Dword, "1234", 4), 1013);
    EXPECT_EQ(key.SetValue("y", registry::RegistryType::Dword, "1234", 4), error::Success);
    EXPECT_EQ(ValueNamesOf(store, "K"), std::vector<std::string>{"y"});
}

}  // namespace
}  // namespace velmora::settings

namespace velmora::testing {

INSTANTIATE_TEST_SUITE_P(Stores, StoreBehaviour,
                         ::testing::Values(StoreUnderTest{
                             "Memory",
                             [] { return std::make_unique<testing::MemoryRegistryStore>(); },
                             "Software\\StoreTest"}),
                         [](const auto& info) { return info.param.name; });

}  // namespace velmora::testing
