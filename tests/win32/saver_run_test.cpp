// The saver run in this process, driven by messages from a second thread:
// the exit rules, the preview, display power down, the frame pacing, the
// Windows 9x password check and the running-time counter.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <functional>
#include <initializer_list>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "base/run_mode.h"
#include "frame/cube_saver_app.h"
#include "frame/frame_texts.h"
#include "frame/win32/saver_run.h"
#include "frame/win32/saver_window.h"
#include "lists/list_storage.h"
#include "lists/list_texts.h"
#include "registry/win32/win32_registry_store.h"
#include "tests/support/read_gate.h"
#include "tests/win32/plain_window.h"
#include "tests/win32/process_runner.h"
#include "ui/win32/display_mode.h"

namespace velmora::testing {
namespace {

const char kScratchKey[] = "Software\\Quillfen Graphics\\VelmoraRunTest";

class CountingApp : public SaverApp {
public:
    Status Start(WindowHandle, DeviceContextHandle) override {
        started = true;
        return startResult;
    }
    Status Frame(WindowHandle, DeviceContextHandle) override {
        ++frames;
        Sleep(1);
        return S_OK;
    }
    int MessageHook(WindowHandle, unsigned message, MessageParam wParam, MessageLParam) override {
        return message == WM_KEYDOWN && (wParam == 'A' || wParam == 'S') ? 1 : 0;
    }
    void OnDisplayPowerDown() override { ++powerDowns; }

    Status startResult = S_OK;
    std::atomic<bool> started{false};
    std::atomic<int> frames{0};
    std::atomic<int> powerDowns{0};
};

HWND FindSaverWindow(bool preview) {
    const std::string title =
        preview ? DecodeText(texts::kPreviewTitle) : DecodeText(texts::kWindowTitle);
    return FindWindowA(DecodeText(texts::kWindowClass).c_str(), title.c_str());
}

// Waits until the saver's window exists and has drawn a few frames. A
// preview window is a child of parent.
HWND WaitForSaver(CountingApp& app, bool preview = false, HWND parent = nullptr) {
    for (int i = 0; i < 500; ++i) {
        HWND window = preview ? FindWindowExA(parent, nullptr,
                                              DecodeText(texts::kWindowClass).c_str(), nullptr)
                              : FindSaverWindow(false);
        if (window != nullptr && app.frames.load() > 3) {
            return window;
        }
        Sleep(10);
    }
    return nullptr;
}

bool StillRunning(HWND window) {
    Sleep(300);
    return IsWindow(window) != FALSE;
}

class SaverRun : public ::testing::Test {
protected:
    void SetUp() override {
        RegDeleteTreeA(HKEY_CURRENT_USER, kScratchKey);
        Process().runMode = RunMode::FullScreen;
        options_.settingsKeyPath = kScratchKey;
        options_.isNtFamily = [] { return true; };
    }
    void TearDown() override {
        RegDeleteTreeA(HKEY_CURRENT_USER, kScratchKey);
        Process().runMode = RunMode::Settings;
    }

    // Runs the saver here while driver acts on its window from a thread. A
    // run the driver could not end is stopped after a while, so a failing
    // test does not hang.
    void Run(SaverApp& app, const std::function<void()>& driver, HWND parent = nullptr) {
        const DWORD mainThread = GetCurrentThreadId();
        std::atomic<bool> ended{false};
        std::thread thread([&] {
            driver();
            for (int i = 0; i < 1000 && !ended.load(); ++i) {
                Sleep(10);
            }
            if (!ended.load()) {
                ADD_FAILURE() << "the saver did not end";
                PostThreadMessageA(mainThread, WM_QUIT, 0, 0);
            }
        });
        RunSaver(app, parent, SW_SHOW, options_);
        ended = true;
        thread.join();
    }

