// The paths the open-file dialog hands back in its buffer.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::lists {

// folder + a backslash (none when the folder is longer than one character and
// already ends in one) + name.
std::string PathInFolder(std::string_view folder, std::string_view name);

// One file: the buffer holds its full path and the character before
// fileOffset is not a NUL. Several: the folder, a NUL, each name with its
// NUL, then an empty name. Nothing beyond size is read; a text without its
// terminator inside the buffer is not taken.
std::vector<std::string> ChosenFiles(const char* buffer, std::size_t size, std::size_t fileOffset);

}  // namespace velmora::lists
