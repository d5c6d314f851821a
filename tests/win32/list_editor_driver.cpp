// The list editor run on its own thread and driven by messages (list_editor_driver.h).
#include "tests/win32/list_editor_driver.h"

#include <commctrl.h>

#include <algorithm>
#include <stdexcept>

#include "base/win32/wide_text.h"
#include "lists/list_storage.h"
#include "registry/win32/win32_registry_store.h"
#include "tests/support/registry_inspection.h"

namespace velmora::testing {

namespace {

struct DialogSearch {
    std::string caption;
    HWND found = nullptr;
};

BOOL CALLBACK MatchDialog(HWND window, LPARAM parameter) {
    auto& search = *reinterpret_cast<DialogSearch*>(parameter);
    char className[32] = {};
    char caption[256] = {};
    GetClassNameA(window, className, sizeof className);
    GetWindowTextA(window, caption, sizeof caption);
    if (IsWindowVisible(window) && std::string(className) == "#32770" &&
        search.caption == caption) {
        search.found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

BOOL ScriptedChooser::OpenFiles(OPENFILENAMEW& dialog) {
    ++opened;
    title = dialog.lpstrTitle != nullptr ? Utf8FromWide(dialog.lpstrTitle) : "";
    const std::wstring wide = WideFromUtf8(files);
    if (wide.empty() || wide.size() > dialog.nMaxFile) {
        return FALSE;
    }
    std::copy(wide.begin(), wide.end(), dialog.lpstrFile);
    dialog.nFileOffset = static_cast<WORD>(WideFromUtf8(files.substr(0, fileOffset)).size());
    return TRUE;
}

PIDLIST_ABSOLUTE ScriptedChooser::BrowseForFolder(BROWSEINFOW&) {
    return folder.empty() ? nullptr : ILCreateFromPathW(WideFromUtf8(folder).c_str());
}

int ScriptedChooser::Ask(HWND, const char* text, const char* caption, UINT) {
    asked.emplace_back(text);
    captions.emplace_back(caption);
    return answer;
}

void SetOneFile(ScriptedChooser& chooser, const std::string& path) {
    chooser.files = path + std::string(2, '\0');
    chooser.fileOffset = static_cast<WORD>(path.rfind('\\') + 1);
}

void SetFiles(ScriptedChooser& chooser, const std::string& folder,
              const std::vector<std::string>& names) {
    chooser.files = folder + '\0';
    for (const std::string& name : names) {
        chooser.files += name + '\0';
    }
    chooser.files += '\0';
    chooser.fileOffset = static_cast<WORD>(folder.size() + 1);
}

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end) {
            return false;
        }
        Sleep(5);
    }
    return true;
}

HWND FindThreadDialog(DWORD threadId, const std::string& caption) {
    DialogSearch search{caption};
    EnumThreadWindows(threadId, MatchDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForThreadDialog(DWORD threadId, const std::string& caption) {
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindThreadDialog(threadId, caption)) != nullptr; });
    return found;
}

void StoreList(const std::string& key, const std::vector<std::string>& paths) {
    for (std::size_t i = 0; i < paths.size(); ++i) {
        PutText(registry::SystemRegistry(), key, lists::ListValueName(i).c_str(), paths[i]);
    }
}

std::vector<std::string> StoredList(const std::string& key) {
    std::vector<std::string> paths;
    for (const StoredValue& value : ValuesOf(registry::SystemRegistry(), key)) {
        paths.push_back(value.Bytes().c_str());
    }
    return paths;
}

ListEditorDriver::ListEditorDriver(lists::ListEditorRequest& request,
                                   lists::ListEditorChooser& chooser)
    : request_(request) {
    thread_ = std::thread([this, &chooser] {
        threadId_ = GetCurrentThreadId();
        lists::RunListEditor(nullptr, request_, chooser);
        done_ = true;
    });
    const std::string caption = request.title.empty() ? "File List" : request.title;
    if (!WaitUntil([&] {
            dialog_ = threadId_ != 0 ? FindThreadDialog(threadId_, caption) : nullptr;
            return dialog_ != nullptr || done_;
        }) ||
        dialog_ == nullptr) {
        if (thread_.joinable()) {
            thread_.join();
        }
        throw std::runtime_error("the list editor did not open");
    }
}

ListEditorDriver::~ListEditorDriver() {
    if (!done_ && dialog_ != nullptr) {
        PostMessageA(dialog_, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    }
    if (thread_.joinable()) {
        thread_.join();
    }
}

void ListEditorDriver::Click(int id) {
    SendMessageA(dialog_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(Control(id)));
}

void ListEditorDriver::PostClick(int id) {
    PostMessageA(dialog_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(Control(id)));
}

void ListEditorDriver::Select(const std::vector<int>& positions) {
    const HWND list = Control(lists::list_editor_id::kList);
    LVITEMA state{};
    state.stateMask = LVIS_SELECTED;
    state.state = 0;
    SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
    state.state = LVIS_SELECTED;
    for (const int p : positions) {
        SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(p),
                     reinterpret_cast<LPARAM>(&state));
    }
}

std::vector<int> ListEditorDriver::Selected() const {
    const HWND list = Control(lists::list_editor_id::kList);
    std::vector<int> selected;
    const int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        if (SendMessageA(list, LVM_GETITEMSTATE, static_cast<WPARAM>(i), LVIS_SELECTED) != 0) {
            selected.push_back(i);
        }
    }
    return selected;
}

std::vector<std::string> ListEditorDriver::Paths() const {
    const HWND list = Control(lists::list_editor_id::kList);
    std::vector<std::string> paths;
    const int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        LVITEMA item{};
        item.mask = LVIF_PARAM;
        item.iItem = i;
        SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        paths.push_back(*reinterpret_cast<const std::string*>(item.lParam));
    }
    return paths;
}

std::string ListEditorDriver::Text(int id) const {
    char text[512] = {};
    SendMessageA(Control(id), WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
}

void ListEditorDriver::Close(int id) {
    PostClick(id);
    thread_.join();
}

bool TypeIntoFileDialog(HWND dialog, const std::wstring& names) {
    // The name field is an edit, or the edit inside a combo box.
    HWND name = GetDlgItem(dialog, 1148);
    if (name == nullptr) {
        name = GetDlgItem(dialog, 1152);
    } else if (HWND inner = FindWindowExA(name, nullptr, "Edit", nullptr)) {
        name = inner;
    }
    if (name == nullptr) {
        return false;
    }
    SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(names.c_str()));
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    return true;
}

}  // namespace velmora::testing
