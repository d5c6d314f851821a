// Opening web pages and the support e-mail under Wine, with stand-in
// programs registered for the http and mailto classes of the test prefix.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "tests/win32/child_process.h"
#include "tests/win32/plain_window.h"
#include "tests/win32/process_runner.h"
#include "web/launch_texts.h"
#include "web/support_mail.h"
#include "web/win32/web_launch.h"

namespace velmora::testing {
namespace {

const std::string kStandIn = PathBesideTestProgram("standin\\url_handler_standin.exe");
const std::string kRecord = PathBesideTestProgram("standin\\launch_record.txt");

std::string ReadRecord() {
    std::ifstream in(kRecord, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Waits up to 5 s for the stand-in to have written its line.
std::string WaitForRecord() {
    for (int i = 0; i < 500; ++i) {
        const std::string text = ReadRecord();
        if (!text.empty() && text.back() == '\n') {
            return text.substr(0, text.size() - 1);
        }
        Sleep(10);
    }
    return {};
}

// Sets a class's open command in HKEY_CLASSES_ROOT, or removes it, and puts
// back what was there.
class ScopedOpenCommand {
public:
    ScopedOpenCommand(const std::string& scheme, const char* command)
        : path_(scheme + "\\shell\\open\\command") {
        char value[1024] = {};
        DWORD size = sizeof value - 1;
        had_ = RegGetValueA(HKEY_CLASSES_ROOT, path_.c_str(), nullptr, RRF_RT_REG_SZ, nullptr,
                            value, &size) == ERROR_SUCCESS;
        old_ = value;
        Set(command);
    }
    ~ScopedOpenCommand() { Set(had_ ? old_.c_str() : nullptr); }
    ScopedOpenCommand(const ScopedOpenCommand&) = delete;
    ScopedOpenCommand& operator=(const ScopedOpenCommand&) = delete;

private:
    void Set(const char* command) const {
        if (command == nullptr) {
            RegDeleteKeyA(HKEY_CLASSES_ROOT, path_.c_str());
            return;
        }
        RegSetKeyValueA(HKEY_CLASSES_ROOT, path_.c_str(), nullptr, REG_SZ, command,
                        static_cast<DWORD>(std::strlen(command) + 1));
    }

    std::string path_;
    std::string old_;
    bool had_ = false;
};

class WebLaunch : public ::testing::Test {
protected:
    void SetUp() override { DeleteFileA(kRecord.c_str()); }
    void TearDown() override { DeleteFileA(kRecord.c_str()); }
};

TEST_F(WebLaunch, TheBrowserCommandLosesNoHomeAndGetsTheAddress) {
    const std::string quoted = "\"" + kStandIn + "\"";
    ScopedOpenCommand http("http", (quoted + " -nohome -foo").c_str());
    const std::string address = "http://www.quillfen.example/download.html?x=1";
    ASSERT_TRUE(web::OpenInBrowser(address, web::BrowserWait::UntilClosed));
    // Waiting means the stand-in has ended: its line is there already.
    EXPECT_EQ(ReadRecord(), quoted + " " + address + "\n");
}

// Reads and closes (OK) the first message box with this caption shown while
// it lives (at most 30 s: the system report before a box takes a while).
class BoxCloser {
public:
    explicit BoxCloser(const std::string& caption)
        : thread_([this, caption] {
              for (int i = 0; i < 3000 && !done_; ++i) {
                  HWND box = FindWindowA("#32770", caption.c_str());
                  if (box != nullptr) {
                      char text[512] = {};
                      GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
                      text_ = text;
                      PostMessageA(box, WM_COMMAND, IDOK, 0);
                      return;
                  }
                  Sleep(10);
              }
          }) {}
    BoxCloser(const BoxCloser&) = delete;
    BoxCloser& operator=(const BoxCloser&) = delete;
    ~BoxCloser() { Text(); }

    // Stops looking; the box's text, empty when none was seen.
    const std::string& Text() {
        done_ = true;
        if (thread_.joinable()) {
            thread_.join();
        }
        return text_;
    }

private:
    std::atomic<bool> done_{false};
    std::string text_;
    std::thread thread_;
};

TEST_F(WebLaunch, WithoutABrowserTheBoxNamesTheAddress) {
    ScopedOpenCommand http("http", nullptr);
    BoxCloser closer("Error Opening Web Browser");
    const bool opened =
        web::OpenInBrowser("http://www.quillfen.example/a.html", web::BrowserWait::No);
    const std::string boxText = closer.Text();
    EXPECT_FALSE(opened);
    EXPECT_EQ(boxText,
              "The web browser could not be started, please visit the "
              "http://www.quillfen.example/a.html");
}

TEST_F(WebLaunch, AWebPageOpensThroughTheShellWithItsQuery) {
    ScopedOpenCommand http("http", ("\"" + kStandIn + "\" \"%1\"").c_str());
    ScopedOpenCommand https("https", ("\"" + kStandIn + "\" \"%1\"").c_str());
    ASSERT_TRUE(web::OpenWebPage(web::DownloadPageAddress(), "test page", web::BrowserWait::No));
    EXPECT_NE(WaitForRecord().find(web::WebPageAddress(web::DownloadPageAddress(), "test page")),
              std::string::npos);
}

std::string ClipboardText() {
    if (!OpenClipboard(nullptr)) {
        return "<busy>";
    }
    HANDLE data = GetClipboardData(CF_TEXT);
    const char* text = data != nullptr ? static_cast<const char*>(GlobalLock(data)) : nullptr;
    const std::string copied = text != nullptr ? text : "";
    if (text != nullptr) {
        GlobalUnlock(data);
    }
    CloseClipboard();
    return copied;
}

TEST_F(WebLaunch, ABusyClipboardOpensNoMailAndTellsTheUser) {
    ScopedOpenCommand mailto("mailto", ("\"" + kStandIn + "\" \"%1\"").c_str());
    const HANDLE held = CreateEventA(nullptr, TRUE, FALSE, "VelmoraClipboardHeld");
    const HANDLE release = CreateEventA(nullptr, TRUE, FALSE, "VelmoraClipboardRelease");
    ChildProcess holder(PathBesideTestProgram("standin\\clipboard_holder_standin.exe"), "");
    ASSERT_EQ(WaitForSingleObject(held, 10000), WAIT_OBJECT_0);
    PlainWindow window(64, 64);
    BoxCloser closer(web::ClipboardBusyCaption());
    const bool opened = web::ComposeSupportEmail(window.Handle());
    const std::string boxText = closer.Text();
    SetEvent(release);
    EXPECT_EQ(holder.WaitForEnd(5000), 0u);
    CloseHandle(release);
    CloseHandle(held);
    EXPECT_FALSE(opened);
    EXPECT_EQ(boxText, web::ClipboardBusyText());
    // A mail program started by mistake would have written its line by now.
    Sleep(500);
    EXPECT_EQ(ReadRecord(), "");
    EXPECT_EQ(ClipboardText(), "held by another program");
}

TEST_F(WebLaunch, SupportMailLeavesReportAndMessageOnTheClipboard) {
    ScopedOpenCommand mailto("mailto", ("\"" + kStandIn + "\" \"%1\"").c_str());
    PlainWindow window(64, 64);
    EXPECT_TRUE(web::ComposeSupportEmail(window.Handle()));
    const std::string subject = web::SupportMailSubject();
    EXPECT_NE(WaitForRecord().find(web::SupportMailAddress(subject)), std::string::npos);

    const std::string copied = ClipboardText();
    EXPECT_EQ(copied.rfind("Windows:     ", 0), 0u) << copied;
    EXPECT_NE(copied.find("GL_VERSION:  "), std::string::npos);
    EXPECT_NE(copied.find(subject), std::string::npos);
}

}  // namespace
}  // namespace velmora::testing
