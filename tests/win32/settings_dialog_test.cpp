// The settings dialog under Wine: the real dialog, driven by messages, with
// the settings read back from the test prefix's registry.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "frame/cube_saver_app.h"
#include "resources/settings_dialog_ids.h"
#include "settings/win32/color_chooser.h"
#include "settings/win32/cube_pages.h"
#include "tests/win32/process_runner.h"
#include "tests/win32/settings_dialog_driver.h"
#include "ui/win32/display_mode.h"
#include "web/launch_texts.h"

namespace velmora::testing {
namespace {

enum Page { kPictures = 0, kCube = 1, kMusic = 2, kDisplay = 3, kAbout = 4 };
using Dwords = std::vector<std::optional<std::uint32_t>>;

class SettingsDialog : public ::testing::Test {
protected:
    void SetUp() override { ClearStoredSettings(); }
    void TearDown() override { ClearStoredSettings(); }

    CubeSaverApp app{settings::Win32CubePages()};
};

TEST_F(SettingsDialog, ShowsTheStoredSettingsAndOkWritesWhatChanged) {
    // Every setting of a control stored unlike its default, shown, then changed.
    enum class Action { Click, Choose, Type };
    struct Row {
        int control;
        const char* value;
        std::uint32_t seeded;
        Action action;
        int item;
        const char* text;
        std::uint32_t stored;
    };
    const Row rows[] = {
        {IDC_SHOW_FRAME_RATE, "000_001", 1, Action::Click, 0, "", 0},
        {IDC_DISPLAY_POWER_DOWN, "000_002", 0, Action::Click, 0, "", 1},
        {IDC_DISABLE_AUTO_UPDATE, "000_004", 1, Action::Click, 0, "", 0},
        {IDC_LESS_PROCESSOR, "000_012", 1, Action::Click, 0, "", 0},
        {IDC_SHOW_DATE_TIME, "000_013", 1, Action::Click, 0, "", 0},
        {IDC_SHUFFLE_PICTURES, "000_103", 0, Action::Click, 0, "", 1},
        {IDC_SHOW_PICTURE_NAMES, "000_108", 1, Action::Click, 0, "", 0},
        {IDC_STRETCH_PICTURES, "000_102", 1, Action::Click, 0, "", 0},
        {IDC_SHUFFLE_MUSIC, "000_109", 0, Action::Click, 0, "", 1},
        {IDC_CUBE_STYLE, "000_101", 3, Action::Choose, 2, "", 2},
        {IDC_BACKGROUND_KIND, "000_104", 0, Action::Choose, 1, "", 1},
        {IDC_CUBE_GLASS, "000_106", 1, Action::Choose, 2, "", 2},
        {IDC_ROTATION_SECONDS, "000_100", 7, Action::Type, 0, "12", 12},
        {IDC_PICTURE_SECONDS, "000_107", 9, Action::Type, 0, "0", 0},
    };
    for (const Row& row : rows) {
        StoreDword(row.value, row.seeded);
    }
    StoreDword("000_105", 0x00336699);
    StoreText("000_075", "1.1");  // the current release: no notice

    SettingsDialogDriver dialog(app);
    ASSERT_NE(dialog.Dialog(), nullptr);
    EXPECT_EQ(FindWindowA(nullptr, "New Version Available"), nullptr);
    EXPECT_FALSE(StoredText("000_076").has_value());
    EXPECT_EQ(dialog.Text(IDC_VERSION_LABEL), "Version 1.1");
    EXPECT_NE(SendMessageA(dialog.Dialog(), WM_GETICON, ICON_BIG, 0), 0);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.value);
        switch (row.action) {
            case Action::Click:
                EXPECT_EQ(dialog.Checked(row.control), row.seeded == 1);
                dialog.Click(row.control);
                break;
            case Action::Choose:
                EXPECT_EQ(dialog.Selected(row.control), static_cast<int>(row.seeded));
                dialog.Choose(row.control, row.item);
                break;
            case Action::Type:
                EXPECT_EQ(dialog.Text(row.control), std::to_string(row.seeded));
                dialog.Type(row.control, row.text);
                break;
        }
    }
    EXPECT_EQ(dialog.Close(IDOK), 1);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.value);
        EXPECT_EQ(StoredDword(row.value), row.stored);
    }
    EXPECT_EQ(StoredDword("000_105"), 0x00336699u);
    EXPECT_EQ(StoredDword("000_077"), 1u);
    EXPECT_EQ(StoredValueCount(), 25);  // 23 settings, the latest version, the opening count
}

