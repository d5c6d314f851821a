#include "lists/preview_info.h"

namespace velmora::lists {

std::string FormatText(std::string_view path) {
    const std::size_t slash = path.find_last_of("\\/");
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos) {
        return "none found";
    }
    return std::string(name.substr(dot));
}

std::string PreviewInfoText(int position, int count, std::string_view shownPath,
                            PictureSize fullSize) {
    // "Item %d of %d\nFormat: %s\nDimensions: %d x %d", for a format of any length.
    return "Item " + std::to_string(position) + " of " + std::to_string(count) +
           "\nFormat: " + FormatText(shownPath) +
           "\nDimensions: " + std::to_string(fullSize.width) + " x " +
           std::to_string(fullSize.height);
}

}  // namespace velmora::lists
