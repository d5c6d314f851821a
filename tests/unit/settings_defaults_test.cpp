// The settings' defaults, registry indexes and choice lists.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "frame/cube_saver_app.h"
#include "settings/program_version.h"
#include "settings/setting_choices.h"

namespace velmora {
namespace {

using settings::CubeSettings;
using settings::SaverSettings;

TEST(SettingsDefaults, SaverGroupStartsWithItsDefaults) {
    const SaverSettings s;
    EXPECT_EQ(s.AuxFlag0, 1);
    EXPECT_EQ(s.AuxFlag3, 1);
    EXPECT_EQ(s.ShowFrameRate, 0);
    EXPECT_EQ(s.DisplayPowerDown, 1);
    EXPECT_EQ(s.LessProcessor, 0);
    EXPECT_EQ(s.DisableAutoUpdate, 0);
    EXPECT_EQ(s.ShowDateTime, 0);
    EXPECT_EQ(s.UseOtherResolution, 0);
    EXPECT_EQ(s.ScreenWidth, 0);
    EXPECT_EQ(s.ScreenHeight, 0);
    EXPECT_EQ(s.ColorDepth, 0);
    EXPECT_EQ(s.RefreshRate, 0);
    EXPECT_EQ(s.AuxFactor5, 1.0f);
    const char zeros[settings::kVersionTextSize] = {};
    EXPECT_EQ(std::memcmp(s.LatestVersion, zeros, sizeof zeros), 0);
    EXPECT_EQ(std::memcmp(s.NotifiedVersion, zeros, sizeof zeros), 0);
}

TEST(SettingsDefaults, CubeGroupIsALargeCubeWithSkyBlueGlassBeforeAStarField) {
    const CubeSettings c;
    EXPECT_EQ(c.RotationSeconds, 2);
    EXPECT_EQ(c.PictureSeconds, 4);
    EXPECT_EQ(settings::kCubeStyleChoices.at(c.CubeStyle), "Large cube");
    EXPECT_EQ(settings::kBackgroundKindChoices.at(c.BackgroundKind), "Star field");
    EXPECT_EQ(settings::kCubeGlassChoices.at(c.CubeGlass), "Sky blue");
    EXPECT_EQ(c.StretchPictures, 0);
    EXPECT_EQ(c.ShufflePictures, 1);
    EXPECT_EQ(c.BackgroundColor, 0u);
    EXPECT_EQ(c.ShowPictureNames, 0);
    EXPECT_EQ(c.ShuffleMusic, 1);
}

TEST(SettingsDefaults, RegistryIndexesAreFixed) {
    namespace si = settings::saver_index;
    namespace ci = settings::cube_index;
    EXPECT_EQ(si::AuxFlag0, 0);
    EXPECT_EQ(si::ShowFrameRate, 1);
    EXPECT_EQ(si::DisplayPowerDown, 2);
    EXPECT_EQ(si::AuxFlag3, 3);
    EXPECT_EQ(si::DisableAutoUpdate, 4);
    EXPECT_EQ(si::AuxFactor5, 5);
    EXPECT_EQ(si::UseOtherResolution, 7);
    EXPECT_EQ(si::ScreenWidth, 8);
    EXPECT_EQ(si::ScreenHeight, 9);
    EXPECT_EQ(si::ColorDepth, 10);
    EXPECT_EQ(si::RefreshRate, 11);
    EXPECT_EQ(si::LessProcessor, 12);
    EXPECT_EQ(si::ShowDateTime, 13);
    EXPECT_EQ(si::LatestVersion, 75);
    EXPECT_EQ(si::NotifiedVersion, 76);
    EXPECT_EQ(si::SettingsOpenCount, 77);
    EXPECT_EQ(si::UpdateCheckDone, 78);
    EXPECT_EQ(si::TotalRunSeconds, 81);
    const int cube[] = {ci::RotationSeconds, ci::CubeStyle,      ci::StretchPictures,
                        ci::ShufflePictures, ci::BackgroundKind, ci::BackgroundColor,
                        ci::CubeGlass,       ci::PictureSeconds, ci::ShowPictureNames,
                        ci::ShuffleMusic};
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(cube[i], 100 + i);
    }
}

TEST(SettingsDefaults, ChoiceListsInComboOrder) {
    EXPECT_EQ(settings::kCubeStyleChoices[0], "Large cube");
    EXPECT_EQ(settings::kCubeStyleChoices[1], "Small cube");
    EXPECT_EQ(settings::kCubeStyleChoices[2], "Zooming");
    EXPECT_EQ(settings::kCubeStyleChoices[3], "Bouncing");
    EXPECT_EQ(settings::kBackgroundKindChoices[0], "Solid color");
    EXPECT_EQ(settings::kBackgroundKindChoices[1], "First picture in list");
    EXPECT_EQ(settings::kBackgroundKindChoices[2], "Star field");
    EXPECT_EQ(settings::kCubeGlassChoices[0], "Sky blue");
    EXPECT_EQ(settings::kCubeGlassChoices[1], "Silver chrome");
    EXPECT_EQ(settings::kCubeGlassChoices[2], "Disabled");
}

TEST(SettingsDefaults, ProgramVersionIsTheFloatOnePointOne) {
    EXPECT_EQ(static_cast<double>(settings::ProgramVersion), 1.100000023841858);
}

// Every field of the cube group set away from its default.
CubeSettings ChangedCubeSettings() {
    CubeSettings c;
    c.RotationSeconds = 9;
    c.PictureSeconds = 77;
    c.CubeStyle = 3;
    c.StretchPictures = 1;
    c.ShufflePictures = 0;
    c.BackgroundKind = 0;
    c.BackgroundColor = 0x00123456;
    c.CubeGlass = 2;
    c.ShowPictureNames = 1;
    c.ShuffleMusic = 0;
    return c;
}

class SetDefaultsPages : public ::testing::Test {
protected:
    void Apply(int page) {
        app_.cubeSettings = ChangedCubeSettings();
        app_.saverSettings.ShowFrameRate = 1;
        app_.saverSettings.LessProcessor = 1;
        SaverApp& base = app_;  // through the virtual operation, as the dialog calls it
        base.SetDefaults(nullptr, page);
    }
    const CubeSettings& cube() const { return app_.cubeSettings; }
    void ExpectPicturesPageDefaults() const {
        EXPECT_EQ(cube().ShowPictureNames, 0);
        EXPECT_EQ(cube().StretchPictures, 0);
        EXPECT_EQ(cube().ShufflePictures, 1);
    }
    void ExpectPicturesPageKept() const {
        EXPECT_EQ(cube().ShowPictureNames, 1);
        EXPECT_EQ(cube().StretchPictures, 1);
        EXPECT_EQ(cube().ShufflePictures, 0);
    }
    void ExpectAppearanceDefaults() const {
        EXPECT_EQ(cube().RotationSeconds, 2);
        EXPECT_EQ(cube().PictureSeconds, 4);
        EXPECT_EQ(cube().CubeStyle, 0);
        EXPECT_EQ(cube().BackgroundKind, 2);
        EXPECT_EQ(cube().BackgroundColor, 0u);
        EXPECT_EQ(cube().CubeGlass, 0);
    }
    void ExpectAppearanceKept() const {
        EXPECT_EQ(cube().RotationSeconds, 9);
        EXPECT_EQ(cube().PictureSeconds, 77);
        EXPECT_EQ(cube().CubeStyle, 3);
        EXPECT_EQ(cube().BackgroundKind, 0);
        EXPECT_EQ(cube().BackgroundColor, 0x00123456u);
        EXPECT_EQ(cube().CubeGlass, 2);
    }
    void ExpectSaverGroupUntouched() const {
        EXPECT_EQ(app_.saverSettings.ShowFrameRate, 1);
        EXPECT_EQ(app_.saverSettings.LessProcessor, 1);
    }

