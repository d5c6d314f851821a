#include "lists/win32/list_editor_commands.h"

#include <commdlg.h>
#include <shlobj.h>

#include <memory>
#include <new>
#include <string>
#include <vector>

#include "lists/chosen_files.h"
#include "lists/list_editing.h"
#include "lists/win32/list_editor.h"

namespace velmora::lists {

namespace id = list_editor_id;

namespace {

// Keeps the items' own selection notifications from acting half-way.
class Rearranging {
public:
    explicit Rearranging(ListEditorSession& session) : session_(session) {
        session_.rearranging = true;
    }
    Rearranging(const Rearranging&) = delete;
    Rearranging& operator=(const Rearranging&) = delete;
    ~Rearranging() { session_.rearranging = false; }

private:
    ListEditorSession& session_;
};

bool AskRemoveAll(ListEditorSession& session) {
    return session.chooser.Ask(session.request.dialog,
                               "Do you want to remove all the items in the list?  Doing so will "
                               "not remove any files from your computer.",
                               "Remove All List Items", MB_ICONWARNING | MB_YESNO) == IDYES;
}

}  // namespace

void AddFiles(ListEditorSession& session) {
    ListEditorRequest& request = session.request;
    const std::unique_ptr<char[]> buffer(new (std::nothrow) char[kFileDialogBufferSize]());
    if (!buffer) {
        session.chooser.Ask(request.dialog, "Could not allocate memory for file dialog.", "ERROR",
                            MB_ICONWARNING | MB_OK);
        return;
    }
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = request.dialog;
    dialog.lpstrFilter = request.fileTypes.empty() ? nullptr : request.fileTypes.c_str();
    dialog.lpstrFile = buffer.get();
    dialog.nMaxFile = kFileDialogBufferSize;
    dialog.lpstrTitle = request.addFilesText.empty() ? "Add Files" : request.addFilesText.c_str();
    dialog.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_ALLOWMULTISELECT |
                   OFN_HIDEREADONLY;
    if (!session.chooser.OpenFiles(dialog)) {
        return;
    }
    const std::vector<std::string> paths =
        ChosenFiles(buffer.get(), kFileDialogBufferSize, dialog.nFileOffset);
    {
        Rearranging rearranging(session);
        const bool one = paths.size() == 1;
        for (const std::string& path : paths) {
            AddListItem(session, path, one, true);
        }
    }
    UpdateListControls(session);
}

void AddDirectory(ListEditorSession& session) {
    ListEditorRequest& request = session.request;
    const HRESULT com = CoInitialize(nullptr);
    char displayName[MAX_PATH] = {};
    BROWSEINFOA browse{};
    browse.hwndOwner = request.dialog;
    browse.pszDisplayName = displayName;
    browse.lpszTitle = request.title.empty() ? nullptr : request.title.c_str();
    browse.ulFlags = BIF_NEWDIALOGSTYLE | BIF_NONEWFOLDERBUTTON;
    if (const PIDLIST_ABSOLUTE folder = session.chooser.BrowseForFolder(browse)) {
        char path[MAX_PATH] = {};
        if (SHGetPathFromIDListA(folder, path)) {
            std::string entry(path);
            // A folder entry ends in a backslash; a drive's root has one already.
            if (entry.size() > 1 && entry.back() != '\\') {
                entry.push_back('\\');
            }
            {
                Rearranging rearranging(session);
                AddListItem(session, entry, true, true);
            }
            UpdateListControls(session);
        }
        CoTaskMemFree(folder);
    }
    if (SUCCEEDED(com)) {
        CoUninitialize();
    }
}

void Rearrange(ListEditorSession& session, int command) {
    ListViewItems& items = *session.items;
    {
        Rearranging rearranging(session);
        switch (command) {
            case id::kMoveUp:
                MoveSelectedUp(items);
                break;
            case id::kMoveDown:
                MoveSelectedDown(items);
                break;
            case id::kRemove:
                RemoveSelected(items);
                break;
            case id::kRemoveAll:
                if (!AskRemoveAll(session)) {
                    return;
                }
                items.RemoveAll();
                break;
            default:
                return;
        }
    }
    UpdateListControls(session);
}

}  // namespace velmora::lists
