// What the settings dialog hands the list editor, and the editor's working
// state, shared with its preview worker.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "lists/preview_geometry.h"
#include "picture/pl_dib_raster.h"
#include "registry/registry_store.h"

namespace velmora::lists {

struct ListEditorRequest {
    // Creates the lock and both events (auto-reset, unsignalled).
    ListEditorRequest();
    ListEditorRequest(const ListEditorRequest&) = delete;
    ListEditorRequest& operator=(const ListEditorRequest&) = delete;
    ~ListEditorRequest();

    // The file dialog's filter block (lists/list_file_types.h).
    std::string fileTypes;
    // Optional; empty keeps the dialog's own texts. The title is also the
    // folder browser's, the add-files text also the file dialog's title.
    std::string title;
    std::string addFilesText;
    std::string addDirectoryText;

    registry::RegistryRoot root = registry::RegistryRoot::CurrentUser;
    std::string subKeyPath;

    bool previewWanted = false;
    bool previewHidden = false;

    HWND dialog = nullptr;
    HWND listView = nullptr;

    // Guarded by lock.
    std::unique_ptr<picture::PLDibRaster> preview;
    std::string shownPath;
    std::string requestedPath;
    PictureSize fullSize;

    CRITICAL_SECTION lock;
    HANDLE requestEvent = nullptr;
    HANDLE quitEvent = nullptr;
    HANDLE worker = nullptr;
};

enum class EditedList { Pictures, Music };

// The request of the settings dialog for one list below its settings key:
// the list's file types, caption and add-files text, and a preview for
// pictures only.
void PrepareListEditorRequest(ListEditorRequest& request, EditedList list,
                              const std::string& settingsKeyPath);

// Holds the request's lock for a scope.
class PreviewLock {
public:
    explicit PreviewLock(ListEditorRequest& request) : lock_(request.lock) {
        EnterCriticalSection(&lock_);
    }
    PreviewLock(const PreviewLock&) = delete;
    PreviewLock& operator=(const PreviewLock&) = delete;
    ~PreviewLock() { LeaveCriticalSection(&lock_); }

private:
    CRITICAL_SECTION& lock_;
};

}  // namespace velmora::lists
