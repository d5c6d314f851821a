// The full-screen saver on two monitors side by side; the test command runs
// this program on such a display (two_monitors.sh).
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <thread>
#include <utility>
#include <vector>

#include "base/run_mode.h"
#include "frame/cube_saver_app.h"
#include "frame/frame_texts.h"
#include "frame/win32/saver_run.h"
#include "frame/win32/saver_window.h"

namespace velmora::testing {
namespace {

const char kScratchKey[] = "Software\\Quillfen Graphics\\VelmoraTwoMonitorTest";
// A background colour nothing else on the screen has, as a COLORREF and as a
// screen pixel (0x00RRGGBB).
constexpr DWORD kBackground = RGB(0xC8, 0x28, 0x5A);
constexpr std::uint32_t kBackgroundPixel = 0xC8285A;

struct Monitors {
    RECT primary{};
    RECT other{};
    int count = 0;
};

BOOL CALLBACK NoteMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
    Monitors& monitors = *reinterpret_cast<Monitors*>(data);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoA(monitor, &info);
    ((info.dwFlags & MONITORINFOF_PRIMARY) != 0 ? monitors.primary : monitors.other) =
        info.rcMonitor;
    ++monitors.count;
    return TRUE;
}

Monitors ReadMonitors() {
    Monitors monitors;
    EnumDisplayMonitors(nullptr, nullptr, NoteMonitor, reinterpret_cast<LPARAM>(&monitors));
    return monitors;
}

RECT VirtualScreen() {
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    return RECT{left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                top + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

// The cube saver, counting its frames and the mouse moves it sees over the
// other monitor.
class WatchedCubeApp : public CubeSaverApp {
public:
    Status Frame(WindowHandle window, DeviceContextHandle dc) override {
        ++frames;
        return CubeSaverApp::Frame(window, dc);
    }
    int MessageHook(WindowHandle window, unsigned message, MessageParam wParam,
                    MessageLParam lParam) override {
        if (message == WM_MOUSEMOVE) {
            POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            ClientToScreen(static_cast<HWND>(window), &point);
            lastMoveOverOther = PtInRect(&other, point) != FALSE;
            if (lastMoveOverOther) {
                ++movesOverOther;
            }
        }
        return CubeSaverApp::MessageHook(window, message, wParam, lParam);
    }

    RECT other{};
    std::atomic<int> frames{0};
    std::atomic<int> movesOverOther{0};
    std::atomic<bool> lastMoveOverOther{false};
};

// The screen's pixels, row by row from the top; At gives 0x00RRGGBB.
struct Screenshot {
    RECT area{};
    std::vector<std::uint32_t> pixels;

    std::uint32_t At(int x, int y) const {
        return pixels[static_cast<std::size_t>(y - area.top) * (area.right - area.left) +
                      (x - area.left)] &
               0xFFFFFF;
    }
};

Screenshot TakeScreenshot(const RECT& area) {
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    Screenshot shot{area, {}};
    if (bitmap != nullptr) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
        GdiFlush();
        const auto* first = static_cast<const std::uint32_t*>(bits);
        shot.pixels.assign(first, first + static_cast<std::size_t>(width) * height);
        SelectObject(memory, old);
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return shot;
}

HWND FindSaverWindow() {
    return FindWindowA(DecodeText(texts::kWindowClass).c_str(),
                       DecodeText(texts::kWindowTitle).c_str());
}

bool WaitFor(const std::function<bool()>& done, DWORD limitMs) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > limitMs) {
            return false;
        }
        Sleep(10);
    }
    return true;
}