TEST_F(SettingsDialog, AFlagStoredAsAnyNonZeroValueShowsCheckedAndIsSavedAsOne) {
    struct Row {
        int control;
        const char* value;
        std::uint32_t stored;
    };
    const Row rows[] = {{IDC_SHUFFLE_PICTURES, "000_103", 2u},
                        {IDC_STRETCH_PICTURES, "000_102", 0xFFFFFFFFu},
                        {IDC_SHOW_FRAME_RATE, "000_001", 0xFFFFFFFFu}};
    for (const Row& row : rows) {
        StoreDword(row.value, row.stored);
    }
    SettingsDialogDriver dialog(app);
    ASSERT_NE(dialog.Dialog(), nullptr);
    for (const Row& row : rows) {
        EXPECT_TRUE(dialog.Checked(row.control)) << row.value;
    }
    EXPECT_EQ(dialog.Close(IDOK), 1);
    for (const Row& row : rows) {
        EXPECT_EQ(StoredDword(row.value), 1u) << row.value;
    }
}

TEST_F(SettingsDialog, CancelAndTheCloseButtonWriteNothing) {
    StoreDword("000_103", 0);
    for (bool closeButton : {false, true}) {
        SCOPED_TRACE(closeButton);
        SettingsDialogDriver dialog(app);
        ASSERT_NE(dialog.Dialog(), nullptr);
        dialog.Click(IDC_SHUFFLE_PICTURES);
        dialog.Type(IDC_ROTATION_SECONDS, "30");
        if (closeButton) {
            PostMessageA(dialog.Dialog(), WM_CLOSE, 0, 0);
        } else {
            dialog.Click(IDCANCEL);
        }
        EXPECT_EQ(dialog.Finish(), 2);
        EXPECT_EQ(StoredDword("000_103"), 0u);
        EXPECT_EQ(StoredValueCount(), 2);  // the stored one and the opening count
    }
    EXPECT_EQ(StoredDword("000_077"), 2u);
}

TEST_F(SettingsDialog, EachPagesDefaultsResetItsOwnGroupOnly) {
    StoreDwords({{"000_108", 1}, {"000_101", 3}, {"000_109", 0}});
    SettingsDialogDriver dialog(app);
    ASSERT_NE(dialog.Dialog(), nullptr);

    dialog.SelectTab(kPictures);
    dialog.Click(IDC_DEFAULTS);  // the pictures page's: it is the first holding the id
    EXPECT_FALSE(dialog.Checked(IDC_SHOW_PICTURE_NAMES));
    EXPECT_TRUE(dialog.Checked(IDC_SHUFFLE_MUSIC));
    EXPECT_EQ(dialog.Selected(IDC_CUBE_STYLE), 3);

    dialog.Click(IDC_SHOW_PICTURE_NAMES);
    dialog.SelectTab(kCube);
    SendMessageA(GetDlgItem(dialog.PageWith(IDC_BACKGROUND_COLOR), IDC_DEFAULTS), BM_CLICK, 0, 0);
    EXPECT_EQ(dialog.Selected(IDC_CUBE_STYLE), 0);
    EXPECT_TRUE(dialog.Checked(IDC_SHOW_PICTURE_NAMES));
    EXPECT_EQ(dialog.Close(IDOK), 1);
    EXPECT_EQ(StoredDwords({"000_108", "000_101", "000_109"}), (Dwords{1u, 0u, 1u}));
}

