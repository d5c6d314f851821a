#include "lists/win32/list_view_items.h"

#include <commctrl.h>

#include <memory>

#include "base/win32/wide_text.h"
#include "lists/list_columns.h"

namespace velmora::lists {

namespace {

void SetSelected(HWND listView, int position, bool selected) {
    LVITEMA item{};
    item.stateMask = LVIS_SELECTED;
    item.state = selected ? LVIS_SELECTED : 0;
    SendMessageA(listView, LVM_SETITEMSTATE, static_cast<WPARAM>(position),
                 reinterpret_cast<LPARAM>(&item));
}

}  // namespace

void ListViewItems::InsertColumns() {
    const char* names[] = {"Name", "Folder"};
    for (int i = 0; i < 2; ++i) {
        LVCOLUMNA column{};
        column.mask = LVCF_FMT | LVCF_TEXT | LVCF_SUBITEM;
        column.fmt = LVCFMT_LEFT;
        column.pszText = const_cast<char*>(names[i]);
        column.iSubItem = i;
        SendMessageA(listView_, LVM_INSERTCOLUMNA, static_cast<WPARAM>(i),
                     reinterpret_cast<LPARAM>(&column));
    }
    SizeColumns();
}

void ListViewItems::SizeColumns() {
    for (int i = 0; i < 2; ++i) {
        SendMessageA(listView_, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(i),
                     MAKELPARAM(LVSCW_AUTOSIZE_USEHEADER, 0));
    }
}

bool ListViewItems::Insert(int position, std::string* path) {
    // Shown through the wide messages, so every name reads as in Explorer.
    const ListColumnTexts texts = ColumnTexts(*path);
    std::wstring name = WideFromUtf8(texts.name);
    std::wstring folderText = WideFromUtf8(texts.folder);
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = position;
    item.pszText = name.data();
    item.lParam = reinterpret_cast<LPARAM>(path);
    const int inserted = static_cast<int>(
        SendMessageW(listView_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    if (inserted < 0) {
        return false;
    }
    LVITEMW folder{};
    folder.iSubItem = 1;
    folder.pszText = folderText.data();
    SendMessageW(listView_, LVM_SETITEMTEXTW, static_cast<WPARAM>(inserted),
                 reinterpret_cast<LPARAM>(&folder));
    return true;
}

bool ListViewItems::Append(const std::string& path) {
    auto owned = std::make_unique<std::string>(path);
    if (!Insert(Count(), owned.get())) {
        return false;
    }
    owned.release();
    return true;
}

void ListViewItems::DeselectAll() {
    SetSelected(listView_, -1, false);
}

std::vector<std::string> ListViewItems::Paths() const {
    std::vector<std::string> paths;
    for (int i = 0; i < Count(); ++i) {
        if (const std::string* path = PathAt(i)) {
            paths.push_back(*path);
        }
    }
    return paths;
}

const std::string* ListViewItems::PathAt(int position) const {
    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.iItem = position;
    if (!SendMessageA(listView_, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) {
        return nullptr;
    }
    return reinterpret_cast<const std::string*>(item.lParam);
}

int ListViewItems::SelectedCount() const {
    return static_cast<int>(SendMessageA(listView_, LVM_GETSELECTEDCOUNT, 0, 0));
}

int ListViewItems::FirstSelected() const {
    return static_cast<int>(
        SendMessageA(listView_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void ListViewItems::RemoveAll() {
    for (int i = 0; i < Count(); ++i) {
        delete PathAt(i);
    }
    SendMessageA(listView_, LVM_DELETEALLITEMS, 0, 0);
}

int ListViewItems::Count() const {
    return static_cast<int>(SendMessageA(listView_, LVM_GETITEMCOUNT, 0, 0));
}

bool ListViewItems::IsSelected(int position) const {
    return SendMessageA(listView_, LVM_GETITEMSTATE, static_cast<WPARAM>(position),
                        LVIS_SELECTED) != 0;
}

void ListViewItems::Move(int from, int to) {
    auto* path = const_cast<std::string*>(PathAt(from));
    if (path == nullptr) {
        return;
    }
    SendMessageA(listView_, LVM_DELETEITEM, static_cast<WPARAM>(from), 0);
    if (!Insert(to, path)) {
        delete path;
    }
}

void ListViewItems::Remove(int position) {
    delete PathAt(position);
    SendMessageA(listView_, LVM_DELETEITEM, static_cast<WPARAM>(position), 0);
}

void ListViewItems::Select(int position) {
    SetSelected(listView_, position, true);
}

void ListViewItems::ScrollTo(int position) {
    if (batching_) {
        pendingScroll_ = position;
        return;
    }
    SendMessageA(listView_, LVM_ENSUREVISIBLE, static_cast<WPARAM>(position), FALSE);
}

void ListViewItems::BeginBatch() {
    batching_ = true;
    pendingScroll_ = -1;
    SendMessageA(listView_, WM_SETREDRAW, FALSE, 0);
}

// The scroll waits until drawing is back on, so it works from the list
// view's final item count and scroll range.
void ListViewItems::EndBatch() {
    batching_ = false;
    SendMessageA(listView_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(listView_, nullptr, TRUE);
    if (pendingScroll_ >= 0 && pendingScroll_ < Count()) {
        ScrollTo(pendingScroll_);
    }
    pendingScroll_ = -1;
}

}  // namespace velmora::lists
