#include "lists/win32/list_editor_commands.h"

#include <commdlg.h>
#include <shlobj.h>

#include <algorithm>
#include <memory>
#include <new>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/win32/wide_text.h"
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

// The dialog's answer in the same form as UTF-8: the texts up to the pair of
// NULs that ends them, and the file offset moved to where the name starts.
std::vector<std::string> ChosenWideFiles(const wchar_t* buffer, std::size_t chars,
                                         std::size_t fileOffset) {
    std::size_t used = 0;
    while (used + 1 < chars && (buffer[used] != L'\0' || buffer[used + 1] != L'\0')) {
        ++used;
    }
    used = std::min(chars, used + 2);
    const std::string text = Utf8FromWide(std::wstring_view(buffer, used));
    const std::size_t offset = fileOffset <= used
                                   ? Utf8FromWide(std::wstring_view(buffer, fileOffset)).size()
                                   : text.size() + 1;
    return ChosenFiles(text.data(), text.size(), offset);
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
    constexpr std::size_t kChars = kFileDialogBufferSize / sizeof(wchar_t);
    const std::unique_ptr<wchar_t[]> buffer(new (std::nothrow) wchar_t[kChars]());
    if (!buffer) {
        session.chooser.Ask(request.dialog, "Could not allocate memory for file dialog.", "ERROR",
                            MB_ICONWARNING | MB_OK);
        return;
    }
    // The filter block's NULs pass through the conversion.
    const std::wstring filter = WideFromUtf8(request.fileTypes);
    const std::wstring title =
        WideFromUtf8(request.addFilesText.empty() ? "Add Files" : request.addFilesText);
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = request.dialog;
    dialog.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
    dialog.lpstrFile = buffer.get();
    dialog.nMaxFile = static_cast<DWORD>(kChars);
    dialog.lpstrTitle = title.c_str();
    dialog.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_ALLOWMULTISELECT |
                   OFN_HIDEREADONLY;
    if (!session.chooser.OpenFiles(dialog)) {
        return;
    }
    AddChosen(session, ChosenWideFiles(buffer.get(), kChars, dialog.nFileOffset));
}

void AddDirectory(ListEditorSession& session) {
    ListEditorRequest& request = session.request;
    const HRESULT com = CoInitialize(nullptr);
    wchar_t displayName[MAX_PATH] = {};
    const std::wstring title = WideFromUtf8(request.title);
    BROWSEINFOW browse{};
    browse.hwndOwner = request.dialog;
    browse.pszDisplayName = displayName;
    browse.lpszTitle = title.empty() ? nullptr : title.c_str();
    browse.ulFlags = BIF_NEWDIALOGSTYLE | BIF_NONEWFOLDERBUTTON;
    if (const PIDLIST_ABSOLUTE folder = session.chooser.BrowseForFolder(browse)) {
        wchar_t path[MAX_PATH] = {};
        if (SHGetPathFromIDListW(folder, path)) {
            std::string entry = Utf8FromWide(path);
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
