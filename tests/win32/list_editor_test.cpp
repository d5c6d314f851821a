// The list editor on a real Wine dialog: items, buttons, the preview worker
// and the list in the registry.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "lists/list_file_types.h"
#include "lists/list_storage.h"
#include "picture/pl_dib_raster.h"
#include "registry/win32/win32_registry_store.h"
#include "tests/support/picture_samples.h"
#include "tests/support/registry_inspection.h"
#include "tests/win32/list_editor_driver.h"
#include "tests/win32/process_runner.h"

namespace velmora::lists {
namespace {

namespace id = list_editor_id;
using testing::ListEditorDriver;
using testing::ScriptedChooser;
using testing::SetOneFile;
using testing::WaitUntil;
using Paths = std::vector<std::string>;
namespace samples = picture::testing;

const std::string kMakerKey = "Software\\Quillfen Graphics";

std::string TempFolder() {
    char path[MAX_PATH] = {};
    GetTempPathA(sizeof path, path);
    return std::string(path) + "velmora-editor-" + std::to_string(GetCurrentProcessId()) + "\\";
}

void WriteFile(const std::string& path, const samples::Bytes& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

samples::Bytes RedRgb(int width, int height) {
    samples::Bytes rgb(static_cast<std::size_t>(width) * height * 3, 0);
    for (std::size_t i = 0; i < rgb.size(); i += 3) {
        rgb[i] = 220;
    }
    return rgb;
}

samples::Bytes RedJpeg(int width, int height) {
    return samples::EncodeJpeg(width, height, 3, RedRgb(width, height), 90);
}

class ListEditor : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        CreateDirectoryA(Folder().c_str(), nullptr);
        CreateDirectoryA((Folder() + "My.Pics").c_str(), nullptr);
        WriteFile(Folder() + "small.jpg", RedJpeg(64, 48));
        WriteFile(Folder() + "large.jpg", RedJpeg(4000, 3000));
        // RGB, scaled while it is read.
        WriteFile(Folder() + "large.png", samples::EncodePng(4000, 3000, 2, 8, RedRgb(4000, 3000)));
        WriteFile(Folder() + "My.Pics\\photo", RedJpeg(40, 30));
        WriteFile(Folder() + "broken.jpg", samples::Bytes(2000, 0x5A));
    }
    static void TearDownTestSuite() {
        for (const char* name : {"small.jpg", "large.jpg", "large.png", "My.Pics\\photo",
                                 "broken.jpg", "slow.png", "a b.jpg"}) {
            DeleteFileA((Folder() + name).c_str());
        }
        RemoveDirectoryA((Folder() + "My.Pics").c_str());
        RemoveDirectoryA(Folder().c_str());
    }
    static const std::string& Folder() {
        static const std::string folder = TempFolder();
        return folder;
    }

    void SetUp() override {
        DeleteScratch();
        request.fileTypes = PictureFileTypes();
        request.subKeyPath = ListKey();
        request.previewWanted = true;
    }
    void TearDown() override { DeleteScratch(); }

    std::string ScratchKey() const {
        return kMakerKey + "\\VelmoraEditorTest-" + std::to_string(GetCurrentProcessId());
    }
    std::string ListKey() const { return ScratchKey() + "\\Pictures"; }

    void StoreList(const Paths& paths) { testing::StoreList(ListKey(), paths); }
    Paths StoredList() { return testing::StoredList(ListKey()); }
    void DeleteScratch() {
        registry::RegistryKey maker;
        if (maker.Open(store, registry::RegistryRoot::CurrentUser, kMakerKey,
                       registry::registry_access::AllAccess) == registry::registry_error::Success) {
            DeleteKeyTree(maker, ScratchKey().substr(kMakerKey.size() + 1));
        }
    }

    std::string ShownPath() {
        PreviewLock lock(request);
        return request.preview ? request.shownPath : std::string();
    }
    bool WaitForInfo(ListEditorDriver& editor, const std::string& text) {
        return WaitUntil([&] { return editor.Text(id::kInfo) == text; });
    }
    bool WaitForShown(const std::string& path) {
        return WaitUntil([&] { return ShownPath() == path; });
    }

