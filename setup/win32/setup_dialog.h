// The setup assistant's one dialog: asks for name and e-mail address (or,
// when it asked lately, only shows that it is checking) and then reports the
// installation.
#pragma once

#include <windows.h>

#include <string>
#include <utility>

namespace velmora::setup {

class SetupDialog {
public:
    explicit SetupDialog(std::string extraQuery) : extraQuery_(std::move(extraQuery)) {}
    SetupDialog(const SetupDialog&) = delete;
    SetupDialog& operator=(const SetupDialog&) = delete;

    // Runs the dialog modally without owner; 1 once the report is done, -1
    // when the dialog could not be created.
    INT_PTR Run(HINSTANCE instance);

private:
    static INT_PTR CALLBACK Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    void OnInitDialog();
    void OnCommand(int id);
    void ShowCheckingForm();
    void OnOk();

    HWND dialog_ = nullptr;
    std::string extraQuery_;
    // The downloads may pump messages; a second "OK" meanwhile is ignored.
    bool submitting_ = false;
};

}  // namespace velmora::setup
