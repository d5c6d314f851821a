// Names outside the ANSI code page (1252 in the test prefix) end to end: a
// picture folder and files named in Polish, Japanese and emoji are listed,
// shown, chosen in Wine's real file dialog, previewed, stored, read back and
// played; a list stored by the narrow call of an earlier version still loads.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "base/mapped_file.h"
#include "base/run_mode.h"
#include "base/win32/wide_text.h"
#include "frame/cube_saver_app.h"
#include "frame/frame_texts.h"
#include "frame/win32/saver_run.h"
#include "lists/list_file_types.h"
#include "lists/list_storage.h"
#include "lists/list_texts.h"
#include "registry/win32/win32_registry_store.h"
#include "tests/support/picture_samples.h"
#include "tests/win32/audio_capture.h"
#include "tests/win32/list_editor_driver.h"
#include "tests/win32/process_runner.h"

namespace velmora::testing {
namespace {

using Paths = std::vector<std::string>;
namespace samples = picture::testing;

const char kScratchKey[] = "Software\\Quillfen Graphics\\VelmoraUnicodeTest";
const std::string kFolderName = "Fotos \xE5\x86\x99\xE7\x9C\x9F";  // Fotos 写真
const std::string kLodz = "\xC5\x81\xC3\xB3\x64\xC5\xBA";          // Łódź
const std::string kJapan = "\xE6\x97\xA5\xE6\x9C\xAC";             // 日本
const std::string kSmile = "\xF0\x9F\x99\x82";                     // 🙂
const std::string kCafe = "Caf\xC3\xA9.bmp";                       // Café, in code page 1252
const std::vector<int> kTones = {500, 1000, 1500};

samples::Bytes Solid(int width, int height, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    samples::Bytes rgb;
    for (int i = 0; i < width * height; ++i) {
        rgb.insert(rgb.end(), {r, g, b});
    }
    return rgb;
}

// A bottom-up 24-bit BMP of one colour.
samples::Bytes SolidBmp(int side, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    samples::Bytes file(54, 0);
    const auto put32 = [&](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) {
            file[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
        }
    };
    file[0] = 'B';
    file[1] = 'M';
    put32(2, static_cast<std::uint32_t>(54 + side * side * 3));
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<std::uint32_t>(side));
    put32(22, static_cast<std::uint32_t>(side));
    file[26] = 1;
    file[28] = 24;
    for (int i = 0; i < side * side; ++i) {
        file.insert(file.end(), {b, g, r});
    }
    return file;
}

bool WriteWide(const std::string& path, const samples::Bytes& bytes) {
    const HANDLE file = CreateFileW(WideFromUtf8(path).c_str(), GENERIC_WRITE, 0, nullptr,
                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    const BOOL ok =
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes.size();
}

// The colour that dominates a pixel of the screen: 'r', 'g', 'b' or 0.
char Dominant(COLORREF c) {
    const int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
    if (r > 90 && r > 2 * g && r > 2 * b) {
        return 'r';
    }
    if (g > 90 && g > 2 * r && g > 2 * b) {
        return 'g';
    }
    if (b > 90 && b > 2 * r && b > 2 * g) {
        return 'b';
    }
    return 0;
}

class NullReporter : public registry::RegistryErrorReporter {
public:
    void Report(registry::RegistryError) override {}
};

class UnicodePaths : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        routed_ = RouteSoundToCapture(problem_);
        const std::wstring folder = WideFromUtf8(Folder());
        CreateDirectoryW(folder.c_str(), nullptr);
        written_ = WriteWide(Picture(".jpg"),
                             samples::EncodeJpeg(16, 12, 3, Solid(16, 12, 230, 20, 20), 95)) &&
                   WriteWide(Picture(".png"),
                             samples::EncodePng(16, 12, 2, 8, Solid(16, 12, 20, 230, 20))) &&
                   WriteWide(Picture(".bmp"), SolidBmp(16, 20, 20, 230)) &&
                   WriteWide(root_.File(kCafe), SolidBmp(4, 9, 9, 9));
        for (std::size_t i = 0; i < kTones.size(); ++i) {
            const std::string made = root_.File("song.wav");
            written_ = written_ && WriteSong(made, kTones[i], 0.4) &&
                       MoveFileW(WideFromUtf8(made).c_str(), WideFromUtf8(Songs()[i]).c_str());
        }
    }
    static void TearDownTestSuite() {
        for (const std::string& path : {Picture(".jpg"), Picture(".png"), Picture(".bmp"),
                                        Songs()[0], Songs()[1], Songs()[2], root_.File(kCafe)}) {
            DeleteFileW(WideFromUtf8(path).c_str());
        }
        RemoveDirectoryW(WideFromUtf8(Folder()).c_str());
        RemoveCapture();
    }

