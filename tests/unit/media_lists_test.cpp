// The run's picture and music lists over folders kept in memory, the choice of
// the next picture, and the lists the application object builds from the
// stored lists.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "base/run_mode.h"
#include "frame/cube_saver_app.h"
#include "lists/list_storage.h"
#include "lists/list_texts.h"
#include "scene/media_lists.h"
#include "settings/settings_storage.h"
#include "tests/support/memory_registry_store.h"

namespace velmora::scene {
namespace {

using Names = std::vector<std::string>;

// A scratch folder of this process and test, as other builds may run the same
// tests at the same time.
std::filesystem::path ScratchFolder() {
    return std::filesystem::temp_directory_path() /
           ("velmora_" +
            std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "_" +
            std::to_string(getpid()));
}

// Folders by their path (ending in "\"); every listing is recorded.
class MemoryLister : public DirectoryLister {
public:
    void Add(const std::string& folder, std::vector<DirectoryEntry> entries) {
        folders_[folder] = std::move(entries);
    }
    bool List(const std::string& folder, std::vector<DirectoryEntry>& entries) override {
        listed.push_back(folder);
        entries.clear();
        const auto found = folders_.find(folder);
        if (found == folders_.end()) {
            return false;
        }
        entries = found->second;
        return true;
    }
    Names listed;

private:
    std::map<std::string, std::vector<DirectoryEntry>> folders_;
};

class MemoryLocator : public FolderLocator {
public:
    bool Locate(SpecialFolder folder, std::string& path) override {
        asked.push_back(folder);
        const auto found = folders.find(folder);
        if (found == folders.end()) {
            return false;
        }
        path = found->second;
        return true;
    }
    std::map<SpecialFolder, std::string> folders;
    std::vector<SpecialFolder> asked;
};

DirectoryEntry File(const std::string& name) {
    return {name, false};
}
DirectoryEntry Folder(const std::string& name) {
    return {name, true};
}

TEST(MediaExtensions, ListsSplitAtCommasWithBlanksDropped) {
    EXPECT_EQ(SplitExtensionList(" bmp, jp g ,,png,"), (Names{"bmp", "jpg", "png"}));
    EXPECT_TRUE(SplitExtensionList("").empty());
    EXPECT_EQ(PictureExtensions(),
              (Names{"bmp", "jpg", "jpeg", "png", "tga", "pcx", "psd", "webp", "heic", "heif",
                     "avif", "jxr", "wdp", "tif", "tiff", "gif"}));
    const Names audio = AudioExtensions();
    for (const char* offered : {"mp3", "wma", "wav"}) {
        EXPECT_NE(std::find(audio.begin(), audio.end(), offered), audio.end()) << offered;
    }
}

TEST(MediaExtensions, TheTextAfterTheLastDotMatchesInAnyCase) {
    const Names pictures = PictureExtensions();
    EXPECT_TRUE(MatchesExtension("beach.jpg", pictures));
    EXPECT_TRUE(MatchesExtension("BEACH.JPG", pictures));
    EXPECT_TRUE(MatchesExtension("scan.PsD", pictures));
    EXPECT_TRUE(MatchesExtension("C:\\My.Pictures\\beach.photo.jpeg", pictures));
    EXPECT_FALSE(MatchesExtension("jpg", pictures));
    EXPECT_FALSE(MatchesExtension("C:\\Photos.jpg\\beach", pictures));
    EXPECT_FALSE(MatchesExtension("beach.jpg.txt", pictures));
    EXPECT_FALSE(MatchesExtension("beach.", pictures));
    EXPECT_FALSE(MatchesExtension("song.mp3", pictures));
    EXPECT_TRUE(MatchesExtension("song.MP3", AudioExtensions()));
}

TEST(MediaExtensions, ASeparatorIsAddedToFoldersOfTwoTo258Characters) {
    EXPECT_EQ(FolderWithSeparator(""), "");
    EXPECT_EQ(FolderWithSeparator("C"), "C");
    EXPECT_EQ(FolderWithSeparator("C:"), "C:\\");
    EXPECT_EQ(FolderWithSeparator("C:\\Photos\\"), "C:\\Photos\\");
    const std::string longest = "C:\\" + std::string(255, 'p');
    EXPECT_EQ(FolderWithSeparator(longest), longest + "\\");
    EXPECT_EQ(FolderWithSeparator(longest + "p"), longest + "p");
    // Characters as the system counts them, not UTF-8 bytes.
    std::string japanese = "C:\\";
    for (int i = 0; i < 255; ++i) {
        japanese += "\xE5\x86\x99";
    }
    EXPECT_EQ(FolderWithSeparator(japanese), japanese + "\\");
}

class MediaLists : public ::testing::Test {
protected:
    Names Pictures(const Names& stored) {
        Names pictures{"left over"};
        BuildPictureList(stored, lister, locator, pictures);
        return pictures;
    }