TEST_F(SettingsDialog, AChoiceOutsideItsListSelectsNothingAndSecondsKeepTheLastNumber) {
    StoreDword("000_101", 7);
    SettingsDialogDriver dialog(app);
    ASSERT_NE(dialog.Dialog(), nullptr);
    EXPECT_EQ(dialog.Selected(IDC_CUBE_STYLE), CB_ERR);
    dialog.Notify(IDC_CUBE_STYLE, CBN_SETFOCUS);
    dialog.Type(IDC_ROTATION_SECONDS, "15");
    EXPECT_EQ(app.cubeSettings.RotationSeconds, 15);
    dialog.Type(IDC_ROTATION_SECONDS, "");
    EXPECT_EQ(app.cubeSettings.RotationSeconds, 15);
    EXPECT_EQ(dialog.Close(IDOK), 1);
    EXPECT_EQ(StoredDwords({"000_101", "000_100"}), (Dwords{0xFFFFFFFFu, 15u}));
}

struct Mode {
    DWORD width, height, bits, frequency;
};
const Mode kModes[] = {{640, 480, 32, 60},   {800, 600, 16, 60},   {800, 600, 32, 60},
                       {800, 600, 32, 75},   {1024, 768, 32, 60},  {1024, 768, 32, 85},
                       {1280, 1024, 16, 75}, {1280, 1024, 32, 75}, {1280, 1024, 32, 60}};
const Mode kCurrentMode = {1024, 768, 32, 85};

BOOL WINAPI EnumerateTestModes(LPCSTR, DWORD index, DEVMODEA* mode) {
    const Mode* chosen = index == ENUM_CURRENT_SETTINGS ? &kCurrentMode
                         : index < std::size(kModes)    ? &kModes[index]
                                                        : nullptr;
    if (chosen == nullptr) {
        return FALSE;
    }
    mode->dmPelsWidth = chosen->width;
    mode->dmPelsHeight = chosen->height;
    mode->dmBitsPerPel = chosen->bits;
    mode->dmDisplayFrequency = chosen->frequency;
    return TRUE;
}