    SaverRunOptions options_;
};

TEST_F(SaverRun, FiveMouseMovesDoNotEndItTheSixthDoes) {
    CountingApp app;
    bool aliveAfterFive = false;
    int spontaneous = -1;
    Run(app, [&] {
        HWND window = WaitForSaver(app);
        ASSERT_NE(window, nullptr);
        Sleep(200);
        spontaneous = WindowState().mouseMoves;
        for (int i = spontaneous; i < 5; ++i) {
            PostMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(100 + 10 * i, 50));
            // The same place again is not a move.
            PostMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(100 + 10 * i, 50));
        }
        aliveAfterFive = StillRunning(window);
        PostMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(7, 7));
    });
    EXPECT_LE(spontaneous, 1);
    EXPECT_TRUE(aliveAfterFive);
    EXPECT_TRUE(app.started);
}

TEST_F(SaverRun, SceneKeysDoNotEndItOtherKeysButtonsAndDeactivationDo) {
    for (const UINT ending :
         {static_cast<UINT>(WM_KEYDOWN), static_cast<UINT>(WM_LBUTTONDOWN),
          static_cast<UINT>(WM_RBUTTONDOWN), static_cast<UINT>(WM_ACTIVATEAPP)}) {
        SCOPED_TRACE(ending);
        CountingApp app;
        bool aliveAfterSceneKeys = false;
        Run(app, [&] {
            HWND window = WaitForSaver(app);
            ASSERT_NE(window, nullptr);
            PostMessageA(window, WM_KEYDOWN, 'A', 0);
            PostMessageA(window, WM_KEYDOWN, 'S', 0);
            PostMessageA(window, WM_SYSCOMMAND, SC_SCREENSAVE, 0);
            PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
            aliveAfterSceneKeys = StillRunning(window);
            PostMessageA(window, ending, ending == WM_KEYDOWN ? 'B' : 0, 0);
        });
        EXPECT_TRUE(aliveAfterSceneKeys);
    }
}

TEST_F(SaverRun, DisplayPowerDownStopsDrawingUntilTheNextPaint) {
    CountingApp app;
    int duringPause = -1;
    int afterPaint = -1;
    Run(app, [&] {
        HWND window = WaitForSaver(app);
        ASSERT_NE(window, nullptr);
        PostMessageA(window, WM_SYSCOMMAND, SC_MONITORPOWER, 2);
        Sleep(200);
        const int before = app.frames.load();
        Sleep(300);
        duringPause = app.frames.load() - before;
        InvalidateRect(window, nullptr, FALSE);
        Sleep(300);
        afterPaint = app.frames.load() - before - duringPause;
        PostMessageA(window, WM_KEYDOWN, 'X', 0);
    });
    EXPECT_EQ(duringPause, 0);
    EXPECT_GT(afterPaint, 5);
    EXPECT_EQ(app.powerDowns.load(), 1);
}

