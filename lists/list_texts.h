// Encoded texts of the media lists. The subkey suffixes are also the captions
// of the settings pages that open the lists.
#pragma once

#include <string>

#include "base/encoded_text.h"

namespace velmora::texts {

inline constexpr auto kPictureListSuffix = EncodeText("Pictures");
inline constexpr auto kMusicListSuffix = EncodeText("Music");

// The list editor's caption and add-files button for each list.
inline constexpr auto kPictureListTitle = EncodeText("Picture List");
inline constexpr auto kAddPicturesText = EncodeText("Add Pictures...");
inline constexpr auto kMusicListTitle = EncodeText("Music List");
inline constexpr auto kAddSongsText = EncodeText("Add Songs...");

}  // namespace velmora::texts

namespace velmora::lists {

// The list subkeys lie below the settings key.
std::string PictureListKeyPath(const std::string& settingsKeyPath);
std::string MusicListKeyPath(const std::string& settingsKeyPath);

}  // namespace velmora::lists
