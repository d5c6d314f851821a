#include "linux/picture_sources.h"

#include <algorithm>

#include "scene/media_lists.h"

namespace velmora::host {

void ScanPictureTree(DirectoryLister& lister, const std::string& folder,
                     const std::vector<std::string>& extensions, std::vector<std::string>& list,
                     int maxDepth) {
    std::vector<DirectoryEntry> entries;
    if (maxDepth < 0 || !lister.List(folder, entries)) {
        return;
    }
    std::sort(entries.begin(), entries.end(),
              [](const DirectoryEntry& a, const DirectoryEntry& b) { return a.name < b.name; });
    const std::string base = folder.empty() || folder.back() == '/' ? folder : folder + "/";
    for (const DirectoryEntry& entry : entries) {
        if (entry.name.empty() || entry.name.front() == '.') {
            continue;
        }
        if (entry.isDirectory) {
            ScanPictureTree(lister, base + entry.name, extensions, list, maxDepth - 1);
        } else if (scene::MatchesExtension(entry.name, extensions)) {
            list.push_back(base + entry.name);
        }
    }
}

PictureSource ChoosePictureSource(const HostOptions& options, bool folderPicturesFound,
                                  bool helperFound, bool homePicturesFound) {
    // Folders the user named are never overruled, even when they hold nothing.
    if (!options.pictureFolders.empty()) {
        return folderPicturesFound ? PictureSource::Folders : PictureSource::Default;
    }
    if (helperFound) {
        return PictureSource::ImageHelper;
    }
    return homePicturesFound ? PictureSource::HomePictures : PictureSource::Default;
}

WindowChoice ChooseWindow(const HostOptions& options, const char* screenWindowVariable) {
    WindowChoice choice{options.target, 0};
    if (options.target == WindowTarget::WindowId) {
        choice.windowId = options.windowId;
    } else if (options.target == WindowTarget::Root && screenWindowVariable != nullptr) {
        unsigned long id = 0;
        if (ParseWindowId(screenWindowVariable, id)) {
            choice.windowId = id;
        }
    }
    return choice;
}

bool VisualSuitsScene(const VisualTraits& traits) {
    return traits.gl && traits.rgba && traits.doubleBuffer && traits.depthBits >= 16;
}

}  // namespace velmora::host
