// The two column texts that the list editor shows for an entry.
#pragma once

#include <string>
#include <string_view>

namespace velmora::lists {

struct ListColumnTexts {
    std::string name;    // "Name"
    std::string folder;  // "Folder"
};

// A file entry shows its file name without the extension and the folder
// without the trailing backslash; a folder entry shows a blank name (as does a
// file whose name is all extension) and its whole path.
ListColumnTexts ColumnTexts(std::string_view path);

}  // namespace velmora::lists
