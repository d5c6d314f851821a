// The music of a saver run played for real: Wine's multimedia window plays
// the songs into an ALSA capture file, from which the test reads which songs
// played and in what order. The order rules themselves are tested natively.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "frame/cube_saver_app.h"
#include "frame/frame_texts.h"
#include "frame/run_mode.h"
#include "frame/win32/saver_run.h"
#include "lists/list_storage.h"
#include "lists/list_texts.h"
#include "settings/win32/win32_registry_store.h"
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
constexpr DWORD kSongWaitMs = 10000;

// Windows the run creates on its thread, seen by a hook.
int g_mediaWindowsCreated = 0;
int g_dialogsCreated = 0;

LRESULT CALLBACK CountCreations(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND) {
        char name[64] = {};
        GetClassNameA(reinterpret_cast<HWND>(wParam), name, sizeof name);
        g_mediaWindowsCreated += lstrcmpiA(name, "MCIWndClass") == 0 ? 1 : 0;
        g_dialogsCreated += std::strcmp(name, "#32770") == 0 ? 1 : 0;
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
    int mediaWindowsCreated = 0;
    // The song window when the driver was done.
    int mediaWindowsAtEnd = -1;
    bool mediaWindowShown = false;
    int dialogsCreated = 0;
};

class Music : public ::testing::Test {
protected:
    static void SetUpTestSuite() { routed_ = RouteSoundToCapture(problem_); }
    static void TearDownTestSuite() { RemoveCapture(); }

