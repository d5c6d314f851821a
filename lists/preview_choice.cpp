#include "lists/preview_choice.h"

#include "lists/list_entry.h"

namespace velmora::lists {

PreviewChoice ChoosePreview(int selectedCount, bool previewHidden, std::string_view selectedPath,
                            std::string_view shownPath) {
    if (selectedCount != 1 || previewHidden || selectedPath.empty() ||
        IsFolderEntry(selectedPath)) {
        return PreviewChoice::Clear;
    }
    return selectedPath == shownPath ? PreviewChoice::Keep : PreviewChoice::Request;
}

}  // namespace velmora::lists
