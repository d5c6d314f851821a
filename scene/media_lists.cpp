#include "scene/media_lists.h"

#include <algorithm>
#include <array>
#include <utility>

#include "base/encoded_text.h"
#include "base/utf8.h"

namespace velmora::scene {

namespace {

constexpr auto kPictureExtensions =
    EncodeText("bmp,jpg,jpeg,png,tga,pcx,psd,webp,heic,heif,avif,jxr,wdp,tif,tiff,gif");
constexpr auto kAudioExtensions = EncodeText("mp3,wma,wav,mid,midi,aif,aiff,au,snd");

constexpr std::array kFallbackFolders = {
    SpecialFolder::MyPictures,
    SpecialFolder::Personal,
    SpecialFolder::CommonDocuments,
};

char LowerCase(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// Only a path that ends in "\" can be scanned: the pattern is folder + "*".
bool LocateFolder(FolderLocator& locator, SpecialFolder folder, std::string& path) {
    if (!locator.Locate(folder, path)) {
        return false;
    }
    path = FolderWithSeparator(std::move(path));
    return lists::IsFolderEntry(path);
}

}  // namespace

std::vector<std::string> SplitExtensionList(std::string_view list) {
    std::vector<std::string> entries;
    std::string entry;
    for (std::size_t i = 0; i <= list.size(); ++i) {
        if (i == list.size() || list[i] == ',') {
            if (!entry.empty()) {
                entries.push_back(std::move(entry));
            }
            entry.clear();
        } else if (!IsBlank(list[i])) {
            entry += list[i];
        }
    }
    return entries;
}

std::vector<std::string> PictureExtensions() {
    return SplitExtensionList(DecodeText(kPictureExtensions));
}

std::vector<std::string> AudioExtensions() {
    return SplitExtensionList(DecodeText(kAudioExtensions));
}

bool MatchesExtension(std::string_view name, const std::vector<std::string>& extensions) {
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos) {
        return false;
    }
    std::string extension(name.substr(dot + 1));
    std::transform(extension.begin(), extension.end(), extension.begin(), LowerCase);
    return std::find(extensions.begin(), extensions.end(), extension) != extensions.end();
}

std::string FolderWithSeparator(std::string path) {
    const std::size_t length = Utf16Length(path);  // the system's characters
    if (length >= 2 && length <= 258 && path.back() != '\\') {
        path += '\\';
    }
    return path;
}

void ScanFolder(DirectoryLister& lister, const std::string& folder,
                const std::vector<std::string>& extensions, bool subfolders,
                std::vector<std::string>& list) {
    std::vector<DirectoryEntry> entries;
    if (!lister.List(folder, entries)) {
        return;
    }
    std::vector<std::string> names;
    const std::size_t folderLength = Utf16Length(folder);
    for (const DirectoryEntry& entry : entries) {
        if (entry.isDirectory) {
            // The length check also ends a walk around a looping link.
            if (subfolders && !entry.name.empty() && entry.name.front() != '.' &&
                folderLength + Utf16Length(entry.name) + 1 <= kMaximumPathLength) {
                ScanFolder(lister, folder + entry.name + "\\", extensions, true, list);
            }
        } else if (MatchesExtension(entry.name, extensions) &&
                   folderLength + Utf16Length(entry.name) <= kMaximumPathLength) {
            names.push_back(entry.name);
        }
    }
    // std::string compares its characters as unsigned bytes.
    std::stable_sort(names.begin(), names.end());
    for (const std::string& name : names) {
        list.push_back(folder + name);
    }
}

void AddStoredEntries(const std::vector<std::string>& stored,
                      const std::vector<std::string>& extensions, DirectoryLister& lister,
                      std::vector<std::string>& list) {
    for (const std::string& entry : stored) {
        if (lists::IsFolderEntry(entry)) {
            ScanFolder(lister, entry, extensions, false, list);
        } else if (MatchesExtension(entry, extensions)) {
            list.push_back(entry);
        }
    }
}

void BuildPictureList(const std::vector<std::string>& stored, DirectoryLister& lister,
                      FolderLocator& locator, std::vector<std::string>& pictures) {
    pictures.clear();
    const std::vector<std::string> extensions = PictureExtensions();
    AddStoredEntries(stored, extensions, lister, pictures);
    for (const bool subfolders : {false, true}) {
        for (const SpecialFolder folder : kFallbackFolders) {
            std::string path;
            if (pictures.empty() && LocateFolder(locator, folder, path)) {
                ScanFolder(lister, path, extensions, subfolders, pictures);
            }
        }
    }
}

void BuildMusicList(const std::vector<std::string>& stored, DirectoryLister& lister,
                    std::vector<std::string>& music) {
    music.clear();
    AddStoredEntries(stored, AudioExtensions(), lister, music);
}

bool ChooseNextPicture(const std::vector<std::string>& list, std::int32_t& nextIndex,
                       std::vector<std::int32_t>& remainingOrder, bool randomize,
                       bool backgroundRequest, RandomGenerator& random, std::string& path) {
    if (list.empty()) {
        return false;
    }
    const auto count = static_cast<std::int32_t>(list.size());
    if (backgroundRequest) {
        path = list.front();
        return true;
    }
    if (randomize) {
        if (remainingOrder.empty()) {
            for (std::int32_t i = 0; i < count; ++i) {
                remainingOrder.push_back(i);
            }
        }
        const auto k = static_cast<std::size_t>(random.Next()) % remainingOrder.size();
        const std::int32_t position = remainingOrder[k];
        remainingOrder.erase(remainingOrder.begin() + static_cast<std::ptrdiff_t>(k));
        if (position < 0 || position >= count) {
            return false;
        }
        path = list[static_cast<std::size_t>(position)];
        return true;
    }
    if (nextIndex < 0 || nextIndex >= count) {
        nextIndex = 0;
    }
    path = list[static_cast<std::size_t>(nextIndex)];
    nextIndex = nextIndex + 1 < count ? nextIndex + 1 : 0;
    return true;
}

}  // namespace velmora::scene
