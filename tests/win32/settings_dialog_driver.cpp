// The settings dialog run on its own thread and driven by messages (settings_dialog_driver.h).
#include "tests/win32/settings_dialog_driver.h"

#include <commctrl.h>

#include "registry/win32/win32_registry_store.h"
#include "resources/settings_dialog_ids.h"
#include "settings/settings_storage.h"
#include "settings/win32/settings_dialog.h"

namespace velmora::testing {

namespace {

constexpr int kWaitSteps = 1000;
constexpr DWORD kStepMs = 10;
constexpr int kPageCount = 5;

struct WindowSearch {
    std::string caption;
    HWND found = nullptr;
};

BOOL CALLBACK MatchCaption(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<WindowSearch*>(data);
    char text[256] = {};
    GetWindowTextA(window, text, sizeof text);
    if (IsWindowVisible(window) && search->caption == text) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

struct PageSearch {
    HWND dialog = nullptr;
    int controlId = 0;
    HWND found = nullptr;
};

BOOL CALLBACK MatchPage(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<PageSearch*>(data);
    if (GetParent(window) == search->dialog && GetDlgItem(window, search->controlId) != nullptr) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HKEY OpenSettingsKey(REGSAM access) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, settings::SettingsKeyPath().c_str(), 0, nullptr, 0,
                        access, nullptr, &key, nullptr) != ERROR_SUCCESS) {
        return nullptr;
    }
    return key;
}

}  // namespace

SettingsDialogDriver::SettingsDialogDriver(CubeSaverApp& app,
                                           const ui::DisplayModeApi& displayModes)
    : app_(app), displayModes_(displayModes) {
    thread_ = CreateThread(nullptr, 0, &Run, this, 0, &threadId_);
}

SettingsDialogDriver::~SettingsDialogDriver() {
    if (thread_ != nullptr) {
        if (dialog_ != nullptr && IsWindow(dialog_)) {
            PostMessageA(dialog_, WM_CLOSE, 0, 0);
        }
        Finish();
    }
}

DWORD WINAPI SettingsDialogDriver::Run(void* self) {
    auto* driver = static_cast<SettingsDialogDriver*>(self);
    driver->result_ =
        RunSettingsDialog(driver->app_, nullptr, registry::SystemRegistry(), driver->displayModes_);
    return 0;
}

HWND SettingsDialogDriver::WaitForWindow(const std::string& caption) const {
    for (int i = 0; i < kWaitSteps; ++i) {
        WindowSearch search{caption};
        EnumThreadWindows(threadId_, &MatchCaption, reinterpret_cast<LPARAM>(&search));
        if (search.found != nullptr) {
            return search.found;
        }
        Sleep(kStepMs);
    }
    return nullptr;
}

HWND SettingsDialogDriver::Dialog() {
    if (dialog_ != nullptr) {
        return dialog_;
    }
    HWND dialog = WaitForWindow("Velmora Screen Saver Settings");
    for (int i = 0; dialog != nullptr && i < kWaitSteps; ++i) {
        dialog_ = dialog;
        // The last step of the build fills the cube style list.
        HWND tabs = GetDlgItem(dialog, IDC_PAGE_TABS);
        if (SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0) == kPageCount &&
            SendMessageA(Control(IDC_CUBE_STYLE), CB_GETCOUNT, 0, 0) > 0) {
            return dialog;
        }
        dialog_ = nullptr;
        Sleep(kStepMs);
    }
    return nullptr;
}

