// The packed resources as module resources: found by name under the type
// named "RT_RCDATA", in this test program and in the saver itself.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "engine/mesh.h"
#include "engine/packed_resources.h"
#include "engine/texture.h"
#include "tests/win32/process_runner.h"

namespace velmora::testing {
namespace {

const char* kNames[] = {"CHROME.TEX", "SKY.TEX",    "DEFAULT.TEX", "FONT1-A.TEX",
                        "CUBE2.MSH",  "PCUBE0.MSH", "PCUBE1.MSH",  "PCUBE2.MSH",
                        "PCUBE3.MSH", "PCUBE4.MSH", "PCUBE5.MSH"};

TEST(EngineResources, LoadFromTheRunningModule) {
    engine::Texture chrome;
    ASSERT_EQ(chrome.LoadFromResource("CHROME.TEX"), S_OK);
    EXPECT_EQ(chrome.Width(), 128);
    EXPECT_STREQ(chrome.Name(), "chrome.bmp");
    engine::Mesh box;
    ASSERT_EQ(box.LoadFromResource("CUBE2.MSH"), S_OK);
    EXPECT_EQ(box.Indices().Count(), 1476u);
    EXPECT_EQ(chrome.LoadFromResource("MISSING.TEX"), E_FAIL);
}

TEST(EngineResources, TheSaverCarriesTheSameBytes) {
    const std::string saver = PathBesideTestProgram("velmora-saver.scr");
    HMODULE module = LoadLibraryExA(saver.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr);
    for (const char* name : kNames) {
        SCOPED_TRACE(name);
        HRSRC found = FindResourceA(module, name, "RT_RCDATA");
        ASSERT_NE(found, nullptr);
        HGLOBAL loaded = LoadResource(module, found);
        const void* bytes = LockResource(loaded);
        const std::uint8_t* own = nullptr;
        std::size_t ownSize = 0;
        ASSERT_TRUE(engine::FindPackedResource(name, own, ownSize));
        ASSERT_EQ(SizeofResource(module, found), ownSize);
        EXPECT_EQ(0, std::memcmp(bytes, own, ownSize));
    }
    FreeLibrary(module);
}

}  // namespace
}  // namespace velmora::testing
