// The music of a saver run played for real: Wine's multimedia window plays
// the songs into an ALSA capture file, from which the test reads which songs
// played and in what order. The order rules themselves are tested natively.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "base/run_mode.h"
#include "frame/cube_saver_app.h"
#include "frame/frame_texts.h"
#include "frame/win32/saver_run.h"
#include "lists/list_storage.h"
#include "lists/list_texts.h"
#include "registry/win32/win32_registry_store.h"
#include "tests/win32/audio_capture.h"
#include "tests/win32/plain_window.h"
#include "tests/win32/process_runner.h"

namespace velmora::testing {
namespace {

const char kScratchKey[] = "Software\\Quillfen Graphics\\VelmoraMusicTest";
constexpr int kLow = 500;
constexpr int kMiddle = 1000;
constexpr int kHigh = 1500;
const std::vector<int> kTones = {kLow, kMiddle, kHigh};

// Song windows and dialogs the run creates on its thread, seen by a hook.
int g_songWindows = 0;
int g_dialogs = 0;

LRESULT CALLBACK CountCreations(int code, WPARAM wParam, LPARAM lParam) {
    char name[64] = {};
    if (code == HCBT_CREATEWND && GetClassNameA(reinterpret_cast<HWND>(wParam), name, 64) > 0) {
        g_songWindows += lstrcmpiA(name, "MCIWndClass") == 0 ? 1 : 0;
        g_dialogs += std::strcmp(name, "#32770") == 0 ? 1 : 0;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

class TimedApp : public CubeSaverApp {
public:
    Status Frame(WindowHandle window, DeviceContextHandle dc) override {
        if (firstFrameTick == 0) {
            firstFrameTick = GetTickCount();
        }
        return CubeSaverApp::Frame(window, dc);
    }
    std::atomic<DWORD> firstFrameTick{0};
};

struct RunResult {
    std::vector<int> songs;
    // The song window when the driver was done: there, and shown.
    bool songWindow = false;
    bool songWindowShown = false;
};

class NullReporter : public registry::RegistryErrorReporter {
public:
    void Report(registry::RegistryError) override {}
};

HWND WaitForSaver(TimedApp& app, HWND previewParent) {
    const std::string className = DecodeText(texts::kWindowClass);
    const std::string title = DecodeText(texts::kWindowTitle);
    for (int i = 0; i < 1000; ++i) {
        HWND window = previewParent != nullptr
                          ? FindWindowExA(previewParent, nullptr, className.c_str(), nullptr)
                          : FindWindowA(className.c_str(), title.c_str());
        if (window != nullptr && app.firstFrameTick != 0) {
            return window;
        }
        Sleep(10);
    }
    return nullptr;
}

class Music : public ::testing::Test {
protected:
    static void SetUpTestSuite() { routed_ = RouteSoundToCapture(problem_); }
    static void TearDownTestSuite() { RemoveCapture(); }

    void SetUp() override {
        ASSERT_TRUE(routed_) << problem_;
        ASSERT_TRUE(folder_.Valid());
        RegDeleteTreeA(HKEY_CURRENT_USER, kScratchKey);
        options_.settingsKeyPath = kScratchKey;
        for (const int tone : kTones) {
            ASSERT_TRUE(WriteSong(Song(tone), tone, 0.6));
        }
        FILE* broken = std::fopen(Broken().c_str(), "wb");
        ASSERT_NE(broken, nullptr);
        std::fputs("not a sound at all", broken);
        std::fclose(broken);
        offset_ = CaptureSize();
    }
    void TearDown() override {
        RegDeleteTreeA(HKEY_CURRENT_USER, kScratchKey);
        Process().runMode = RunMode::Settings;
    }

    std::string Song(int tone) const { return folder_.File(std::to_string(tone) + ".wav"); }
    std::string Broken() const { return folder_.File("broken.wav"); }
    std::string Missing() const { return folder_.File("missing.wav"); }

    // Runs the saver (full screen, or in the preview parent) with the songs;
    // once it draws, driver acts on its window from a second thread, and
    // then the run is ended.
    RunResult Run(const std::vector<std::string>& songs, bool shuffle,
                  const std::function<void(HWND, TimedApp&)>& driver, HWND previewParent = nullptr);

    std::vector<int> WaitForSongs(std::size_t count) const {
        for (DWORD start = GetTickCount(); GetTickCount() - start < 10000; Sleep(50)) {
            if (SongsCapturedSince(offset_, kTones).size() >= count) {
                break;
            }
        }
        return SongsCapturedSince(offset_, kTones);
    }

    static inline bool routed_ = false;
    static inline std::string problem_;
    TempFolder folder_;
    SaverRunOptions options_;
    std::size_t offset_ = 0;
};

RunResult Music::Run(const std::vector<std::string>& songs, bool shuffle,
                     const std::function<void(HWND, TimedApp&)>& driver, HWND previewParent) {
    NullReporter reporter;
    lists::SaveList(registry::SystemRegistry(), registry::RegistryRoot::CurrentUser,
                    lists::MusicListKeyPath(kScratchKey), songs, reporter);
    const DWORD values[] = {shuffle ? 1u : 0u, 1u};  // ShuffleMusic, LessProcessor
    RegSetKeyValueA(HKEY_CURRENT_USER, kScratchKey, "000_109", REG_DWORD, &values[0], 4);
    RegSetKeyValueA(HKEY_CURRENT_USER, kScratchKey, "000_012", REG_DWORD, &values[1], 4);
    Process().runMode = previewParent != nullptr ? RunMode::Preview : RunMode::FullScreen;

    RunResult result;
    g_songWindows = 0;
    g_dialogs = 0;
    HHOOK hook = SetWindowsHookExA(WH_CBT, CountCreations, nullptr, GetCurrentThreadId());
    TimedApp app;
    const DWORD mainThread = GetCurrentThreadId();
    std::atomic<bool> ended{false};
    std::thread thread([&] {
        if (HWND window = WaitForSaver(app, previewParent)) {
            driver(window, app);
            HWND song = FindWindowExA(window, nullptr, "MCIWndClass", nullptr);
            result.songWindow = song != nullptr;
            result.songWindowShown = song != nullptr && IsWindowVisible(song);
            PostMessageA(window, previewParent != nullptr ? WM_CLOSE : WM_KEYDOWN, 'X', 0);
        }
        for (int i = 0; i < 1000 && !ended.load(); ++i) {
            Sleep(10);
        }
        if (!ended.load()) {
            ADD_FAILURE() << "the saver did not end";
            PostThreadMessageA(mainThread, WM_QUIT, 0, 0);
        }
    });
    RunSaver(app, previewParent, SW_SHOW, options_);
    ended = true;
    thread.join();
    UnhookWindowsHookEx(hook);
    result.songs = SongsCapturedSince(offset_, kTones);
    return result;
}

TEST_F(Music, InListOrderFromThreeSecondsOnFailingSongsSkippedUntilTheDisplayPowersDown) {
    DWORD firstSoundAfter = 0;
    std::size_t atPowerDown = 0;
    std::size_t later = 0;
    const RunResult run =
        Run({Song(kLow), Broken(), Song(kMiddle), Missing(), Song(kHigh)}, false,
            [&](HWND window, TimedApp& app) {
                while (CaptureSize() == offset_ && GetTickCount() - app.firstFrameTick < 10000) {
                    Sleep(5);
                }
                firstSoundAfter = GetTickCount() - app.firstFrameTick;
                WaitForSongs(4);
                PostMessageA(window, WM_SYSCOMMAND, SC_MONITORPOWER, 2);
                Sleep(300);
                atPowerDown = CaptureSize();
                InvalidateRect(window, nullptr, FALSE);  // frames go on, the music does not
                Sleep(1000);
                later = CaptureSize();
            });
    ASSERT_GE(run.songs.size(), 4u);
    EXPECT_EQ(std::vector<int>(run.songs.begin(), run.songs.begin() + 4),
              (std::vector<int>{kLow, kMiddle, kHigh, kLow}));
    EXPECT_GE(firstSoundAfter, 3000u);
    EXPECT_LT(firstSoundAfter, 5000u);
    EXPECT_EQ(later, atPowerDown);
    EXPECT_FALSE(run.songWindow);
    EXPECT_EQ(g_dialogs, 0);
}

TEST_F(Music, ShuffledEverySongPlaysOncePerCycleInAHiddenWindow) {
    for (const std::vector<int>& tones : {kTones, std::vector<int>{kMiddle}}) {
        std::vector<std::string> songs;
        for (const int tone : tones) {
            songs.push_back(Song(tone));
        }
        const RunResult run =
            Run(songs, true, [&](HWND, TimedApp&) { WaitForSongs(2 * tones.size() + 1); });
        ASSERT_GE(run.songs.size(), 2 * tones.size());
        for (std::size_t cycle = 0; cycle < 2; ++cycle) {
            std::vector<int> one(run.songs.begin() + cycle * tones.size(),
                                 run.songs.begin() + (cycle + 1) * tones.size());
            std::sort(one.begin(), one.end());
            EXPECT_EQ(one, tones) << "cycle " << cycle;
        }
        EXPECT_TRUE(run.songWindow);
        EXPECT_FALSE(run.songWindowShown);
        offset_ = CaptureSize();
    }
}

TEST_F(Music, SilentRunsCreateNoSongWindowsAndShowNoMessages) {
    PlainWindow previewParent(152, 112);
    struct Case {
        const char* name;
        std::vector<std::string> songs;
        HWND parent;
        int songWindows;
    };
    const Case cases[] = {
        {"the preview", {Song(kLow)}, previewParent.Handle(), 0},
        {"an empty list", {}, nullptr, 0},
        {"every song failing", {Broken(), Missing()}, nullptr, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const RunResult run = Run(
            c.songs, false,
            [](HWND, TimedApp& app) {
                while (GetTickCount() - app.firstFrameTick < 4500) {
                    Sleep(50);
                }
            },
            c.parent);
        EXPECT_EQ(CaptureSize(), offset_);
        EXPECT_EQ(g_songWindows, c.songWindows);
        EXPECT_FALSE(run.songWindow);
        EXPECT_EQ(g_dialogs, 0);
    }
}

}  // namespace
}  // namespace velmora::testing
