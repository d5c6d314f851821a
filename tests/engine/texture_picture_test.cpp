// Textures made from picture files: sizing, layout, borders and companion alpha.
#include <gtest/gtest.h>
#include <png.h>
#include <unistd.h>

#include <cstring>
#include <string>

#include "engine/texture.h"
#include "tests/support/picture_samples.h"

namespace velmora::engine {
namespace {

using picture::testing::Bytes;
using picture::testing::EncodePng;
using picture::testing::TempFile;

// A picture of one colour, as a PNG file.
Bytes SolidPng(int width, int height, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    Bytes rgb(static_cast<std::size_t>(width) * height * 3);
    for (std::size_t i = 0; i < rgb.size(); i += 3) {
        rgb[i] = r, rgb[i + 1] = g, rgb[i + 2] = b;
    }
    return EncodePng(width, height, PNG_COLOR_TYPE_RGB, 8, rgb);
}

// Top half one colour, bottom half another.
Bytes TwoBandPng(int width, int height) {
    Bytes rgb(static_cast<std::size_t>(width) * height * 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::uint8_t* p = &rgb[(static_cast<std::size_t>(y) * width + x) * 3];
            p[0] = y < height / 2 ? 250 : 0;
            p[1] = 0;
            p[2] = y < height / 2 ? 0 : 250;
        }
    }
    return EncodePng(width, height, PNG_COLOR_TYPE_RGB, 8, rgb);
}

const std::uint8_t* Pixel(const Texture& t, int x, int row) {
    return t.Pixels() + (static_cast<std::size_t>(row) * t.Width() + x) * t.BytesPerPixel();
}

TEST(TextureFromPicture, PackedNamesAreRefusedButABareDotTexIsTried) {
    Texture texture;
    EXPECT_EQ(texture.LoadFromPicture("/nowhere/FACE.TEX", 64, 64, 0, 0, 0, true, true, false),
              E_FAIL);
    TempFile picture(".tex", SolidPng(4, 4, 1, 2, 3));
    char previous[4096];
    ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
    const std::string folder = picture.Path().substr(0, picture.Path().rfind('/'));
    ASSERT_EQ(chdir(folder.c_str()), 0);
    const HRESULT result = texture.LoadPictureAsTexture(".tex", true);
    ASSERT_EQ(chdir(previous), 0);
    EXPECT_EQ(result, S_OK);
    EXPECT_EQ(texture.Width(), 4);
}

TEST(TextureFromPicture, PowerOfTwoSizingAndTheBottomUpRgbLayout) {
    TempFile picture("wide.png", TwoBandPng(640, 480));
    Texture texture;
    ASSERT_EQ(texture.LoadPictureAsTexture(picture.Path().c_str(), true), S_OK);
    EXPECT_EQ(texture.Width(), 512);
    EXPECT_EQ(texture.Height(), 256);
    EXPECT_EQ(texture.BytesPerPixel(), 3);
    EXPECT_STREQ(texture.Name(), picture.Path().c_str());
    EXPECT_TRUE(texture.IsDirty());
    // Texture row 0 is the bottom of the picture: blue; the top row red.
    EXPECT_EQ(Pixel(texture, 10, 0)[2], 250);
    EXPECT_EQ(Pixel(texture, 10, 0)[0], 0);
    EXPECT_EQ(Pixel(texture, 10, 255)[0], 250);
}

TEST(TextureFromPicture, FittingATallPictureLeavesBordersOfTheFillColour) {
    TempFile picture("tall.png", SolidPng(300, 600, 200, 100, 50));
    Texture texture;
    ASSERT_EQ(texture.LoadFromPicture(picture.Path().c_str(), 256, 256, 9, 8, 7, true, true, false),
              S_OK);
    ASSERT_EQ(texture.Width(), 256);
    ASSERT_EQ(texture.Height(), 256);
    for (const int row : {0, 128, 255}) {
        EXPECT_EQ(Pixel(texture, 63, row)[0], 9);
        EXPECT_EQ(Pixel(texture, 64, row)[0], 200);
        EXPECT_EQ(Pixel(texture, 191, row)[1], 100);
        EXPECT_EQ(Pixel(texture, 192, row)[2], 7);
    }
    // Without fit the picture is stretched over the requested size.
    ASSERT_EQ(texture.LoadFromPicture(picture.Path().c_str(), 64, 32, 9, 8, 7, false, true, false),
              S_OK);
    EXPECT_EQ(texture.Width(), 64);
    EXPECT_EQ(texture.Height(), 32);
    EXPECT_EQ(Pixel(texture, 0, 0)[0], 200);
    // -1 keeps the picture's own size.
    ASSERT_EQ(texture.LoadFromPicture(picture.Path().c_str(), -1, 32, 0, 0, 0, true, true, false),
              S_OK);
    EXPECT_EQ(texture.Width(), 300);
}

TEST(TextureFromPicture, CompanionAlphaPictures) {
    TempFile leaf("leaf.png", SolidPng(64, 32, 10, 20, 30));
    const std::string folder = leaf.Path().substr(0, leaf.Path().rfind('/') + 1);
    {
        TempFile companion("leaf_a.png", SolidPng(64, 32, 77, 0, 0));
        std::rename(companion.Path().c_str(), (folder + "leaf_a.png").c_str());
        Texture texture;
        ASSERT_EQ(texture.LoadPictureAsTexture(leaf.Path().c_str(), false), S_OK);
        EXPECT_EQ(texture.BytesPerPixel(), 4);
        EXPECT_EQ(Pixel(texture, 5, 5)[0], 10);
        EXPECT_EQ(Pixel(texture, 5, 5)[3], 77);
        std::rename((folder + "leaf_a.png").c_str(), companion.Path().c_str());
    }
    {
        TempFile companion("leaf_a.png", SolidPng(32, 32, 77, 0, 0));
        std::rename(companion.Path().c_str(), (folder + "leaf_a.png").c_str());
        Texture texture;
        ASSERT_EQ(texture.LoadPictureAsTexture(leaf.Path().c_str(), false), S_OK);
        EXPECT_EQ(texture.BytesPerPixel(), 3);  // another size: ignored
        std::rename((folder + "leaf_a.png").c_str(), companion.Path().c_str());
    }
    Texture plain;
    ASSERT_EQ(plain.LoadPictureAsTexture(leaf.Path().c_str(), false), S_OK);
    EXPECT_EQ(plain.BytesPerPixel(), 3);  // no companion: the normal case
}

TEST(TextureFromPicture, SelfAlphaAndACompanionTogetherStayConsistent) {
    TempFile glyphs("font1-a.png", SolidPng(16, 16, 90, 90, 90));
    const std::string folder = glyphs.Path().substr(0, glyphs.Path().rfind('/') + 1);
    Texture selfAlpha;
    ASSERT_EQ(selfAlpha.LoadPictureAsTexture(glyphs.Path().c_str(), false), S_OK);
    EXPECT_EQ(selfAlpha.BytesPerPixel(), 4);
    EXPECT_EQ(Pixel(selfAlpha, 3, 3)[3], 90);

    TempFile companion("font1-a_a.png", SolidPng(16, 16, 33, 0, 0));
    std::rename(companion.Path().c_str(), (folder + "font1-a_a.png").c_str());
    Texture both;
    ASSERT_EQ(both.LoadPictureAsTexture(glyphs.Path().c_str(), false), S_OK);
    std::rename((folder + "font1-a_a.png").c_str(), companion.Path().c_str());
    EXPECT_EQ(both.BytesPerPixel(), 4);
    EXPECT_EQ(Pixel(both, 3, 3)[0], 90);  // colour kept through both passes
    EXPECT_EQ(Pixel(both, 3, 3)[3], 90);  // the self mask wins, being last
}

TEST(TextureFromPicture, VeryLongPathsSkipTheCompanionAndFailuresEmptyTheTexture) {
    TempFile picture("p.png", SolidPng(8, 8, 1, 1, 1));
    std::string longPath = picture.Path().substr(0, picture.Path().rfind('/') + 1);
    while (longPath.size() < 300) {
        longPath += "./";
    }
    longPath += "p.png";
    Texture texture;
    ASSERT_EQ(texture.LoadPictureAsTexture(longPath.c_str(), false), S_OK);
    EXPECT_EQ(texture.BytesPerPixel(), 3);

    EXPECT_EQ(texture.LoadPictureAsTexture("/no/such/picture.png", true), E_FAIL);
    EXPECT_EQ(texture.Pixels(), nullptr);
    EXPECT_EQ(texture.Width(), 0);
    EXPECT_STREQ(texture.Name(), "");
}

TEST(TextureFromPicture, ItsOwnNameAsThePathReloadsThePicture) {
    TempFile picture("own-name.png", SolidPng(8, 4, 10, 20, 30));
    Texture texture;
    texture.SetName(picture.Path().c_str());
    ASSERT_EQ(texture.LoadFromPicture(texture.Name(), 16, 16, 0, 0, 0, true, false, false), S_OK);
    EXPECT_EQ(texture.Name(), picture.Path());
    EXPECT_EQ(texture.Width(), 16);
    EXPECT_EQ(Pixel(texture, 0, 8)[2], 30);
}

TEST(TextureResize, SameSizeNearestBilinearAndSwap) {
    Texture texture;
    std::unique_ptr<std::uint8_t[]> pixels(new std::uint8_t[2 * 1 * 3]{0, 10, 200, 100, 30, 0});
    texture.SetPixels(2, 1, 3, std::move(pixels));
    texture.SetDirty(false);
    EXPECT_EQ(texture.Resize(2, 1, true, false), S_FALSE);
    EXPECT_FALSE(texture.IsDirty());
    EXPECT_EQ(texture.Resize(0, 1, true, false), E_FAIL);

    ASSERT_EQ(texture.Resize(4, 1, false, false), S_OK);
    EXPECT_TRUE(texture.IsDirty());
    const std::uint8_t nearest[12] = {0, 10, 200, 0, 10, 200, 100, 30, 0, 100, 30, 0};
    EXPECT_EQ(0, std::memcmp(texture.Pixels(), nearest, 12));

    std::unique_ptr<std::uint8_t[]> again(new std::uint8_t[6]{0, 10, 200, 100, 30, 0});
    texture.SetPixels(2, 1, 3, std::move(again));
    ASSERT_EQ(texture.Resize(4, 1, true, true), S_OK);
    // x = 0, 0.5, 1.0, 1.5: the second output is halfway, bytes swapped.
    EXPECT_EQ(texture.Pixels()[3 + 2], 50);  // red at the blue position
    EXPECT_EQ(texture.Pixels()[3 + 1], 20);
    EXPECT_EQ(texture.Pixels()[3 + 0], 100);  // blue at the red position

    Texture empty;
    EXPECT_EQ(empty.Resize(4, 4, true, false), E_FAIL);
    texture.ReleasePixels();
    EXPECT_EQ(texture.Width(), 0);
    EXPECT_FALSE(texture.IsDirty());
}

}  // namespace
}  // namespace velmora::engine
