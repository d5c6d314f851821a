// The display-mode switch: its tries, field masks and error texts against
// stand-in system calls, and real switches through Wine's own functions.
#include "ui/win32/display_mode.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

namespace velmora {
namespace {

using ui::DisplayModeApi;
using ui::SystemDisplayModeApi;

constexpr DWORD kAllFields =
    DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT | DM_DISPLAYFLAGS | DM_DISPLAYFREQUENCY;
constexpr DWORD kSizeAndDepth = DM_PELSWIDTH | DM_PELSHEIGHT | DM_BITSPERPEL;
constexpr char kCaption[] = "Resolution Switching Error";

DEVMODEA MakeMode(DWORD width, DWORD height, DWORD bitsPerPixel, DWORD frequency) {
    DEVMODEA mode{};
    mode.dmSize = sizeof(DEVMODEA);
    std::strcpy(reinterpret_cast<char*>(mode.dmDeviceName), "Stand-in display");
    mode.dmFields = kAllFields;
    mode.dmPelsWidth = width;
    mode.dmPelsHeight = height;
    mode.dmBitsPerPel = bitsPerPixel;
    mode.dmDisplayFrequency = frequency;
    // Marks the record as the enumeration's own.
    mode.dmDisplayFlags = 0x5a0000 + frequency;
    mode.dmLogPixels = 96;
    return mode;
}

bool SameRecord(const DEVMODEA& a, const DEVMODEA& b) {
    return std::memcmp(&a, &b, sizeof(DEVMODEA)) == 0;
}

// The same record apart from the field mask.
bool SameRecordBesidesFields(DEVMODEA a, DEVMODEA b) {
    a.dmFields = 0;
    b.dmFields = 0;
    return SameRecord(a, b);
}

struct ChangeCall {
    bool restore = false;
    DEVMODEA mode{};
    DWORD flags = 0;
};

struct BoxCall {
    HWND owner = nullptr;
    std::string text;
    std::string caption;
    UINT type = 0;
};

// The display the stand-in calls pretend to drive.
struct FakeDisplay {
    std::vector<DEVMODEA> modes;
    // Results of the successive mode changes; success once they run out.
    std::vector<LONG> changeResults;
    LONG restoreResult = DISP_CHANGE_SUCCESSFUL;

    std::vector<DWORD> enumeratedIndices;
    std::vector<ChangeCall> changes;
    std::vector<BoxCall> boxes;
    std::vector<std::string> events;
    int modeChanges = 0;
};

FakeDisplay* g_display = nullptr;

BOOL WINAPI FakeEnumerate(LPCSTR device, DWORD index, DEVMODEA* mode) {
    EXPECT_EQ(device, nullptr);
    EXPECT_EQ(mode->dmSize, sizeof(DEVMODEA));
    g_display->enumeratedIndices.push_back(index);
    g_display->events.push_back("enumerate " + std::to_string(index));
    if (index >= g_display->modes.size()) {
        return FALSE;
    }
    *mode = g_display->modes[index];
    return TRUE;
}

LONG WINAPI FakeChange(DEVMODEA* mode, DWORD flags) {
    ChangeCall call;
    call.restore = mode == nullptr;
    if (mode != nullptr) {
        call.mode = *mode;
    }
    call.flags = flags;
    g_display->changes.push_back(call);
    if (mode == nullptr) {
        g_display->events.push_back("restore");
        return g_display->restoreResult;
    }
    g_display->events.push_back("change");
    const size_t n = static_cast<size_t>(g_display->modeChanges++);
    return n < g_display->changeResults.size() ? g_display->changeResults[n]
                                               : DISP_CHANGE_SUCCESSFUL;
}

int WINAPI FakeMessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    g_display->boxes.push_back(BoxCall{owner, text, caption, type});
    g_display->events.push_back("box");
    return IDOK;
}

class DisplayModeTest : public ::testing::Test {
protected:
    DisplayModeTest() {
        g_display = &display_;
        display_.modes = {MakeMode(640, 480, 16, 60),  MakeMode(800, 600, 32, 60),
                          MakeMode(1024, 768, 16, 60), MakeMode(1024, 768, 32, 60),
                          MakeMode(1024, 768, 32, 75), MakeMode(1280, 1024, 32, 85)};
    }
    ~DisplayModeTest() override { g_display = nullptr; }