    void SetUp() override {
        ASSERT_TRUE(routed_) << problem_;
        ASSERT_TRUE(folder_.Valid());
        RegDeleteTreeA(HKEY_CURRENT_USER, kScratchKey);
        Process().runMode = RunMode::FullScreen;
        options_.settingsKeyPath = kScratchKey;
        options_.isNtFamily = [] { return true; };
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

    // Runs the saver with the songs; once it draws, driver acts on its window
    // from a second thread, and then the run is ended.
    RunResult Run(const std::vector<std::string>& songs, bool shuffle,
                  const std::function<void(HWND, TimedApp&)>& driver, HWND previewParent = nullptr);

    std::vector<int> Songs() const { return SongsCapturedSince(offset_, kTones); }
    // Waits until the capture holds count songs.
    std::vector<int> WaitForSongs(std::size_t count) const {
        for (DWORD start = GetTickCount();
             Songs().size() < count && GetTickCount() - start < kSongWaitMs;) {
            Sleep(50);
        }
        return Songs();
    }
    // The tick at which the first sound arrived; 0 when none came.
    DWORD WaitForSound() const {
        for (DWORD start = GetTickCount(); GetTickCount() - start < kSongWaitMs; Sleep(5)) {
            if (CaptureSize() > offset_) {
                return GetTickCount();
            }
        }
        return 0;
    }

    static inline bool routed_ = false;
    static inline std::string problem_;
    TempFolder folder_;
    SaverRunOptions options_;
    std::size_t offset_ = 0;
};

HWND WaitForSaver(TimedApp& app, HWND previewParent) {
    const std::string className = DecodeText(texts::kWindowClass);
    for (int i = 0; i < 1000; ++i) {
        HWND window = previewParent != nullptr
                          ? FindWindowExA(previewParent, nullptr, className.c_str(), nullptr)
                          : FindWindowA(className.c_str(), DecodeText(texts::kWindowTitle).c_str());
        if (window != nullptr && app.firstFrameTick != 0) {
            return window;
        }
        Sleep(10);
    }
    return nullptr;
}

RunResult Music::Run(const std::vector<std::string>& songs, bool shuffle,
                     const std::function<void(HWND, TimedApp&)>& driver, HWND previewParent) {
    class NullReporter : public lists::RegistryErrorReporter {
    public:
        void Report(settings::RegistryError) override {}
    } reporter;
    lists::SaveList(settings::SystemRegistry(), settings::RegistryRoot::CurrentUser,
                    lists::MusicListKeyPath(kScratchKey), songs, reporter);
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, kScratchKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                    nullptr);
    const DWORD shuffleMusic = shuffle ? 1 : 0;
    const DWORD lessProcessor = 1;
    RegSetValueExA(key, "000_109", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&shuffleMusic), 4);
    RegSetValueExA(key, "000_012", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&lessProcessor), 4);
    RegCloseKey(key);

    RunResult result;
    g_mediaWindowsCreated = 0;
    g_dialogsCreated = 0;
    HHOOK hook = SetWindowsHookExA(WH_CBT, CountCreations, nullptr, GetCurrentThreadId());
    TimedApp app;
    const DWORD mainThread = GetCurrentThreadId();
    std::atomic<bool> ended{false};
    std::thread thread([&] {
        if (HWND window = WaitForSaver(app, previewParent)) {
            driver(window, app);
            HWND media = FindWindowExA(window, nullptr, "MCIWndClass", nullptr);
            result.mediaWindowsAtEnd = media != nullptr ? 1 : 0;
            result.mediaWindowShown = media != nullptr && IsWindowVisible(media);
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
    result.songs = Songs();
    result.mediaWindowsCreated = g_mediaWindowsCreated;
    result.dialogsCreated = g_dialogsCreated;
    return result;
}

TEST_F(Music, InListOrderEachSongPlaysInTurnFromThreeSecondsOnFailingOnesSkipped) {
    DWORD firstSoundAfter = 0;
    const RunResult run = Run({Song(kLow), Broken(), Song(kMiddle), Missing(), Song(kHigh)}, false,
                              [&](HWND, TimedApp& app) {
                                  firstSoundAfter = WaitForSound() - app.firstFrameTick;
                                  WaitForSongs(4);
                              });
    ASSERT_GE(run.songs.size(), 4u);
    EXPECT_EQ(std::vector<int>(run.songs.begin(), run.songs.begin() + 4),
              (std::vector<int>{kLow, kMiddle, kHigh, kLow}));
    EXPECT_GE(firstSoundAfter, 3000u);
    EXPECT_LT(firstSoundAfter, 5000u);
    EXPECT_EQ(run.dialogsCreated, 0);
}

TEST_F(Music, ShuffledEachSongPlaysOnceBeforeAnyRepeats) {
    const RunResult run = Run({Song(kLow), Song(kMiddle), Song(kHigh)}, true,
                              [&](HWND, TimedApp&) { WaitForSongs(6); });
    ASSERT_GE(run.songs.size(), 6u);
    for (const std::size_t cycle : {0u, 3u}) {
        std::vector<int> one(run.songs.begin() + cycle, run.songs.begin() + cycle + 3);
        std::sort(one.begin(), one.end());
        EXPECT_EQ(one, kTones) << "cycle from song " << cycle;
    }
}

TEST_F(Music, AOneSongListRepeatsIt) {
    const RunResult run = Run({Song(kMiddle)}, false, [&](HWND, TimedApp&) { WaitForSongs(3); });
    ASSERT_GE(run.songs.size(), 3u);
    EXPECT_EQ(std::vector<int>(run.songs.begin(), run.songs.begin() + 3),
              (std::vector<int>{kMiddle, kMiddle, kMiddle}));
    EXPECT_EQ(run.mediaWindowsAtEnd, 1);
    EXPECT_FALSE(run.mediaWindowShown);
}

TEST_F(Music, DisplayPowerDownStopsTheMusicForTheRestOfTheRun) {
    const std::string longSong = folder_.File("long.wav");
    ASSERT_TRUE(WriteSong(longSong, kLow, 12.0));
    std::size_t afterStop = 0;
    std::size_t later = 0;
    const RunResult run = Run({longSong, Song(kHigh)}, false, [&](HWND window, TimedApp&) {
        ASSERT_NE(WaitForSound(), 0u);
        PostMessageA(window, WM_SYSCOMMAND, SC_MONITORPOWER, 2);
        Sleep(300);
        afterStop = CaptureSize();
        InvalidateRect(window, nullptr, FALSE);  // frames go on; the music does not
        Sleep(1500);
        later = CaptureSize();
    });
    EXPECT_EQ(later, afterStop);
    EXPECT_LT(afterStop - offset_, 12u * 22050 * 2);
    EXPECT_EQ(run.mediaWindowsAtEnd, 0);
}

TEST_F(Music, SilentRunsCreateNoWindowsOrMessages) {
    PlainWindow previewParent(152, 112);
    struct Case {
        const char* name;
        std::vector<std::string> songs;
        HWND parent;
        bool mediaWindows;
    };
    const Case cases[] = {
        {"the preview", {Song(kLow)}, previewParent.Handle(), false},
        {"an empty list", {}, nullptr, false},
        {"every song failing", {Broken(), Missing()}, nullptr, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Process().runMode = c.parent != nullptr ? RunMode::Preview : RunMode::FullScreen;
        const RunResult run = Run(
            c.songs, false,
            [](HWND, TimedApp& app) {
                while (GetTickCount() - app.firstFrameTick < 4500) {
                    Sleep(50);
                }
            },
            c.parent);
        EXPECT_EQ(CaptureSize(), offset_);
        EXPECT_EQ(run.mediaWindowsCreated > 0, c.mediaWindows);
        EXPECT_EQ(run.mediaWindowsAtEnd, 0);
        EXPECT_EQ(run.dialogsCreated, 0);
    }
}

}  // namespace
}  // namespace velmora::testing
