#include <string>

#include "base/win32/wide_text.h"
#include "lists/preview_choice.h"
#include "lists/preview_info.h"
#include "lists/win32/list_editor.h"
#include "lists/win32/list_editor_session.h"
#include "picture/win32/pl_dib_painting.h"
#include "ui/win32/dpi.h"

namespace velmora::lists {

namespace id = list_editor_id;

namespace {

constexpr int kRightMargin = 12;  // pixels at 96 DPI

RECT WindowRectOf(HWND dialog, int controlId) {
    RECT rect{};
    GetWindowRect(controlId == 0 ? dialog : GetDlgItem(dialog, controlId), &rect);
    return rect;
}

}  // namespace

void UpdatePreview(ListEditorSession& session) {
    ListEditorRequest& request = session.request;
    const ListViewItems& items = *session.items;
    const int selected = items.SelectedCount();
    const std::string* path = selected == 1 ? items.PathAt(items.FirstSelected()) : nullptr;
    {
        PreviewLock lock(request);
        const PreviewChoice choice = ChoosePreview(selected, request.previewHidden,
                                                   path != nullptr ? *path : "", request.shownPath);
        if (choice == PreviewChoice::Keep) {
            // A request still pending for another item is withdrawn.
            request.requestedPath = request.shownPath;
            return;
        }
        if (choice == PreviewChoice::Request) {
            request.requestedPath = *path;
            SetEvent(request.requestEvent);
            return;
        }
        // Each of a long list's selection notifications comes here: clearing
        // what is clear already would queue an update and a repaint each.
        if (!request.preview && request.shownPath.empty() && request.requestedPath.empty()) {
            return;
        }
        request.preview.reset();
        request.shownPath.clear();
        request.requestedPath.clear();
    }
    PostMessageA(request.dialog, WM_USER, 0, 0);
    InvalidateRect(request.dialog, nullptr, FALSE);
}

void ResizeForPreview(ListEditorSession& session) {
    const HWND dialog = session.request.dialog;
    const bool hidden = session.request.previewHidden;
    SetDlgItemTextA(dialog, id::kPreviewToggle, hidden ? "Show Preview  >>" : "Hide Preview  <<");
    const RECT frame = WindowRectOf(dialog, 0);
    const RECT edge = WindowRectOf(dialog, hidden ? id::kPreviewToggle : id::kPreviewBox);
    SetWindowPos(dialog, nullptr, 0, 0,
                 edge.right - frame.left + ui::ScaleForDpi(kRightMargin, session.dpi),
                 frame.bottom - frame.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void RefitToDpi(ListEditorSession& session) {
    session.items->SizeColumns();
    ResizeForPreview(session);
    {
        // The shown picture was fitted to the old box: ask for it again.
        PreviewLock lock(session.request);
        session.request.shownPath.clear();
    }
    UpdatePreview(session);
}

void PaintPreview(ListEditorSession& session) {
    ListEditorRequest& request = session.request;
    const HWND dialog = request.dialog;
    if (!GetUpdateRect(dialog, nullptr, FALSE)) {
        return;
    }
    PAINTSTRUCT paint{};
    BeginPaint(dialog, &paint);
    const HWND box = GetDlgItem(dialog, id::kPreviewBox);
    const HDC dc = GetDC(box);
    RECT area{};
    GetClientRect(box, &area);
    bool painted = false;
    {
        PreviewLock lock(request);
        if (request.preview && !request.previewHidden) {
            const picture::PLDibRaster& preview = *request.preview;
            picture::PLDibDraw(preview, dc, (area.right - preview.GetWidth()) / 2,
                               (area.bottom - preview.GetHeight()) / 2);
            painted = true;
        }
    }
    if (!painted) {
        FillRect(dc, &area, GetSysColorBrush(COLOR_BTNFACE));
    }
    ReleaseDC(box, dc);
    EndPaint(dialog, &paint);
}

void ShowPreviewInfo(ListEditorSession& session) {
    ListEditorRequest& request = session.request;
    const ListViewItems& items = *session.items;
    const int position = items.SelectedCount() == 1 ? items.FirstSelected() + 1 : 0;
    std::string text;
    {
        PreviewLock lock(request);
        if (request.preview) {
            text = PreviewInfoText(position, items.Count(), request.shownPath, request.fullSize);
        }
    }
    SetDlgItemTextW(request.dialog, id::kInfo, WideFromUtf8(text).c_str());
}

}  // namespace velmora::lists
