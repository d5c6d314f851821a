// The committed program icon is exactly what our generator makes, and Windows
// can read every size of it.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <vector>

#include "tools/program_icon.h"
#include "tools/resource_generator.h"

namespace velmora::tools {
namespace {

std::uint32_t Little(const std::vector<std::uint8_t>& bytes, std::size_t at, int size) {
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) {
        value = value << 8 | bytes.at(at + i);
    }
    return value;
}

TEST(ProgramIcon, TheGeneratorMakesTheCommittedIcon) {
    std::ifstream in(std::string(VELMORA_PACKED_RESOURCE_DIR) + "/../icon/velmora.ico",
                     std::ios::binary);
    const std::vector<std::uint8_t> committed((std::istreambuf_iterator<char>(in)),
                                              std::istreambuf_iterator<char>());
    const auto generated = GenerateProgramIcon(kDefaultFontFolder);
    ASSERT_FALSE(generated.empty());
    EXPECT_EQ(generated, committed);

    // Directory: 16, 32, 48 as bitmaps of doubled height, 256 (stored as 0) as PNG.
    ASSERT_EQ(Little(generated, 4, 2), 4u);
    const int sizes[] = {16, 32, 48, 256};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(sizes[i]);
        const std::size_t entry = 6 + 16 * i;
        EXPECT_EQ(generated[entry], sizes[i] & 0xFF);
        const std::uint32_t length = Little(generated, entry + 8, 4);
        const std::uint32_t offset = Little(generated, entry + 12, 4);
        ASSERT_LE(offset + length, generated.size());
        if (sizes[i] == 256) {
            EXPECT_EQ(Little(generated, offset, 4), 0x474E5089u);  // "\x89PNG"
        } else {
            EXPECT_EQ(Little(generated, offset + 8, 4), static_cast<std::uint32_t>(sizes[i] * 2));
            EXPECT_EQ(length,
                      40u + sizes[i] * sizes[i] * 4 + ((sizes[i] + 31) / 32) * 4 * sizes[i]);
        }
    }
}

TEST(ProgramIcon, CornersAreTransparentAndTheCubeIsOpaque) {
    ArtPicture grey{4, 4, 3, std::vector<std::uint8_t>(48, 128)};
    const ArtPicture icon = MakeIconPicture(grey, grey, grey, 32);
    const auto alpha = [&](int x, int y) { return icon.pixels[(y * 32 + x) * 4 + 3]; };
    EXPECT_EQ(alpha(0, 0), 0);
    EXPECT_EQ(alpha(31, 31), 0);
    EXPECT_EQ(alpha(16, 16), 255);
    EXPECT_TRUE(WriteIconFile({grey}).empty());
}

}  // namespace
}  // namespace velmora::tools
