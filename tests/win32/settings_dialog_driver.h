// Runs the real settings dialog on a thread of its own and drives it by the
// messages a user's input would send; reads the settings key back.
#pragma once

#include <windows.h>

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "frame/cube_saver_app.h"
#include "ui/win32/display_mode.h"

namespace velmora::testing {

class SettingsDialogDriver {
public:
    explicit SettingsDialogDriver(
        CubeSaverApp& app, const ui::DisplayModeApi& displayModes = ui::SystemDisplayModeApi());
    SettingsDialogDriver(const SettingsDialogDriver&) = delete;
    SettingsDialogDriver& operator=(const SettingsDialogDriver&) = delete;
    // Closes the dialog if it is still open.
    ~SettingsDialogDriver();

    // A visible top-level window of the dialog's thread with this caption,
    // waited for up to 10 s; null when none came.
    HWND WaitForWindow(const std::string& caption) const;
    // The main dialog once all five pages are built and filled.
    HWND Dialog();
    // The page holding the control.
    HWND PageWith(int controlId);
    // A control of a page, or of the main dialog itself.
    HWND Control(int controlId);

    void SelectTab(int index);
    void Click(int controlId);
    void Choose(int controlId, int item);
    void Notify(int controlId, int notification);
    void Type(int controlId, const std::string& text);
    std::string Text(int controlId);
    bool Checked(int controlId) { return IsDlgButtonChecked(PageWith(controlId), controlId) == 1; }
    int Selected(int controlId);

    // Waits for the dialog to end and returns its result.
    INT_PTR Finish();
    // Clicks the button and returns the dialog's result.
    INT_PTR Close(int buttonId) {
        Click(buttonId);
        return Finish();
    }

private:
    static DWORD WINAPI Run(void* self);

    CubeSaverApp& app_;
    ui::DisplayModeApi displayModes_;
    HANDLE thread_ = nullptr;
    DWORD threadId_ = 0;
    HWND dialog_ = nullptr;
    INT_PTR result_ = -1;
};

// The settings key of the program in HKEY_CURRENT_USER of the test prefix.
void ClearStoredSettings();
void StoreDword(const std::string& name, std::uint32_t value);
void StoreText(const std::string& name, const std::string& text);
std::optional<std::uint32_t> StoredDword(const std::string& name);
std::optional<std::string> StoredText(const std::string& name);
int StoredValueCount();
void StoreDwords(std::initializer_list<std::pair<const char*, std::uint32_t>> values);
std::vector<std::optional<std::uint32_t>> StoredDwords(std::initializer_list<const char*> names);

// Whether the check holds within steps of 10 ms.
template <typename Check>
bool Eventually(Check check, int steps = 1000) {
    for (int i = 0; i < steps; ++i) {
        if (check()) {
            return true;
        }
        Sleep(10);
    }
    return check();
}

}  // namespace velmora::testing
