#include "lists/list_editing.h"

#include <cstdio>
#include <utility>
#include <vector>

#include "lists/list_entry.h"

namespace velmora::lists {

namespace {

// Moves each selected visited position by step and selects the moved items
// once all have moved, so a moved item is not visited twice.
template <typename Positions>
void MoveSelected(EditableList& list, Positions positions, int step) {
    if (list.Count() < 2) {
        return;
    }
    std::vector<int> moved;
    for (const int p : positions) {
        if (!list.IsSelected(p)) {
            continue;
        }
        list.Move(p, p + step);
        moved.push_back(p + step);
    }
    for (const int q : moved) {
        list.Select(q);
    }
    // One scroll, to where the last move ended, rather than one per item.
    if (!moved.empty()) {
        list.ScrollTo(moved.back());
    }
}

struct Range {
    int first;
    int last;
    int step;
    struct Iterator {
        int value;
        int step;
        int operator*() const { return value; }
        Iterator& operator++() {
            value += step;
            return *this;
        }
        bool operator!=(const Iterator& other) const { return value != other.value; }
    };
    Iterator begin() const { return {first, step}; }
    Iterator end() const { return {last + step, step}; }
};

}  // namespace

void MoveSelectedUp(EditableList& list) {
    MoveSelected(list, Range{1, list.Count() - 1, 1}, -1);
}

void MoveSelectedDown(EditableList& list) {
    MoveSelected(list, Range{list.Count() - 2, 0, -1}, 1);
}

void RemoveSelected(EditableList& list) {
    int next = -1;
    for (int p = list.Count() - 1; p >= 0; --p) {
        if (!list.IsSelected(p)) {
            continue;
        }
        if (next < 0) {
            next = p == list.Count() - 1 ? p - 1 : p;
        }
        list.Remove(p);
    }
    if (next >= 0 && next < list.Count()) {
        list.Select(next);
        list.ScrollTo(next);
    }
}

ListControlStates ControlStates(int count, int selectedCount, bool firstSelected,
                                bool lastSelected) {
    const bool any = count > 0 && selectedCount > 0;
    ListControlStates states{any, any, any, any};
    if (selectedCount == 1) {
        states.moveUp = states.moveUp && !firstSelected;
        states.moveDown = states.moveDown && !lastSelected;
    }
    return states;
}

bool ColumnsNeedSizing(ListChange change) {
    return change == ListChange::Items;
}

ChosenEntries SplitChosenEntries(std::vector<std::string> paths) {
    ChosenEntries entries;
    for (std::string& path : paths) {
        (FitsListEntry(path) ? entries.kept : entries.refused).push_back(std::move(path));
    }
    return entries;
}

std::string RefusedEntriesText(std::span<const std::string> refused) {
    if (refused.empty()) {
        return {};
    }
    const std::string limit = std::to_string(kLongestListEntry);
    if (refused.size() == 1) {
        return "This path is longer than " + limit +
               " characters and cannot be kept in the list, so it was not added:\n\n" +
               refused.front();
    }
    return "These paths are longer than " + limit +
           " characters and cannot be kept in the list, so they were not added:\n\n" +
           refused.front() + "\n\nand " + std::to_string(refused.size() - 1) + " more.";
}

std::string ItemCountText(int count) {
    if (count == 1) {
        return "1 item in the list";
    }
    char text[48] = {};
    std::snprintf(text, sizeof text, "%d items in the list", count);
    return text;
}

}  // namespace velmora::lists