    MemoryLister lister;
    MemoryLocator locator;
};

TEST_F(MediaLists, AStoredFolderAddsItsPicturesSortedByNameAndNothingBelowIt) {
    lister.Add("C:\\Photos\\", {Folder("."), Folder(".."), File("b.jpg"), Folder("Trip"),
                                File("notes.txt"), File("a.bmp"), File("A.png"), File("c")});
    lister.Add("C:\\Photos\\Trip\\", {File("t.jpg")});
    EXPECT_EQ(Pictures({"C:\\Photos\\"}),
              (Names{"C:\\Photos\\A.png", "C:\\Photos\\a.bmp", "C:\\Photos\\b.jpg"}));
    EXPECT_EQ(lister.listed, (Names{"C:\\Photos\\"}));
    EXPECT_TRUE(locator.asked.empty());
}

TEST_F(MediaLists, StoredFilesAreAddedAsTheyStandInListOrder) {
    lister.Add("D:\\Art\\", {File("z.tga"), File("m.pcx")});
    const Names stored = {"C:\\gone\\beach.JPG", "C:\\song.mp3", "D:\\Art\\", "C:\\README",
                          "C:\\cat.jpeg"};
    EXPECT_EQ(Pictures(stored),
              (Names{"C:\\gone\\beach.JPG", "D:\\Art\\m.pcx", "D:\\Art\\z.tga", "C:\\cat.jpeg"}));
    EXPECT_TRUE(locator.asked.empty());
}

TEST_F(MediaLists, PathsThatDoNotFitAPathBufferAreLeftOut) {
    const std::string folder = "C:\\" + std::string(200, 'f') + "\\";
    const std::string fits = std::string(kMaximumPathLength - folder.size() - 4, 'n') + ".jpg";
    lister.Add(folder, {File(fits), File("n" + fits), Folder(std::string(55, 'd')),
                        Folder(std::string(54, 'd'))});
    lister.Add(folder + std::string(54, 'd') + "\\", {File("x.jpg")});
    Names list;
    ScanFolder(lister, folder, PictureExtensions(), true, list);
    EXPECT_EQ(list, (Names{folder + fits}));
    EXPECT_EQ(list.front().size(), kMaximumPathLength);
    EXPECT_EQ(lister.listed, (Names{folder, folder + std::string(54, 'd') + "\\"}));
}

TEST_F(MediaLists, SubfoldersComeFirstAsTheyAreMetAndDotFoldersAreSkipped) {
    lister.Add("C:\\P\\",
               {File("z.jpg"), Folder("Sub"), File("a.jpg"), Folder(".thumbs"), Folder("Alpha")});
    lister.Add("C:\\P\\Sub\\", {File("s.png"), Folder("Deeper")});
    lister.Add("C:\\P\\Sub\\Deeper\\", {File("d.bmp")});
    lister.Add("C:\\P\\Alpha\\", {File("x.jpg")});
    lister.Add("C:\\P\\.thumbs\\", {File("t.jpg")});
    Names list;
    ScanFolder(lister, "C:\\P\\", PictureExtensions(), true, list);
    EXPECT_EQ(list, (Names{"C:\\P\\Sub\\Deeper\\d.bmp", "C:\\P\\Sub\\s.png", "C:\\P\\Alpha\\x.jpg",
                           "C:\\P\\a.jpg", "C:\\P\\z.jpg"}));
    EXPECT_EQ(std::count(lister.listed.begin(), lister.listed.end(), "C:\\P\\.thumbs\\"), 0);
}

TEST_F(MediaLists, TheRecursivePassFindsPicturesInASubfolderOfThePicturesFolder) {
    locator.folders = {{SpecialFolder::MyPictures, "C:\\Me\\Pictures"},
                       {SpecialFolder::Personal, "C:\\Me\\Documents\\"},
                       {SpecialFolder::CommonDocuments, "C:\\All\\Documents"}};
    lister.Add("C:\\Me\\Pictures\\", {Folder("."), Folder(".."), Folder("Trip"), File("x.txt")});
    lister.Add("C:\\Me\\Pictures\\Trip\\", {File("b.jpg"), File("a.JPG")});
    lister.Add("C:\\Me\\Documents\\", {File("letter.doc"), Folder("Scans")});
    lister.Add("C:\\Me\\Documents\\Scans\\", {File("scan.png")});
    lister.Add("C:\\All\\Documents\\", {});
    EXPECT_EQ(Pictures({"C:\\song.mp3"}),
              (Names{"C:\\Me\\Pictures\\Trip\\a.JPG", "C:\\Me\\Pictures\\Trip\\b.jpg"}));
    EXPECT_EQ(lister.listed,
              (Names{"C:\\Me\\Pictures\\", "C:\\Me\\Documents\\", "C:\\All\\Documents\\",
                     "C:\\Me\\Pictures\\", "C:\\Me\\Pictures\\Trip\\"}));
}

TEST_F(MediaLists, TheFallbackStopsAtTheFirstFolderThatGivesPictures) {
    locator.folders = {{SpecialFolder::MyPictures, "C:\\Me\\Pictures"},
                       {SpecialFolder::Personal, "C:\\Me\\Documents"},
                       {SpecialFolder::CommonDocuments, "C:\\All\\Documents"}};
    lister.Add("C:\\Me\\Documents\\", {File("b.bmp"), File("a.png"), Folder("Sub")});
    lister.Add("C:\\All\\Documents\\", {File("c.jpg")});
    EXPECT_EQ(Pictures({}), (Names{"C:\\Me\\Documents\\a.png", "C:\\Me\\Documents\\b.bmp"}));
    EXPECT_EQ(lister.listed, (Names{"C:\\Me\\Pictures\\", "C:\\Me\\Documents\\"}));
    EXPECT_EQ(locator.asked, (std::vector{SpecialFolder::MyPictures, SpecialFolder::Personal}));
}

TEST_F(MediaLists, FoldersThatCannotBeScannedAreNotTried) {
    // A one-letter path gets no separator, so it would be scanned as "C*".
    locator.folders = {{SpecialFolder::MyPictures, "C"}, {SpecialFolder::Personal, ""}};
    EXPECT_TRUE(Pictures({}).empty());
    EXPECT_TRUE(lister.listed.empty());
    EXPECT_EQ(locator.asked.size(), 6u);
}

TEST_F(MediaLists, TheMusicListTakesAudioFilesAndHasNoFallback) {
    locator.folders = {{SpecialFolder::MyPictures, "C:\\Me\\Pictures"}};
    lister.Add("C:\\Me\\Pictures\\", {File("a.mp3")});
    lister.Add("C:\\Music\\", {File("b.WAV"), File("a.mp3"), File("c.jpg"), Folder("Album")});
    lister.Add("C:\\Music\\Album\\", {File("d.wma")});
    Names music{"left over"};
    BuildMusicList({"C:\\Music\\", "C:\\x.wma", "C:\\y.jpg"}, lister, music);
    EXPECT_EQ(music, (Names{"C:\\Music\\a.mp3", "C:\\Music\\b.WAV", "C:\\x.wma"}));
    BuildMusicList({}, lister, music);
    EXPECT_TRUE(music.empty());
    EXPECT_EQ(lister.listed, (Names{"C:\\Music\\"}));
}

class NextPicture : public ::testing::Test {
protected:
    std::optional<std::string> Next(bool randomize, bool background = false) {
        std::string path;
        if (!ChooseNextPicture(list, nextIndex, remaining, randomize, background, random, path)) {
            return std::nullopt;
        }
        return path;
    }