    const DEVMODEA& Mode(size_t index) const { return display_.modes[index]; }

    // The switch over the fake display.
    static bool SwitchDisplayMode(int width, int height, int bitsPerPixel, int refreshRate) {
        return ui::SwitchDisplayMode(width, height, bitsPerPixel, refreshRate, kFakeApi);
    }

    static constexpr DisplayModeApi kFakeApi{&FakeEnumerate, &FakeChange, &FakeMessageBox};
    FakeDisplay display_;
};

TEST_F(DisplayModeTest, OfferedModeSwitchesOnTheFirstTry) {
    EXPECT_TRUE(SwitchDisplayMode(1024, 768, 32, 75));

    ASSERT_EQ(display_.changes.size(), 1u);
    EXPECT_FALSE(display_.changes[0].restore);
    EXPECT_TRUE(SameRecord(display_.changes[0].mode, Mode(4)));
    EXPECT_EQ(display_.changes[0].flags, static_cast<DWORD>(CDS_FULLSCREEN));
    EXPECT_EQ(display_.enumeratedIndices, (std::vector<DWORD>{0, 1, 2, 3, 4}));
    EXPECT_TRUE(display_.boxes.empty());
}

TEST_F(DisplayModeTest, RefusedFrequencySucceedsWithoutIt) {
    display_.changeResults = {DISP_CHANGE_BADMODE};

    EXPECT_TRUE(SwitchDisplayMode(1280, 1024, 32, 85));

    ASSERT_EQ(display_.changes.size(), 2u);
    EXPECT_TRUE(SameRecord(display_.changes[0].mode, Mode(5)));
    const ChangeCall& second = display_.changes[1];
    EXPECT_FALSE(second.restore);
    EXPECT_EQ(second.mode.dmFields, kSizeAndDepth);
    EXPECT_TRUE(SameRecordBesidesFields(second.mode, Mode(5)));
    EXPECT_EQ(second.flags, static_cast<DWORD>(CDS_FULLSCREEN));
    EXPECT_TRUE(display_.boxes.empty());
}

TEST_F(DisplayModeTest, ThirdTryChangesDepthThenSize) {
    display_.changeResults = {DISP_CHANGE_FAILED, DISP_CHANGE_FAILED};

    EXPECT_TRUE(SwitchDisplayMode(800, 600, 32, 60));

    ASSERT_EQ(display_.changes.size(), 4u);
    EXPECT_EQ(display_.changes[1].mode.dmFields, kSizeAndDepth);
    EXPECT_EQ(display_.changes[2].mode.dmFields, static_cast<DWORD>(DM_BITSPERPEL));
    EXPECT_EQ(display_.changes[3].mode.dmFields, static_cast<DWORD>(DM_PELSWIDTH | DM_PELSHEIGHT));
    for (size_t i = 1; i < 4; ++i) {
        EXPECT_FALSE(display_.changes[i].restore);
        EXPECT_TRUE(SameRecordBesidesFields(display_.changes[i].mode, Mode(1))) << i;
        EXPECT_EQ(display_.changes[i].flags, static_cast<DWORD>(CDS_FULLSCREEN)) << i;
    }
    EXPECT_TRUE(display_.boxes.empty());
}

TEST_F(DisplayModeTest, RefusedDepthStepIsReportedWithoutRestoring) {
    display_.changeResults = {DISP_CHANGE_FAILED, DISP_CHANGE_FAILED, DISP_CHANGE_RESTART};

    EXPECT_FALSE(SwitchDisplayMode(1024, 768, 16, 60));

    ASSERT_EQ(display_.changes.size(), 3u);
    for (const ChangeCall& call : display_.changes) {
        EXPECT_FALSE(call.restore);
    }
    ASSERT_EQ(display_.boxes.size(), 1u);
    EXPECT_EQ(display_.boxes[0].text,
              "You must change your video mode to 1024x768x16 60Hz and then restart\n");
}

TEST_F(DisplayModeTest, RefusedSizeStepRestoresBeforeReporting) {
    display_.changeResults = {DISP_CHANGE_FAILED, DISP_CHANGE_FAILED, DISP_CHANGE_SUCCESSFUL,
                              DISP_CHANGE_BADMODE};

    EXPECT_FALSE(SwitchDisplayMode(1024, 768, 32, 60));

    ASSERT_EQ(display_.changes.size(), 5u);
    EXPECT_TRUE(display_.changes[4].restore);
    EXPECT_EQ(display_.changes[4].flags, 0u);
    const std::vector<std::string> tail(display_.events.end() - 4, display_.events.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"change", "change", "restore", "box"}));
    ASSERT_EQ(display_.boxes.size(), 1u);
    EXPECT_EQ(display_.boxes[0].text, "The video mode 1024x768x32 60Hz is not supported\n");
}

