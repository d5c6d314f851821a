// The GL device on a real WGL context under Wine: state, the texture cache,
// uploads, and what drawing puts on screen.
#include <windows.h>

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "engine/gl_device.h"
#include "engine/glyph_table.h"
#include "engine/packed_resources.h"
#include "tests/win32/plain_window.h"
#include "tests/win32/process_runner.h"

namespace velmora::testing {
namespace {

using namespace velmora::engine;

class GlDeviceTest : public ::testing::Test {
protected:
    void SetUp() override {
        window_ = std::make_unique<PlainWindow>(96, 64);
        ASSERT_NE(window_->Handle(), nullptr);
        ASSERT_EQ(device_.Attach(window_->Handle()), S_OK);
        ASSERT_NE(wglGetCurrentContext(), nullptr);
    }

    std::array<std::uint8_t, 4> Pixel(int x, int y) {
        std::uint8_t p[4] = {};
        glFinish();
        glReadBuffer(GL_BACK);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
        return {p[0], p[1], p[2], p[3]};
    }

    std::unique_ptr<Texture> SolidTexture(int width, int height, std::uint8_t value) {
        auto texture = std::make_unique<Texture>();
        const std::size_t bytes = static_cast<std::size_t>(width) * height * 3;
        std::unique_ptr<std::uint8_t[]> pixels(new std::uint8_t[bytes]);
        std::memset(pixels.get(), value, bytes);
        texture->SetPixels(width, height, 3, std::move(pixels));
        texture->SetName("solid");
        return texture;
    }

    std::unique_ptr<PlainWindow> window_;
    // GL's largest texture side as the device sees it (negative: GL's own),
    // and the device's debugger-output lines.
    int maxTextureSize_ = -1;
    std::vector<std::string> debugLines_;
    GlDevice device_{GlDeviceServices{
        [this] { return maxTextureSize_ >= 0 ? maxTextureSize_ : GlMaxTextureSize(); },
        [this](const std::string& line) { debugLines_.push_back(line); }}};
};

TEST_F(GlDeviceTest, AttachSetsTheViewAndReleaseUndoesIt) {
    EXPECT_EQ(device_.ViewportWidth(), 96);
    EXPECT_EQ(device_.ViewportHeight(), 64);
    EXPECT_FLOAT_EQ(device_.Aspect(), 1.5f);
    EXPECT_FLOAT_EQ(device_.FarPlane(), 1000.0f);
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_COLOR_MATERIAL));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_S));
    GLint mode = 0;
    glGetTexGeniv(GL_S, GL_TEXTURE_GEN_MODE, &mode);
    EXPECT_EQ(mode, GL_SPHERE_MAP);

    EXPECT_EQ(device_.Clear(false, false), S_OK);
    EXPECT_EQ(device_.Attach(nullptr), S_OK);
    EXPECT_EQ(wglGetCurrentContext(), nullptr);
    EXPECT_EQ(device_.Attach(nullptr), S_FALSE);
    EXPECT_EQ(device_.SetViewport(0, 0, 1, 1), E_FAIL);
    EXPECT_EQ(device_.Clear(true, true), E_FAIL);
}

// Without a pixel format GL calls would land on no context: the attach fails.
TEST(GlDeviceAttach, FailsOnAWindowThatRefusesThePixelFormat) {
    PlainWindow window(32, 32);
    ASSERT_TRUE(TakeOtherPixelFormat(window.Handle()));
    GlDevice device;
    EXPECT_EQ(device.Attach(window.Handle()), E_FAIL);
    EXPECT_FALSE(device.IsAttached());
    EXPECT_EQ(wglGetCurrentContext(), nullptr);
    EXPECT_EQ(device.Attach(nullptr), S_FALSE);
}

