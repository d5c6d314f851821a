// The hack's command line, its picture sources and window choice, and its
// options file: every argument the file can pass is one the program takes.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <regex>
#include <sstream>

#include "linux/frame_pacing.h"
#include "linux/host_options.h"
#include "linux/picture_sources.h"

namespace velmora::host {
namespace {

class FolderTable final : public DirectoryLister {
public:
    std::map<std::string, std::vector<DirectoryEntry>> folders;
    bool List(const std::string& folder, std::vector<DirectoryEntry>& entries) override {
        const auto found = folders.find(folder);
        entries = found != folders.end() ? found->second : std::vector<DirectoryEntry>{};
        return found != folders.end();
    }
};

HRESULT Parse(std::vector<std::string> arguments, HostOptions& options) {
    std::string error;
    return ParseHostOptions(arguments, options, error);
}

TEST(HostOptions, DefaultsAreTheWindowsOnes) {
    HostOptions options;
    ASSERT_EQ(Parse({}, options), S_OK);
    const settings::CubeSettings windows;
    EXPECT_EQ(options.cube.PictureSeconds, windows.PictureSeconds);
    EXPECT_EQ(options.cube.RotationSeconds, windows.RotationSeconds);
    EXPECT_EQ(options.cube.ShufflePictures, windows.ShufflePictures);
    EXPECT_EQ(options.cube.BackgroundKind, windows.BackgroundKind);
    EXPECT_EQ(options.cube.CubeGlass, windows.CubeGlass);
    EXPECT_EQ(options.delayMicroseconds, 30000);
    EXPECT_EQ(options.target, WindowTarget::Own);
}

TEST(HostOptions, ValuesMapOntoTheSettings) {
    HostOptions options;
    ASSERT_EQ(Parse({"--pictures",
                     "/a",
                     "-pictures",
                     "/b",
                     "--no-shuffle",
                     "--picture-seconds",
                     "9",
                     "--rotation-seconds=0",
                     "--style",
                     "bouncing",
                     "--background",
                     "first-picture",
                     "--background-color",
                     "#102030",
                     "--glass",
                     "none",
                     "--names",
                     "--fps",
                     "--clock",
                     "--stretch",
                     "--delay",
                     "0",
                     "-window-id",
                     "0x2a"},
                    options),
              S_OK);
    EXPECT_EQ(options.pictureFolders, (std::vector<std::string>{"/a", "/b"}));
    EXPECT_EQ(options.cube.ShufflePictures, 0);
    EXPECT_EQ(options.cube.PictureSeconds, 9);
    EXPECT_EQ(options.cube.RotationSeconds, 0);
    EXPECT_EQ(options.cube.CubeStyle, settings::cube_style::Bouncing);
    EXPECT_EQ(options.cube.BackgroundKind, settings::background_kind::FirstPicture);
    EXPECT_EQ(options.cube.BackgroundColor, 0x302010u);
    EXPECT_EQ(options.cube.CubeGlass, settings::cube_glass::Disabled);
    EXPECT_EQ(options.cube.ShowPictureNames, 1);
    EXPECT_EQ(options.cube.StretchPictures, 1);
    EXPECT_TRUE(options.frameRate && options.dateTime);
    EXPECT_EQ(options.delayMicroseconds, 0);
    EXPECT_EQ(options.target, WindowTarget::WindowId);
    EXPECT_EQ(options.windowId, 42u);
}

TEST(HostOptions, RefusesWhatItDoesNotKnow) {
    const std::vector<std::vector<std::string>> refused = {
        {"--bogus"},
        {"--style", "huge"},
        {"--delay", "-1"},
        {"--delay"},
        {"--picture-seconds", "x"},
        {"--background-color", "#12345"},
        {"--window-id", "0"},
        {"plain"},
        {"--glass", "sky blue"},
    };
    for (const auto& arguments : refused) {
        HostOptions options;
        std::string error;
        EXPECT_EQ(ParseHostOptions(arguments, options, error), E_INVALIDARG) << arguments[0];
        EXPECT_FALSE(error.empty());
    }
}

TEST(HostOptions, RootTakesTheScreenSaverWindow) {
    HostOptions options;
    options.target = WindowTarget::Root;
    EXPECT_EQ(ChooseWindow(options, "0x400007").windowId, 0x400007u);
    EXPECT_EQ(ChooseWindow(options, "junk").windowId, 0u);
    EXPECT_EQ(ChooseWindow(options, nullptr).windowId, 0u);
    options.target = WindowTarget::Own;
    EXPECT_EQ(ChooseWindow(options, "0x400007").windowId, 0u);
}

TEST(PictureSources, FirstThatAppliesWins) {
    HostOptions named;
    named.pictureFolders = {"/p"};
    const HostOptions none;
    EXPECT_EQ(ChoosePictureSource(named, true, true, true), PictureSource::Folders);
    EXPECT_EQ(ChoosePictureSource(named, false, true, true), PictureSource::Default);
    EXPECT_EQ(ChoosePictureSource(none, false, true, true), PictureSource::ImageHelper);
    EXPECT_EQ(ChoosePictureSource(none, false, false, true), PictureSource::HomePictures);
    EXPECT_EQ(ChoosePictureSource(none, false, false, false), PictureSource::Default);
}

TEST(PictureSources, TreeScanTakesSubfoldersInNameOrder) {
    FolderTable lister;
    lister.folders["/p"] = {
        {"b.png", false}, {"sub", true}, {".hidden", true}, {"a.JPG", false}, {"notes.txt", false}};
    lister.folders["/p/sub"] = {{"c.bmp", false}};
    lister.folders["/p/.hidden"] = {{"d.png", false}};
    std::vector<std::string> list;
    ScanPictureTree(lister, "/p", {"png", "jpg", "bmp"}, list);
    EXPECT_EQ(list, (std::vector<std::string>{"/p/a.JPG", "/p/b.png", "/p/sub/c.bmp"}));
}

TEST(GlxVisual, SceneNeedsDoubleBufferAndDepth) {
    EXPECT_TRUE(VisualSuitsScene({true, true, true, 24}));
    EXPECT_FALSE(VisualSuitsScene({true, true, false, 24}));
    EXPECT_FALSE(VisualSuitsScene({true, true, true, 0}));
    EXPECT_FALSE(VisualSuitsScene({false, true, true, 24}));
}

// Every arg, arg-set and arg-unset of the options file, with "%" taken as
// the number's low, default and high values, is accepted.
TEST(OptionsFile, EveryArgumentIsAccepted) {
    std::ifstream file(VELMORA_OPTIONS_FILE);
    ASSERT_TRUE(file.good());
    std::stringstream text;
    text << file.rdbuf();
    const std::string xml = text.str();
    const std::regex element(R"(<(number|string|boolean|option|command)\b([^>]*)>)");
    const std::regex attribute(R"re(([-\w]+)="([^"]*)")re");
    int checked = 0;
    for (std::sregex_iterator e(xml.begin(), xml.end(), element), end; e != end; ++e) {
        std::map<std::string, std::string> attributes;
        const std::string body = (*e)[2];
        for (std::sregex_iterator a(body.begin(), body.end(), attribute); a != end; ++a) {
            attributes[(*a)[1]] = (*a)[2];
        }
        for (const char* key : {"arg", "arg-set", "arg-unset"}) {
            if (attributes.count(key) == 0) {
                continue;
            }
            const std::string pattern = attributes[key];
            std::vector<std::string> arguments;
            for (const char* value : {"low", "default", "high"}) {
                const auto percent = pattern.find('%');
                if (percent == std::string::npos) {
                    arguments = {pattern};
                    break;
                }
                if (attributes.count(value) != 0) {
                    arguments.push_back(
                        std::string(pattern).replace(percent, 1, attributes[value]));
                }
            }
            ASSERT_FALSE(arguments.empty()) << pattern;
            for (const std::string& argument : arguments) {
                std::vector<std::string> words;
                std::istringstream split(argument);
                for (std::string word; split >> word;) {
                    words.push_back(word);
                }
                ASSERT_TRUE(!words.empty() && words[0].rfind("--", 0) == 0) << argument;
                HostOptions options;
                std::string error;
                EXPECT_EQ(ParseHostOptions(words, options, error), S_OK) << argument << error;
                ++checked;
            }
        }
    }
    EXPECT_GE(checked, 15);
}

// The scene's answer in --delay ticks: moving frames a tick or two apart, a
// rest's end never sooner than a tick, nothing timed while waiting for the
// loader.
TEST(FramePacing, TheSceneAnswerBecomesTheNextMoment) {
    using scene::FrameWait;
    struct Case {
        scene::FrameDue due;
        std::optional<double> moment;
    };
    const Case cases[] = {
        {{FrameWait::Tick, 1, 0}, 1030.0},       {{FrameWait::Tick, 2, 0}, 1060.0},
        {{FrameWait::Tick, 0, 0}, 1030.0},       {{FrameWait::Moment, 1, 3.5}, 4500.0},
        {{FrameWait::Moment, 1, 0.001}, 1030.0}, {{FrameWait::Event, 1, 9}, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(NextFrameMoment(c.due, 1000.0, 30.0), c.moment)
            << static_cast<int>(c.due.wait) << " " << c.due.ticks << " " << c.due.seconds;
    }
}

}  // namespace
}  // namespace velmora::host
