// velmora-install.exe run silently in the test prefix, the saver it installed,
// and its uninstaller.
#include <gtest/gtest.h>
#include <windows.h>

#include <tlhelp32.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "base/encoded_text.h"
#include "frame/frame_texts.h"
#include "setup/win32/setup_assistant.h"
#include "tests/win32/child_process.h"
#include "tests/win32/process_runner.h"
#include "tests/win32/setup_testing.h"

namespace velmora::testing {
namespace {

constexpr DWORD kTimeoutMs = 60000;
constexpr char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Velmora";
constexpr char kDesktopKey[] = "Control Panel\\Desktop";
constexpr char kSaverValue[] = "SCRNSAVE.EXE";
constexpr char kSettingsKey[] = "Software\\Quillfen Graphics\\Velmora";
constexpr char kMarker[] = "InstallerTestMarker";

std::optional<std::string> RegistryText(const char* key, const char* value) {
    char text[1024] = {};
    DWORD size = sizeof text;
    if (RegGetValueA(HKEY_CURRENT_USER, key, value, RRF_RT_REG_SZ, nullptr, text, &size) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    return std::string(text);
}

std::string InstallFolder() {
    char folder[MAX_PATH] = {};
    ExpandEnvironmentStringsA("%LOCALAPPDATA%\\Programs\\Velmora\\", folder, MAX_PATH);
    return folder;
}

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > timeoutMs) {
            return false;
        }
        Sleep(50);
    }
    return true;
}

// Whether a process whose program file name starts with the prefix runs.
bool ProgramRuns(const std::string& prefix) {
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    bool found = false;
    for (BOOL more = Process32First(snapshot, &entry); more && !found;
         more = Process32Next(snapshot, &entry)) {
        found = _strnicmp(entry.szExeFile, prefix.c_str(), prefix.size()) == 0;
    }
    CloseHandle(snapshot);
    return found;
}

// Distinct colours on the screen in a square around the centre of the window.
std::size_t ColoursAtCentre(HWND window) {
    RECT area{};
    GetWindowRect(window, &area);
    const int side = 200;
    const int left = (area.left + area.right - side) / 2;
    const int top = (area.top + area.bottom - side) / 2;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = side;
    info.bmiHeader.biHeight = -side;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    const HDC screen = GetDC(nullptr);
    const HDC memory = CreateCompatibleDC(screen);
    const HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, side, side, screen, left, top, SRCCOPY);
    GdiFlush();
    const auto* pixels = static_cast<const std::uint32_t*>(bits);
    const std::set<std::uint32_t> colours(pixels, pixels + side * side);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return colours.size();
}

// The settings key and the current screen saver are the user's: kept and put
// back around the test.
class Installer : public ::testing::Test {
protected:
    void SetUp() override {
        savedSaver_ = RegistryText(kDesktopKey, kSaverValue);
        const DWORD marker = 1;
        RegSetKeyValueA(HKEY_CURRENT_USER, kSettingsKey, kMarker, REG_DWORD, &marker,
                        sizeof marker);
    }

    void TearDown() override {
        RegDeleteKeyValueA(HKEY_CURRENT_USER, kSettingsKey, kMarker);
        if (savedSaver_) {
            RegSetKeyValueA(HKEY_CURRENT_USER, kDesktopKey, kSaverValue, REG_SZ,
                            savedSaver_->c_str(), static_cast<DWORD>(savedSaver_->size() + 1));
        } else {
            RegDeleteKeyValueA(HKEY_CURRENT_USER, kDesktopKey, kSaverValue);
        }
    }

    std::optional<std::string> savedSaver_;
    AskedValue asked_;
};

std::string ShortPath(const std::string& path) {
    char shortPath[MAX_PATH] = {};
    GetShortPathNameA(path.c_str(), shortPath, MAX_PATH);
    return shortPath;
}

void ExpectInstalled(const std::string& folder) {
    for (const char* file : {"velmora-saver.scr", "velmora-setup.exe"}) {
        EXPECT_EQ(ReadWholeFile(folder + file), ReadWholeFile(PathBesideTestProgram(file))) << file;
    }
    EXPECT_TRUE(Exists(folder + "uninstall.exe"));
    EXPECT_EQ(RegistryText(kDesktopKey, kSaverValue), ShortPath(folder + "velmora-saver.scr"));
    EXPECT_EQ(RegistryText(kUninstallKey, "DisplayName"), "Velmora");
    EXPECT_EQ(RegistryText(kUninstallKey, "DisplayVersion"), VELMORA_TEST_VERSION);
    EXPECT_EQ(RegistryText(kUninstallKey, "Publisher"), "Quillfen Graphics");
    EXPECT_EQ(RegistryText(kUninstallKey, "DisplayIcon"), folder + "velmora-saver.scr,0");
    EXPECT_EQ(RegistryText(kUninstallKey, "UninstallString"), "\"" + folder + "uninstall.exe\"");
    EXPECT_GT(RegistryNumber(kUninstallKey, "EstimatedSize").value_or(0), 1000u);
}

