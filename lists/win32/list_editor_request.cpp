#include "lists/win32/list_editor_request.h"

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

}  // namespace velmora::lists
