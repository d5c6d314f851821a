// The picture lists over the system's folders: a scratch tree of this process
// scanned through FindFirstFileW, and the user's folders from SHFolder.dll
// (only looked up: under Wine they may be the home folder of the machine).
#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "base/directory_listing.h"
#include "scene/media_lists.h"
#include "scene/special_folders.h"

namespace velmora::scene {
namespace {

using Names = std::vector<std::string>;

bool IsFolder(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Removes a folder with everything below it.
void RemoveTree(const std::string& folder) {
    WIN32_FIND_DATAA data{};
    const HANDLE find = FindFirstFileA((folder + "*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = data.cFileName;
            if (name == "." || name == "..") {
                continue;
            }
            if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
                RemoveTree(folder + name + "\\");
            } else {
                DeleteFileA((folder + name).c_str());
            }
        } while (FindNextFileA(find, &data));
        FindClose(find);
    }
    RemoveDirectoryA(folder.c_str());
}

class SystemFolders : public ::testing::Test {
protected:
    void SetUp() override {
        char temp[MAX_PATH] = {};
        ASSERT_NE(GetTempPathA(MAX_PATH, temp), 0u);
        root = FolderWithSeparator(temp) + "velmora-lists-" +
               std::to_string(GetCurrentProcessId()) + "\\";
        RemoveTree(root);
        for (const char* folder : {"", "Sub\\", "Sub\\Deeper\\", ".hidden\\"}) {
            ASSERT_TRUE(CreateDirectoryA((root + folder).c_str(), nullptr)) << folder;
        }
        for (const char* file : {"b.jpg", "A.PNG", "c.txt", "noext", "Sub\\s.bmp",
                                 "Sub\\Deeper\\d.jpeg", ".hidden\\h.jpg"}) {
            const HANDLE handle = CreateFileA((root + file).c_str(), GENERIC_WRITE, 0, nullptr,
                                              CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
            ASSERT_NE(handle, INVALID_HANDLE_VALUE) << file;
            CloseHandle(handle);
        }
    }
    void TearDown() override {
        RemoveTree(root);
        EXPECT_FALSE(IsFolder(root));
    }

    std::string root;
};

TEST_F(SystemFolders, TheListerGivesEveryEntryWithItsKindAndFailsOnAMissingFolder) {
    std::vector<DirectoryEntry> entries;
    ASSERT_TRUE(SystemDirectoryLister().List(root, entries));
    std::map<std::string, bool> found;
    for (const DirectoryEntry& entry : entries) {
        found[entry.name] = entry.isDirectory;
    }
    EXPECT_EQ(found, (std::map<std::string, bool>{{".", true},
                                                  {"..", true},
                                                  {".hidden", true},
                                                  {"A.PNG", false},
                                                  {"Sub", true},
                                                  {"b.jpg", false},
                                                  {"c.txt", false},
                                                  {"noext", false}}));
    EXPECT_FALSE(SystemDirectoryLister().List(root + "missing\\", entries));
    EXPECT_TRUE(entries.empty());
}

TEST_F(SystemFolders, ScansSortByNameAndTakeSubfoldersFirstOnlyWhenAsked) {
    Names flat;
    ScanFolder(SystemDirectoryLister(), root, PictureExtensions(), false, flat);
    EXPECT_EQ(flat, (Names{root + "A.PNG", root + "b.jpg"}));

    Names deep;
    ScanFolder(SystemDirectoryLister(), root, PictureExtensions(), true, deep);
    EXPECT_EQ(deep, (Names{root + "Sub\\Deeper\\d.jpeg", root + "Sub\\s.bmp", root + "A.PNG",
                           root + "b.jpg"}));

    Names stored;
    BuildPictureList({root, root + "missing.jpg", root + "c.txt"}, SystemDirectoryLister(),
                     SystemFolderLocator(), stored);
    EXPECT_EQ(stored, (Names{root + "A.PNG", root + "b.jpg", root + "missing.jpg"}));
}

TEST(ShellFolders, TheUsersFoldersExistWhenTheyAreFoundAndTheLibraryIsFreed) {
    const bool loadedBefore = GetModuleHandleA("shfolder.dll") != nullptr;
    for (const SpecialFolder folder :
         {SpecialFolder::MyPictures, SpecialFolder::Personal, SpecialFolder::CommonDocuments}) {
        std::string path = "left over";
        if (SystemFolderLocator().Locate(folder, path)) {
            EXPECT_TRUE(IsFolder(path)) << path;
        } else {
            EXPECT_TRUE(path.empty());
        }
    }
    EXPECT_EQ(GetModuleHandleA("shfolder.dll") != nullptr, loadedBefore);
}

}  // namespace
}  // namespace velmora::scene
