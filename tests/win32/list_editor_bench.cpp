// Not a test: how long the list editor takes from selecting a large picture
// to its painted preview, how long the dialog's thread is busy with one
// selection change while the worker decodes, and how long a user waits with
// a long list (adding, selecting and moving a few thousand items).
// list_editor_bench [PHOTO24.ppm PHOTO12.ppm]: the pictures are made from the
// two PPM files (6000 x 4000 and 4000 x 3000), or from noise without them.
// list_editor_bench --long-list [COUNT]: the long list alone (2000 items).
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "lists/list_file_types.h"
#include "lists/list_storage.h"
#include "picture/pl_auto_decoder.h"
#include "picture/pl_dib_raster.h"
#include "registry/registry_key.h"
#include "registry/win32/win32_registry_store.h"
#include "tests/support/picture_samples.h"
#include "tests/support/registry_inspection.h"
#include "tests/win32/list_editor_driver.h"

namespace {

using namespace velmora;
using Clock = std::chrono::steady_clock;
namespace samples = picture::testing;
namespace id = lists::list_editor_id;

constexpr int kRuns = 7;
constexpr int kSwitchesPerDecode = 20;

double Milliseconds(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

samples::Bytes Solid(int width, int height, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    samples::Bytes rgb(static_cast<std::size_t>(width) * height * 3);
    for (std::size_t i = 0; i < rgb.size(); i += 3) {
        rgb[i] = r;
        rgb[i + 1] = g;
        rgb[i + 2] = b;
    }
    return rgb;
}

void WriteFile(const std::string& path, const samples::Bytes& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

// A noisy picture, so the codecs do a photo's work rather than a flat one's.
samples::Bytes Noisy(int width, int height) {
    samples::Bytes rgb(static_cast<std::size_t>(width) * height * 3);
    std::uint32_t x = 12345;
    for (std::size_t i = 0; i < rgb.size(); ++i) {
        x = x * 1103515245u + 12345u;
        rgb[i] = static_cast<std::uint8_t>(((i / 3) % static_cast<std::size_t>(width)) / 24 * 8 +
                                           (x >> 28));
    }
    return rgb;
}

const UINT kTimedSelect = RegisterWindowMessageA("VelmoraBenchTimedSelect");
const UINT kSettle = RegisterWindowMessageA("VelmoraBenchSettle");
std::atomic<int> timedSelections{0};
std::atomic<int> settled{0};
double lastSelectionMilliseconds = 0;

LRESULT CALLBACK SelectOnDialogThread(int code, WPARAM wParam, LPARAM lParam) {
    auto* message = reinterpret_cast<MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE && message->message == kSettle) {
        message->message = WM_NULL;
        ++settled;
    }
    if (code == HC_ACTION && wParam == PM_REMOVE && message->message == kTimedSelect) {
        const HWND list = GetDlgItem(message->hwnd, id::kList);
        LVITEMA state{};
        state.stateMask = LVIS_SELECTED;
        const auto start = Clock::now();
        SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
                     reinterpret_cast<LPARAM>(&state));
        state.state = LVIS_SELECTED;
        SendMessageA(list, LVM_SETITEMSTATE, message->wParam, reinterpret_cast<LPARAM>(&state));
        lastSelectionMilliseconds = Milliseconds(Clock::now() - start);
        message->message = WM_NULL;
        ++timedSelections;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

class Bench {
public:
    Bench(lists::ListEditorRequest& request, testing::ListEditorDriver& editor)
        : request_(request), editor_(editor) {}

    std::string Shown() {
        lists::PreviewLock lock(request_);
        return request_.preview ? request_.shownPath : std::string();
    }
    bool Painted(const std::string& path) {
        if (Shown() != path) {
            return false;
        }
        // The worker's posted info text comes before the paint; both are done
        // once the dialog's thread answers a sent message after them.
        SendMessageA(editor_.Dialog(), WM_NULL, 0, 0);
        const HWND box = editor_.Control(id::kPreviewBox);
        RECT area{};
        GetClientRect(box, &area);
        const HDC dc = GetDC(box);
        const COLORREF centre = GetPixel(dc, area.right / 2, area.bottom / 2);
        ReleaseDC(box, dc);
        return centre != GetSysColor(COLOR_BTNFACE) && editor_.Text(id::kInfo).size() > 0 &&
               !GetUpdateRect(editor_.Dialog(), nullptr, FALSE);
    }
    // Median milliseconds from selecting item `big` to its painted preview,
    // going back to item 0 (a small picture) between runs.
    double SelectToPainted(int big, const std::string& path) {
        std::vector<double> times;
        for (int run = 0; run < kRuns; ++run) {
            editor_.Select({0});
            testing::WaitUntil([&] { return Painted(small_); });
            const auto start = Clock::now();
            editor_.Select({big});
            testing::WaitUntil([&] { return Painted(path); }, std::chrono::seconds(60));
            times.push_back(Milliseconds(Clock::now() - start));
        }
        std::sort(times.begin(), times.end());
        for (double t : times) {
            std::printf(" %.0f", t);
        }
        std::printf("\n");
        return times[times.size() / 2];
    }
    // Longest time the dialog's thread spends on one selection change while
    // the worker decodes item `big`.
    // Selection changes made on the dialog's own thread, timed there, so the
    // figure is the handling alone and not the delivery of a sent message.
    double LongestSelectionChange(int big, int smallCount) {
        const HHOOK hook =
            SetWindowsHookExA(WH_GETMESSAGE, SelectOnDialogThread, nullptr, editor_.ThreadId());
        std::vector<double> times;
        for (int run = 0; run < kRuns; ++run) {
            editor_.Select({0});
            testing::WaitUntil([&] { return Painted(small_); });
            for (int i = 0; i < kSwitchesPerDecode; ++i) {
                times.push_back(SelectTimed(big));
                times.push_back(SelectTimed(1 + i % smallCount));
            }
        }
        UnhookWindowsHookEx(hook);
        std::sort(times.begin(), times.end());
        std::printf("selection changes during decodes: %zu, median %.2f ms, 95th %.2f ms\n",
                    times.size(), times[times.size() / 2], times[times.size() * 95 / 100]);
        return times.back();
    }
    double SelectTimed(int position) {
        const int before = timedSelections;
        PostMessageA(editor_.Dialog(), kTimedSelect, static_cast<WPARAM>(position), 0);
        testing::WaitUntil([&] { return timedSelections != before; });
        return lastSelectionMilliseconds;
    }
    void SetSmall(std::string path) { small_ = std::move(path); }

private:
    lists::ListEditorRequest& request_;
    testing::ListEditorDriver& editor_;
    std::string small_;
};

}  // namespace

// Median milliseconds of decoding the file alone, with and without the
// preview box as the size hint.
double DecodeTime(const std::string& path, const picture::PLDecodeHint* hint) {
    std::vector<double> times;
    for (int run = 0; run < 3; ++run) {
        picture::PLDibRaster raster;
        picture::PLAutoDecoder decoder;
        const auto start = Clock::now();
        decoder.DecodeFileToRaster(path, raster, 32, hint);
        times.push_back(Milliseconds(Clock::now() - start));
    }
    std::sort(times.begin(), times.end());
    return times[1];
}

// The samples of a binary PPM (P6, 8 bits), or none.
samples::Bytes ReadPpm(const char* path, int& width, int& height) {
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    int maximum = 0;
    in >> magic >> width >> height >> maximum;
    in.get();
    if (!in || magic != "P6" || maximum != 255 || width <= 0 || height <= 0) {
        return {};
    }
    samples::Bytes rgb(static_cast<std::size_t>(width) * height * 3);
    in.read(reinterpret_cast<char*>(rgb.data()), static_cast<std::streamsize>(rgb.size()));
    return in ? rgb : samples::Bytes{};
}

// The photo of the PPM file, or noise of the given size.
samples::Bytes Photo(const char* path, int& width, int& height) {
    if (path != nullptr) {
        samples::Bytes rgb = ReadPpm(path, width, height);
        if (!rgb.empty()) {
            return rgb;
        }
        std::fprintf(stderr, "%s is no 8-bit PPM; using noise\n", path);
    }
    return Noisy(width, height);
}

// Waits until the dialog's thread has taken every message posted before this
// call (the work a command leaves queued belongs to its time).
void Settle(testing::ListEditorDriver& editor) {
    const int before = settled;
    PostMessageA(editor.Dialog(), kSettle, 0, 0);
    testing::WaitUntil([&] { return settled != before; }, std::chrono::minutes(10));
}

template <typename Action>
double SecondsFor(testing::ListEditorDriver& editor, Action action) {
    const auto start = Clock::now();
    action();
    Settle(editor);
    return Milliseconds(Clock::now() - start) / 1000;
}

// A user's long list: count files added in one choice of the file dialog,
// all selected (as Ctrl+A does), all moved down, saved, and the editor
// opened again on the saved list.
void LongList(int count) {
    const std::string key = "Software\\Quillfen Graphics\\VelmoraEditorBenchLong-" +
                            std::to_string(GetCurrentProcessId());
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i) {
        char name[32] = {};
        std::snprintf(name, sizeof name, "holiday-%05d.jpg", i);
        names.emplace_back(name);
    }
    testing::ScriptedChooser chooser;
    testing::SetFiles(chooser, "C:\\Users\\Public\\Pictures\\Holiday", names);
    lists::ListEditorRequest request;
    request.fileTypes = lists::PictureFileTypes();
    request.subKeyPath = key;
    request.previewWanted = true;
    {
        testing::ListEditorDriver editor(request, chooser);
        const HHOOK hook =
            SetWindowsHookExA(WH_GETMESSAGE, SelectOnDialogThread, nullptr, editor.ThreadId());
        const HWND view = editor.Control(id::kList);
        std::printf("long list of %d items (s): add in one choice %.2f", count,
                    SecondsFor(editor, [&] { editor.Click(id::kAddFiles); }));
        if (SendMessageA(view, LVM_GETTOPINDEX, 0, 0) == 0) {
            std::printf(" (not scrolled to the end)");
        }
        LVITEMA all{};
        all.stateMask = LVIS_SELECTED;
        all.state = LVIS_SELECTED;
        std::printf(", select all %.2f", SecondsFor(editor, [&] {
                        SendMessageA(view, LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
                                     reinterpret_cast<LPARAM>(&all));
                    }));
        std::printf(", move all down %.2f",
                    SecondsFor(editor, [&] { editor.Click(id::kMoveDown); }));
        const std::vector<std::string> paths = editor.Paths();
        const bool rotated = paths.size() == names.size() && paths.front().ends_with(names.back());
        UnhookWindowsHookEx(hook);
        const auto start = Clock::now();
        editor.Close(IDOK);
        std::printf(", OK %.2f", Milliseconds(Clock::now() - start) / 1000);
        if (!rotated) {
            std::printf(" (the move did not rotate the list)");
        }
    }
    const auto start = Clock::now();
    {
        testing::ListEditorDriver editor(request, chooser);
        SendMessageA(editor.Dialog(), WM_NULL, 0, 0);
        std::printf(", open %.2f\n", Milliseconds(Clock::now() - start) / 1000);
    }
    registry::RegistryKey maker;
    if (maker.Open(registry::SystemRegistry(), registry::RegistryRoot::CurrentUser,
                   "Software\\Quillfen Graphics",
                   registry::registry_access::AllAccess) == registry::registry_error::Success) {
        lists::DeleteKeyTree(maker, key.substr(key.rfind('\\') + 1));
    }
}

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    if (argc > 1 && std::string(argv[1]) == "--long-list") {
        LongList(argc > 2 ? std::atoi(argv[2]) : 2000);
        return 0;
    }
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof temp, temp);
    const std::string folder =
        std::string(temp) + "velmora-editor-bench-" + std::to_string(GetCurrentProcessId()) + "\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string small = folder + "small.jpg";
    const std::string small2 = folder + "small2.jpg";
    const std::string jpeg = folder + "photo-24mp.jpg";
    const std::string png = folder + "photo-12mp.png";
    WriteFile(small, samples::EncodeJpeg(64, 48, 3, Solid(64, 48, 0, 200, 0), 90));
    WriteFile(small2, samples::EncodeJpeg(64, 48, 3, Solid(64, 48, 0, 0, 200), 90));
    int width = 6000;
    int height = 4000;
    samples::Bytes rgb = Photo(argc > 2 ? argv[1] : nullptr, width, height);
    WriteFile(jpeg, samples::EncodeJpeg(width, height, 3, rgb, 90));
    width = 4000;
    height = 3000;
    rgb = Photo(argc > 2 ? argv[2] : nullptr, width, height);
    WriteFile(png, samples::EncodePng(width, height, 2, 8, rgb));
    rgb.clear();
    rgb.shrink_to_fit();

    for (const std::string& path : {jpeg, png}) {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
        std::printf("%s: %lu bytes\n", path.c_str() + folder.size(), data.nFileSizeLow);
    }
    const picture::PLDecodeHint box{180, 180, true};
    std::printf("24 MP JPEG decode alone: full %.0f ms, with the box as hint %.0f ms\n",
                DecodeTime(jpeg, nullptr), DecodeTime(jpeg, &box));
    std::printf("12 MP PNG decode alone: %.0f ms\n", DecodeTime(png, nullptr));

    registry::RegistryStore& store = registry::SystemRegistry();
    const std::string key =
        "Software\\Quillfen Graphics\\VelmoraEditorBench-" + std::to_string(GetCurrentProcessId());
    const std::vector<std::string> items = {small, small2, jpeg, png};
    for (std::size_t i = 0; i < items.size(); ++i) {
        testing::PutText(store, key, lists::ListValueName(i).c_str(), items[i]);
    }
    {
        lists::ListEditorRequest request;
        request.fileTypes = lists::PictureFileTypes();
        request.subKeyPath = key;
        request.previewWanted = true;
        lists::ListEditorChooser& chooser = lists::SystemChooser();
        testing::ListEditorDriver editor(request, chooser);
        Bench bench(request, editor);
        bench.SetSmall(small);
        std::printf("24 MP JPEG select to painted (ms):");
        const double jpegMedian = bench.SelectToPainted(2, jpeg);
        std::printf("12 MP PNG select to painted (ms):");
        const double pngMedian = bench.SelectToPainted(3, png);
        const double longest = bench.LongestSelectionChange(2, 2);
        std::printf("median 24 MP JPEG: %.0f ms\nmedian 12 MP PNG: %.0f ms\n", jpegMedian,
                    pngMedian);
        std::printf("longest selection change during a decode: %.2f ms\n", longest);
        editor.Close(IDCANCEL);
    }
    registry::RegistryKey maker;
    if (maker.Open(store, registry::RegistryRoot::CurrentUser, "Software\\Quillfen Graphics",
                   registry::registry_access::AllAccess) == registry::registry_error::Success) {
        lists::DeleteKeyTree(maker, key.substr(key.rfind('\\') + 1));
    }
    for (const std::string& path : items) {
        DeleteFileA(path.c_str());
    }
    RemoveDirectoryA(folder.c_str());
    LongList(2000);
    return 0;
}