TEST_F(SaverRun, InThePreviewNoInputEndsItButTheParentGoing) {
    Process().runMode = RunMode::Preview;
    static constexpr UINT kDestroyYourself = WM_USER + 7;
    WNDCLASSA wc{};
    wc.lpfnWndProc = [](HWND window, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (message == kDestroyYourself) {
            DestroyWindow(window);
            return 0;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    };
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "VelmoraPreviewParent";
    RegisterClassA(&wc);
    HWND parent = CreateWindowExA(0, wc.lpszClassName, "parent", WS_POPUP | WS_VISIBLE, 0, 0, 152,
                                  112, nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(parent, nullptr);
    CountingApp app;
    bool aliveAfterInput = false;
    RECT child{};
    Run(
        app,
        [&] {
            HWND window = WaitForSaver(app, true, parent);
            ASSERT_NE(window, nullptr);
            GetClientRect(window, &child);
            PostMessageA(window, WM_KEYDOWN, 'B', 0);
            PostMessageA(window, WM_LBUTTONDOWN, 0, 0);
            for (int i = 0; i < 10; ++i) {
                PostMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(i * 9, i));
            }
            PostMessageA(window, WM_ACTIVATEAPP, 0, 0);
            aliveAfterInput = StillRunning(window);
            PostMessageA(parent, kDestroyYourself, 0, 0);
        },
        parent);
    EXPECT_TRUE(aliveAfterInput);
    EXPECT_EQ(child.right, 152);
    EXPECT_EQ(child.bottom, 112);
    UnregisterClassA(wc.lpszClassName, wc.hInstance);
}

TEST_F(SaverRun, APreviewWithoutAParentWindowEndsAtOnce) {
    Process().runMode = RunMode::Preview;
    for (HWND parent : {static_cast<HWND>(nullptr), reinterpret_cast<HWND>(0x7654321)}) {
        CountingApp app;
        RunSaver(app, parent, SW_SHOW, options_);
        EXPECT_FALSE(app.started);
    }
}

TEST_F(SaverRun, TheRunAddsItsLengthToTheTotalRunningTime) {
    CountingApp app;
    Run(app, [&] {
        HWND window = WaitForSaver(app);
        ASSERT_NE(window, nullptr);
        Sleep(1500);
        PostMessageA(window, WM_KEYDOWN, 'X', 0);
    });
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kScratchKey, 0, KEY_READ, &key), ERROR_SUCCESS);
    float seconds = 0;
    DWORD size = sizeof seconds;
    const LONG read = RegQueryValueExA(key, "000_081", nullptr, nullptr,
                                       reinterpret_cast<BYTE*>(&seconds), &size);
    RegCloseKey(key);
    ASSERT_EQ(read, ERROR_SUCCESS);
    EXPECT_GT(seconds, 1.4f);
    EXPECT_LT(seconds, 10.0f);
}

// Stand-in display calls for a full-screen run that switches the mode: one
// mode on offer, every call noted in order.
struct ModeSwitchRecord {
    std::vector<std::string> events;
    bool windowAtFirstCall = false;
};
ModeSwitchRecord* g_modeRecord = nullptr;

void NoteModeCall(const std::string& event) {
    if (g_modeRecord->events.empty()) {
        g_modeRecord->windowAtFirstCall = FindSaverWindow(false) != nullptr;
    }
    g_modeRecord->events.push_back(event);
}

BOOL WINAPI OfferOneMode(LPCSTR, DWORD index, DEVMODEA* mode) {
    if (index > 0) {
        return FALSE;
    }
    mode->dmPelsWidth = 800;
    mode->dmPelsHeight = 600;
    mode->dmBitsPerPel = 32;
    mode->dmDisplayFrequency = 60;
    return TRUE;
}

LONG WINAPI NoteModeChange(DEVMODEA* mode, DWORD) {
    NoteModeCall(mode == nullptr ? "restore" : "change");
    return DISP_CHANGE_SUCCESSFUL;
}

int WINAPI NoteModeBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    const bool warning = owner == nullptr && text == DecodeText(texts::kModeSwitchFailedText) &&
                         caption == DecodeText(texts::kWindowTitle) && type == MB_ICONWARNING;
    NoteModeCall(warning ? "warning box" : std::string("box ") + caption);
    return IDOK;
}

// UseOtherResolution on, with this mode, at 60 Hz.
bool StoreDisplayMode(DWORD width, DWORD height, DWORD depth) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kScratchKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS) {
        return false;
    }
    for (const auto& [name, value] : {std::pair<const char*, DWORD>{"000_007", 1},
                                      {"000_008", width},
                                      {"000_009", height},
                                      {"000_010", depth},
                                      {"000_011", 60}}) {
        RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                       sizeof value);
    }
    RegCloseKey(key);
    return true;
}