void ExpectTheSaverShowsTheCube(const std::string& saver) {
    ChildProcess run(saver, "/s");
    const HWND window = run.WaitForWindow(DecodeText(texts::kWindowClass), kTimeoutMs);
    ASSERT_NE(window, nullptr);
    Sleep(2000);
    // A solid background has one colour; the lit, textured cube has hundreds.
    EXPECT_GT(ColoursAtCentre(window), 100u);
    PostMessageA(window, WM_KEYDOWN, 'X', 0);
    EXPECT_EQ(run.WaitForEnd(kTimeoutMs), 0u);
}

TEST_F(Installer, InstallsSilentlyForTheUserAndUninstallsKeepingTheSettings) {
    // Asked lately: the setup assistant only sends its report.
    asked_.Set(SecondsNow());
    ReportSite site;
    ASSERT_TRUE(site.Started());
    const ProgramResult install =
        RunProgram(PathBesideTestProgram("velmora-install.exe"), "/S", kTimeoutMs);
    ASSERT_TRUE(install.started);
    EXPECT_EQ(install.exitCode, 0u);
    EXPECT_TRUE(WaitUntil([] { return !ProgramRuns("velmora-setup"); }, kTimeoutMs));
    // Offline the assistant ends at once, without a request.
    EXPECT_EQ(site.Requests(), setup::IsMachineOnline()
                                   ? ReportRequests(std::string("&v=") + VELMORA_TEST_VERSION)
                                   : std::vector<std::string>{});

    const std::string folder = InstallFolder();
    ExpectInstalled(folder);
    ExpectTheSaverShowsTheCube(folder + "velmora-saver.scr");

    const ProgramResult uninstall = RunProgram(folder + "uninstall.exe", "/S", kTimeoutMs);
    EXPECT_EQ(uninstall.exitCode, 0u);
    // The uninstaller goes on from a copy in the temporary folder.
    EXPECT_TRUE(WaitUntil([&] { return !Exists(folder) && !ProgramRuns("Au_"); }, kTimeoutMs));
    EXPECT_FALSE(RegistryText(kUninstallKey, "DisplayName").has_value());
    EXPECT_FALSE(RegistryText(kDesktopKey, kSaverValue).has_value());
    EXPECT_EQ(RegistryNumber(kSettingsKey, kMarker), 1u);
}

// A profile folder with a blank: the current screen saver is named in the
// form the system starts with " /s" after it, and the uninstaller still
// knows the long form.
TEST_F(Installer, AFolderWithABlankIsNamedSoTheSystemCanStartTheSaver) {
    asked_.Set(SecondsNow());
    ReportSite site;
    TempFolder temp;
    const std::string profile = temp.File("Ann Lee");
    ASSERT_TRUE(CreateDirectoryA(profile.c_str(), nullptr));
    const std::string folder = profile + "\\Velmora\\";
    const ProgramResult install = RunProgram(PathBesideTestProgram("velmora-install.exe"),
                                             "/S /D=" + profile + "\\Velmora", kTimeoutMs);
    EXPECT_EQ(install.exitCode, 0u);
    EXPECT_TRUE(WaitUntil([] { return !ProgramRuns("velmora-setup"); }, kTimeoutMs));
    const std::string saver = RegistryText(kDesktopKey, kSaverValue).value_or("");
    EXPECT_EQ(saver, ShortPath(folder + "velmora-saver.scr"));
    EXPECT_EQ(saver.find(' '), std::string::npos) << saver;
    {
        ChildProcess run(ChildProcess::CommandLine{saver + " /s"});
        const HWND window = run.WaitForWindow(DecodeText(texts::kWindowClass), kTimeoutMs);
        ASSERT_NE(window, nullptr) << saver;
        PostMessageA(window, WM_KEYDOWN, 'X', 0);
        EXPECT_EQ(run.WaitForEnd(kTimeoutMs), 0u);
    }
    const std::string longForm = folder + "velmora-saver.scr";
    RegSetKeyValueA(HKEY_CURRENT_USER, kDesktopKey, kSaverValue, REG_SZ, longForm.c_str(),
                    static_cast<DWORD>(longForm.size() + 1));
    EXPECT_EQ(RunProgram(folder + "uninstall.exe", "/S", kTimeoutMs).exitCode, 0u);
    EXPECT_TRUE(WaitUntil([&] { return !Exists(folder) && !ProgramRuns("Au_"); }, kTimeoutMs));
    EXPECT_FALSE(RegistryText(kDesktopKey, kSaverValue).has_value());
    RemoveDirectoryA(profile.c_str());
}

}  // namespace
}  // namespace velmora::testing