std::vector<std::string> Items(HWND combo) {
    std::vector<std::string> items;
    const int count = static_cast<int>(SendMessageA(combo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        char text[64] = {};
        SendMessageA(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        items.push_back(text);
    }
    return items;
}

TEST_F(SettingsDialog, DisplayModeListsFollowTheChosenResolution) {
    ui::DisplayModeApi api = ui::SystemDisplayModeApi();
    api.enumerateSettings = &EnumerateTestModes;
    // 75 Hz is not offered with 16 bits, but at 800 x 600.
    StoreDwords(
        {{"000_007", 1}, {"000_008", 800}, {"000_009", 600}, {"000_010", 16}, {"000_011", 75}});

    SettingsDialogDriver dialog(app, api);
    ASSERT_NE(dialog.Dialog(), nullptr);
    EXPECT_TRUE(IsWindowEnabled(dialog.Control(IDC_RESOLUTION)));
    EXPECT_EQ(Items(dialog.Control(IDC_RESOLUTION)),
              (std::vector<std::string>{"640 x 480", "800 x 600", "1024 x 768", "1280 x 1024"}));
    EXPECT_EQ(dialog.Text(IDC_RESOLUTION), "800 x 600");
    EXPECT_EQ(dialog.Text(IDC_COLOR_DEPTH), "16 bits");
    EXPECT_EQ(dialog.Text(IDC_REFRESH_RATE), "75 Hz");

    dialog.Choose(IDC_RESOLUTION, 3);
    EXPECT_EQ(Items(dialog.Control(IDC_COLOR_DEPTH)),
              (std::vector<std::string>{"16 bits", "32 bits"}));
    EXPECT_EQ(Items(dialog.Control(IDC_REFRESH_RATE)),
              (std::vector<std::string>{"75 Hz", "60 Hz"}));
    EXPECT_EQ(dialog.Text(IDC_COLOR_DEPTH), "16 bits");
    EXPECT_EQ(dialog.Text(IDC_REFRESH_RATE), "75 Hz");

    dialog.Choose(IDC_RESOLUTION, 2);  // 1024 x 768: no 16 bits, no 75 Hz
    EXPECT_EQ(dialog.Text(IDC_COLOR_DEPTH), "32 bits");
    EXPECT_EQ(dialog.Text(IDC_REFRESH_RATE), "85 Hz");
    dialog.Choose(IDC_RESOLUTION, 1);
    dialog.Choose(IDC_REFRESH_RATE, 0);

    dialog.Click(IDC_USE_OTHER_RESOLUTION);
    EXPECT_FALSE(IsWindowEnabled(dialog.Control(IDC_RESOLUTION)));
    EXPECT_FALSE(IsWindowEnabled(dialog.Control(IDC_REFRESH_RATE)));
    EXPECT_FALSE(IsWindowEnabled(dialog.Control(IDC_COLOR_DEPTH)));
    EXPECT_EQ(dialog.Text(IDC_RESOLUTION), "1024 x 768");
    EXPECT_EQ(dialog.Text(IDC_REFRESH_RATE), "85 Hz");
    EXPECT_EQ(dialog.Close(IDOK), 1);
    EXPECT_EQ(StoredDwords({"000_007", "000_008", "000_009", "000_010", "000_011"}),
              (Dwords{0u, 1024u, 768u, 32u, 85u}));
}

TEST_F(SettingsDialog, AStoredModeThisDisplayDoesNotOfferIsReplacedByTheShownOne) {
    ui::DisplayModeApi api = ui::SystemDisplayModeApi();
    api.enumerateSettings = &EnumerateTestModes;
    StoreDwords(
        {{"000_007", 1}, {"000_008", 5000}, {"000_009", 3000}, {"000_010", 32}, {"000_011", 75}});

    SettingsDialogDriver dialog(app, api);
    ASSERT_NE(dialog.Dialog(), nullptr);
    EXPECT_EQ(dialog.Text(IDC_RESOLUTION), "640 x 480");
    EXPECT_EQ(Items(dialog.Control(IDC_COLOR_DEPTH)), (std::vector<std::string>{"32 bits"}));
    EXPECT_EQ(Items(dialog.Control(IDC_REFRESH_RATE)), (std::vector<std::string>{"60 Hz"}));
    EXPECT_EQ(dialog.Close(IDOK), 1);
    EXPECT_EQ(StoredDwords({"000_008", "000_009", "000_010", "000_011"}),
              (Dwords{640u, 480u, 32u, 60u}));
}

TEST_F(SettingsDialog, TheNoticeOfANewerReleaseComesOnce) {
    StoreText("000_075", "2.0");
    {
        SettingsDialogDriver dialog(app);
        HWND notice = dialog.WaitForWindow("New Version Available");
        ASSERT_NE(notice, nullptr);
        // Over the dialog, not alone before it.
        HWND owner = GetWindow(notice, GW_OWNER);
        EXPECT_TRUE(IsWindowVisible(owner));
        EXPECT_EQ(StoredText("000_076"), std::string("2.0"));
        PostMessageA(notice, WM_COMMAND, IDNO, 0);
        ASSERT_NE(dialog.Dialog(), nullptr);
        EXPECT_EQ(owner, dialog.Dialog());
        EXPECT_EQ(dialog.Text(IDC_VERSION_LABEL), "A new version is out!");
        EXPECT_EQ(dialog.Close(IDCANCEL), 2);
    }
    {
        CubeSaverApp second{settings::Win32CubePages()};
        SettingsDialogDriver dialog(second);
        ASSERT_NE(dialog.Dialog(), nullptr);
        EXPECT_EQ(FindWindowA(nullptr, "New Version Available"), nullptr);
        EXPECT_EQ(dialog.Text(IDC_VERSION_LABEL), "A new version is out!");
    }
}

// The stand-in browser, registered for http in the test prefix for as long as
// the object lives; it writes its command line beside itself.
class StandInBrowser {
public:
    StandInBrowser() {
        char old[1024] = {};
        DWORD size = sizeof old - 1;
        had_ = RegGetValueA(HKEY_CLASSES_ROOT, kKey, nullptr, RRF_RT_REG_SZ, nullptr, old, &size) ==
               ERROR_SUCCESS;
        old_ = old;
        DeleteFileA(record_.c_str());
        Register("\"" + PathBesideTestProgram("standin\\url_handler_standin.exe") + "\" \"%1\"");
    }
    ~StandInBrowser() {
        if (had_) {
            Register(old_);
        } else {
            RegDeleteKeyA(HKEY_CLASSES_ROOT, kKey);
        }
        DeleteFileA(record_.c_str());
    }
    StandInBrowser(const StandInBrowser&) = delete;
    StandInBrowser& operator=(const StandInBrowser&) = delete;

    // The first command line it was started with, waited for up to 5 s.
    std::string Opened() const {
        std::string line;
        const auto whole = [&] {
            std::ifstream in(record_, std::ios::binary);
            std::getline(in, line);
            return in.good();  // ended by a line break
        };
        return Eventually(whole, 500) ? line : std::string();
    }

private:
    static void Register(const std::string& command) {
        RegSetKeyValueA(HKEY_CLASSES_ROOT, kKey, nullptr, REG_SZ, command.c_str(),
                        static_cast<DWORD>(command.size() + 1));
    }

    static constexpr const char* kKey = "http\\shell\\open\\command";
    bool had_ = false;
    std::string old_;
    std::string record_ = PathBesideTestProgram("standin\\launch_record.txt");
};

TEST_F(SettingsDialog, YesToTheNoticeOpensTheDownloadPageAndSavesNothing) {
    StandInBrowser browser;
    StoreText("000_075", "2.0");
    SettingsDialogDriver dialog(app);
    HWND notice = dialog.WaitForWindow("New Version Available");
    ASSERT_NE(notice, nullptr);
    PostMessageA(notice, WM_COMMAND, IDYES, 0);
    EXPECT_EQ(dialog.Finish(), 0);
    EXPECT_NE(browser.Opened().find(web::DownloadPageAddress()), std::string::npos);
    EXPECT_EQ(StoredValueCount(), 3);  // the latest and notified versions, the opening count
}

TEST_F(SettingsDialog, HelpShowsAControlsTipAtOnceUntilAKey) {
    SettingsDialogDriver dialog(app);
    ASSERT_NE(dialog.Dialog(), nullptr);
    dialog.SelectTab(kDisplay);
    HWND page = dialog.PageWith(IDC_LESS_PROCESSOR);
    HWND control = dialog.Control(IDC_LESS_PROCESSOR);
    HWND tip = reinterpret_cast<HWND>(GetWindowLongPtrA(control, GWLP_USERDATA));
    ASSERT_NE(tip, nullptr);
    EXPECT_FALSE(IsWindowVisible(tip));

    RECT rect{};
    GetWindowRect(control, &rect);
    SetCursorPos((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    HELPINFO help{sizeof help, HELPINFO_WINDOW, IDC_LESS_PROCESSOR, control, 0, {}};
    SendMessageA(page, WM_HELP, 0, reinterpret_cast<LPARAM>(&help));
    EXPECT_TRUE(Eventually([&] { return IsWindowVisible(tip) != FALSE; }, 100));
    EXPECT_EQ(SendMessageA(tip, TTM_GETDELAYTIME, TTDT_INITIAL, 0), 0);

    SendMessageA(page, WM_KEYDOWN, VK_SHIFT, 0);
    EXPECT_GT(SendMessageA(tip, TTM_GETDELAYTIME, TTDT_INITIAL, 0), 0);
}

COLORREF ChooseTeal(HWND, COLORREF) {
    return RGB(0, 128, 128);
}

TEST_F(SettingsDialog, AClickOnTheSwatchChoosesTheBackgroundColor) {
    CubeSaverApp teal{settings::Win32CubePages(&ChooseTeal)};
    SettingsDialogDriver dialog(teal);
    ASSERT_NE(dialog.Dialog(), nullptr);
    dialog.SelectTab(kCube);
    HWND page = dialog.PageWith(IDC_BACKGROUND_COLOR);
    RECT rect{};
    GetWindowRect(dialog.Control(IDC_BACKGROUND_COLOR), &rect);
    MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&rect), 2);
    const LPARAM centre = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    SendMessageA(page, WM_LBUTTONDOWN, MK_LBUTTON, centre);
    SendMessageA(page, WM_LBUTTONUP, 0, centre);
    EXPECT_EQ(teal.cubeSettings.BackgroundColor, RGB(0, 128, 128));

    // The swatch shows it.
    HDC screen = GetDC(nullptr);
    RECT onScreen{};
    GetWindowRect(dialog.Control(IDC_BACKGROUND_COLOR), &onScreen);
    const COLORREF shown = GetPixel(screen, (onScreen.left + onScreen.right) / 2,
                                    (onScreen.top + onScreen.bottom) / 2);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(shown, RGB(0, 128, 128));
    EXPECT_EQ(dialog.Close(IDOK), 1);
    EXPECT_EQ(StoredDword("000_105"), static_cast<std::uint32_t>(RGB(0, 128, 128)));
}

DWORD WINAPI ChooseOnThread(void* colour) {
    auto* value = static_cast<COLORREF*>(colour);
    *value = settings::ChooseColorWithSystemDialog(nullptr, *value);
    return 0;
}

TEST(ProgramIcon, EverySizeLoadsAtItsOwnSize) {
    for (int size : {16, 32, 48, 256}) {
        SCOPED_TRACE(size);
        HICON icon = static_cast<HICON>(LoadImageA(
            GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_PROGRAM), IMAGE_ICON, size, size, 0));
        ASSERT_NE(icon, nullptr);
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        BITMAP colour{};
        GetObjectA(info.hbmColor, sizeof colour, &colour);
        EXPECT_EQ(colour.bmWidth, size);
        EXPECT_EQ(colour.bmBitsPixel, 32);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        DestroyIcon(icon);
    }
}

// Controls of the system's colour dialog.
constexpr int kRedField = 706;
constexpr int kAddCustomColor = 712;
constexpr int kDefineCustomColors = 719;

TEST(ColorChooser, TheSystemDialogOpensFullyAndCancelKeepsTheColour) {
    COLORREF colour = RGB(10, 20, 30);
    DWORD threadId = 0;
    HANDLE thread = CreateThread(nullptr, 0, &ChooseOnThread, &colour, 0, &threadId);
    HWND chooser = nullptr;
    ASSERT_TRUE(Eventually([&] { return (chooser = FindWindowA("#32770", "Color")) != nullptr; }));
    // Fully opened: the custom colour part shows and its opening button is off;
    // the fields start from the given colour.
    EXPECT_TRUE(
        Eventually([&] { return IsWindowVisible(GetDlgItem(chooser, kAddCustomColor)); }, 100));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(chooser, kDefineCustomColors)));
    char red[16] = {};
    GetDlgItemTextA(chooser, kRedField, red, sizeof red);
    EXPECT_STREQ(red, "10");
    PostMessageA(chooser, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(WaitForSingleObject(thread, 10000), WAIT_OBJECT_0);
    CloseHandle(thread);
    EXPECT_EQ(colour, RGB(10, 20, 30));
}

TEST_F(SettingsDialog, PagesFollowAMoveToAMonitorOfAnotherDpi) {
    SettingsDialogDriver dialog(app);
    const HWND page = dialog.PageWith(IDC_SHUFFLE_PICTURES);
    const auto origin = [&] {
        POINT point{};
        MapWindowPoints(page, dialog.Dialog(), &point, 1);
        return point;
    };
    EXPECT_EQ(origin().x, 10);  // the test prefix is at 96 DPI
    EXPECT_EQ(origin().y, 30);
    RECT suggested{};
    GetWindowRect(dialog.Dialog(), &suggested);
    SendMessageA(dialog.Dialog(), WM_DPICHANGED, MAKEWPARAM(192, 192),
                 reinterpret_cast<LPARAM>(&suggested));
    EXPECT_TRUE(Eventually([&] { return origin().x == 20 && origin().y == 60; }));
    dialog.Close(IDCANCEL);
}

}  // namespace
}  // namespace velmora::testing
