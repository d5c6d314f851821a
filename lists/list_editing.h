// The list editor's rules for moving, removing and enabling, on any list of
// selectable items.
#pragma once

#include <string>

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
// moved items are selected afterwards.
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
};

// Buttons work on the selection; with one item selected, Move Up is off for
// the first item and Move Down for the last.
ListControlStates ControlStates(int count, int selectedCount, bool firstSelected,
                                bool lastSelected);

// "1 item in the list" or "%d items in the list".
std::string ItemCountText(int count);

}  // namespace velmora::lists
