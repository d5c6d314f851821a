// The list editor opened from the settings dialog's buttons, each on its own
// list's subkey.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "frame/cube_saver_app.h"
#include "lists/list_texts.h"
#include "lists/win32/list_editor.h"
#include "resources/settings_dialog_ids.h"
#include "settings/settings_storage.h"
#include "settings/win32/cube_pages.h"
#include "tests/win32/list_editor_driver.h"
#include "tests/win32/settings_dialog_driver.h"

namespace velmora::testing {
namespace {

namespace id = lists::list_editor_id;
using Paths = std::vector<std::string>;

// Opens the editor from a page button and waits for it.
HWND OpenEditor(SettingsDialogDriver& dialog, int tab, int button, const std::string& caption) {
    dialog.SelectTab(tab);
    PostMessageA(dialog.Control(button), BM_CLICK, 0, 0);
    return dialog.WaitForWindow(caption);
}

void CloseEditor(HWND editor, int button) {
    PostMessageA(editor, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(editor); }));
}

TEST(ListEditorFromSettings, EachButtonEditsItsOwnList) {
    ClearStoredSettings();
    const std::string pictures = lists::PictureListKeyPath(settings::SettingsKeyPath());
    const std::string music = lists::MusicListKeyPath(settings::SettingsKeyPath());
    StoreList(pictures, {"C:\\p1.jpg", "C:\\p2.jpg"});
    StoreList(music, {"C:\\m1.mp3"});
    CubeSaverApp app{settings::Win32CubePages()};
    SettingsDialogDriver dialog(app);
    ASSERT_NE(dialog.Dialog(), nullptr);

    const HWND pictureEditor = OpenEditor(dialog, 0, IDC_PICTURE_LIST, "Picture List");
    ASSERT_NE(pictureEditor, nullptr);
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(pictureEditor, id::kPreviewToggle)));
    const HWND list = GetDlgItem(pictureEditor, id::kList);
    EXPECT_EQ(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), 2);
    ListView_SetItemState(list, 0, LVIS_SELECTED, LVIS_SELECTED);
    SendMessageA(pictureEditor, WM_COMMAND, MAKEWPARAM(id::kRemove, BN_CLICKED), 0);
    CloseEditor(pictureEditor, IDOK);
    EXPECT_EQ(StoredList(pictures), Paths{"C:\\p2.jpg"});

    const HWND musicEditor = OpenEditor(dialog, 2, IDC_MUSIC_LIST, "Music List");
    ASSERT_NE(musicEditor, nullptr);
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(musicEditor, id::kPreviewToggle)));
    EXPECT_EQ(SendMessageA(GetDlgItem(musicEditor, id::kList), LVM_GETITEMCOUNT, 0, 0), 1);
    CloseEditor(musicEditor, IDOK);
    EXPECT_EQ(StoredList(music), Paths{"C:\\m1.mp3"});
    EXPECT_EQ(StoredList(pictures), Paths{"C:\\p2.jpg"});

    dialog.Click(IDCANCEL);
    dialog.Finish();
    ClearStoredSettings();
}

}  // namespace
}  // namespace velmora::testing