TEST_F(SaverRun, TheModeSwitchPrecedesTheWindowSizesItAndIsUndone) {
    struct Case {
        const char* name;
        DWORD width, height, depth;
        Status startResult;
        std::vector<std::string> events;
        bool shows;         // the saver draws in its window
        bool coversScreen;  // else the window has the requested size
    };
    const char kErrorBox[] = "box Resolution Switching Error";
    const Case cases[] = {
        {"offered mode", 800, 600, 32, S_OK, {"change", "restore"}, true, false},
        {"no size given", 0, 0, 0, S_OK, {"restore", "restore"}, true, true},
        {"failed start", 800, 600, 32, E_FAIL, {"change", "restore"}, false, false},
        {"mode not offered", 1024, 768, 32, S_OK, {kErrorBox, "warning box"}, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(StoreDisplayMode(c.width, c.height, c.depth));
        ModeSwitchRecord record;
        g_modeRecord = &record;
        options_.displayModes = ui::DisplayModeApi{&OfferOneMode, &NoteModeChange, &NoteModeBox};
        CountingApp app;
        app.startResult = c.startResult;
        RECT window{};
        Run(app, [&] {
            if (c.shows) {
                HWND saver = WaitForSaver(app);
                ASSERT_NE(saver, nullptr);
                GetWindowRect(saver, &window);
                PostMessageA(saver, WM_KEYDOWN, 'X', 0);
            }
        });
        g_modeRecord = nullptr;
        EXPECT_EQ(record.events, c.events);
        EXPECT_FALSE(record.windowAtFirstCall);
        EXPECT_EQ(app.frames.load() > 0, c.shows);
        if (c.shows) {
            EXPECT_EQ(window.right - window.left,
                      c.coversScreen ? GetSystemMetrics(SM_CXSCREEN) : static_cast<int>(c.width));
            EXPECT_EQ(window.bottom - window.top,
                      c.coversScreen ? GetSystemMetrics(SM_CYSCREEN) : static_cast<int>(c.height));
        }
    }
}

class Windows9xPassword : public SaverRun {
protected:
    void SetUp() override {
        SaverRun::SetUp();
        ASSERT_TRUE(folder_.Valid());
        record_ = folder_.File("record.txt");
        options_.isNtFamily = [] { return false; };
        options_.passwordLibrary = PathBesideTestProgram("standin\\password.cpl");
        SetEnvironmentVariableA("VELMORA_PASSWORD_RECORD", record_.c_str());
    }
    void TearDown() override {
        SetEnvironmentVariableA("VELMORA_PASSWORD_RECORD", nullptr);
        SetEnvironmentVariableA("VELMORA_PASSWORD_ACCEPT", nullptr);
        SaverRun::TearDown();
    }
    std::string Record() {
        const auto bytes = ReadWholeFile(record_);
        return std::string(bytes.begin(), bytes.end());
    }

    TempFolder folder_;
    std::string record_;
};

TEST_F(Windows9xPassword, WithinTheGracePeriodNoPasswordIsAsked) {
    CountingApp app;
    Run(app, [&] {
        HWND window = WaitForSaver(app);
        ASSERT_NE(window, nullptr);
        PostMessageA(window, WM_KEYDOWN, 'X', 0);
    });
    EXPECT_EQ(Record(), "");
}

TEST_F(Windows9xPassword, AfterItARefusedPasswordKeepsTheSaverRunning) {
    SetEnvironmentVariableA("VELMORA_PASSWORD_ACCEPT", "0");
    CountingApp app;
    bool aliveAfterRefusal = false;
    Run(app, [&] {
        HWND window = WaitForSaver(app);
        ASSERT_NE(window, nullptr);
        Sleep(kGracePeriodMs + 300);
        PostMessageA(window, WM_KEYDOWN, 'X', 0);
        aliveAfterRefusal = StillRunning(window);
        SetEnvironmentVariableA("VELMORA_PASSWORD_ACCEPT", "1");
        PostMessageA(window, WM_KEYDOWN, 'X', 0);
    });
    EXPECT_TRUE(aliveAfterRefusal);
    EXPECT_EQ(Record(), "verify 1\nverify 1\n");
}

TEST_F(Windows9xPassword, WithoutThePasswordLibraryTheSaverEnds) {
    options_.passwordLibrary = folder_.File("missing.cpl");
    CountingApp app;
    Run(app, [&] {
        HWND window = WaitForSaver(app);
        ASSERT_NE(window, nullptr);
        Sleep(kGracePeriodMs + 300);
        PostMessageA(window, WM_KEYDOWN, 'X', 0);
    });
    EXPECT_EQ(Record(), "");
}

// The cube saver itself, paced to at most about 100 frames a second.
class PacedCubeApp : public CubeSaverApp {
public:
    using CubeSaverApp::CubeSaverApp;
    Status Frame(WindowHandle window, DeviceContextHandle dc) override {
        const double before = lastFrameTime;
        const Status status = CubeSaverApp::Frame(window, dc);
        if (lastFrameTime != before) {
            ++drawn;
        }
        return status;
    }
    std::atomic<int> drawn{0};
};

class NullReporter : public registry::RegistryErrorReporter {
public:
    void Report(registry::RegistryError) override {}
};

// Milliseconds until done() holds, polled every 10 ms (limit when it does not).
DWORD MillisecondsUntil(const std::function<bool()>& done, DWORD limit) {
    const DWORD start = GetTickCount();
    while (!done() && GetTickCount() - start < limit) {
        Sleep(10);
    }
    return GetTickCount() - start;
}

// Stores a run of one small picture with the given settings (name, value).
void StoreOnePictureRun(const TempFolder& folder,
                        std::initializer_list<std::pair<const char*, DWORD>> values) {
    const std::string picture = folder.File("p.bmp");
    ASSERT_TRUE(CopyFileA(PathBesideTestProgram("fixtures\\four_colours.png").c_str(),
                          picture.c_str(), FALSE));
    NullReporter reporter;
    const std::vector<std::string> pictures = {picture};
    lists::SaveList(registry::SystemRegistry(), registry::RegistryRoot::CurrentUser,
                    lists::PictureListKeyPath(kScratchKey), pictures, reporter);
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kScratchKey, 0, nullptr, 0, KEY_WRITE, nullptr,
                              &key, nullptr),
              ERROR_SUCCESS);
    for (const auto& [name, value] : values) {
        RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                       sizeof value);
    }
    RegCloseKey(key);
}

