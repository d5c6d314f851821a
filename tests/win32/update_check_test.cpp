// The update check with Wine's WinINet against the loopback site server,
// which the prefix's proxy reaches for the maker's real address. The test's
// own system calls only count what the checker asks for and shorten the
// timer periods.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <thread>

#include "base/run_mode.h"
#include "frame/frame_texts.h"
#include "frame/saver_app.h"
#include "frame/win32/saver_run.h"
#include "frame/win32/saver_window.h"
#include "settings/saver_settings.h"
#include "settings/settings_storage.h"
#include "tests/win32/process_runner.h"
#include "tests/win32/site_server_process.h"
#include "web/update_checker.h"
#include "web/web_texts.h"

namespace velmora::testing {
namespace {

const char kScratchKey[] = "Software\\Quillfen Graphics\\VelmoraUpdateTest";
const char kInternetSettings[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
const char kAutodial[] = "EnableAutodial";

std::atomic<bool> gConnected{true};
std::atomic<int> gOpens{0};
std::atomic<int> gTimers{0};
web::UpdateCheckApi gSystem;

web::UpdateCheckApi CountingApi() {
    web::UpdateCheckApi api = web::SystemUpdateCheckApi();
    gSystem = api;
    api.isConnected = [] { return gConnected.load(); };
    api.openUrl = [](web::InternetHandle session, const char* url, std::uint32_t flags) {
        ++gOpens;
        return gSystem.openUrl(session, url, flags);
    };
    api.setTimer = [](WindowHandle window, std::uintptr_t id, std::uint32_t milliseconds) {
        ++gTimers;
        gSystem.setTimer(window, id, milliseconds);
    };
    api.periods = {50, 100, 20};
    return api;
}

UpdateChecker* gChecker = nullptr;

LRESULT CALLBACK CheckerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (gChecker != nullptr) {
        gChecker->HandleMessage(window, message, wParam, lParam);
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND CreateCheckerWindow() {
    static const ATOM atom = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = CheckerWindowProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "VelmoraUpdateTestWindow";
        return RegisterClassA(&wc);
    }();
    (void)atom;
    return CreateWindowExA(0, "VelmoraUpdateTestWindow", "", WS_POPUP, 0, 0, 8, 8, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

// Handles messages until done() holds or the time is up.
bool PumpUntil(const std::function<bool()>& done, int milliseconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (std::chrono::steady_clock::now() < end) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageA(&msg);
        }
        if (done && done()) {
            return true;
        }
        Sleep(5);
    }
    return false;
}

std::string ReadText(const char* path, const char* name) {
    char value[64] = {};
    DWORD size = sizeof value - 1;
    if (RegGetValueA(HKEY_CURRENT_USER, path, name, RRF_RT_REG_SZ, nullptr, value, &size) !=
        ERROR_SUCCESS) {
        return "<none>";
    }
    return value;
}

std::optional<DWORD> ReadDword(const char* path, const char* name) {
    DWORD value = 0;
    DWORD size = sizeof value;
    if (RegGetValueA(HKEY_CURRENT_USER, path, name, RRF_RT_REG_DWORD, nullptr, &value, &size) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    return value;
}

void WriteDword(const char* path, const char* name, DWORD value) {
    RegSetKeyValueA(HKEY_CURRENT_USER, path, name, REG_DWORD, &value, sizeof value);
}

const std::string kVersionName =
    settings::SettingValueName(settings::kSaverGroup, settings::saver_index::LatestVersion);
const std::string kDoneName =
    settings::SettingValueName(settings::kSaverGroup, settings::saver_index::UpdateCheckDone);

class UpdateCheck : public ::testing::Test {
protected:
    void SetUp() override {
        autodial_ = ReadDword(kInternetSettings, kAutodial);
        WriteDword(kInternetSettings, kAutodial, 1);
        gConnected = true;
        gTimers = 0;
        window_ = CreateCheckerWindow();
        Renew();
    }
    void TearDown() override {
        checker_.reset();
        gChecker = nullptr;
        DestroyWindow(window_);
        RegDeleteTreeA(HKEY_CURRENT_USER, kScratchKey);
        if (autodial_) {
            WriteDword(kInternetSettings, kAutodial, *autodial_);
        } else {
            RegDeleteKeyValueA(HKEY_CURRENT_USER, kInternetSettings, kAutodial);
        }
    }

    // Arms the checker, waits for its request to be answered and shuts it down.
    void CheckAgainst(const SiteServerOptions& options) {
        ASSERT_TRUE(server_.Start(options));
        ScopedProxy proxy(server_.Port());
        checker_->Arm(window_, true, kScratchKey);
        PumpUntil([&] { return Stored(kDoneName) || (gOpens > 0 && !server_.Requests().empty()); },
                  10000);
        PumpUntil({}, 300);
        checker_->CleanUp();
    }

    // A fresh checker over an empty settings key.
    void Renew() {
        checker_.reset();
        RegDeleteTreeA(HKEY_CURRENT_USER, kScratchKey);
        checker_ = std::make_unique<UpdateChecker>(CountingApi());
        gChecker = checker_.get();
        gOpens = 0;
    }

    bool Stored(const std::string& name) {
        return RegGetValueA(HKEY_CURRENT_USER, kScratchKey, name.c_str(), RRF_RT_ANY, nullptr,
                            nullptr, nullptr) == ERROR_SUCCESS;
    }

    HWND window_ = nullptr;
    std::unique_ptr<UpdateChecker> checker_;
    SiteServerProcess server_;
    TempFolder folder_;
    std::optional<DWORD> autodial_;
};

TEST_F(UpdateCheck, TheSiteDocumentStoresItsVersionAndAutodialComesBack) {
    std::optional<DWORD> autodialDuring;
    ASSERT_TRUE(server_.Start());
    {
        ScopedProxy proxy(server_.Port());
        checker_->Arm(window_, true, kScratchKey);
        ASSERT_TRUE(PumpUntil([&] { return Stored(kDoneName); }, 10000));
        autodialDuring = ReadDword(kInternetSettings, kAutodial);
        checker_->CleanUp();
    }
    EXPECT_EQ(autodialDuring, 0u);
    EXPECT_EQ(ReadDword(kInternetSettings, kAutodial), 1u);
    EXPECT_EQ(ReadText(kScratchKey, kVersionName.c_str()), "1.1");
    EXPECT_EQ(ReadDword(kScratchKey, kDoneName.c_str()), 1u);
    const auto requests = server_.Requests();
    ASSERT_EQ(requests.size(), 1u);
    // Wine's proxy request names the default port.
    std::string request = requests[0];
    if (const std::size_t port = request.find(":80/"); port != std::string::npos) {
        request.erase(port, 3);
    }
    EXPECT_EQ(request, "GET " + DecodeText(texts::kUpdateAddress));
}

// A document without a content length, longer than one buffer step, whose
// value ends in blanks and CR LF; and one with a field too long to keep.
TEST_F(UpdateCheck, DocumentsAreReadWholeAndCheckedBeforeAnythingIsStored) {
    struct Case {
        std::string document;
        const char* version;  // nullptr: nothing stored
    } const cases[] = {
        {"#QUILLFEN-UPDATE\r\n" + std::string(9000, '.') +
             "\r\n[Velmora]\r\nVersion   2.5 \t \r\nBuild 7\r\n",
         "2.5"},
        {"#QUILLFEN-UPDATE\r\n[Velmora]\r\nVersion " + std::string(40, '9') + "\r\n", nullptr},
    };
    CreateDirectoryA(folder_.File("update").c_str(), nullptr);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.document.substr(c.document.size() - 30));
        std::ofstream(folder_.File("update\\version.txt"), std::ios::binary) << c.document;
        SiteServerOptions options;
        options.root = folder_.File("");
        options.noLength = true;
        CheckAgainst(options);
        EXPECT_EQ(server_.Requests().size(), 1u);
        EXPECT_EQ(ReadText(kScratchKey, kVersionName.c_str()), c.version ? c.version : "<none>");
        EXPECT_EQ(Stored(kDoneName), c.version != nullptr);
        server_.Stop();
        Renew();
    }
    DeleteFileA(folder_.File("update\\version.txt").c_str());
    RemoveDirectoryA(folder_.File("update").c_str());
}

TEST_F(UpdateCheck, AnUnreachableServerGetsThreeOpensARun) {
    // Nothing listens on the port of a server that has ended.
    ASSERT_TRUE(server_.Start());
    const int port = server_.Port();
    server_.Stop();
    ScopedProxy proxy(port);
    checker_->Arm(window_, true, kScratchKey);
    PumpUntil([] { return gOpens >= 3; }, 15000);
    PumpUntil({}, 1000);
    checker_->CleanUp();
    EXPECT_EQ(gOpens.load(), 3);
    EXPECT_EQ(gTimers.load(), 3);
    EXPECT_FALSE(Stored(kDoneName));
    EXPECT_EQ(ReadDword(kInternetSettings, kAutodial), 1u);
}

TEST_F(UpdateCheck, NoTimerWhenDoneOfflineOrDisabled) {
    struct Case {
        bool done;
        bool connected;
        bool allowed;
        int timers;
    } const cases[] = {
        {true, true, true, 0},
        {false, false, true, 0},
        {false, true, false, 0},
        {false, true, true, 1},
    };
    for (const Case& c : cases) {
        RegDeleteTreeA(HKEY_CURRENT_USER, kScratchKey);
        if (c.done) {
            WriteDword(kScratchKey, kDoneName.c_str(), 1);
        }
        gConnected = c.connected;
        gTimers = 0;
        UpdateChecker checker(CountingApi());
        checker.Arm(window_, c.allowed, kScratchKey);
        EXPECT_EQ(gTimers.load(), c.timers) << c.done << c.connected << c.allowed;
        EXPECT_EQ(checker.Armed(), c.timers == 1);
    }
}

TEST_F(UpdateCheck, ShutDownIsPromptWhileTheServerTrickles) {
    SiteServerOptions options;
    options.trickleSeconds = 0.2;
    ASSERT_TRUE(server_.Start(options));
    ScopedProxy proxy(server_.Port());
    checker_->Arm(window_, true, kScratchKey);
    ASSERT_TRUE(PumpUntil([&] { return !server_.Requests().empty(); }, 10000));
    PumpUntil({}, 500);
    const auto start = std::chrono::steady_clock::now();
    checker_->CleanUp();
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_LT(took, std::chrono::milliseconds(1500));
    EXPECT_FALSE(Stored(kDoneName));
}

// The run arms the application's checker, whose timer and progress messages
// reach it through the saver window.
TEST_F(UpdateCheck, AFullScreenRunChecksThroughItsWindow) {
    ASSERT_TRUE(server_.Start());
    ScopedProxy proxy(server_.Port());
    Process().runMode = RunMode::FullScreen;
    SaverRunOptions options;
    options.settingsKeyPath = kScratchKey;
    options.isNtFamily = [] { return true; };
    SaverApp app(SaverAppServices{CountingApi()});
    std::thread ender([&] {
        for (int i = 0; i < 1000 && !Stored(kDoneName); ++i) {
            Sleep(10);
        }
        const HWND window = FindWindowA(DecodeText(texts::kWindowClass).c_str(),
                                        DecodeText(texts::kWindowTitle).c_str());
        PostMessageA(window, WM_KEYDOWN, 'X', 0);
    });
    RunSaver(app, nullptr, SW_SHOW, options);
    ender.join();
    Process().runMode = RunMode::Settings;
    EXPECT_EQ(ReadText(kScratchKey, kVersionName.c_str()), "1.1");
    EXPECT_EQ(server_.Requests().size(), 1u);
}

}  // namespace
}  // namespace velmora::testing
