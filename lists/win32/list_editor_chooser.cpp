#include "lists/win32/list_editor_chooser.h"

#include <commdlg.h>

namespace velmora::lists {

namespace {

class SystemDialogs : public ListEditorChooser {
public:
    BOOL OpenFiles(OPENFILENAMEA& dialog) override { return GetOpenFileNameA(&dialog); }
    PIDLIST_ABSOLUTE BrowseForFolder(BROWSEINFOA& browse) override {
        return SHBrowseForFolderA(&browse);
    }
    int Ask(HWND owner, const char* text, const char* caption, UINT type) override {
        return MessageBoxA(owner, text, caption, type);
    }
};

}  // namespace

ListEditorChooser& SystemChooser() {
    static SystemDialogs dialogs;
    return dialogs;
}

}  // namespace velmora::lists
