// The settings dialog's decisions: the page table, the seconds fields, the
// new-version notice and the display-mode lists.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "settings/dialog_commands.h"
#include "settings/display_mode_lists.h"
#include "settings/page_table.h"
#include "settings/version_notice.h"

namespace velmora::settings {
namespace {

TEST(PageTable, FindsPagesByExactCaptionAndHoldsAtMost32) {
    PageTable table;
    int windows[33] = {};
    EXPECT_TRUE(table.Add(&windows[0], "Pictures"));
    EXPECT_TRUE(table.Add(&windows[1], std::string(300, 'x')));
    EXPECT_EQ(table.Find("Pictures"), &windows[0]);
    EXPECT_EQ(table.Find("pictures"), nullptr);
    EXPECT_EQ(table.IndexOf("Music"), -1);
    EXPECT_EQ(table.IndexOf(std::string(255, 'x')), 1);
    for (int i = 2; i < kMaxPages; ++i) {
        EXPECT_TRUE(table.Add(&windows[i], "Page"));
    }
    EXPECT_FALSE(table.Add(&windows[32], "One too many"));
    EXPECT_EQ(table.count, kMaxPages);
}

void Copy(char (&buffer)[kVersionTextSize], const char* text) {
    std::memset(buffer, 0, sizeof buffer);
    std::strncpy(buffer, text, sizeof buffer - 1);
}

TEST(VersionNotice, ShownOncePerNewerRelease) {
    struct Case {
        const char* latest;
        const char* notified;
        int disabled;
        bool newer;
        bool due;
    };
    const Case cases[] = {
        {"2.0", "", 0, true, true},       {"v2.0", "", 0, true, true},
        {"2.0", "2.0", 0, true, false},   {"2.0", "", 1, true, false},
        {"1.1", "", 0, false, false},     {"", "", 0, false, false},
        {"2.5", "2.0", 0, true, true},    {"v1.0", "", 0, false, false},
        {"release", "", 0, false, false}, {"10.2", "9.0", 0, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.latest) + " / " + c.notified);
        SaverSettings s;
        Copy(s.LatestVersion, c.latest);
        Copy(s.NotifiedVersion, c.notified);
        s.DisableAutoUpdate = c.disabled;
        EXPECT_EQ(NewerReleaseKnown(s), c.newer);
        EXPECT_EQ(NewVersionNoticeDue(s), c.due);
        if (c.due) {
            MarkLatestVersionNotified(s);
            EXPECT_FALSE(NewVersionNoticeDue(s));
        }
    }
}

TEST(VersionNotice, AnUnterminatedTextIsReadWithinItsBuffer) {
    SaverSettings s;
    std::memset(s.LatestVersion, '9', sizeof s.LatestVersion);
    EXPECT_GT(ScanVersion(s.LatestVersion), 1.0f);
}

TEST(DialogCommands, SecondsReadLikePercentD) {
    struct Case {
        const char* text;
        bool read;
        std::int32_t seconds;
    };
    const Case cases[] = {{"12", true, 12}, {"0", true, 0},           {"9999", true, 9999},
                          {" 7s", true, 7}, {"+3", true, 3},          {"", false, 5},
                          {"x1", false, 5}, {"99999999999", false, 5}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        std::int32_t seconds = 5;
        EXPECT_EQ(ScanSeconds(c.text, seconds), c.read);
        EXPECT_EQ(seconds, c.seconds);
    }
    std::int32_t seconds = 5;
    EXPECT_FALSE(ScanSeconds(std::string(31, ' ') + "4", seconds));
}

const std::vector<DisplayModeInfo> kModes = {
    {640, 480, 8, 60},    {800, 600, 16, 60},  {800, 600, 32, 60},  {800, 600, 32, 75},
    {1024, 768, 16, 60},  {1024, 768, 32, 60}, {1024, 768, 32, 85}, {1280, 1024, 32, 60},
    {1280, 1024, 32, 75}, {1600, 400, 32, 60},
};

TEST(DisplayModeLists, ResolutionsAreOfferedOnceWithTheStoredOneSelected) {
    SaverSettings s;
    s.ScreenWidth = 1024;
    s.ScreenHeight = 768;
    const ModeList list = ResolutionList(kModes, s);
    EXPECT_EQ(list.items, (std::vector<std::string>{"800 x 600", "1024 x 768", "1280 x 1024"}));
    EXPECT_EQ(list.selected, 1);
    EXPECT_EQ(ResolutionList({}, s).selected, -1);
}

TEST(DisplayModeLists, ASizeNotOfferedIsReplacedByTheFirstOfferedOne) {
    SaverSettings s;
    s.ScreenWidth = 5000;
    s.ScreenHeight = 3000;
    s.ColorDepth = 32;
    s.RefreshRate = 75;
    EXPECT_EQ(ResolutionList({}, s).selected, -1);
    EXPECT_EQ(s.ScreenWidth * 10000 + s.ScreenHeight, 5000 * 10000 + 3000);  // nothing shown
    EXPECT_EQ(ResolutionList(kModes, s).selected, 0);
    EXPECT_EQ(s.ScreenWidth * 10000 + s.ScreenHeight, 800 * 10000 + 600);
    // The details of the shown size keep the stored depth and rate it offers.
    const ModeDetailLists lists = ModeDetails(kModes, s);
    EXPECT_EQ(lists.colorDepths.items.at(lists.colorDepths.selected), "32 bits");
    EXPECT_EQ(lists.refreshRates.items.at(lists.refreshRates.selected), "75 Hz");
}

TEST(DisplayModeLists, DetailsKeepTheStoredValuesWhenTheSizeOffersThem) {
    SaverSettings s;
    s.ScreenWidth = 800;
    s.ScreenHeight = 600;
    s.ColorDepth = 16;
    s.RefreshRate = 60;
    ModeDetailLists lists = ModeDetails(kModes, s);
    EXPECT_EQ(lists.colorDepths.items, (std::vector<std::string>{"16 bits", "32 bits"}));
    EXPECT_EQ(lists.refreshRates.items, (std::vector<std::string>{"60 Hz", "75 Hz"}));
    EXPECT_EQ(lists.colorDepths.selected, 0);
    EXPECT_EQ(lists.refreshRates.selected, 0);

    s.ScreenWidth = 1280;
    s.ScreenHeight = 1024;
    lists = ModeDetails(kModes, s);
    EXPECT_EQ(lists.colorDepths.items, (std::vector<std::string>{"32 bits"}));
    EXPECT_EQ(lists.colorDepths.selected, 0);
    EXPECT_EQ(lists.refreshRates.selected, 0);  // 60 Hz is offered here too

    s.RefreshRate = 85;
    EXPECT_EQ(ModeDetails(kModes, s).refreshRates.selected, 1);  // not offered: the last
}

TEST(DisplayModeLists, ItemsScanBackAndTheCurrentModeIsAdoptedUnlessChosen) {
    std::int32_t width = 0, height = 0, depth = 0, rate = 0;
    EXPECT_TRUE(ScanResolution("1280 x 1024", width, height));
    EXPECT_EQ(width * 10000 + height, 1280 * 10000 + 1024);
    EXPECT_TRUE(ScanColorDepth("32 bits", depth));
    EXPECT_TRUE(ScanRefreshRate("75 Hz", rate));
    EXPECT_EQ(depth * 1000 + rate, 32075);
    EXPECT_FALSE(ScanRefreshRate("", rate));

    const DisplayModeInfo current{1920, 1080, 32, 60};
    SaverSettings s;
    s.UseOtherResolution = 1;
    s.ScreenWidth = 800;
    s.ScreenHeight = 600;
    AdoptCurrentMode(s, current);
    EXPECT_EQ(s.ScreenWidth, 800);
    s.ScreenHeight = 0;
    AdoptCurrentMode(s, current);
    EXPECT_EQ(s.ScreenWidth, 1920);
    s.UseOtherResolution = 0;
    s.ScreenWidth = 800;
    AdoptCurrentMode(s, std::nullopt);
    EXPECT_EQ(s.ScreenWidth, 800);
}

}  // namespace
}  // namespace velmora::settings