// Frames drawn in two seconds of a ten-second turn: every other refresh, 30
// a second at 60 Hz (33 where the swap does not wait as the driver says),
// against 60 to 67 without the setting.
TEST_F(SaverRun, LessProcessorHalvesTheFrameRateOfATurn) {
    TempFolder folder;
    StoreOnePictureRun(folder, {{"000_012", 1}, {"000_100", 10}, {"000_107", 1}});
    PacedCubeApp app;
    int drawnInTwoSeconds = 0;
    Run(app, [&] {
        HWND window = nullptr;
        MillisecondsUntil([&] { return (window = FindSaverWindow(false)) && app.drawn > 0; },
                          10000);
        ASSERT_NE(window, nullptr);
        Sleep(1500);  // the one-second rest is over, the turn has begun
        const int before = app.drawn.load();
        Sleep(2000);
        drawnInTwoSeconds = app.drawn.load() - before;
        PostMessageA(window, WM_KEYDOWN, 'X', 0);
    });
    EXPECT_EQ(app.pictureList.size(), 1u);
    EXPECT_GT(drawnInTwoSeconds, 10);
    EXPECT_LE(drawnInTwoSeconds, 2 * 37);
}

// An hour's picture length: once the first frames are drawn the cube rests,
// and the loop waits for input without drawing; six mouse moves end it.
TEST_F(SaverRun, ARestingRunDrawsNothingAndAMouseMoveStillEndsItAtOnce) {
    TempFolder folder;
    StoreOnePictureRun(folder, {{"000_107", 3600}});
    PacedCubeApp app;
    int drawnWhileResting = -1;
    DWORD endedAfter = 0;
    Run(app, [&] {
        HWND window = nullptr;
        MillisecondsUntil([&] { return (window = FindSaverWindow(false)) && app.drawn > 0; },
                          10000);
        ASSERT_NE(window, nullptr);
        Sleep(500);  // the loader's first picture is ready by now
        const int before = app.drawn.load();
        Sleep(1000);
        drawnWhileResting = app.drawn.load() - before;
        for (int i = 0; i < 6; ++i) {
            PostMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(300 + 10 * i, 200));
        }
        endedAfter = MillisecondsUntil([&] { return !IsWindowVisible(window); }, 3000);
    });
    EXPECT_EQ(drawnWhileResting, 0);
    EXPECT_LT(endedAfter, 200u);
}

