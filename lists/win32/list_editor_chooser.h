// The common dialogs and message boxes of the list editor, behind one seam so
// tests can answer them.
#pragma once

#include <windows.h>

#include <commdlg.h>
#include <shlobj.h>

namespace velmora::lists {

class ListEditorChooser {
public:
    virtual ~ListEditorChooser() = default;
    // GetOpenFileNameW.
    virtual BOOL OpenFiles(OPENFILENAMEW& dialog) = 0;
    // SHBrowseForFolderW; the caller frees the result with CoTaskMemFree.
    virtual PIDLIST_ABSOLUTE BrowseForFolder(BROWSEINFOW& browse) = 0;
    // MessageBoxW, with UTF-8 texts.
    virtual int Ask(HWND owner, const char* text, const char* caption, UINT type) = 0;
};

// The system's own dialogs.
ListEditorChooser& SystemChooser();

}  // namespace velmora::lists
