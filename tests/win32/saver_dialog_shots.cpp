// Not a test: screenshots of the settings dialog's five pages and of the
// picture list editor, as BMP files in the folder given on the command line
// (scripts/dialog-screenshots.sh runs it at several DPIs).
#include <windows.h>

#include <cstdio>
#include <string>

#include "frame/cube_saver_app.h"
#include "lists/list_file_types.h"
#include "lists/win32/list_editor_request.h"
#include "settings/win32/cube_pages.h"
#include "tests/support/picture_samples.h"
#include "tests/win32/list_editor_driver.h"
#include "tests/win32/settings_dialog_driver.h"
#include "tests/win32/window_capture.h"

namespace {

using namespace velmora;
using namespace velmora::testing;

const char kListKey[] = "Software\\Quillfen Graphics\\VelmoraScreenshots\\Pictures";

bool Shoot(HWND window, const std::string& folder, const char* name) {
    // Whatever was asked for is drawn before the picture is taken.
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Sleep(500);
    const bool written = CaptureWindowToBmp(window, folder + "\\" + name + ".bmp");
    std::printf("%s: %s\n", name, written ? "written" : "FAILED");
    return written;
}

bool ShootSettingsPages(const std::string& folder) {
    CubeSaverApp app{settings::Win32CubePages()};
    SettingsDialogDriver dialog(app);
    if (dialog.Dialog() == nullptr) {
        return false;
    }
    bool all = true;
    const char* names[] = {"settings-1-pictures", "settings-2-cube", "settings-3-music",
                           "settings-4-display", "settings-5-about"};
    for (int page = 0; page < 5; ++page) {
        dialog.SelectTab(page);
        all = Shoot(dialog.Dialog(), folder, names[page]) && all;
    }
    dialog.Close(IDCANCEL);
    return all;
}

// A gradient, so the preview's fit and centring show.
picture::testing::Bytes Gradient(int width, int height) {
    picture::testing::Bytes rgb;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            rgb.insert(rgb.end(), {static_cast<std::uint8_t>(x * 255 / width),
                                   static_cast<std::uint8_t>(y * 255 / height), 160});
        }
    }
    return picture::testing::EncodeJpeg(width, height, 3, rgb, 90);
}

bool ShootListEditor(const std::string& folder) {
    const picture::testing::TempFile picture("Harbour at dusk.jpg", Gradient(640, 400));
    StoreList(kListKey, {picture.Path(), "C:\\users\\Public\\Pictures\\", picture.Path()});
    lists::ListEditorRequest request;
    request.fileTypes = lists::PictureFileTypes();
    request.subKeyPath = kListKey;
    request.previewWanted = true;
    ScriptedChooser chooser;
    ListEditorDriver editor(request, chooser);
    editor.Select({0});
    WaitUntil([&] {
        lists::PreviewLock lock(request);
        return request.preview != nullptr;
    });
    const bool written = Shoot(editor.Dialog(), folder, "list-editor");
    editor.Close(IDCANCEL);
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Quillfen Graphics\\VelmoraScreenshots");
    return written;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string folder = argc > 1 ? argv[1] : ".";
    ClearStoredSettings();
    const bool pages = ShootSettingsPages(folder);
    const bool editor = ShootListEditor(folder);
    ClearStoredSettings();
    return pages && editor ? 0 : 1;
}
