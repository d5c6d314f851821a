// What a change of the list editor's selection does to the preview.
#pragma once

#include <string_view>

namespace velmora::lists {

enum class PreviewChoice {
    Keep,     // the picture asked for is already shown
    Request,  // ask the worker for the selected picture
    Clear,    // no single file to preview
};

// selectedPath is the one selected item's path when exactly one is selected.
PreviewChoice ChoosePreview(int selectedCount, bool previewHidden, std::string_view selectedPath,
                            std::string_view shownPath);

}  // namespace velmora::lists
