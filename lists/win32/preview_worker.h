// The list editor's preview worker: decodes the requested picture at the
// preview box's size off the dialog's thread.
#pragma once

#include "lists/win32/list_editor_request.h"

namespace velmora::lists {

// The box the preview is centred in.
inline constexpr int kPreviewBoxId = 1062;

// Starts the worker thread; false when it cannot be started.
bool StartPreviewWorker(ListEditorRequest& request);
// Asks the worker to end and waits until it has.
void StopPreviewWorker(ListEditorRequest& request);

// Decodes the requested path, fits it to the box and publishes it with its
// full size, unless a newer request has come in meanwhile. False when the
// picture cannot be decoded or resized.
bool LoadPreview(ListEditorRequest& request);

}  // namespace velmora::lists
