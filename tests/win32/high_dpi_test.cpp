// The full-screen saver on a screen of 192 DPI; the test command gives this
// program a prefix at that DPI (high_dpi.sh).
#include <windows.h>

#include <gtest/gtest.h>

#include "base/encoded_text.h"
#include "frame/frame_texts.h"
#include "tests/win32/child_process.h"
#include "tests/win32/process_runner.h"

namespace velmora::testing {
namespace {

TEST(HighDpi, TheFullScreenWindowCoversEveryPixelOfTheScreen) {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    ASSERT_EQ(dpi, 192) << "this test needs a screen of 192 DPI";
    DEVMODEA mode{};
    mode.dmSize = sizeof mode;
    ASSERT_TRUE(EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode));

    ChildProcess saver(PathBesideTestProgram("velmora-saver.scr"), "/s");
    ASSERT_TRUE(saver.Started());
    const HWND window = saver.WaitForWindow(DecodeText(texts::kWindowClass), 20000);
    ASSERT_NE(window, nullptr);
    RECT client{};
    GetClientRect(window, &client);
    EXPECT_EQ(client.right - client.left, static_cast<LONG>(mode.dmPelsWidth));
    EXPECT_EQ(client.bottom - client.top, static_cast<LONG>(mode.dmPelsHeight));
    PostMessageA(window, WM_KEYDOWN, 'X', 0);
    EXPECT_EQ(saver.WaitForEnd(10000), std::optional<DWORD>(0));
}

}  // namespace
}  // namespace velmora::testing