HWND SettingsDialogDriver::PageWith(int controlId) {
    PageSearch search{dialog_ != nullptr ? dialog_ : Dialog(), controlId};
    EnumChildWindows(search.dialog, &MatchPage, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND SettingsDialogDriver::Control(int controlId) {
    HWND page = PageWith(controlId);
    return GetDlgItem(page != nullptr ? page : dialog_, controlId);
}

void SettingsDialogDriver::SelectTab(int index) {
    HWND tabs = GetDlgItem(Dialog(), IDC_PAGE_TABS);
    SendMessageA(tabs, TCM_SETCURSEL, index, 0);
    NMHDR header{tabs, IDC_PAGE_TABS, static_cast<UINT>(TCN_SELCHANGE)};
    SendMessageA(Dialog(), WM_NOTIFY, IDC_PAGE_TABS, reinterpret_cast<LPARAM>(&header));
}

void SettingsDialogDriver::Click(int controlId) {
    SendMessageA(Control(controlId), BM_CLICK, 0, 0);
}

void SettingsDialogDriver::Choose(int controlId, int item) {
    SendMessageA(Control(controlId), CB_SETCURSEL, item, 0);
    Notify(controlId, CBN_SELCHANGE);
}

void SettingsDialogDriver::Notify(int controlId, int notification) {
    SendMessageA(GetParent(Control(controlId)), WM_COMMAND, MAKEWPARAM(controlId, notification),
                 reinterpret_cast<LPARAM>(Control(controlId)));
}

void SettingsDialogDriver::Type(int controlId, const std::string& text) {
    SendMessageA(Control(controlId), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

std::string SettingsDialogDriver::Text(int controlId) {
    char text[1024] = {};
    GetWindowTextA(Control(controlId), text, sizeof text);
    return text;
}

int SettingsDialogDriver::Selected(int controlId) {
    return static_cast<int>(SendMessageA(Control(controlId), CB_GETCURSEL, 0, 0));
}

INT_PTR SettingsDialogDriver::Finish() {
    if (thread_ != nullptr) {
        WaitForSingleObject(thread_, 20000);
        CloseHandle(thread_);
        thread_ = nullptr;
    }
    return result_;
}

void ClearStoredSettings() {
    RegDeleteTreeA(HKEY_CURRENT_USER, settings::SettingsKeyPath().c_str());
}

void StoreDword(const std::string& name, std::uint32_t value) {
    if (HKEY key = OpenSettingsKey(KEY_WRITE)) {
        RegSetValueExA(key, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                       sizeof value);
        RegCloseKey(key);
    }
}

void StoreText(const std::string& name, const std::string& text) {
    if (HKEY key = OpenSettingsKey(KEY_WRITE)) {
        RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                       static_cast<DWORD>(text.size() + 1));
        RegCloseKey(key);
    }
}

std::optional<std::uint32_t> StoredDword(const std::string& name) {
    DWORD value = 0;
    DWORD size = sizeof value;
    if (RegGetValueA(HKEY_CURRENT_USER, settings::SettingsKeyPath().c_str(), name.c_str(),
                     RRF_RT_REG_DWORD, nullptr, &value, &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return value;
}

std::optional<std::string> StoredText(const std::string& name) {
    char text[256] = {};
    DWORD size = sizeof text - 1;
    if (RegGetValueA(HKEY_CURRENT_USER, settings::SettingsKeyPath().c_str(), name.c_str(),
                     RRF_RT_REG_SZ, nullptr, text, &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return std::string(text);
}

void StoreDwords(std::initializer_list<std::pair<const char*, std::uint32_t>> values) {
    for (const auto& [name, value] : values) {
        StoreDword(name, value);
    }
}

std::vector<std::optional<std::uint32_t>> StoredDwords(std::initializer_list<const char*> names) {
    std::vector<std::optional<std::uint32_t>> values;
    for (const char* name : names) {
        values.push_back(StoredDword(name));
    }
    return values;
}

int StoredValueCount() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, settings::SettingsKeyPath().c_str(), 0, KEY_READ, &key) !=
        ERROR_SUCCESS) {
        return 0;
    }
    DWORD count = 0;
    RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, nullptr,
                     nullptr, nullptr, nullptr);
    RegCloseKey(key);
    return static_cast<int>(count);
}

}  // namespace velmora::testing