    registry::RegistryStore& store = registry::SystemRegistry();
    ListEditorRequest request;
    ScriptedChooser chooser;
};

TEST_F(ListEditor, MusicEditorHasNoPreviewAndEndsBesideTheHiddenToggle) {
    request.previewWanted = false;
    request.fileTypes = MusicFileTypes();
    StoreList({Folder() + "small.jpg"});
    ListEditorDriver editor(request, chooser);
    EXPECT_FALSE(IsWindowVisible(editor.Control(id::kPreviewToggle)));
    RECT dialog{};
    RECT toggle{};
    GetWindowRect(editor.Dialog(), &dialog);
    GetWindowRect(editor.Control(id::kPreviewToggle), &toggle);
    EXPECT_EQ(dialog.right, toggle.right + 12);
    editor.Select({0});
    Sleep(300);
    EXPECT_EQ(ShownPath(), "");
    EXPECT_EQ(editor.Text(id::kInfo), "");
}

TEST_F(ListEditor, LargePictureIsFittedAndShowsItsFullSize) {
    StoreList({Folder() + "small.jpg", Folder() + "large.jpg", Folder() + "large.png"});
    ListEditorDriver editor(request, chooser);
    ASSERT_TRUE(WaitForInfo(editor, "Item 1 of 3\nFormat: .jpg\nDimensions: 64 x 48"));
    SetWindowPos(editor.Control(id::kPreviewBox), nullptr, 0, 0, 180, 166,
                 SWP_NOMOVE | SWP_NOZORDER);
    for (const int item : {1, 2}) {
        editor.Select({item});
        ASSERT_TRUE(WaitForInfo(editor, "Item " + std::to_string(item + 1) +
                                            " of 3\nFormat: " + (item == 1 ? ".jpg" : ".png") +
                                            "\nDimensions: 4000 x 3000"));
        {
            PreviewLock lock(request);
            ASSERT_TRUE(request.preview);
            EXPECT_EQ(request.preview->GetWidth(), 180);
            EXPECT_EQ(request.preview->GetHeight(), 135);
        }
        // The painted preview is centred in the box.
        ASSERT_TRUE(WaitUntil([&] {
            const HDC dc = GetDC(editor.Control(id::kPreviewBox));
            const COLORREF centre = GetPixel(dc, 90, 83);
            ReleaseDC(editor.Control(id::kPreviewBox), dc);
            return GetRValue(centre) > 180 && GetGValue(centre) < 60;
        }));
    }
}

// WebP through libwebp, TIFF and GIF through the system's decoders: each
// previews with its format and full size; what neither reads clears it.
TEST_F(ListEditor, NewFormatsPreviewWithTheirFormatAndSize) {
    const struct {
        const char* file;
        const char* info;
    } cases[] = {
        {"red.webp", "Format: .webp\nDimensions: 400 x 300"},
        {"red.tif", "Format: .tif\nDimensions: 16 x 12"},
        {"blue.gif", "Format: .gif\nDimensions: 16 x 12"},
        {"broken.heic", ""},
    };
    Paths paths;
    for (const auto& c : cases) {
        paths.push_back(testing::PathBesideTestProgram(std::string("fixtures\\") + c.file));
    }
    StoreList(paths);
    ListEditorDriver editor(request, chooser);
    SetWindowPos(editor.Control(id::kPreviewBox), nullptr, 0, 0, 180, 166,
                 SWP_NOMOVE | SWP_NOZORDER);
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(cases[i].file);
        editor.Select({i});
        const std::string info = *cases[i].info == 0
                                     ? std::string()
                                     : "Item " + std::to_string(i + 1) + " of 4\n" + cases[i].info;
        ASSERT_TRUE(WaitForInfo(editor, info)) << editor.Text(id::kInfo);
        EXPECT_EQ(ShownPath(), info.empty() ? std::string() : paths[i]);
    }
}

TEST_F(ListEditor, TwoItemsOrAFolderClearThePreview) {
    StoreList({Folder() + "small.jpg", Folder(), Folder() + "large.jpg"});
    ListEditorDriver editor(request, chooser);
    ASSERT_TRUE(WaitForShown(Folder() + "small.jpg"));
    editor.Select({0, 2});
    EXPECT_EQ(ShownPath(), "");
    EXPECT_TRUE(WaitForInfo(editor, ""));
    editor.Select({0});
    ASSERT_TRUE(WaitForShown(Folder() + "small.jpg"));
    editor.Select({1});
    EXPECT_EQ(ShownPath(), "");
    EXPECT_TRUE(WaitForInfo(editor, ""));
}