class TwoMonitors : public ::testing::Test {
protected:
    void SetUp() override {
        monitors_ = ReadMonitors();
        ASSERT_EQ(monitors_.count, 2) << "this test needs a display with two monitors";
        RegDeleteTreeA(HKEY_CURRENT_USER, kScratchKey);
        // Solid colour, the colour above, no glass.
        for (const auto& [name, value] : {std::pair<const char*, DWORD>{"000_104", 0},
                                          {"000_105", kBackground},
                                          {"000_106", 2}}) {
            ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, kScratchKey, name, REG_DWORD, &value,
                                      sizeof value),
                      ERROR_SUCCESS);
        }
        Process().runMode = RunMode::FullScreen;
        options_.settingsKeyPath = kScratchKey;
        options_.isNtFamily = [] { return true; };
        app_.other = monitors_.other;
    }
    void TearDown() override {
        RegDeleteTreeA(HKEY_CURRENT_USER, kScratchKey);
        Process().runMode = RunMode::Settings;
    }

    // Runs the saver here while driver acts from a thread; a run the driver
    // could not end is stopped after a while.
    void Run(const std::function<void(HWND)>& driver) {
        const DWORD mainThread = GetCurrentThreadId();
        std::atomic<bool> ended{false};
        std::thread thread([&] {
            HWND window = nullptr;
            if (WaitFor([&] { return (window = FindSaverWindow()) && app_.frames > 0; }, 20000)) {
                driver(window);
            } else {
                ADD_FAILURE() << "the saver did not draw";
            }
            if (!WaitFor([&] { return ended.load(); }, 10000)) {
                ADD_FAILURE() << "the saver did not end";
                PostThreadMessageA(mainThread, WM_QUIT, 0, 0);
            }
        });
        RunSaver(app_, nullptr, SW_SHOW, options_);
        ended = true;
        thread.join();
    }

    Monitors monitors_;
    WatchedCubeApp app_;
    SaverRunOptions options_;
};

TEST_F(TwoMonitors, TheWindowCoversBothTheCubeStaysOnThePrimaryTheBackgroundFillsTheOther) {
    RECT window{};
    Screenshot shot;
    Run([&](HWND saver) {
        GetWindowRect(saver, &window);
        Sleep(300);
        shot = TakeScreenshot(VirtualScreen());
        PostMessageA(saver, WM_KEYDOWN, 'X', 0);
    });
    EXPECT_TRUE(EqualRect(&window, &shot.area))
        << window.left << "," << window.top << " " << window.right << "," << window.bottom;
    ASSERT_FALSE(shot.pixels.empty());

    // Nothing but background on the other monitor. The cube: what is not
    // background on the primary monitor, around its centre.
    const RECT& primary = monitors_.primary;
    int otherNotBackground = 0;
    RECT cube{};
    for (int y = shot.area.top; y < shot.area.bottom; ++y) {
        for (int x = shot.area.left; x < shot.area.right; ++x) {
            const RECT pixel{x, y, x + 1, y + 1};
            if (shot.At(x, y) == kBackgroundPixel) {
                continue;
            } else if (PtInRect(&monitors_.other, POINT{x, y})) {
                ++otherNotBackground;
            } else if (PtInRect(&primary, POINT{x, y})) {
                UnionRect(&cube, &cube, &pixel);
            }
        }
    }
    EXPECT_EQ(otherNotBackground, 0);
    ASSERT_LT(cube.left, cube.right) << "no cube on the primary monitor";
    EXPECT_GT(cube.right - cube.left, 100);
    EXPECT_NEAR((cube.left + cube.right) / 2, (primary.left + primary.right) / 2, 20);
    EXPECT_NEAR((cube.top + cube.bottom) / 2, (primary.top + primary.bottom) / 2, 20);
    EXPECT_GT(cube.left, primary.left);
    EXPECT_LT(cube.right, primary.right);
}

TEST_F(TwoMonitors, MouseMovesOverTheOtherMonitorEndTheSaver) {
    const RECT screen = VirtualScreen();
    Run([&](HWND) {
        for (int i = 0; i < 10 && FindSaverWindow() != nullptr; ++i) {
            const int x = monitors_.other.left + 100 + 40 * i;
            const int y = monitors_.other.top + 200 + 10 * i;
            INPUT input{};
            input.type = INPUT_MOUSE;
            input.mi.dx = MulDiv(x - screen.left, 65535, screen.right - screen.left - 1);
            input.mi.dy = MulDiv(y - screen.top, 65535, screen.bottom - screen.top - 1);
            input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK;
            SendInput(1, &input, sizeof input);
            Sleep(50);
        }
    });
    // The saver ended on the sixth move it saw; the first may be the cursor
    // where it was.
    EXPECT_GE(app_.movesOverOther.load(), 5);
    EXPECT_TRUE(app_.lastMoveOverOther.load());
}

}  // namespace
}  // namespace velmora::testing
