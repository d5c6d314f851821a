// The text beside the list editor's preview.
#pragma once

#include <string>
#include <string_view>

#include "lists/preview_geometry.h"

namespace velmora::lists {

// The file name's part from its last "." on, or "none found".
std::string FormatText(std::string_view path);

// "Item %d of %d\nFormat: %s\nDimensions: %d x %d"; position is 1-based, 0
// when no single item is selected.
std::string PreviewInfoText(int position, int count, std::string_view shownPath,
                            PictureSize fullSize);

}  // namespace velmora::lists