// The driver's swap interval is asked for on the attached context only; a
// driver without it says so.
TEST(GlDeviceSwapInterval, GoesToTheDriverOnlyWhileAttached) {
    PlainWindow window(32, 32);
    std::vector<int> asked;
    bool offered = true;
    GlDeviceServices services;
    services.swapInterval = [&](int interval) {
        asked.push_back(interval);
        return offered;
    };
    GlDevice device(services);
    EXPECT_EQ(device.SetSwapInterval(1), E_FAIL);
    ASSERT_EQ(device.Attach(window.Handle()), S_OK);
    EXPECT_EQ(device.SetSwapInterval(2), S_OK);
    offered = false;
    EXPECT_EQ(device.SetSwapInterval(1), E_NOTIMPL);
    EXPECT_EQ(asked, (std::vector<int>{2, 1}));
}

TEST_F(GlDeviceTest, TheCacheLoadsFromResourcesPicturesAndPackedFiles) {
    Texture* first = nullptr;
    Texture* again = nullptr;
    ASSERT_EQ(device_.FindOrLoadTexture("CHROME.TEX", &first), S_OK);
    ASSERT_EQ(device_.FindOrLoadTexture("CHROME.TEX", &again), S_FALSE);
    EXPECT_EQ(first, again);
    EXPECT_STREQ(first->Name(), "CHROME.TEX");

    // A packed file on disk keeps the name stored inside it.
    TempFolder folder;
    const std::uint8_t* bytes = nullptr;
    std::size_t size = 0;
    ASSERT_TRUE(FindPackedResource("SKY.TEX", bytes, size));
    const std::string packedPath = folder.File("copy.tex");
    std::ofstream(packedPath, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes), static_cast<std::streamsize>(size));
    Texture* packed = nullptr;
    ASSERT_EQ(device_.FindOrLoadTexture(packedPath.c_str(), &packed), S_OK);
    EXPECT_STREQ(packed->Name(), "sky.bmp");

    Texture* missing = nullptr;
    EXPECT_TRUE(FAILED(device_.FindOrLoadTexture("NO-SUCH.TEX", &missing)));
    EXPECT_EQ(device_.CachedTextureCount(), 2u);

    // Removing the last entry shortens the list; a middle one shifts the rest.
    Texture* third = nullptr;
    ASSERT_EQ(device_.FindOrLoadTexture("DEFAULT.TEX", &third), S_OK);
    ASSERT_EQ(device_.RemoveTexture("DEFAULT.TEX"), S_OK);
    ASSERT_EQ(device_.CachedTextureCount(), 2u);
    EXPECT_EQ(device_.CachedTexture(1), packed);
    ASSERT_EQ(device_.FindOrLoadTexture("DEFAULT.TEX", &third), S_OK);
    ASSERT_EQ(device_.RemoveTexture("sky.bmp"), S_OK);
    ASSERT_EQ(device_.CachedTextureCount(), 2u);
    EXPECT_EQ(device_.CachedTexture(0), first);
    EXPECT_EQ(device_.CachedTexture(1), third);
    EXPECT_EQ(device_.RemoveTexture("sky.bmp"), S_FALSE);
}

TEST_F(GlDeviceTest, MeshTexturesAreBoundThroughTheCache) {
    Mesh mesh;
    EXPECT_EQ(device_.BindMeshTexture(&mesh), S_FALSE);  // no name
    mesh.SetTextureName("SKY.TEX", 0);
    ASSERT_EQ(device_.BindMeshTexture(&mesh), S_OK);
    ASSERT_NE(mesh.GetTexture(0), nullptr);
    EXPECT_EQ(mesh.GetTexture(0)->Width(), 128);
    EXPECT_EQ(device_.BindMeshTexture(&mesh), S_FALSE);  // already bound
    EXPECT_EQ(device_.ReleaseMeshTexture(&mesh), S_OK);
    EXPECT_EQ(device_.CachedTextureCount(), 0u);
}

