#include "setup/win32/setup_dialog.h"

#include <ctime>
#include <optional>

#include "setup/asking_rule.h"
#include "setup/contact_checks.h"
#include "setup/win32/installation_report.h"
#include "setup/win32/registry_helper.h"
#include "setup/win32/setup_ids.h"

namespace velmora::setup {

namespace {

constexpr char kMakerKey[] = "Software\\Quillfen Graphics";
constexpr char kAskedValue[] = "ci asked";
// Read lengths of the fields, without the terminating zero.
constexpr int kEmailCheckLength = 1023;
constexpr int kFieldLength = 254;

bool IsChecked(HWND dialog, int id) {
    return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

std::string ControlText(HWND dialog, int id, int maxLength) {
    std::string text(static_cast<std::size_t>(maxLength) + 1, '\0');
    const UINT length = GetDlgItemTextA(dialog, id, text.data(), maxLength + 1);
    text.resize(length);
    return text;
}

}  // namespace

INT_PTR SetupDialog::Run(HINSTANCE instance) {
    return DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_SETUP), nullptr, &SetupDialog::Procedure,
                           reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK SetupDialog::Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<SetupDialog*>(lParam);
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        self->dialog_ = dialog;
        self->OnInitDialog();
        return FALSE;
    }
    auto* self = reinterpret_cast<SetupDialog*>(GetWindowLongPtrA(dialog, DWLP_USER));
    if (self != nullptr && message == WM_COMMAND) {
        self->OnCommand(LOWORD(wParam));
    }
    return FALSE;
}

void SetupDialog::OnInitDialog() {
    CheckDlgButton(dialog_, IDC_SETUP_CONTACT, BST_CHECKED);
    RegistryHelper key;
    key.Open(HKEY_CURRENT_USER, kMakerKey, KEY_ALL_ACCESS);
    DWORD stored = 0;
    const std::optional<std::uint32_t> lastAsked =
        key.ReadDword(kAskedValue, &stored) == ERROR_SUCCESS ? std::optional(stored) : std::nullopt;
    const auto now = static_cast<std::uint32_t>(std::time(nullptr));
    if (!ShouldAsk(lastAsked, now)) {
        ShowCheckingForm();
    } else if (key.Key() != nullptr) {
        key.WriteDword(kAskedValue, now);
    }
}

void SetupDialog::ShowCheckingForm() {
    CheckDlgButton(dialog_, IDC_SETUP_CONTACT, BST_UNCHECKED);
    SetDlgItemTextA(dialog_, IDC_SETUP_PROMPT, "Checking for later version.");
    SetDlgItemTextA(dialog_, IDC_SETUP_NOTE, "This may take up to 30 seconds.");
    for (const int id : {IDC_SETUP_NAME_LABEL, IDC_SETUP_EMAIL_LABEL, IDC_SETUP_CONTACT,
                         IDC_SETUP_NAME, IDC_SETUP_EMAIL}) {
        ShowWindow(GetDlgItem(dialog_, id), SW_HIDE);
    }
    // Shown only in its short form. The report blocks this thread, so the
    // texts are painted before it starts.
    ShowWindow(dialog_, SW_SHOW);
    UpdateWindow(dialog_);
    PostMessageA(dialog_, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

void SetupDialog::OnCommand(int id) {
    switch (id) {
        case IDC_SETUP_CONTACT: {
            const BOOL enable = IsChecked(dialog_, IDC_SETUP_CONTACT);
            EnableWindow(GetDlgItem(dialog_, IDC_SETUP_NAME), enable);
            EnableWindow(GetDlgItem(dialog_, IDC_SETUP_EMAIL), enable);
            break;
        }
        case IDCANCEL:
            // Closing still sends the report, without contact data.
            CheckDlgButton(dialog_, IDC_SETUP_CONTACT, BST_UNCHECKED);
            SendMessageA(dialog_, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            break;
        case IDOK:
            OnOk();
            break;
        default:
            break;
    }
}

void SetupDialog::OnOk() {
    if (submitting_) {
        return;
    }
    ContactEntry contact;
    contact.wanted = IsChecked(dialog_, IDC_SETUP_CONTACT);
    if (!AcceptsContactEntry(contact.wanted,
                             ControlText(dialog_, IDC_SETUP_EMAIL, kEmailCheckLength))) {
        MessageBoxA(dialog_, "Please enter a valid email address.", "Error", MB_OK | MB_ICONERROR);
        return;
    }
    contact.name = ControlText(dialog_, IDC_SETUP_NAME, kFieldLength);
    contact.email = ControlText(dialog_, IDC_SETUP_EMAIL, kFieldLength);
    const HWND ok = GetDlgItem(dialog_, IDOK);
    SetWindowTextA(ok, "Please wait...");
    UpdateWindow(ok);
    submitting_ = true;
    Submit(contact, extraQuery_);
    EndDialog(dialog_, 1);
}

}  // namespace velmora::setup
