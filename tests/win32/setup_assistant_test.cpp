// The setup assistant run as the installer runs it, its dialog driven by
// messages, its report sent to the loopback server through the prefix's proxy.
#include <windows.h>
#include <wininet.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "setup/win32/setup_assistant.h"
#include "tests/win32/child_process.h"
#include "tests/win32/process_runner.h"
#include "tests/win32/setup_testing.h"

namespace velmora::testing {
namespace {

constexpr DWORD kTimeoutMs = 30000;
constexpr int kName = 1000;
constexpr int kEmail = 1001;
constexpr int kContact = 1002;
constexpr int kPrompt = 1003;
constexpr int kNote = 1006;
constexpr char kAskingPrompt[] = "Enter your name and email address to continue the installation.";

const std::string kSetupProgram = PathBesideTestProgram("velmora-setup.exe");

void SetText(HWND dialog, int id, const char* text) {
    SendMessageA(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

bool Checked(HWND dialog, int id) {
    return SendMessageA(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

// Posted: the handler may show a message box or wait for the server.
void ClickOk(HWND dialog) {
    PostMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
}

// A visible message box of the process with this caption, or null.
HWND WaitForBox(DWORD processId, const char* caption) {
    for (int i = 0; i < 500; ++i) {
        HWND box = FindWindowA("#32770", caption);
        DWORD owner = 0;
        GetWindowThreadProcessId(box, &owner);
        if (box != nullptr && owner == processId && IsWindowVisible(box)) {
            return box;
        }
        Sleep(20);
    }
    return nullptr;
}

class SetupAssistant : public ::testing::Test {
protected:
    void SetUp() override {
        if (!setup::IsMachineOnline()) {
            GTEST_SKIP() << "the system reports no connection, so the assistant shows nothing";
        }
    }

    // Starts the assistant for a first run and waits for its asking dialog.
    HWND StartAsking(ChildProcess& setup) {
        EXPECT_TRUE(site_.Started());
        const HWND dialog = setup.WaitForWindow("#32770", kTimeoutMs);
        if (dialog == nullptr) {
            const auto code = setup.WaitForEnd(0);
            ADD_FAILURE() << "no dialog; the assistant "
                          << (code ? "ended with " + std::to_string(*code) : "still runs");
            return nullptr;
        }
        EXPECT_EQ(WindowText(GetDlgItem(dialog, kPrompt)), kAskingPrompt);
        EXPECT_TRUE(Checked(dialog, kContact));
        return dialog;
    }

    AskedValue asked_;
    ReportSite site_;
};

TEST_F(SetupAssistant, AFirstRunAsksAndSendsNameAndEmail) {
    asked_.Set(std::nullopt);
    DebugOutputMonitor debugOutput;
    ASSERT_TRUE(debugOutput.Started());
    ChildProcess setup(kSetupProgram, "&t=first");
    const HWND dialog = StartAsking(setup);
    ASSERT_NE(dialog, nullptr);
    const auto asked = asked_.Get();
    ASSERT_TRUE(asked.has_value());
    EXPECT_LE(SecondsNow() - *asked, 60u);
    SetText(dialog, kName, "Ann Lee");
    SetText(dialog, kEmail, "ann-lee@x.example");
    ClickOk(dialog);
    EXPECT_EQ(setup.WaitForEnd(kTimeoutMs), 0u);
    const std::string query =
        "?install=true&a=s&name=Ann%20Lee&email=ann%2Dlee%40x%2Eexample&t=first";
    EXPECT_EQ(
        debugOutput.Of(setup.Id()),
        (std::vector<std::string>{"Ovix ContactInfo URL: ", SiteBaseAddress() + query, "\n"}));
    // Wine's URL moniker sends an escaped "-" or "." as the character itself.
    EXPECT_EQ(site_.Requests(),
              ReportRequests("&a=s&name=Ann%20Lee&email=ann-lee%40x.example&t=first"));
    // Both downloads are gone from the URL cache, not only their files.
    std::string baseFile = SiteBaseAddress();
    baseFile.replace(baseFile.rfind('/') + 1, std::string::npos, "install.txt");
    for (const std::string& address : {baseFile, SiteBaseAddress() + query}) {
        DWORD size = 0;
        EXPECT_FALSE(GetUrlCacheEntryInfoA(address.c_str(), nullptr, &size)) << address;
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND)) << address;
    }
}

TEST_F(SetupAssistant, AnInvalidAddressIsRefusedAndUntickingSendsNoContactData) {
    asked_.Set(std::nullopt);
    ChildProcess setup(kSetupProgram, "&t=untick");
    const HWND dialog = StartAsking(setup);
    ASSERT_NE(dialog, nullptr);
    SetText(dialog, kName, "Ann Lee");
    SetText(dialog, kEmail, "ann.lee@x");
    ClickOk(dialog);
    const HWND box = WaitForBox(setup.Id(), "Error");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(WindowText(GetDlgItem(box, 0xFFFF)), "Please enter a valid email address.");
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_FALSE(setup.WaitForEnd(500).has_value());
    EXPECT_TRUE(IsWindowVisible(dialog));
    for (const bool ticked : {false, true, false}) {
        SendMessageA(GetDlgItem(dialog, kContact), BM_CLICK, 0, 0);
        EXPECT_EQ(Checked(dialog, kContact), ticked);
        EXPECT_EQ(IsWindowEnabled(GetDlgItem(dialog, kName)) != FALSE, ticked);
        EXPECT_EQ(IsWindowEnabled(GetDlgItem(dialog, kEmail)) != FALSE, ticked);
    }
    ClickOk(dialog);
    EXPECT_EQ(setup.WaitForEnd(kTimeoutMs), 0u);
    EXPECT_EQ(site_.Requests(), ReportRequests("&t=untick"));
}

TEST_F(SetupAssistant, TheCloseBoxStillSendsTheReportWithTheExtraQuery) {
    asked_.Set(std::nullopt);
    ASSERT_TRUE(site_.Started());
    const ProgramResult result =
        RunProgram(kSetupProgram, "&t=close", kTimeoutMs, {}, ShownWindows::Close);
    EXPECT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, 0u);
    EXPECT_EQ(result.windowsSeen, 1);
    EXPECT_EQ(site_.Requests(), ReportRequests("&t=close"));
}

TEST_F(SetupAssistant, ASecondRunWithinTheIntervalOnlyChecks) {
    const DWORD earlier = SecondsNow() - 10000;
    asked_.Set(earlier);
    // The base file comes a byte at a time, so the checking form stays a while.
    ReportSite slowSite(ReportSite::Trickled);
    ASSERT_TRUE(slowSite.Started());
    ChildProcess setup(kSetupProgram, "&t=again");
    const HWND dialog = setup.WaitForWindow("#32770", kTimeoutMs);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(WindowText(GetDlgItem(dialog, kPrompt)), "Checking for later version.");
    EXPECT_EQ(WindowText(GetDlgItem(dialog, kNote)), "This may take up to 30 seconds.");
    for (const int id : {1004, 1005, kContact, kName, kEmail}) {
        EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, id))) << id;
    }
    EXPECT_EQ(setup.WaitForEnd(kTimeoutMs), 0u);
    EXPECT_EQ(asked_.Get(), earlier);
    EXPECT_EQ(slowSite.Requests(), ReportRequests("&t=again"));
}

