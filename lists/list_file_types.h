// The file types the list editor's file dialog offers: description and
// pattern texts, each NUL-terminated, the block ended by a second NUL.
#pragma once

#include <string>

namespace velmora::lists {

// Every picture format the run reads, then each on its own.
std::string PictureFileTypes();
std::string MusicFileTypes();

}  // namespace velmora::lists
