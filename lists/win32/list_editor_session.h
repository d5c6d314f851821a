// The state of one open list editor, shared by its message handlers.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "lists/list_editing.h"
#include "lists/win32/list_editor_chooser.h"
#include "lists/win32/list_editor_request.h"
#include "lists/win32/list_view_items.h"

namespace velmora::lists {

struct ListEditorSession {
    ListEditorRequest& request;
    ListEditorChooser& chooser;
    std::optional<ListViewItems> items;
    // While a command rearranges items, their selection notifications wait
    // for the command's own update at its end.
    bool rearranging = false;
    // What the label and the buttons show, so that the many selection
    // notifications of a long list set them only when they change.
    int shownCount = -1;
    std::optional<ListControlStates> shownStates;
    // The DPI the dialog is shown at.
    unsigned dpi = 96;
};

// Appends an item; with select it becomes the only selected item and the
// list view gets the focus.
bool AddListItem(ListEditorSession& session, const std::string& path, bool select, bool scroll);
// Column widths (when the change needs them), the count label, the buttons,
// then the preview.
void UpdateListControls(ListEditorSession& session, ListChange change);
// Asks the worker for the one selected file's picture, or clears the preview.
void UpdatePreview(ListEditorSession& session);
// The toggle's text, and the dialog's width ending 12 pixels (at 96 DPI)
// right of the toggle (preview hidden) or of the preview box (shown).
void ResizeForPreview(ListEditorSession& session);
// After the system has rescaled the dialog for another DPI: the columns,
// the width, and the preview fitted again to the box's new size.
void RefitToDpi(ListEditorSession& session);
// Paints the preview centred in its box, or the box in the button face.
void PaintPreview(ListEditorSession& session);
// The info text of WM_USER.
void ShowPreviewInfo(ListEditorSession& session);

}  // namespace velmora::lists
