#include "lists/win32/list_editor_commands.h"

#include <commdlg.h>
#include <shlobj.h>

#include <memory>
#include <new>
#include <string>
#include <utility>
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

// Adds the chosen entries the list can keep as one batch, and names those it
// cannot in one message. A single chosen entry becomes the selection.
void AddChosen(ListEditorSession& session, std::vector<std::string> paths) {
    const bool one = paths.size() == 1;
    const ChosenEntries entries = SplitChosenEntries(std::move(paths));
    {
        Rearranging rearranging(session);
        ListViewBatch batch(*session.items);
        for (const std::string& path : entries.kept) {
            AddListItem(session, path, one, true);
        }
    }
    UpdateListControls(session, ListChange::Items);
    if (!entries.refused.empty()) {
        session.chooser.Ask(session.request.dialog, RefusedEntriesText(entries.refused).c_str(),
                            "Error", MB_ICONWARNING | MB_OK);
    }
}

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
    AddChosen(session, ChosenFiles(buffer.get(), kFileDialogBufferSize, dialog.nFileOffset));
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
            AddChosen(session, {std::move(entry)});
        }
        CoTaskMemFree(folder);
    }
    if (SUCCEEDED(com)) {
        CoUninitialize();
    }
}

void Rearrange(ListEditorSession& session, int command) {
    ListViewItems& items = *session.items;
    if (command == id::kRemoveAll && !AskRemoveAll(session)) {
        return;
    }
    ListChange change = ListChange::Items;
    {
        Rearranging rearranging(session);
        ListViewBatch batch(items);
        switch (command) {
            case id::kMoveUp:
                MoveSelectedUp(items);
                change = ListChange::Order;
                break;
            case id::kMoveDown:
                MoveSelectedDown(items);
                change = ListChange::Order;
                break;
            case id::kRemove:
                RemoveSelected(items);
                break;
            case id::kRemoveAll:
                items.RemoveAll();
                break;
            default:
                return;
        }
    }
    UpdateListControls(session, change);
}

}  // namespace velmora::lists
