// The list editor's rules for moving, removing and enabling, on any list of
// selectable items.
#pragma once

#include <span>
#include <string>
#include <vector>

namespace velmora::lists {

// The items of the editor as the rules see them.
class EditableList {
public:
    virtual ~EditableList() = default;
    virtual int Count() const = 0;
    virtual bool IsSelected(int position) const = 0;
    // The item goes to position to (counted after taking it out) and comes
    // back unselected; the items between keep their selection.
    virtual void Move(int from, int to) = 0;
    virtual void Remove(int position) = 0;
    virtual void Select(int position) = 0;
    virtual void ScrollTo(int position) = 0;
};

// Each selected item from the second on moves one place up, in list order;
// the first item never moves up, so a selected neighbour moves past it. The
// moved items are selected afterwards, and the list scrolls once, to the
// last one moved.
void MoveSelectedUp(EditableList& list);
// The mirror image, from the last but one item down to the first.
void MoveSelectedDown(EditableList& list);
// Removes every selected item and selects the item that took the place of
// the last one removed (the new last item when that was the last); nothing
// when no item is there.
void RemoveSelected(EditableList& list);

struct ListControlStates {
    bool moveUp = false;
    bool moveDown = false;
    bool remove = false;
    bool removeAll = false;
    bool operator==(const ListControlStates&) const = default;
};

// Buttons work on the selection; with one item selected, Move Up is off for
// the first item and Move Down for the last.
ListControlStates ControlStates(int count, int selectedCount, bool firstSelected,
                                bool lastSelected);

// What a command changed, for the update of the controls after it.
enum class ListChange { None, Selection, Order, Items };

// Column widths follow the items' texts: only added or removed items resize
// them. Measuring every item for each selection notification would make
// selecting a long list take time that grows with its square.
bool ColumnsNeedSizing(ListChange change);

// The chosen entries split into those the list can keep and those it cannot
// (lists/list_entry.h), each in the order chosen.
struct ChosenEntries {
    std::vector<std::string> kept;
    std::vector<std::string> refused;
};
ChosenEntries SplitChosenEntries(std::vector<std::string> paths);

// The message for refused entries: the entry itself, or the first one and
// how many more.
std::string RefusedEntriesText(std::span<const std::string> refused);

// "1 item in the list" or "%d items in the list".
std::string ItemCountText(int count);

}  // namespace velmora::lists