TEST_F(SetupAssistant, ABaseFileOfMoreThan1023BytesMeansNoRequest) {
    for (const std::size_t size : {1023u, 1024u}) {
        SCOPED_TRACE(size);
        asked_.Set(SecondsNow());
        ReportSite site(ReportSite::Normal, size);
        ASSERT_TRUE(site.Started());
        ChildProcess setup(kSetupProgram, "&t=long");
        EXPECT_EQ(setup.WaitForEnd(kTimeoutMs), 0u);
        EXPECT_EQ(site.Requests().size(), size < 1024 ? 2u : 1u);
    }
}

// A base file naming anything but the maker's site is never requested, and
// nothing it names is touched.
TEST_F(SetupAssistant, ABaseOffTheMakersSiteIsNeitherRequestedNorDeleted) {
    TempFolder folder;
    const std::string planted = folder.File("planted.html");
    ASSERT_TRUE(std::ofstream(planted) << "planted");
    std::string fileAddress = "file:///" + planted;
    std::replace(fileAddress.begin(), fileAddress.end(), '\\', '/');
    std::string otherScheme = SiteBaseAddress();
    otherScheme.replace(0, otherScheme.find(':'), "http");
    for (const std::string& base :
         {std::string("https://collector.invalid/grab.html"), otherScheme, fileAddress,
          "\\\\localhost\\" + planted.substr(0, 1) + "$\\" + planted.substr(3)}) {
        SCOPED_TRACE(base);
        asked_.Set(SecondsNow());
        ReportSite site(base);
        ASSERT_TRUE(site.Started());
        DebugOutputMonitor debugOutput;
        ChildProcess setup(kSetupProgram, "&t=off");
        EXPECT_EQ(setup.WaitForEnd(kTimeoutMs), 0u);
        EXPECT_EQ(site.Requests(), std::vector<std::string>{"/external/install.txt"});
        EXPECT_EQ(debugOutput.Of(setup.Id()),
                  (std::vector<std::string>{
                      "Ovix ContactInfo URL refused, not on the maker's site: ", base, "\n"}));
        EXPECT_TRUE(std::ifstream(planted).good());
    }
}

// The seam the entry point is built on: offline, no window is made.
int g_windowsMade = 0;

LRESULT CALLBACK RefuseWindows(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND) {
        ++g_windowsMade;
        return 1;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(SetupAssistant, OfflineItEndsAtOnceWithoutAWindowOrARequest) {
    ASSERT_TRUE(site_.Started());
    const HHOOK hook = SetWindowsHookExA(WH_CBT, RefuseWindows, nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    g_windowsMade = 0;
    EXPECT_EQ(setup::RunSetupAssistant(GetModuleHandleA(nullptr), "&t=off", [] { return false; }),
              0);
    EXPECT_EQ(g_windowsMade, 0);
    // Online the same call makes the dialog, refused here.
    setup::RunSetupAssistant(GetModuleHandleA(nullptr), "&t=off", [] { return true; });
    EXPECT_GT(g_windowsMade, 0);
    UnhookWindowsHookEx(hook);
    EXPECT_TRUE(site_.Requests().empty());
}

}  // namespace
}  // namespace velmora::testing
