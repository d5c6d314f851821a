#include "scene/special_folders.h"

namespace velmora::scene {

namespace {

// Only Windows has the shell's folders; native runs use their stored lists.
class NoFolderLocator final : public FolderLocator {
public:
    bool Locate(SpecialFolder, std::string&) override { return false; }
};

}  // namespace

FolderLocator& SystemFolderLocator() {
    static NoFolderLocator locator;
    return locator;
}

}  // namespace velmora::scene
