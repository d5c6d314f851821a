// The list editor dialog: adds, orders and removes the entries of the picture
// or the music list, with a preview of the selected picture.
#pragma once

#include <windows.h>

#include "lists/win32/list_editor_chooser.h"
#include "lists/win32/list_editor_request.h"

namespace velmora::lists {

// Control ids of the dialog.
namespace list_editor_id {
inline constexpr int kDialog = 128;
inline constexpr int kRemove = 1017;
inline constexpr int kAddFiles = 1018;
inline constexpr int kAddDirectory = 1019;
inline constexpr int kMoveUp = 1020;
inline constexpr int kMoveDown = 1021;
inline constexpr int kRemoveAll = 1052;
inline constexpr int kPreviewToggle = 1053;
inline constexpr int kList = 1058;
inline constexpr int kCount = 1060;
inline constexpr int kPreviewBox = 1062;
inline constexpr int kInfo = 1064;
}  // namespace list_editor_id

// Runs the modal editor for the request, with the system's dialogs or the
// given chooser; "OK" saves the list to the system registry. Returns 0, or
// -1 when the dialog cannot be shown.
INT_PTR RunListEditor(HWND parent, ListEditorRequest& request);
INT_PTR RunListEditor(HWND parent, ListEditorRequest& request, ListEditorChooser& chooser);

}  // namespace velmora::lists
