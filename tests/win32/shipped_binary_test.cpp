// What we ship: GUI programs for x86-64 Windows, with static runtimes, and
// without the product's key texts in plain form.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "tests/win32/process_runner.h"

namespace velmora::testing {
namespace {

bool Contains(const std::vector<std::uint8_t>& haystack, const std::string& needle) {
    return std::search(haystack.begin(), haystack.end(), needle.begin(), needle.end()) !=
           haystack.end();
}

std::string Utf16(const std::string& text) {
    std::string wide;
    for (char c : text) {
        wide += c;
        wide += '\0';
    }
    return wide;
}

struct PeFacts {
    bool valid = false;
    std::uint16_t machine = 0;
    std::uint16_t subsystem = 0;
};

PeFacts ReadPeFacts(const std::vector<std::uint8_t>& file) {
    PeFacts facts;
    if (file.size() < 0x40 || file[0] != 'M' || file[1] != 'Z') {
        return facts;
    }
    std::uint32_t peOffset = 0;
    std::memcpy(&peOffset, &file[0x3C], 4);
    // Signature (4), file header (20), optional header: subsystem at offset 68.
    if (peOffset > file.size() || file.size() - peOffset < 4 + 20 + 70 ||
        std::memcmp(&file[peOffset], "PE\0\0", 4) != 0) {
        return facts;
    }
    std::memcpy(&facts.machine, &file[peOffset + 4], 2);
    std::memcpy(&facts.subsystem, &file[peOffset + 24 + 68], 2);
    facts.valid = true;
    return facts;
}

class ShippedBinary : public ::testing::TestWithParam<const char*> {};

TEST_P(ShippedBinary, IsAnX64GuiProgramWithStaticRuntimes) {
    const auto file = ReadWholeFile(PathBesideTestProgram(GetParam()));
    ASSERT_FALSE(file.empty());
    const PeFacts facts = ReadPeFacts(file);
    ASSERT_TRUE(facts.valid);
    EXPECT_EQ(facts.machine, IMAGE_FILE_MACHINE_AMD64);
    EXPECT_EQ(facts.subsystem, IMAGE_SUBSYSTEM_WINDOWS_GUI);
    for (const char* dll : {"libstdc++-6.dll", "libgcc_s_seh-1.dll", "libwinpthread-1.dll"}) {
        EXPECT_FALSE(Contains(file, dll)) << dll;
    }
}

INSTANTIATE_TEST_SUITE_P(Programs, ShippedBinary,
                         ::testing::Values("velmora-saver.scr", "velmora-setup.exe"));

TEST(SaverBinary, KeepsTheSettingsKeyAndProductTextEncoded) {
    const auto file = ReadWholeFile(PathBesideTestProgram("velmora-saver.scr"));
    ASSERT_FALSE(file.empty());
    // The plain message texts are there, so the search itself works.
    ASSERT_TRUE(Contains(file, "The main object could not be created."));
    for (const std::string text :
         {"Software\\Quillfen Graphics\\Velmora", "Quillfen Graphics", "Quillfen", "Velmora"}) {
        EXPECT_FALSE(Contains(file, text)) << text;
        EXPECT_FALSE(Contains(file, Utf16(text))) << text << " (UTF-16)";
    }
}

}  // namespace
}  // namespace velmora::testing
