// The GL test window itself: clearing and drawing read back under Wine.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/win32/gl_test_window.h"

namespace velmora::testing {
namespace {

void ExpectNear(std::uint8_t actual, int expected, const char* channel) {
    EXPECT_LE(std::abs(static_cast<int>(actual) - expected), 2) << channel;
}

TEST(GlHarness, ClearsToAColourAndReadsItBack) {
    GlTestWindow window;
    ASSERT_TRUE(window.Create(64, 48)) << window.Error();
    ASSERT_NE(wglGetCurrentContext(), nullptr);

    glClearColor(0.25f, 0.5f, 0.75f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    for (const auto& [x, y] : {std::pair{0, 0}, std::pair{32, 24}, std::pair{63, 47}}) {
        const auto pixel = window.ReadPixel(x, y);
        SCOPED_TRACE(window.Renderer());
        ExpectNear(pixel[0], 64, "red");
        ExpectNear(pixel[1], 128, "green");
        ExpectNear(pixel[2], 191, "blue");
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST(GlHarness, DrawnGeometryLandsWhereItWasDrawn) {
    GlTestWindow window;
    ASSERT_TRUE(window.Create(64, 64)) << window.Error();
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 64, 0, 64, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    // A red square over the left half only.
    glColor3f(1.0f, 0.0f, 0.0f);
    glBegin(GL_QUADS);
    glVertex2f(0, 0);
    glVertex2f(32, 0);
    glVertex2f(32, 64);
    glVertex2f(0, 64);
    glEnd();

    const auto left = window.ReadPixel(10, 30);
    const auto right = window.ReadPixel(50, 30);
    ExpectNear(left[0], 255, "left red");
    ExpectNear(left[1], 0, "left green");
    ExpectNear(right[0], 0, "right red");
    ExpectNear(right[2], 0, "right blue");
    SwapBuffers(window.DeviceContext());
}

}  // namespace
}  // namespace velmora::testing