    Names list = {"a", "b", "c", "d", "e"};
    std::int32_t nextIndex = 0;
    std::vector<std::int32_t> remaining;
    RandomGenerator random{12345};
};

TEST_F(NextPicture, ShuffledEachCycleShowsEveryPictureOnceInTheDrawnOrder) {
    RandomGenerator reference{12345};
    for (int cycle = 0; cycle < 6; ++cycle) {
        Names expectedOrder;
        std::vector<std::int32_t> left = {0, 1, 2, 3, 4};
        while (!left.empty()) {
            const auto k = static_cast<std::size_t>(reference.Next()) % left.size();
            expectedOrder.push_back(list[static_cast<std::size_t>(left[k])]);
            left.erase(left.begin() + static_cast<std::ptrdiff_t>(k));
        }
        Names shown;
        for (int i = 0; i < 5; ++i) {
            shown.push_back(Next(true).value());
            EXPECT_EQ(remaining.size(), static_cast<std::size_t>(4 - i));
        }
        EXPECT_EQ(shown, expectedOrder) << "cycle " << cycle;
        std::sort(shown.begin(), shown.end());
        EXPECT_EQ(shown, list) << "cycle " << cycle;
    }
    EXPECT_EQ(nextIndex, 0);
}

TEST_F(NextPicture, InListOrderThePicturesFollowTheListAndWrap) {
    Names shown;
    for (int i = 0; i < 12; ++i) {
        shown.push_back(Next(false).value());
    }
    EXPECT_EQ(shown, (Names{"a", "b", "c", "d", "e", "a", "b", "c", "d", "e", "a", "b"}));
    EXPECT_EQ(nextIndex, 2);
    EXPECT_TRUE(remaining.empty());
    nextIndex = 9;  // left over from a longer list
    EXPECT_EQ(Next(false), "a");
    EXPECT_EQ(nextIndex, 1);
}

TEST_F(NextPicture, TheBackgroundIsTheFirstPictureAndMovesNothing) {
    nextIndex = 3;
    remaining = {4, 1};
    EXPECT_EQ(Next(true, true), "a");
    EXPECT_EQ(Next(false, true), "a");
    EXPECT_EQ(nextIndex, 3);
    EXPECT_EQ(remaining, (std::vector<std::int32_t>{4, 1}));
}

TEST_F(NextPicture, AnEmptyListGivesNoPath) {
    list.clear();
    EXPECT_EQ(Next(true), std::nullopt);
    EXPECT_EQ(Next(false), std::nullopt);
    EXPECT_EQ(Next(false, true), std::nullopt);
    EXPECT_TRUE(remaining.empty());
    EXPECT_EQ(nextIndex, 0);
}

// The application object builds the run's lists when it reads its settings
// outside the settings dialog, with the system's folders.
class RunLists : public ::testing::Test {
protected:
    void SetUp() override {
        folder = ScratchFolder();
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder / "sub");
        for (const char* name : {"b.jpg", "a.PNG", "c.txt", "sub/d.jpg", "tune.mp3"}) {
            std::ofstream(folder / name) << "x";
        }
        savedMode = Process().runMode;
    }
    void TearDown() override {
        Process().runMode = savedMode;
        std::filesystem::remove_all(folder);
    }
    void Store(const std::string& listKey, const Names& entries) {
        struct NoReports : registry::RegistryErrorReporter {
            void Report(registry::RegistryError) override { ADD_FAILURE(); }
        } reporter;
        lists::SaveList(store, registry::RegistryRoot::CurrentUser, listKey, entries, reporter);
    }
    // The folder as a stored folder entry, in the Windows form.
    std::string Entry() const { return folder.string() + "\\"; }

