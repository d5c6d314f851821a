#include "lists/list_texts.h"

namespace velmora::lists {

namespace {

std::string Below(const std::string& path, const std::string& name) {
    if (path.empty() || path.back() == '\\') {
        return path + name;
    }
    return path + "\\" + name;
}

}  // namespace

std::string PictureListKeyPath(const std::string& settingsKeyPath) {
    return Below(settingsKeyPath, DecodeText(texts::kPictureListSuffix));
}

std::string MusicListKeyPath(const std::string& settingsKeyPath) {
    return Below(settingsKeyPath, DecodeText(texts::kMusicListSuffix));
}

}  // namespace velmora::lists
