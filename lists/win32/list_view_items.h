// The list editor's items in its list view: one item per entry, each owning a
// heap string with the entry's path as its item data.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "lists/list_editing.h"

namespace velmora::lists {

class ListViewItems : public EditableList {
public:
    explicit ListViewItems(HWND listView) : listView_(listView) {}

    // Column 0 "Name" and column 1 "Folder", both left-aligned.
    void InsertColumns();
    void SizeColumns();

    // Appends an item with the entry's column texts; false when the list
    // view takes no more.
    bool Append(const std::string& path);
    void DeselectAll();
    // The paths of all items, in list order.
    std::vector<std::string> Paths() const;
    const std::string* PathAt(int position) const;
    int SelectedCount() const;
    int FirstSelected() const;
    // Frees every item's string and deletes every item.
    void RemoveAll();

    // Between these the list view draws nothing and a scroll waits for the
    // end, when only the last one asked for is made: a batch of many items
    // then costs no more drawing and scrolling than one.
    void BeginBatch();
    void EndBatch();

    int Count() const override;
    bool IsSelected(int position) const override;
    void Move(int from, int to) override;
    void Remove(int position) override;
    void Select(int position) override;
    void ScrollTo(int position) override;

private:
    // Inserts an item at position whose data is path; false on failure, when
    // the caller still owns path.
    bool Insert(int position, std::string* path);

    HWND listView_;
    bool batching_ = false;
    int pendingScroll_ = -1;
};

class ListViewBatch {
public:
    explicit ListViewBatch(ListViewItems& items) : items_(items) { items_.BeginBatch(); }
    ListViewBatch(const ListViewBatch&) = delete;
    ListViewBatch& operator=(const ListViewBatch&) = delete;
    ~ListViewBatch() { items_.EndBatch(); }

private:
    ListViewItems& items_;
};

}  // namespace velmora::lists