    void SetUp() override {
        // The narrow calls cannot name these files on this code page.
        ASSERT_EQ(GetACP(), 1252u);
        ASSERT_TRUE(written_);
        RegDeleteTreeA(HKEY_CURRENT_USER, kScratchKey);
    }
    void TearDown() override {
        RegDeleteTreeA(HKEY_CURRENT_USER, kScratchKey);
        Process().runMode = RunMode::Settings;
    }

    static std::string Folder() { return root_.File(kFolderName + "\\"); }
    // The three pictures in the byte order a folder scan sorts them in.
    static std::string Picture(const std::string& extension) {
        return Folder() +
               (extension == ".jpg"   ? kLodz
                : extension == ".png" ? kJapan
                                      : kSmile) +
               extension;
    }
    static Paths Pictures() { return {Picture(".jpg"), Picture(".png"), Picture(".bmp")}; }
    static Paths Songs() {
        return {Folder() + kLodz + ".wav", Folder() + kJapan + ".wav", Folder() + kSmile + ".wav"};
    }
    static std::string ListKey() { return lists::PictureListKeyPath(kScratchKey); }

    static inline TempFolder root_;
    static inline bool routed_ = false;
    static inline bool written_ = false;
    static inline std::string problem_;
};

// The folder entry is listed through the wide calls and every picture of it
// reaches the screen; the overlay draws the names; the songs play in order.
TEST_F(UnicodePaths, AFullScreenRunShowsEveryPictureAndPlaysEverySong) {
    ASSERT_TRUE(routed_) << problem_;
    NullReporter reporter;
    auto& store = registry::SystemRegistry();
    const Paths folderEntry = {Folder()};
    lists::SaveList(store, registry::RegistryRoot::CurrentUser, ListKey(), folderEntry, reporter);
    lists::SaveList(store, registry::RegistryRoot::CurrentUser,
                    lists::MusicListKeyPath(kScratchKey), Songs(), reporter);
    // One-second pictures and turns, no shuffle, no glass, names shown.
    const struct {
        const char* name;
        DWORD value;
    } values[] = {{"000_100", 1}, {"000_103", 0}, {"000_106", 2},
                  {"000_107", 1}, {"000_108", 1}, {"000_109", 0}};
    for (const auto& v : values) {
        RegSetKeyValueA(HKEY_CURRENT_USER, kScratchKey, v.name, REG_DWORD, &v.value, 4);
    }
    const std::size_t offset = CaptureSize();
    Process().runMode = RunMode::FullScreen;
    SaverRunOptions options;
    options.settingsKeyPath = kScratchKey;
    options.isNtFamily = [] { return true; };

    CubeSaverApp app;
    std::set<char> seen;
    std::vector<int> songs;
    std::atomic<bool> ended{false};
    const DWORD mainThread = GetCurrentThreadId();
    std::thread driver([&] {
        HWND window = nullptr;
        for (int i = 0; i < 1000 && window == nullptr; ++i, Sleep(10)) {
            window = FindWindowA(DecodeText(texts::kWindowClass).c_str(),
                                 DecodeText(texts::kWindowTitle).c_str());
        }
        const HDC screen = GetDC(nullptr);
        const int x = GetSystemMetrics(SM_CXSCREEN) / 2;
        const int y = GetSystemMetrics(SM_CYSCREEN) / 2;
        for (const DWORD start = GetTickCount(); GetTickCount() - start < 20000; Sleep(50)) {
            if (const char c = Dominant(GetPixel(screen, x, y))) {
                seen.insert(c);
            }
            songs = SongsCapturedSince(offset, kTones);
            if (seen.size() == 3 && songs.size() >= 3) {
                break;
            }
        }
        ReleaseDC(nullptr, screen);
        // Music stopped first, as the music tests do: Wine's wave driver can
        // fault when its window is closed in the middle of a song.
        PostMessageA(window, WM_SYSCOMMAND, SC_MONITORPOWER, 2);
        Sleep(300);
        PostMessageA(window, WM_KEYDOWN, 'X', 0);
        for (int i = 0; i < 1000 && !ended.load(); ++i) {
            Sleep(10);
        }
        if (!ended.load()) {
            PostThreadMessageA(mainThread, WM_QUIT, 0, 0);
        }
    });
    RunSaver(app, nullptr, SW_SHOW, options);
    ended = true;
    driver.join();
    EXPECT_EQ(app.pictureList, Pictures());
    EXPECT_EQ(seen, (std::set<char>{'r', 'g', 'b'}));
    ASSERT_GE(songs.size(), 3u);
    EXPECT_EQ(std::vector<int>(songs.begin(), songs.begin() + 3), kTones);
}

