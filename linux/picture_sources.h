// Where the hack's pictures come from: the --pictures folders, else
// XScreenSaver's image folder through its helper, else ~/Pictures, else the
// built-in default picture; and the window it draws into.
#pragma once

#include <string>
#include <vector>

#include "base/directory_listing.h"
#include "linux/host_options.h"

namespace velmora::host {

// Appends the pictures under folder and its subfolders (not those beginning
// with "."), as folder/name paths. Names are taken in byte order; a
// subfolder's pictures come where its name falls. Deeper than maxDepth
// folders are not entered, so a link loop ends.
void ScanPictureTree(DirectoryLister& lister, const std::string& folder,
                     const std::vector<std::string>& extensions, std::vector<std::string>& list,
                     int maxDepth = 16);

enum class PictureSource {
    Folders,       // the --pictures folders
    ImageHelper,   // xscreensaver-getimage-file picks each picture
    HomePictures,  // ~/Pictures
    Default,       // nothing found: the built-in picture on every face
};

// The first source that applies, in the order above. folderPictures: what
// the --pictures folders hold; helperFound: the helper is installed and
// gave a first picture; homePictures: what ~/Pictures holds.
PictureSource ChoosePictureSource(const HostOptions& options, bool folderPicturesFound,
                                  bool helperFound, bool homePicturesFound);

struct WindowChoice {
    WindowTarget target = WindowTarget::Own;
    unsigned long windowId = 0;  // 0 with Root: the screen's root window
};

// --window-id names its window; --root the one in $XSCREENSAVER_WINDOW
// (screenWindowVariable, may be null) when it names one, else the root.
WindowChoice ChooseWindow(const HostOptions& options, const char* screenWindowVariable);

// Whether a GLX visual can take the scene directly; otherwise a child window
// of a suitable visual covers the given one.
struct VisualTraits {
    bool gl = false;
    bool rgba = false;
    bool doubleBuffer = false;
    int depthBits = 0;
};
bool VisualSuitsScene(const VisualTraits& traits);

}  // namespace velmora::host
