// The list editor's buttons that change the list.
#pragma once

#include "lists/win32/list_editor_session.h"

namespace velmora::lists {

// The size of the file dialog's buffer.
inline constexpr unsigned kFileDialogBufferSize = 0x41000;

// "Add Files...": one or several files from the file dialog.
void AddFiles(ListEditorSession& session);
// "Add Directory...": a folder from the folder browser, as a folder entry.
void AddDirectory(ListEditorSession& session);
// Move Up, Move Down, Remove and Remove All.
void Rearrange(ListEditorSession& session, int command);

}  // namespace velmora::lists