TEST_F(DisplayModeTest, EachFailureShowsItsMessageInTheErrorBox) {
    struct Case {
        LONG result;
        const char* text;
    };
    const Case cases[] = {
        {DISP_CHANGE_RESTART,
         "You must change your video mode to 1280x1024x32 85Hz and then restart\n"},
        {DISP_CHANGE_BADMODE, "The video mode 1280x1024x32 85Hz is not supported\n"},
        {DISP_CHANGE_FAILED, "Hardware failed to change to 1280x1024x32 85Hz\n"},
        {DISP_CHANGE_NOTUPDATED, "Failed to change to 1280x1024x32 85Hz - unknown reason\n"},
        {DISP_CHANGE_BADFLAGS, "Failed to change to 1280x1024x32 85Hz - unknown reason\n"},
        {DISP_CHANGE_BADPARAM, "Failed to change to 1280x1024x32 85Hz - unknown reason\n"},
        {DISP_CHANGE_BADDUALVIEW, "Failed to change to 1280x1024x32 85Hz - unknown reason\n"},
        {7, "Failed to change to 1280x1024x32 85Hz - unknown reason\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.result);
        display_.changeResults = {c.result, c.result, c.result};
        display_.modeChanges = 0;
        display_.boxes.clear();

        EXPECT_FALSE(SwitchDisplayMode(1280, 1024, 32, 85));

        ASSERT_EQ(display_.boxes.size(), 1u);
        EXPECT_EQ(display_.boxes[0].owner, nullptr);
        EXPECT_EQ(display_.boxes[0].text, c.text);
        EXPECT_EQ(display_.boxes[0].caption, kCaption);
        EXPECT_EQ(display_.boxes[0].type, static_cast<UINT>(MB_ICONERROR));
    }
}

TEST_F(DisplayModeTest, MessageTakesItsValuesFromTheModeRecord) {
    // A record that answers to the request but carries more than it asked.
    DEVMODEA odd = MakeMode(1152, 864, 24, 70);
    display_.modes = {odd};
    display_.changeResults = {DISP_CHANGE_FAILED, DISP_CHANGE_FAILED, DISP_CHANGE_FAILED};

    EXPECT_FALSE(SwitchDisplayMode(1152, 864, 24, 70));

    ASSERT_EQ(display_.boxes.size(), 1u);
    EXPECT_EQ(display_.boxes[0].text, "Hardware failed to change to 1152x864x24 70Hz\n");
}

TEST_F(DisplayModeTest, ZerosOnlyRestore) {
    const int requests[][4] = {
        {0, 0, 0, 0}, {0, 768, 32, 60}, {1024, 0, 32, 60}, {1024, 768, 0, 60}};
    for (const auto& r : requests) {
        display_.changes.clear();
        EXPECT_TRUE(SwitchDisplayMode(r[0], r[1], r[2], r[3]));
        ASSERT_EQ(display_.changes.size(), 1u);
        EXPECT_TRUE(display_.changes[0].restore);
        EXPECT_EQ(display_.changes[0].flags, 0u);
    }
    EXPECT_TRUE(display_.enumeratedIndices.empty());
    EXPECT_TRUE(display_.boxes.empty());
}

TEST_F(DisplayModeTest, RefreshRateZeroAloneIsARequest) {
    display_.modes.push_back(MakeMode(1024, 768, 32, 0));

    EXPECT_TRUE(SwitchDisplayMode(1024, 768, 32, 0));

    ASSERT_EQ(display_.changes.size(), 1u);
    EXPECT_FALSE(display_.changes[0].restore);
    EXPECT_TRUE(SameRecord(display_.changes[0].mode, display_.modes.back()));
}

TEST_F(DisplayModeTest, ModeNotOfferedIsReportedAndNeverSwitched) {
    EXPECT_FALSE(SwitchDisplayMode(1600, 1200, 32, 60));

    EXPECT_TRUE(display_.changes.empty());
    EXPECT_EQ(display_.enumeratedIndices, (std::vector<DWORD>{0, 1, 2, 3, 4, 5, 6}));
    ASSERT_EQ(display_.boxes.size(), 1u);
    EXPECT_EQ(display_.boxes[0].owner, nullptr);
    EXPECT_EQ(display_.boxes[0].text, "The video mode 1600x1200x32 60Hz is not supported\n");
    EXPECT_EQ(display_.boxes[0].caption, kCaption);
    EXPECT_EQ(display_.boxes[0].type, static_cast<UINT>(MB_ICONERROR));
}

TEST_F(DisplayModeTest, SizeOfferedOnlyAtOtherFrequenciesIsNotOffered) {
    EXPECT_FALSE(SwitchDisplayMode(1024, 768, 32, 85));

    EXPECT_TRUE(display_.changes.empty());
    ASSERT_EQ(display_.boxes.size(), 1u);
    EXPECT_EQ(display_.boxes[0].text, "The video mode 1024x768x32 85Hz is not supported\n");
}

TEST_F(DisplayModeTest, NoModesAtAllIsNotOffered) {
    display_.modes.clear();

    EXPECT_FALSE(SwitchDisplayMode(800, 600, 32, 60));

    EXPECT_TRUE(display_.changes.empty());
    ASSERT_EQ(display_.boxes.size(), 1u);
    EXPECT_EQ(display_.boxes[0].text, "The video mode 800x600x32 60Hz is not supported\n");
}

TEST_F(DisplayModeTest, RestoreAfterAFailedSwitchIsHarmless) {
    // Not offered: nothing changed.
    EXPECT_FALSE(SwitchDisplayMode(1600, 1200, 32, 60));
    // Size step refused: restored already.
    display_.changeResults = {DISP_CHANGE_FAILED, DISP_CHANGE_FAILED, DISP_CHANGE_SUCCESSFUL,
                              DISP_CHANGE_FAILED};
    EXPECT_FALSE(SwitchDisplayMode(1024, 768, 32, 60));
    ASSERT_EQ(display_.boxes.size(), 2u);
    display_.changes.clear();
    display_.events.clear();

    EXPECT_TRUE(SwitchDisplayMode(0, 0, 0, 0));
    EXPECT_TRUE(SwitchDisplayMode(0, 0, 0, 0));

    EXPECT_EQ(display_.events, (std::vector<std::string>{"restore", "restore"}));
    EXPECT_EQ(display_.boxes.size(), 2u);
}

TEST_F(DisplayModeTest, RestoreReportsNothingEvenWhenRefused) {
    display_.restoreResult = DISP_CHANGE_FAILED;

    EXPECT_TRUE(SwitchDisplayMode(0, 0, 0, 0));

    EXPECT_TRUE(display_.boxes.empty());
}

TEST(DisplayModeApiTest, TheSystemTableHoldsTheSystemCalls) {
    const DisplayModeApi system = SystemDisplayModeApi();
    EXPECT_EQ(system.enumerateSettings, &EnumDisplaySettingsA);
    EXPECT_EQ(system.changeSettings, &ChangeDisplaySettingsA);
    EXPECT_EQ(system.showMessageBox, &MessageBoxA);
}

// Wine's own functions; only the box is kept off the screen.
std::vector<std::string> g_systemBoxes;

int WINAPI RecordingMessageBox(HWND, LPCSTR text, LPCSTR, UINT) {
    g_systemBoxes.push_back(text);
    return IDOK;
}

TEST(DisplayModeSystemTest, CurrentModeRequestedAgainSwitches) {
    DEVMODEA current{};
    current.dmSize = sizeof(DEVMODEA);
    ASSERT_TRUE(EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &current));
    DisplayModeApi api = SystemDisplayModeApi();
    api.showMessageBox = &RecordingMessageBox;
    g_systemBoxes.clear();

    const bool switched = ui::SwitchDisplayMode(
        static_cast<int>(current.dmPelsWidth), static_cast<int>(current.dmPelsHeight),
        static_cast<int>(current.dmBitsPerPel), static_cast<int>(current.dmDisplayFrequency), api);

    EXPECT_TRUE(switched) << (g_systemBoxes.empty() ? "" : g_systemBoxes[0]);
    EXPECT_TRUE(g_systemBoxes.empty());
    EXPECT_TRUE(ui::SwitchDisplayMode(0, 0, 0, 0, api));
    DEVMODEA after{};
    after.dmSize = sizeof(DEVMODEA);
    ASSERT_TRUE(EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &after));
    EXPECT_EQ(after.dmPelsWidth, current.dmPelsWidth);
    EXPECT_EQ(after.dmPelsHeight, current.dmPelsHeight);
    EXPECT_EQ(after.dmBitsPerPel, current.dmBitsPerPel);
}