// A TIFF and a GIF, read by the system's decoders, reach the screen in a
// full-screen run: the centre of the screen turns red, then blue.
TEST_F(SaverRun, PicturesForTheSystemsDecodersShowInAFullScreenRun) {
    NullReporter reporter;
    const std::vector<std::string> pictures = {PathBesideTestProgram("fixtures\\red.tif"),
                                               PathBesideTestProgram("fixtures\\blue.gif")};
    lists::SaveList(registry::SystemRegistry(), registry::RegistryRoot::CurrentUser,
                    lists::PictureListKeyPath(kScratchKey), pictures, reporter);
    // One-second pictures and turns, no shuffle, no glass.
    for (const auto& [name, value] : {std::pair{"000_100", 1}, std::pair{"000_103", 0},
                                      std::pair{"000_106", 2}, std::pair{"000_107", 1}}) {
        const DWORD data = static_cast<DWORD>(value);
        RegSetKeyValueA(HKEY_CURRENT_USER, kScratchKey, name, REG_DWORD, &data, sizeof data);
    }
    CubeSaverApp app;
    bool red = false;
    bool blue = false;
    Run(app, [&] {
        HWND window = nullptr;
        for (int i = 0; i < 1000 && (window = FindSaverWindow(false)) == nullptr; ++i) {
            Sleep(10);
        }
        const HDC screen = GetDC(nullptr);
        const int x = GetSystemMetrics(SM_CXSCREEN) / 2;
        const int y = GetSystemMetrics(SM_CYSCREEN) / 2;
        for (const DWORD start = GetTickCount(); GetTickCount() - start < 15000 && !(red && blue);
             Sleep(50)) {
            const COLORREF c = GetPixel(screen, x, y);
            red = red || (GetRValue(c) > 150 && GetGValue(c) < 80 && GetBValue(c) < 80);
            blue = blue || (GetBValue(c) > 150 && GetRValue(c) < 80 && GetGValue(c) < 80);
        }
        ReleaseDC(nullptr, screen);
        PostMessageA(window, WM_KEYDOWN, 'X', 0);
    });
    EXPECT_EQ(app.pictureList, pictures);
    EXPECT_TRUE(red);
    EXPECT_TRUE(blue);
}

bool SaverFlagSet() {
    BOOL running = FALSE;
    SystemParametersInfoA(SPI_GETSCREENSAVERRUNNING, 0, &running, 0);
    return running != FALSE;
}

// The cube saver on a window that refuses the device's pixel format.
class NoGlApp : public CubeSaverApp {
public:
    Status Start(WindowHandle window, DeviceContextHandle dc) override {
        otherFormatSet = TakeOtherPixelFormat(static_cast<HWND>(window));
        startResult = CubeSaverApp::Start(window, dc);
        return startResult;
    }
    bool otherFormatSet = false;
    Status startResult = S_OK;
};