    std::filesystem::path folder;
    testing::MemoryRegistryStore store;
    RunMode savedMode{};
};

TEST_F(RunLists, ReadingSettingsForARunBuildsBothListsFromTheStoredLists) {
    const std::string keyPath = settings::SettingsKeyPath();
    Store(lists::PictureListKeyPath(keyPath), {Entry(), "C:\\gone.jpeg", "C:\\notes.txt"});
    Store(lists::MusicListKeyPath(keyPath), {Entry(), "C:\\a.wma"});
    Process().runMode = RunMode::FullScreen;
    CubeSaverApp app;
    app.LoadSettings(store, nullptr);
    EXPECT_EQ(app.pictureList, (Names{Entry() + "a.PNG", Entry() + "b.jpg", "C:\\gone.jpeg"}));
    EXPECT_EQ(app.musicList, (Names{Entry() + "tune.mp3", "C:\\a.wma"}));
    EXPECT_EQ(store.OpenHandleCount(), 0u);

    Process().runMode = RunMode::Settings;
    CubeSaverApp dialog;
    dialog.LoadSettings(store, nullptr);
    EXPECT_TRUE(dialog.pictureList.empty());
    EXPECT_TRUE(dialog.musicList.empty());
}

TEST_F(RunLists, WithoutAStoreOnlyTheFoldersFallbackIsLeft) {
    CubeSaverApp app;
    app.pictureList = {"old"};
    app.musicList = {"old"};
    app.BuildRunLists(nullptr, settings::SettingsKeyPath());
    // Only Windows has the user's picture folders.
    EXPECT_TRUE(app.pictureList.empty());
    EXPECT_TRUE(app.musicList.empty());
}

TEST(SystemDirectoryLister, ListsAFolderGivenInEitherFormAndFailsOnAMissingOne) {
    const std::filesystem::path folder = ScratchFolder();
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder / "inner");
    std::ofstream(folder / "file.bmp") << "x";
    std::vector<DirectoryEntry> entries;
    for (const std::string& form :
         {folder.string() + "\\", folder.string() + "/", folder.string()}) {
        ASSERT_TRUE(SystemDirectoryLister().List(form, entries)) << form;
        std::map<std::string, bool> found;
        for (const DirectoryEntry& entry : entries) {
            found[entry.name] = entry.isDirectory;
        }
        EXPECT_EQ(found, (std::map<std::string, bool>{
                             {".", true}, {"..", true}, {"file.bmp", false}, {"inner", true}}));
    }
    std::filesystem::remove_all(folder);
    EXPECT_FALSE(SystemDirectoryLister().List(folder.string() + "\\", entries));
    EXPECT_TRUE(entries.empty());
}

}  // namespace
}  // namespace velmora::scene