// Wine under Xvfb offers the screen's size at 32, 16 and 8 bits and takes
// the other depths by emulating them; the restore brings the screen's back.
TEST(DisplayModeSystemTest, OtherOfferedModeSwitchesAndRestoreReturns) {
    DEVMODEA current{};
    current.dmSize = sizeof(DEVMODEA);
    ASSERT_TRUE(EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &current));
    DEVMODEA other{};
    bool found = false;
    for (DWORD i = 0; !found; ++i) {
        other = DEVMODEA{};
        other.dmSize = sizeof(DEVMODEA);
        if (!EnumDisplaySettingsA(nullptr, i, &other)) {
            break;
        }
        found = other.dmPelsWidth != current.dmPelsWidth ||
                other.dmPelsHeight != current.dmPelsHeight ||
                other.dmBitsPerPel != current.dmBitsPerPel;
    }
    if (!found) {
        GTEST_SKIP() << "the display offers no other mode";
    }
    DisplayModeApi api = SystemDisplayModeApi();
    api.showMessageBox = &RecordingMessageBox;
    g_systemBoxes.clear();

    const bool switched = ui::SwitchDisplayMode(
        static_cast<int>(other.dmPelsWidth), static_cast<int>(other.dmPelsHeight),
        static_cast<int>(other.dmBitsPerPel), static_cast<int>(other.dmDisplayFrequency), api);

    EXPECT_TRUE(switched) << (g_systemBoxes.empty() ? "" : g_systemBoxes[0]);
    DEVMODEA during{};
    during.dmSize = sizeof(DEVMODEA);
    ASSERT_TRUE(EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &during));
    EXPECT_EQ(during.dmPelsWidth, other.dmPelsWidth);
    EXPECT_EQ(during.dmPelsHeight, other.dmPelsHeight);
    EXPECT_EQ(during.dmBitsPerPel, other.dmBitsPerPel);

    EXPECT_TRUE(ui::SwitchDisplayMode(0, 0, 0, 0, api));
    DEVMODEA after{};
    after.dmSize = sizeof(DEVMODEA);
    ASSERT_TRUE(EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &after));
    EXPECT_EQ(after.dmPelsWidth, current.dmPelsWidth);
    EXPECT_EQ(after.dmPelsHeight, current.dmPelsHeight);
    EXPECT_EQ(after.dmBitsPerPel, current.dmBitsPerPel);
}

}  // namespace
}  // namespace velmora