// An undecodable picture stays listed; an extensionless file in a dotted
// folder still previews, with no format.
TEST_F(ListEditor, PictureThatCannotBeDecodedClearsThePreviewAndStays) {
    StoreList({Folder() + "small.jpg", Folder() + "broken.jpg", Folder() + "My.Pics\\photo"});
    ListEditorDriver editor(request, chooser);
    ASSERT_TRUE(WaitForShown(Folder() + "small.jpg"));
    editor.Select({1});
    ASSERT_TRUE(WaitForShown(""));
    EXPECT_TRUE(WaitForInfo(editor, ""));
    EXPECT_EQ(editor.Paths().size(), 3u);
    EXPECT_EQ(editor.Text(id::kCount), "3 items in the list");
    editor.Select({2});
    EXPECT_TRUE(WaitForInfo(editor, "Item 3 of 3\nFormat: none found\nDimensions: 40 x 30"));
}

// Moves and removals on the real list keep the selection where the user
// expects it, and the buttons follow it.
TEST_F(ListEditor, MovesAndRemovalsKeepTheSelection) {
    StoreList({"C:\\a", "C:\\b", "C:\\c", "C:\\d", "C:\\e"});
    ListEditorDriver editor(request, chooser);
    editor.Select({2, 3});
    editor.Click(id::kMoveUp);
    editor.Click(id::kMoveUp);
    EXPECT_EQ(editor.Paths(), (Paths{"C:\\c", "C:\\d", "C:\\a", "C:\\b", "C:\\e"}));
    EXPECT_EQ(editor.Selected(), (std::vector<int>{0, 1}));
    EXPECT_TRUE(IsWindowEnabled(editor.Control(id::kMoveUp)));
    editor.Select({0});
    EXPECT_FALSE(IsWindowEnabled(editor.Control(id::kMoveUp)));
    EXPECT_TRUE(IsWindowEnabled(editor.Control(id::kMoveDown)));

    editor.Select({4});
    editor.Click(id::kRemove);
    EXPECT_EQ(editor.Selected(), (std::vector<int>{3}));
    editor.Select({1, 3});
    editor.Click(id::kRemove);
    EXPECT_EQ(editor.Paths(), (Paths{"C:\\c", "C:\\a"}));
    EXPECT_EQ(editor.Selected(), (std::vector<int>{}));
    EXPECT_EQ(editor.Text(id::kCount), "2 items in the list");
    EXPECT_FALSE(IsWindowEnabled(editor.Control(id::kRemoveAll)));
}

TEST_F(ListEditor, RemoveAllAsksFirst) {
    StoreList({"C:\\a", "C:\\b"});
    ListEditorDriver editor(request, chooser);
    editor.Click(id::kRemoveAll);
    EXPECT_EQ(editor.Paths().size(), 2u);
    chooser.answer = IDYES;
    editor.Click(id::kRemoveAll);
    EXPECT_EQ(editor.Paths(), Paths{});
    EXPECT_EQ(editor.Text(id::kCount), "0 items in the list");
    EXPECT_EQ(chooser.asked.size(), 2u);
}

TEST_F(ListEditor, AddedFilesAndFoldersAppendInOrder) {
    ListEditorDriver editor(request, chooser);
    SetOneFile(chooser, Folder() + "small.jpg");
    editor.Click(id::kAddFiles);
    editor.Click(id::kAddFiles);
    EXPECT_EQ(chooser.title, "Add Files");
    testing::SetFiles(chooser, "C:\\Pics", {"x.jpg", "y.png"});
    editor.Click(id::kAddFiles);
    chooser.folder = Folder() + "My.Pics";
    editor.Click(id::kAddDirectory);
    EXPECT_EQ(editor.Paths(),
              (Paths{Folder() + "small.jpg", Folder() + "small.jpg", "C:\\Pics\\x.jpg",
                     "C:\\Pics\\y.png", Folder() + "My.Pics\\"}));
    EXPECT_EQ(editor.Selected(), (std::vector<int>{4}));
    EXPECT_EQ(editor.Text(id::kCount), "5 items in the list");
}

// A deep folder and a long name make a path the list cannot store and read
// back: it is refused with a message naming it, so OK saves what the editor
// shows and the editor shows the same list when opened again.
TEST_F(ListEditor, TooLongChosenFileIsRefusedAndTheListStaysWhole) {
    const std::string deep = "C:\\" + std::string(240, 'd');
    const std::string tooLong = deep + "\\" + std::string(30, 'n') + ".jpg";
    testing::SetFiles(chooser, deep, {"a.jpg", tooLong.substr(deep.size() + 1), "b.jpg"});
    const Paths kept = {deep + "\\a.jpg", deep + "\\b.jpg"};
    {
        ListEditorDriver editor(request, chooser);
        editor.Click(id::kAddFiles);
        ASSERT_EQ(chooser.asked.size(), 1u);
        EXPECT_NE(chooser.asked[0].find(tooLong), std::string::npos) << chooser.asked[0];
        EXPECT_EQ(chooser.captions[0], "Error");
        EXPECT_EQ(editor.Paths(), kept);
        editor.Close(IDOK);
    }
    EXPECT_EQ(StoredList(), kept);
    ListEditorDriver reopened(request, chooser);
    EXPECT_EQ(reopened.Paths(), kept);
}