// Typed into Wine's own file dialog, previewed one by one, stored by OK, and
// read back the same by a run and by the editor opened again.
TEST_F(UnicodePaths, TheEditorAddsPreviewsAndStoresThemAndReadsThemBack) {
    lists::ListEditorRequest request;
    request.fileTypes = lists::PictureFileTypes();
    request.subKeyPath = ListKey();
    request.previewWanted = true;
    wchar_t previous[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, previous);
    SetCurrentDirectoryW(WideFromUtf8(Folder()).c_str());
    Paths added;
    {
        ListEditorDriver editor(request, lists::SystemChooser());
        editor.PostClick(lists::list_editor_id::kAddFiles);
        const HWND files = WaitForThreadDialog(editor.ThreadId(), "Add Files");
        ASSERT_NE(files, nullptr);
        ASSERT_TRUE(testing::TypeIntoFileDialog(
            files,
            WideFromUtf8("\"" + kLodz + ".jpg\" \"" + kJapan + ".png\" \"" + kSmile + ".bmp\"")));
        ASSERT_TRUE(WaitUntil([&] { return editor.Paths().size() == 3; }));
        added = editor.Paths();
        Paths sorted = added;
        std::sort(sorted.begin(), sorted.end());
        EXPECT_EQ(sorted, Pictures());
        for (int i = 0; i < 3; ++i) {
            editor.Select({i});
            EXPECT_TRUE(WaitUntil([&] {
                lists::PreviewLock lock(request);
                return request.preview != nullptr && request.shownPath == added[i];
            })) << i;
        }
        editor.Close(IDOK);
    }
    SetCurrentDirectoryW(previous);
    EXPECT_EQ(StoredList(ListKey()), added);
    EXPECT_EQ(lists::LoadListForRun(registry::SystemRegistry(), registry::RegistryRoot::CurrentUser,
                                    ListKey()),
              added);
    ScriptedChooser chooser;
    ListEditorDriver reopened(request, chooser);
    EXPECT_EQ(reopened.Paths(), added);
    // Stored as the UTF-16 the system shows, not as code-page bytes.
    wchar_t stored[MAX_PATH] = {};
    DWORD size = sizeof stored;
    RegGetValueW(HKEY_CURRENT_USER, WideFromUtf8(ListKey()).c_str(), L"00001", RRF_RT_REG_SZ,
                 nullptr, stored, &size);
    EXPECT_EQ(std::wstring(stored), WideFromUtf8(added[1]));
}

// An earlier version stored code-page text by the narrow call; it loads as
// the same name, and what is saved now still reads through the narrow call.
TEST_F(UnicodePaths, AListStoredAsAnsiStillLoadsAndANewOneStillReadsNarrow) {
    const std::string utf8 = root_.File(kCafe);
    std::string ansi = utf8;
    ansi.replace(ansi.size() - 6, 2, "\xE9");  // é in code page 1252
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, ListKey().c_str(), 0, nullptr, 0, KEY_WRITE,
                              nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, "00000", 0, REG_SZ, reinterpret_cast<const BYTE*>(ansi.c_str()),
                   static_cast<DWORD>(ansi.size() + 1));
    RegCloseKey(key);

    auto& store = registry::SystemRegistry();
    const Paths loaded =
        lists::LoadListForRun(store, registry::RegistryRoot::CurrentUser, ListKey());
    EXPECT_EQ(loaded, Paths{utf8});
    MappedFile file;
    EXPECT_EQ(file.Open(utf8), MappedFile::Error::None);
    Paths edited;
    lists::LoadListForEditor(store, registry::RegistryRoot::CurrentUser, ListKey(),
                             [&](const std::string& path, bool) { edited.push_back(path); });
    EXPECT_EQ(edited, Paths{utf8});

    NullReporter reporter;
    lists::SaveList(store, registry::RegistryRoot::CurrentUser, ListKey(), loaded, reporter);
    char narrow[MAX_PATH] = {};
    DWORD size = sizeof narrow;
    RegGetValueA(HKEY_CURRENT_USER, ListKey().c_str(), "00000", RRF_RT_REG_SZ, nullptr, narrow,
                 &size);
    EXPECT_EQ(std::string(narrow), ansi);
}

}  // namespace
}  // namespace velmora::testing