    CubeSaverApp app_;
};

TEST_F(SetDefaultsPages, PageZeroResetsTheWholeCubeGroup) {
    Apply(0);
    ExpectPicturesPageDefaults();
    ExpectAppearanceDefaults();
    EXPECT_EQ(cube().ShuffleMusic, 1);
    ExpectSaverGroupUntouched();
}

TEST_F(SetDefaultsPages, PicturesPageKeepsTheAppearanceButResetsMusicShuffle) {
    Apply(1);
    ExpectPicturesPageDefaults();
    ExpectAppearanceKept();
    EXPECT_EQ(cube().ShuffleMusic, 1);
    ExpectSaverGroupUntouched();
}

TEST_F(SetDefaultsPages, AppearancePageKeepsThePicturesPage) {
    Apply(2);
    ExpectPicturesPageKept();
    ExpectAppearanceDefaults();
    EXPECT_EQ(cube().ShuffleMusic, 1);
    ExpectSaverGroupUntouched();
}

TEST_F(SetDefaultsPages, AnyOtherPageActsLikePageZero) {
    Apply(5);
    ExpectPicturesPageDefaults();
    ExpectAppearanceDefaults();
    EXPECT_EQ(cube().ShuffleMusic, 1);
}

TEST(SetDefaultsBase, TheGeneralFrameHasNoDefaultsOperation) {
    SaverApp app;
    app.saverSettings.DisplayPowerDown = 0;
    app.SetDefaults(nullptr, 0);
    EXPECT_EQ(app.saverSettings.DisplayPowerDown, 0);
}

}  // namespace
}  // namespace velmora