TEST_F(GlDeviceTest, UploadsOnceRebuildsAfterResizeAndMovesNames) {
    auto texture = SolidTexture(64, 64, 200);
    ASSERT_EQ(device_.UploadTexture(texture.get()), S_OK);
    const std::uint32_t name = texture->GlName();
    ASSERT_NE(name, 0u);
    EXPECT_FALSE(texture->IsDirty());
    EXPECT_EQ(device_.UploadTexture(texture.get()), S_OK);
    EXPECT_EQ(texture->GlName(), name);  // only bound

    ASSERT_EQ(texture->Resize(32, 32, true, false), S_OK);
    ASSERT_EQ(device_.UploadTexture(texture.get()), S_OK);
    ASSERT_NE(texture->GlName(), 0u);
    GLint width = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    EXPECT_EQ(width, 32);

    auto next = SolidTexture(32, 32, 50);
    const std::uint32_t shared = texture->GlName();
    ASSERT_EQ(device_.ReplaceTextureImage(texture.get(), next.get()), S_OK);
    EXPECT_EQ(texture->GlName(), 0u);
    EXPECT_EQ(next->GlName(), shared);
    ASSERT_EQ(device_.UploadTexture(next.get()), S_OK);
    EXPECT_EQ(next->GlName(), shared);
    EXPECT_EQ(device_.ReplaceTextureImage(texture.get(), next.get()), E_FAIL);
    EXPECT_EQ(device_.ReplaceTextureImage(nullptr, next.get()), E_POINTER);

    EXPECT_EQ(device_.DeleteGlTexture(next.get()), S_OK);
    EXPECT_EQ(device_.DeleteGlTexture(next.get()), S_FALSE);
    EXPECT_EQ(device_.DeleteGlTexture(nullptr), E_POINTER);
    next->ReleasePixels();
    EXPECT_EQ(device_.UploadTexture(next.get()), E_FAIL);
    EXPECT_EQ(device_.UploadTexture(nullptr), E_POINTER);
}

TEST_F(GlDeviceTest, TexturesLargerThanTheMaximumAreClamped) {
    const std::vector<std::string>& lines = debugLines_;
    maxTextureSize_ = 512;
    auto wide = SolidTexture(1024, 512, 9);
    wide->SetName("wide.jpg");
    ASSERT_EQ(device_.UploadTexture(wide.get()), S_OK);
    EXPECT_EQ(wide->Width(), 512);
    EXPECT_EQ(wide->Height(), 512);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], "Rescaling texture, wide.jpg 1024x512 resizing to 512x512\n");

    maxTextureSize_ = 0;  // no answer: full size
    auto full = SolidTexture(1024, 512, 9);
    ASSERT_EQ(device_.UploadTexture(full.get()), S_OK);
    EXPECT_EQ(full->Width(), 1024);
    EXPECT_EQ(lines.size(), 1u);
}

