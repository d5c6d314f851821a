#include "lists/win32/list_editor_chooser.h"

#include <commdlg.h>

#include "base/win32/wide_text.h"

namespace velmora::lists {

namespace {

class SystemDialogs : public ListEditorChooser {
public:
    BOOL OpenFiles(OPENFILENAMEW& dialog) override { return GetOpenFileNameW(&dialog); }
    PIDLIST_ABSOLUTE BrowseForFolder(BROWSEINFOW& browse) override {
        return SHBrowseForFolderW(&browse);
    }
    int Ask(HWND owner, const char* text, const char* caption, UINT type) override {
        return MessageBoxW(owner, WideFromUtf8(text).c_str(), WideFromUtf8(caption).c_str(), type);
    }
};

}  // namespace

ListEditorChooser& SystemChooser() {
    static SystemDialogs dialogs;
    return dialogs;
}

}  // namespace velmora::lists
