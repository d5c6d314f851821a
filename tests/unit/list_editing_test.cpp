// The list editor's moves, removals and button states.
#include <gtest/gtest.h>

#include <span>
#include <string>
#include <vector>

#include "lists/list_editing.h"

namespace velmora::lists {
namespace {

// Items named by letters, with a selection flag each.
class FakeList : public EditableList {
public:
    FakeList(std::string names, std::vector<int> selected) {
        for (const char name : names) {
            items_.push_back({name, false});
        }
        for (const int p : selected) {
            items_[static_cast<std::size_t>(p)].selected = true;
        }
    }
    std::string Names() const {
        std::string names;
        for (const Item& item : items_) {
            names.push_back(item.name);
        }
        return names;
    }
    std::vector<int> Selected() const {
        std::vector<int> selected;
        for (int i = 0; i < Count(); ++i) {
            if (IsSelected(i)) {
                selected.push_back(i);
            }
        }
        return selected;
    }

    int Count() const override { return static_cast<int>(items_.size()); }
    bool IsSelected(int p) const override {
        return items_.at(static_cast<std::size_t>(p)).selected;
    }
    void Move(int from, int to) override {
        const Item item{items_.at(static_cast<std::size_t>(from)).name, false};
        items_.erase(items_.begin() + from);
        items_.insert(items_.begin() + to, item);
    }
    void Remove(int p) override { items_.erase(items_.begin() + p); }
    void Select(int p) override { items_.at(static_cast<std::size_t>(p)).selected = true; }
    void ScrollTo(int p) override {
        ASSERT_LT(p, Count());
        scrolls.push_back(p);
    }

    std::vector<int> scrolls;

private:
    struct Item {
        char name;
        bool selected;
    };
    std::vector<Item> items_;
};

TEST(ListEditing, MovesKeepTheSelectionAndLetSelectedNeighboursPassAtTheEnds) {
    struct Case {
        std::vector<int> selected;
        int moves;  // up when positive
        const char* names;
        std::vector<int> selectedAfter;
    };
    const Case cases[] = {
        {{0}, 1, "abcde", {0}},        {{4}, -1, "abcde", {4}},       {{0, 1}, 1, "bacde", {0, 1}},
        {{3, 4}, -1, "abced", {3, 4}}, {{1, 3}, -1, "acbed", {2, 4}}, {{1, 3}, 1, "badce", {0, 2}},
        {{2, 3}, 2, "cdabe", {0, 1}},
    };
    for (const Case& c : cases) {
        FakeList list("abcde", c.selected);
        for (int i = 0; i < c.moves; ++i) {
            MoveSelectedUp(list);
        }
        for (int i = c.moves; i < 0; ++i) {
            MoveSelectedDown(list);
        }
        EXPECT_EQ(list.Names(), c.names);
        EXPECT_EQ(list.Selected(), c.selectedAfter) << c.names;
    }
}

// However many items move, the list scrolls once, to the last one moved.
TEST(ListEditing, AMoveScrollsOnceAtTheEnd) {
    FakeList list("abcde", {1, 2, 3});
    MoveSelectedUp(list);
    EXPECT_EQ(list.scrolls, std::vector<int>{2});
    MoveSelectedDown(list);
    EXPECT_EQ(list.scrolls, (std::vector<int>{2, 1}));
}

TEST(ListEditing, RemovingSelectsTheItemInTheLastRemovedPlace) {
    struct Case {
        std::vector<int> selected;
        const char* names;
        std::vector<int> selectedAfter;
    };
    const Case cases[] = {
        {{4}, "abcd", {3}},        {{1, 3}, "ace", {}}, {{2}, "abde", {2}},
        {{0, 1, 2, 3, 4}, "", {}}, {{}, "abcde", {}},
    };
    for (const Case& c : cases) {
        FakeList list("abcde", c.selected);
        RemoveSelected(list);
        EXPECT_EQ(list.Names(), c.names);
        EXPECT_EQ(list.Selected(), c.selectedAfter) << c.names;
    }
}

TEST(ListEditing, ButtonsFollowTheSelection) {
    struct Case {
        int count, selected;
        bool first, last;
        bool up, down, remove;
    };
    const Case cases[] = {
        {5, 0, false, false, false, false, false}, {5, 1, true, false, false, true, true},
        {5, 1, false, true, true, false, true},    {1, 1, true, true, false, false, true},
        {5, 2, true, true, true, true, true},      {0, 0, false, false, false, false, false},
    };
    for (const Case& c : cases) {
        const ListControlStates states = ControlStates(c.count, c.selected, c.first, c.last);
        EXPECT_EQ(states.moveUp, c.up);
        EXPECT_EQ(states.moveDown, c.down);
        EXPECT_EQ(states.remove, c.remove);
        EXPECT_EQ(states.removeAll, c.remove);
    }
}

TEST(ListEditing, OnlyChangedItemsResizeTheColumns) {
    EXPECT_TRUE(ColumnsNeedSizing(ListChange::Items));
    for (const ListChange change : {ListChange::None, ListChange::Selection, ListChange::Order}) {
        EXPECT_FALSE(ColumnsNeedSizing(change));
    }
}

TEST(ListEditing, EntriesTooLongToStoreAreRefusedAndNamed) {
    const std::string longest = "C:\\" + std::string(252, 'a') + ".jpg";  // 259
    const std::string tooLong = "C:\\" + std::string(253, 'b') + ".jpg";  // 260
    const ChosenEntries entries =
        SplitChosenEntries({"C:\\x.jpg", tooLong, longest, tooLong + "2"});
    EXPECT_EQ(entries.kept, (std::vector<std::string>{"C:\\x.jpg", longest}));
    EXPECT_EQ(entries.refused, (std::vector<std::string>{tooLong, tooLong + "2"}));
    const std::string one = RefusedEntriesText(std::span(entries.refused).first(1));
    EXPECT_TRUE(one.ends_with(":\n\n" + tooLong)) << one;
    const std::string both = RefusedEntriesText(entries.refused);
    EXPECT_TRUE(both.ends_with(":\n\n" + tooLong + "\n\nand 1 more.")) << both;
    EXPECT_NE(both.find("longer than 259 characters"), std::string::npos) << both;
}

TEST(ListEditing, CountTextSaysItemForOne) {
    EXPECT_EQ(ItemCountText(1), "1 item in the list");
    EXPECT_EQ(ItemCountText(0), "0 items in the list");
    EXPECT_EQ(ItemCountText(12), "12 items in the list");
}

}  // namespace
}  // namespace velmora::lists