TEST_F(GlDeviceTest, ATexturedFaceShowsItsPictureWhereItShould) {
    // Four colour blocks: bottom-left red, bottom-right green, top-left blue,
    // top-right white (texture rows run bottom-up).
    auto texture = std::make_unique<Texture>();
    std::unique_ptr<std::uint8_t[]> pixels(new std::uint8_t[4 * 4 * 3]);
    for (int row = 0; row < 4; ++row) {
        for (int x = 0; x < 4; ++x) {
            std::uint8_t* p = &pixels[(row * 4 + x) * 3];
            const bool top = row >= 2;
            const bool right = x >= 2;
            const std::uint8_t colours[4][3] = {
                {255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};
            std::memcpy(p, colours[(top ? 2 : 0) + (right ? 1 : 0)], 3);
        }
    }
    texture->SetPixels(4, 4, 3, std::move(pixels));
    Mesh face;
    ASSERT_EQ(face.LoadFromResource("PCUBE4.MSH"), S_OK);
    ASSERT_EQ(device_.SetViewport(0, 0, 64, 64), S_OK);
    ASSERT_EQ(device_.SetOrtho(-5, 5, -5, 5, -10, 10), S_OK);
    glLoadIdentity();
    ASSERT_EQ(device_.Clear(true, true), S_OK);
    ASSERT_EQ(device_.UploadTexture(texture.get()), S_OK);
    ASSERT_EQ(device_.DrawMesh(&face), S_OK);
    // The face spans ±4.68 of ±5: quadrant centres at 32 ± 15 pixels.
    const auto bottomLeft = Pixel(17, 17);
    const auto bottomRight = Pixel(47, 17);
    const auto topLeft = Pixel(17, 47);
    const auto topRight = Pixel(47, 47);
    EXPECT_GT(bottomLeft[0], 200);
    EXPECT_LT(bottomLeft[2], 50);
    EXPECT_GT(bottomRight[1], 200);
    EXPECT_LT(bottomRight[0], 50);
    EXPECT_GT(topLeft[2], 200);
    EXPECT_LT(topLeft[1], 50);
    EXPECT_GT(topRight[0], 200);
    EXPECT_GT(topRight[2], 200);
    // Outside the face: the clear colour.
    const auto corner = Pixel(0, 0);
    EXPECT_EQ(corner[0], 0);
    EXPECT_EQ(device_.Present(), S_OK);
}

TEST_F(GlDeviceTest, TextWithTheBuiltInFontLandsInItsCells) {
    Texture* font = nullptr;
    ASSERT_EQ(device_.FindOrLoadTexture("FONT1-A.TEX", &font), S_OK);
    ASSERT_EQ(device_.UploadTexture(font), S_OK);
    ASSERT_EQ(device_.SetViewport(0, 0, 96, 64), S_OK);
    ASSERT_EQ(device_.Clear(true, true), S_OK);
    ASSERT_EQ(device_.Begin2D(6, 2, GlDevice::Flat2D::Text), S_OK);  // one cell = 16 × 32 pixels
    glColor4f(1, 1, 1, 1);
    EXPECT_EQ(device_.DrawText(1, 0, 0, "%s", ""), S_FALSE);
    ASSERT_EQ(device_.DrawText(1, 0, 0, "%c%c", '#', 'W'), S_OK);
    ASSERT_EQ(device_.End2D(), S_OK);
    // Count lit pixels per cell of the first text row: the two glyph cells
    // have ink, the cells around them none.
    std::vector<std::uint8_t> rows(96 * 32 * 4);
    glFinish();
    glReadPixels(0, 0, 96, 32, GL_RGBA, GL_UNSIGNED_BYTE, rows.data());
    int lit[6] = {};
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 96; ++x) {
            if (rows[(y * 96 + x) * 4] > 128) {
                ++lit[x / 16];
            }
        }
    }
    EXPECT_EQ(lit[0], 0);
    EXPECT_GT(lit[1], 20);
    EXPECT_GT(lit[2], 20);
    EXPECT_EQ(lit[3], 0);
    EXPECT_EQ(lit[5], 0);
}

TEST_F(GlDeviceTest, BadMeshesAndTexturesAreRefusedWithoutCrashing) {
    EXPECT_EQ(device_.DrawMesh(nullptr), E_FAIL);
    Mesh empty;
    EXPECT_EQ(device_.DrawMesh(&empty), S_OK);
    Mesh broken;
    broken.SetVertexCount(3, false, false, false, false);
    broken.SetPrimitives(PrimitiveKind::Triangles, 1);
    broken.Indices()[0] = 0, broken.Indices()[1] = 1, broken.Indices()[2] = 7;
    EXPECT_EQ(device_.DrawMesh(&broken), E_FAIL);
    EXPECT_EQ(device_.LoadMatrix(nullptr), E_POINTER);
    Matrix4 identity;
    EXPECT_EQ(device_.LoadMatrix(&identity), S_OK);
    Texture blank;
    EXPECT_EQ(device_.UploadTexture(&blank), E_FAIL);
    EXPECT_EQ(device_.FindOrLoadTexture(nullptr, nullptr), E_POINTER);
    std::string longText(5000, 'x');
    EXPECT_EQ(device_.DrawText(0, 0, 0, "%s", longText.c_str()), S_OK);
}

}  // namespace
}  // namespace velmora::testing
