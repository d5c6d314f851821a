#include "lists/win32/list_editor.h"

#include <commctrl.h>

#include <new>
#include <string>
#include <vector>

#include "base/win32/wide_text.h"
#include "lists/list_editing.h"
#include "lists/list_storage.h"
#include "lists/win32/list_editor_commands.h"
#include "lists/win32/list_editor_session.h"
#include "lists/win32/preview_worker.h"
#include "registry/win32/registry_error_box.h"
#include "registry/win32/win32_registry_store.h"
#include "ui/win32/dpi.h"
#include "ui/win32/tooltips.h"

namespace velmora::lists {

namespace id = list_editor_id;

namespace {

// Posted on a change of DPI, so it comes after the system's rescaling.
constexpr UINT kRefitMessage = WM_USER + 1;

struct Tooltip {
    int id;
    const char* text;
};

constexpr Tooltip kTooltips[] = {
    {id::kAddDirectory, "Add a directory of files to the list."},
    {id::kAddFiles, "Add single or multiple files to the list."},
    {id::kRemove,
     "Remove all selected items in the list.  Removing items in the list will not remove them "
     "from your computer."},
    {id::kRemoveAll,
     "Remove all items in the list.  Removing items in the list will not remove them from your "
     "computer."},
    {id::kMoveUp,
     "Move the selected items up in the list.  Items at the top of the list will appear first."},
    {id::kMoveDown,
     "Move the selected items down in the list  Items at the bottom of the list will appear "
     "last."},
    {id::kPreviewToggle,
     "Show or hide the preview window.  The preview window shows the current file selected if "
     "only one is selected."},
    {IDOK,
     "When you are done editing your list, click OK to close the dialog and save your settings."},
    {IDCANCEL, "Click Cancel to exit the dialog without saving any changes you made to the list."},
};

void ApplyTexts(const ListEditorRequest& request) {
    if (!request.title.empty()) {
        SetWindowTextW(request.dialog, WideFromUtf8(request.title).c_str());
    }
    if (!request.addFilesText.empty()) {
        SetDlgItemTextW(request.dialog, id::kAddFiles, WideFromUtf8(request.addFilesText).c_str());
    }
    if (!request.addDirectoryText.empty()) {
        SetDlgItemTextW(request.dialog, id::kAddDirectory,
                        WideFromUtf8(request.addDirectoryText).c_str());
    }
}

void Open(ListEditorSession& session, HWND dialog) {
    ListEditorRequest& request = session.request;
    request.dialog = dialog;
    request.listView = GetDlgItem(dialog, id::kList);
    session.items.emplace(request.listView);
    session.items->InsertColumns();
    ApplyTexts(request);
    // The info text appears with the first preview.
    SetDlgItemTextA(dialog, id::kInfo, "");
    if (!request.previewWanted) {
        ShowWindow(GetDlgItem(dialog, id::kPreviewToggle), SW_HIDE);
        request.previewHidden = true;
    }
    session.dpi = ui::WindowDpi(dialog);
    ResizeForPreview(session);
    SendMessageA(request.listView, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT,
                 LVS_EX_FULLROWSELECT);
    for (const Tooltip& tip : kTooltips) {
        ui::AddTooltip(dialog, tip.id, tip.text);
    }
    StartPreviewWorker(request);
    session.rearranging = true;
    {
        ListViewBatch batch(*session.items);
        LoadListForEditor(registry::SystemRegistry(), request.root, request.subKeyPath,
                          [&session](const std::string& path, bool first) {
                              AddListItem(session, path, first, first);
                          });
    }
    session.rearranging = false;
    UpdateListControls(session, ListChange::Items);
}

// The worker ends before the items' strings go, and both before the dialog.
void Close(ListEditorSession& session) {
    const HWND helpControl = ui::HelpDisplayControl();
    if (helpControl != nullptr && GetParent(helpControl) == session.request.dialog) {
        ui::ResetHelpDisplay();
    }
    StopPreviewWorker(session.request);
    session.items->RemoveAll();
    EndDialog(session.request.dialog, 0);
}

void Save(ListEditorSession& session) {
    registry::RegistryErrorBox reporter;
    const std::vector<std::string> paths = session.items->Paths();
    SaveList(registry::SystemRegistry(), session.request.root, session.request.subKeyPath, paths,
             reporter);
}

void OnCommand(ListEditorSession& session, int command) {
    switch (command) {
        case id::kAddFiles:
            AddFiles(session);
            break;
        case id::kAddDirectory:
            AddDirectory(session);
            break;
        case id::kMoveUp:
        case id::kMoveDown:
        case id::kRemove:
        case id::kRemoveAll:
            Rearrange(session, command);
            break;
        case id::kPreviewToggle:
            session.request.previewHidden = !session.request.previewHidden;
            UpdateListControls(session, ListChange::None);
            ResizeForPreview(session);
            break;
        case IDOK:
            Save(session);
            Close(session);
            break;
        case IDCANCEL:
            Close(session);
            break;
        default:
            break;
    }
}

bool IsSelectionChange(const ListEditorSession& session, LPARAM lParam) {
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    return header->idFrom == static_cast<UINT_PTR>(id::kList) && header->code == LVN_ITEMCHANGED &&
           !session.rearranging;
}

INT_PTR CALLBACK EditorProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrA(dialog, GWLP_USERDATA, lParam);
        Open(*reinterpret_cast<ListEditorSession*>(lParam), dialog);
        return TRUE;
    }
    auto* session = reinterpret_cast<ListEditorSession*>(GetWindowLongPtrA(dialog, GWLP_USERDATA));
    if (session == nullptr) {
        return FALSE;
    }
    if (ui::FilterHelpMessage(dialog, dialog, message, lParam)) {
        return TRUE;
    }
    switch (message) {
        case WM_COMMAND:
            OnCommand(*session, LOWORD(wParam));
            return TRUE;
        case WM_NOTIFY:
            if (IsSelectionChange(*session, lParam)) {
                UpdateListControls(*session, ListChange::Selection);
            }
            return FALSE;
        case WM_PAINT:
            PaintPreview(*session);
            return TRUE;
        case WM_USER:
            ShowPreviewInfo(*session);
            return TRUE;
        case WM_DPICHANGED:
            session->dpi = ui::DpiOfChange(wParam);
            PostMessageA(dialog, kRefitMessage, 0, 0);
            return FALSE;
        case kRefitMessage:
            RefitToDpi(*session);
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace

bool AddListItem(ListEditorSession& session, const std::string& path, bool select, bool scroll) {
    ListViewItems& items = *session.items;
    if (!items.Append(path)) {
        return false;
    }
    const int position = items.Count() - 1;
    if (select) {
        items.DeselectAll();
        items.Select(position);
        SendMessageA(session.request.listView, WM_SETFOCUS, 0, 0);
    }
    if (scroll) {
        items.ScrollTo(position);
    }
    return true;
}

void UpdateListControls(ListEditorSession& session, ListChange change) {
    const HWND dialog = session.request.dialog;
    const ListViewItems& items = *session.items;
    if (ColumnsNeedSizing(change)) {
        session.items->SizeColumns();
    }
    const int count = items.Count();
    if (count != session.shownCount) {
        SetDlgItemTextA(dialog, id::kCount, ItemCountText(count).c_str());
        session.shownCount = count;
    }
    const ListControlStates states =
        ControlStates(count, items.SelectedCount(), count > 0 && items.IsSelected(0),
                      count > 0 && items.IsSelected(count - 1));
    if (states != session.shownStates) {
        EnableWindow(GetDlgItem(dialog, id::kMoveUp), states.moveUp);
        EnableWindow(GetDlgItem(dialog, id::kMoveDown), states.moveDown);
        EnableWindow(GetDlgItem(dialog, id::kRemove), states.remove);
        EnableWindow(GetDlgItem(dialog, id::kRemoveAll), states.removeAll);
        session.shownStates = states;
    }
    UpdatePreview(session);
}

INT_PTR RunListEditor(HWND parent, ListEditorRequest& request) {
    return RunListEditor(parent, request, SystemChooser());
}

INT_PTR RunListEditor(HWND parent, ListEditorRequest& request, ListEditorChooser& chooser) {
    const INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&classes);
    ListEditorSession session{request, chooser, std::nullopt, false, -1, std::nullopt};
    const INT_PTR result = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id::kDialog),
                                           parent, EditorProc, reinterpret_cast<LPARAM>(&session));
    // A dialog that failed while opening still has a worker to end.
    StopPreviewWorker(request);
    request.dialog = nullptr;
    request.listView = nullptr;
    return result;
}

}  // namespace velmora::lists