TEST_F(ListEditor, OkSavesTheListInItsOrderAndCancelSavesNothing) {
    StoreList({"C:\\a", "C:\\b", "C:\\c"});
    const struct {
        int button;
        Paths stored;
    } closes[] = {{IDCANCEL, {"C:\\a", "C:\\b", "C:\\c"}}, {IDOK, {"C:\\a", "C:\\c", "C:\\b"}}};
    for (const auto& close : closes) {
        ListEditorDriver editor(request, chooser);
        editor.Select({2});
        editor.Click(id::kMoveUp);
        editor.Close(close.button);
        EXPECT_EQ(StoredList(), close.stored) << close.button;
    }
}

TEST_F(ListEditor, RegistryFailureOnOkIsShownAndTheEditorStillCloses) {
    request.subKeyPath = "";
    ListEditorDriver editor(request, chooser);
    editor.PostClick(IDOK);
    const HWND box = testing::WaitForThreadDialog(editor.ThreadId(), "Registry Error");
    ASSERT_NE(box, nullptr);
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_TRUE(WaitUntil([&] { return editor.Closed(); }));
}

// What the preview showed when the closing editor began to free its items.
ListEditorRequest* closingRequest = nullptr;
std::string shownWhenFreeing;

LRESULT CALLBACK WatchFreeing(int code, WPARAM wParam, LPARAM lParam) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && call->message == LVM_DELETEALLITEMS && closingRequest != nullptr) {
        PreviewLock lock(*closingRequest);
        shownWhenFreeing = closingRequest->preview ? closingRequest->shownPath : "";
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Closing waits for the worker to finish the picture it decodes before the
// items go.
TEST_F(ListEditor, ClosingWhileADecodeRunsWaitsForTheWorker) {
    const std::string slow = Folder() + "slow.png";
    const int width = 6000;
    const int height = 4000;
    WriteFile(slow,
              samples::EncodePng(width, height, 2, 8,
                                 samples::Bytes(static_cast<std::size_t>(width) * height * 3, 77)));
    StoreList({Folder() + "small.jpg", slow});
    ListEditorDriver editor(request, chooser);
    ASSERT_TRUE(WaitForShown(Folder() + "small.jpg"));
    closingRequest = &request;
    const HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, WatchFreeing, nullptr, editor.ThreadId());
    editor.Select({1});
    Sleep(50);
    ASSERT_NE(ShownPath(), slow) << "the decode ended before the editor was closed";
    editor.Close(IDCANCEL);
    UnhookWindowsHookEx(hook);
    closingRequest = nullptr;
    EXPECT_EQ(shownWhenFreeing, slow);
    EXPECT_EQ(request.worker, nullptr);
}

// Wine's own file dialog: two files typed into its name field come back in
// the folder-plus-names form.
TEST_F(ListEditor, RealFileDialogAddsTwoChosenFiles) {
    WriteFile(Folder() + "a b.jpg", RedJpeg(8, 8));
    char previous[MAX_PATH] = {};
    GetCurrentDirectoryA(sizeof previous, previous);
    SetCurrentDirectoryA(Folder().c_str());
    ListEditorDriver editor(request, SystemChooser());
    editor.PostClick(id::kAddFiles);
    const HWND files = testing::WaitForThreadDialog(editor.ThreadId(), "Add Files");
    ASSERT_NE(files, nullptr);
    ASSERT_TRUE(testing::TypeIntoFileDialog(files, L"\"small.jpg\" \"a b.jpg\""));
    ASSERT_TRUE(WaitUntil([&] { return editor.Paths().size() == 2; }));
    Paths paths = editor.Paths();
    std::sort(paths.begin(), paths.end());
    EXPECT_EQ(paths, (Paths{Folder() + "a b.jpg", Folder() + "small.jpg"}));
    SetCurrentDirectoryA(previous);
}

}  // namespace
}  // namespace velmora::lists
