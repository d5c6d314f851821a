#include "lists/win32/list_editor_request.h"

#include "base/encoded_text.h"
#include "lists/list_file_types.h"
#include "lists/list_texts.h"

namespace velmora::lists {

ListEditorRequest::ListEditorRequest() {
    InitializeCriticalSection(&lock);
    requestEvent = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    quitEvent = CreateEventA(nullptr, FALSE, FALSE, nullptr);
}

ListEditorRequest::~ListEditorRequest() {
    if (requestEvent != nullptr) {
        CloseHandle(requestEvent);
    }
    if (quitEvent != nullptr) {
        CloseHandle(quitEvent);
    }
    if (worker != nullptr) {
        CloseHandle(worker);
    }
    DeleteCriticalSection(&lock);
}

void PrepareListEditorRequest(ListEditorRequest& request, EditedList list,
                              const std::string& settingsKeyPath) {
    const bool pictures = list == EditedList::Pictures;
    request.fileTypes = pictures ? PictureFileTypes() : MusicFileTypes();
    request.title =
        pictures ? DecodeText(texts::kPictureListTitle) : DecodeText(texts::kMusicListTitle);
    request.addFilesText =
        pictures ? DecodeText(texts::kAddPicturesText) : DecodeText(texts::kAddSongsText);
    request.root = registry::RegistryRoot::CurrentUser;
    request.subKeyPath =
        pictures ? PictureListKeyPath(settingsKeyPath) : MusicListKeyPath(settingsKeyPath);
    request.previewWanted = pictures;
    request.previewHidden = false;
}

}  // namespace velmora::lists
