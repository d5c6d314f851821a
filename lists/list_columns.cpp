#include "lists/list_columns.h"

#include "lists/list_entry.h"

namespace velmora::lists {

ListColumnTexts ColumnTexts(std::string_view path) {
    // A blank rather than an empty text, so the item still has a label.
    static constexpr std::string_view kBlank = " ";
    if (IsFolderEntry(path)) {
        return {std::string(kBlank), std::string(path)};
    }
    const std::size_t slash = path.rfind('\\');
    const std::string_view folder =
        slash == std::string_view::npos ? std::string_view() : path.substr(0, slash);
    std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    // Only the file name's own dot counts, not one in a folder's name.
    if (const std::size_t dot = name.rfind('.'); dot != std::string_view::npos) {
        name = name.substr(0, dot);
    }
    return {std::string(name.empty() ? kBlank : name), std::string(folder)};
}

}  // namespace velmora::lists