// Not a black screen drawn on no context: the run ends by itself and the
// desktop comes back.
TEST_F(SaverRun, AFailedGlAttachEndsTheRunAndRestoresTheDesktop) {
    ASSERT_TRUE(StoreDisplayMode(800, 600, 32));
    ModeSwitchRecord record;
    g_modeRecord = &record;
    options_.displayModes = ui::DisplayModeApi{&OfferOneMode, &NoteModeChange, &NoteModeBox};
    NoGlApp app;
    Run(app, [] {});
    g_modeRecord = nullptr;
    EXPECT_TRUE(app.otherFormatSet);
    EXPECT_EQ(app.startResult, E_FAIL);
    EXPECT_FALSE(app.device.IsAttached());
    EXPECT_EQ(record.events, (std::vector<std::string>{"change", "restore"}));
    EXPECT_FALSE(SaverFlagSet());
    EXPECT_EQ(FindSaverWindow(false), nullptr);
}

// The user ends the run while the picture loader is stuck in a read (a
// picture on a network folder that stopped answering): the window goes and
// the system is restored at once; only the application's end waits.
TEST_F(SaverRun, EndingWhileTheLoaderIsStuckInAReadGivesTheDesktopBackAtOnce) {
    ReadGate gate;
    CubeSaverServices services;
    services.pictureLoad = [&gate](engine::Texture* texture) { return gate.Read(texture); };
    auto app = std::make_unique<PacedCubeApp>(settings::CubePages{}, services);
    DWORD hiddenAfter = 0;
    DWORD restoredAfter = 0;
    Run(*app, [&] {
        HWND window = nullptr;
        MillisecondsUntil([&] { return (window = FindSaverWindow(false)) && app->drawn > 0; },
                          10000);
        ASSERT_NE(window, nullptr);
        ASSERT_TRUE(gate.WaitUntilEntered(std::chrono::seconds(10)));
        PostMessageA(window, WM_KEYDOWN, 'X', 0);
        hiddenAfter = MillisecondsUntil([&] { return !IsWindowVisible(window); }, 3000);
        // Wine without a window manager takes about 2 s to let go of a
        // full-screen window; the restoring is timed from there.
        MillisecondsUntil([&] { return !IsWindow(window); }, 5000);
        restoredAfter = MillisecondsUntil([] { return !SaverFlagSet(); }, 3000);
        gate.Open();  // lets a run that waits for the loader end
    });
    EXPECT_LT(hiddenAfter, 1000u);
    EXPECT_LT(restoredAfter, 1000u);
    gate.Open();
    app.reset();  // waits for the read to end
    EXPECT_TRUE(gate.Finished());
}

TEST(SaverProcess, ASecondFullScreenInstanceBringsTheFirstForwardAndEnds) {
    const std::string saver = PathBesideTestProgram("velmora-saver.scr");
    std::string command = "\"" + saver + "\" /s";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION first{};
    ASSERT_TRUE(CreateProcessA(saver.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &startup, &first));
    HWND window = nullptr;
    for (int i = 0; i < 3000 && window == nullptr; ++i) {
        window = FindSaverWindow(false);
        Sleep(10);
    }
    ASSERT_NE(window, nullptr);
    const ProgramResult second = RunProgram(saver, "/s", 20000);
    EXPECT_FALSE(second.timedOut);
    EXPECT_EQ(second.exitCode, 0u);
    EXPECT_EQ(WaitForSingleObject(first.hProcess, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    PostMessageA(window, WM_KEYDOWN, 'X', 0);
    EXPECT_EQ(WaitForSingleObject(first.hProcess, 20000), static_cast<DWORD>(WAIT_OBJECT_0));
    DWORD exitCode = 1;
    GetExitCodeProcess(first.hProcess, &exitCode);
    EXPECT_EQ(exitCode, 0u);
    CloseHandle(first.hThread);
    CloseHandle(first.hProcess);
}

}  // namespace
}  // namespace velmora::testing
