// The picture and music lists of a run: the stored entries expanded into file
// paths (folders scanned, the user's picture folders when nothing is stored),
// and the choice of the picture that the loader decodes next.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/directory_listing.h"
#include "base/random.h"
#include "lists/list_entry.h"
#include "scene/special_folders.h"

namespace velmora::scene {

// Every path a list holds fits a path buffer with its terminator; longer ones
// could not be opened by the system's file functions anyway. In UTF-16 units.
inline constexpr std::size_t kMaximumPathLength = lists::kLongestListEntry;

// Entries of a comma-separated list, blanks removed, empty entries dropped.
std::vector<std::string> SplitExtensionList(std::string_view list);

// Every format the picture library reads; what the multimedia window plays.
std::vector<std::string> PictureExtensions();
std::vector<std::string> AudioExtensions();

// The text after the last "." of the name, lower-cased, is one of the entries
// (which are in small letters). A name without "." never matches.
bool MatchesExtension(std::string_view name, const std::vector<std::string>& extensions);

// A "\" is added to a path of 2 to 258 characters (UTF-16 units) that does
// not end in one.
std::string FolderWithSeparator(std::string path);

// Appends the matching files of a folder (ending in "\") as folder + name, in
// ascending byte order of their names. With subfolders, each subfolder not
// beginning with "." is scanned first, as it is met, so its files come
// before the folder's own. Paths that would not fit a path buffer are left out.
void ScanFolder(DirectoryLister& lister, const std::string& folder,
                const std::vector<std::string>& extensions, bool subfolders,
                std::vector<std::string>& list);

// Appends the stored entries: a folder entry ("\" at the end) adds its
// matching files without subfolders, a matching file entry is added as it
// stands (without checking that it exists), anything else is skipped.
void AddStoredEntries(const std::vector<std::string>& stored,
                      const std::vector<std::string>& extensions, DirectoryLister& lister,
                      std::vector<std::string>& list);

// Replaces pictures with the stored picture entries; when that gives nothing,
// the user's pictures, documents and all users' documents folders are tried
// in turn, first each alone and then each with all its subfolders, until one
// gives pictures.
void BuildPictureList(const std::vector<std::string>& stored, DirectoryLister& lister,
                      FolderLocator& locator, std::vector<std::string>& pictures);

// Replaces music with the stored music entries; no folder fallback.
void BuildMusicList(const std::vector<std::string>& stored, DirectoryLister& lister,
                    std::vector<std::string>& music);

// The path of the picture to load next; false when there is none (an empty
// list). A background request takes the first entry and changes nothing.
// Shuffled, each picture comes once per cycle: remainingOrder is refilled with
// 0..count-1 when empty and the drawn position leaves it. In list order,
// nextIndex advances and wraps after the last entry.
bool ChooseNextPicture(const std::vector<std::string>& list, std::int32_t& nextIndex,
                       std::vector<std::int32_t>& remainingOrder, bool randomize,
                       bool backgroundRequest, RandomGenerator& random, std::string& path);

}  // namespace velmora::scene
