#include "settings/win32/settings_dialog.h"

#include <commctrl.h>

#include <cstdio>
#include <string>

#include "base/product_texts.h"
#include "base/run_mode.h"
#include "frame/saver_app.h"
#include "registry/win32/win32_registry_store.h"
#include "resources/settings_dialog_ids.h"
#include "settings/dialog_commands.h"
#include "settings/program_version.h"
#include "settings/settings_dialog_message.h"
#include "settings/settings_storage.h"
#include "settings/settings_texts.h"
#include "settings/version_notice.h"
#include "settings/win32/dialog_pages.h"
#include "settings/win32/display_page.h"
#include "ui/win32/display_mode.h"
#include "ui/win32/dpi.h"
#include "ui/win32/tooltips.h"
#include "web/launch_texts.h"
#include "web/win32/web_launch.h"

namespace velmora {

namespace {

using settings::PageTable;

constexpr int kVersionLabelSize = 1024;
constexpr int kAboutTextSize = 4096;

// The dialog that runs: one at a time, on the thread that runs it.
struct OpenDialog {
    SaverApp* app = nullptr;
    registry::RegistryStore* store = nullptr;
    ui::DisplayModeApi displayModes{};
    // Set when the main dialog has initialised; the pages' initialisation
    // messages, which come through the same procedure, are then ignored.
    bool initialised = false;
};

OpenDialog& Open() {
    static OpenDialog open;
    return open;
}

HWND PageNamed(const PageTable& pages, const auto& caption) {
    return static_cast<HWND>(pages.Find(DecodeText(caption)));
}

std::string FormatVersion(const std::string& format) {
    char text[kVersionLabelSize] = {};
    std::snprintf(text, sizeof text, format.c_str(), static_cast<double>(settings::ProgramVersion));
    return text;
}

INT_PTR CALLBACK SettingsDialogProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

void Initialise(SaverApp& app, HWND dialog) {
    Open().initialised = true;
    InitCommonControls();
    HINSTANCE instance = static_cast<HINSTANCE>(Process().instance);
    if (instance == nullptr) {
        instance = GetModuleHandleA(nullptr);
    }
    HICON icon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_PROGRAM));
    SendMessageA(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendMessageA(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    app.pages.instance = instance;
    app.pages.dialog = dialog;
    app.pages.tabControl = GetDlgItem(dialog, IDC_PAGE_TABS);
    app.pages.procedure = reinterpret_cast<void*>(&SettingsDialogProcedure);
    settings::GiveTabBackground(static_cast<HWND>(app.pages.tabControl));
    PostMessageA(dialog, settings::kBuildPagesMessage, 0, 0);
}

void AddDisplayTooltips(HWND display, HWND about) {
    using ui::AddTooltip;
    AddTooltip(display, IDC_SHOW_FRAME_RATE, DecodeText(texts::kTipShowFrameRate));
    AddTooltip(display, IDC_DISPLAY_POWER_DOWN, DecodeText(texts::kTipDisplayPowerDown));
    AddTooltip(display, IDC_LESS_PROCESSOR, DecodeText(texts::kTipLessProcessor));
    AddTooltip(display, IDC_USE_OTHER_RESOLUTION, DecodeText(texts::kTipUseOtherResolution));
    AddTooltip(display, IDC_RESOLUTION, DecodeText(texts::kTipResolution));
    AddTooltip(display, IDC_REFRESH_RATE, DecodeText(texts::kTipRefreshRate));
    AddTooltip(display, IDC_COLOR_DEPTH, DecodeText(texts::kTipColorDepth));
    AddTooltip(display, IDC_DISABLE_AUTO_UPDATE, DecodeText(texts::kTipDisableAutoUpdate));
    AddTooltip(display, IDC_SHOW_DATE_TIME, DecodeText(texts::kTipShowDateTime));
    AddTooltip(about, IDC_SUPPORT_MAIL, DecodeText(texts::kTipSupportMail));
}

// Told once per release: the release is remembered at once, whatever the
// answer. The box itself comes once the build is done, over the dialog.
void PrepareNewVersionNotice(SaverApp& app, registry::RegistryStore& store, HWND dialog) {
    settings::SaverSettings& s = app.saverSettings;
    if (!settings::NewVersionNoticeDue(s)) {
        return;
    }
    settings::MarkLatestVersionNotified(s);
    settings::TransferSingleValue(settings::Direction::Write, store,
                                  registry::RegistryRoot::CurrentUser, app.settingsKeyPath,
                                  settings::kSaverGroup, settings::saver_index::NotifiedVersion,
                                  settings::TextTarget(s.NotifiedVersion));
    PostMessageA(dialog, settings::kShowNoticeMessage, 0, 0);
}

// Yes opens the download page and ends the dialog without saving.
void ShowNewVersionNotice(SaverApp& app, HWND dialog) {
    // The dialog manager shows a dialog only once its queue is empty; the box
    // must not come up alone before it.
    ShowWindow(dialog, SW_SHOWNORMAL);
    const settings::SaverSettings& s = app.saverSettings;
    char text[kAboutTextSize] = {};
    std::snprintf(text, sizeof text, DecodeText(texts::kNoticeFormat).c_str(),
                  DecodeText(texts::kProduct).c_str(),
                  static_cast<double>(settings::ProgramVersion), s.LatestVersion,
                  DecodeText(texts::kNoticeClosing).c_str());
    const int answer = MessageBoxA(dialog, text, DecodeText(texts::kNoticeCaption).c_str(),
                                   MB_YESNO | MB_ICONINFORMATION);
    if (answer == IDYES) {
        web::OpenWebPage(web::DownloadPageAddress(), DecodeText(texts::kNoticeSource),
                         web::BrowserWait::No);
        EndDialog(dialog, 0);
    }
}

void ShowAboutAndVersion(SaverApp& app, HWND dialog, HWND about) {
    const std::string product = DecodeText(texts::kProduct);
    char first[kAboutTextSize] = {};
    std::snprintf(first, sizeof first, DecodeText(texts::kAboutFirstLineFormat).c_str(),
                  product.c_str(), static_cast<double>(settings::ProgramVersion));
    const std::string aboutText =
        first + DecodeText(texts::kAboutSecondText) + DecodeText(texts::kAboutThirdText);
    SetDlgItemTextA(about, IDC_ABOUT_TEXT, aboutText.c_str());
    SetDlgItemTextA(about, IDC_SUPPORT_MAIL, DecodeText(texts::kSupportMailButton).c_str());
    SetWindowTextA(dialog, (product + DecodeText(texts::kDialogCaptionSuffix)).c_str());
    const std::string label = settings::NewerReleaseKnown(app.saverSettings)
                                  ? DecodeText(texts::kNewReleaseLabel)
                                  : FormatVersion(DecodeText(texts::kVersionLabelFormat));
    SetDlgItemTextA(dialog, IDC_VERSION_LABEL, label.c_str());
}

void ShowDisplaySettings(SaverApp& app, HWND display) {
    // The update group stays hidden; its box still carries the setting.
    ShowWindow(GetDlgItem(display, IDC_AUTO_UPDATE_GROUP), SW_HIDE);
    ShowWindow(GetDlgItem(display, IDC_DISABLE_AUTO_UPDATE), SW_HIDE);
    const settings::SaverSettings& s = app.saverSettings;
    const auto check = [&](int id, std::int32_t flag) {
        CheckDlgButton(display, id, flag == 1 ? BST_CHECKED : BST_UNCHECKED);
    };
    check(IDC_DISABLE_AUTO_UPDATE, s.DisableAutoUpdate);
    check(IDC_DISPLAY_POWER_DOWN, s.DisplayPowerDown);
    check(IDC_LESS_PROCESSOR, s.LessProcessor);
    check(IDC_SHOW_FRAME_RATE, s.ShowFrameRate);
    check(IDC_USE_OTHER_RESOLUTION, s.UseOtherResolution);
    check(IDC_SHOW_DATE_TIME, s.ShowDateTime);
    const ui::DisplayModeApi& modes = Open().displayModes;
    settings::FillResolutions(display, app.saverSettings, modes);
    settings::FillModeDetails(display, app.saverSettings, modes);
}

void BuildPages(SaverApp& app, registry::RegistryStore& store, HWND dialog) {
    settings::AddPage(app.pages, IDD_DISPLAY_PAGE, DecodeText(texts::kDisplayPageCaption));
    settings::AddPage(app.pages, IDD_ABOUT_PAGE, DecodeText(texts::kAboutPageCaption));
    HWND display = PageNamed(app.pages, texts::kDisplayPageCaption);
    HWND about = PageNamed(app.pages, texts::kAboutPageCaption);
    AddDisplayTooltips(display, about);
    app.SetDefaults(dialog, 0);
    app.LoadSettings(store, dialog);
    const std::string keyPath = app.settingsKeyPath;
    const std::int32_t openCount = settings::ReadSettingsOpenCount(store, keyPath);
    PrepareNewVersionNotice(app, store, dialog);
    settings::WriteSettingsOpenCount(store, keyPath, openCount + 1);
    ShowAboutAndVersion(app, dialog, about);
    ShowDisplaySettings(app, display);
}

void SetFlag(std::int32_t* field, HWND control) {
    if (field != nullptr) {
        *field = SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
    }
}

void Command(SaverApp& app, registry::RegistryStore& store, HWND window, WPARAM wParam,
             LPARAM lParam) {
    const int id = LOWORD(wParam);
    HWND control = reinterpret_cast<HWND>(lParam);
    HWND dialog = static_cast<HWND>(app.pages.dialog);
    settings::SaverSettings& s = app.saverSettings;
    switch (settings::BaseCommand(id)) {
        case settings::DialogCommand::Save:
            app.SaveSettings(store, dialog, app.settingsKeyPath);
            EndDialog(dialog, 1);
            break;
        case settings::DialogCommand::Cancel:
            EndDialog(dialog, 2);
            break;
        case settings::DialogCommand::SaverFlag:
            SetFlag(settings::SaverFlagField(id, s), control);
            break;
        case settings::DialogCommand::OtherResolution:
            SetFlag(&s.UseOtherResolution, control);
            settings::FillResolutions(window, s, Open().displayModes);
            settings::FillModeDetails(window, s, Open().displayModes);
            break;
        case settings::DialogCommand::ResolutionList:
        case settings::DialogCommand::ColorDepthList:
        case settings::DialogCommand::RefreshRateList:
            settings::ModeListChanged(window, id, HIWORD(wParam), s, Open().displayModes);
            break;
        case settings::DialogCommand::SupportMail:
            web::ComposeSupportEmail(dialog);
            break;
        default:
            break;
    }
}

// The base class's part of every message.
void BaseMessage(SaverApp& app, registry::RegistryStore& store, HWND window, UINT message,
                 WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            if (!Open().initialised) {
                Initialise(app, window);
            }
            break;
        case settings::kBuildPagesMessage:
            BuildPages(app, store, window);
            break;
        case settings::kShowNoticeMessage:
            ShowNewVersionNotice(app, window);
            break;
        case WM_DPICHANGED:
            // The system scales the dialog and its controls after this
            // message (default processing); the pages are placed after that.
            if (window == app.pages.dialog) {
                PostMessageA(window, settings::kPlacePagesMessage, ui::DpiOfChange(wParam), 0);
            }
            break;
        case settings::kPlacePagesMessage:
            settings::PlacePages(app.pages, static_cast<unsigned>(wParam));
            break;
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            if (header != nullptr && header->hwndFrom == app.pages.tabControl &&
                header->code == static_cast<UINT>(TCN_SELCHANGE)) {
                settings::SelectPage(app.pages, static_cast<int>(SendMessageA(
                                                    header->hwndFrom, TCM_GETCURSEL, 0, 0)));
            }
            break;
        }
        case WM_COMMAND:
            Command(app, store, window, wParam, lParam);
            break;
        default:
            break;
    }
}

INT_PTR CALLBACK SettingsDialogProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    SaverApp* app = Open().app;
    if (app == nullptr) {
        return FALSE;
    }
    const bool helpShown =
        ui::FilterHelpMessage(window, static_cast<HWND>(app->pages.CurrentPage()), message, lParam);
    PAINTSTRUCT paint{};
    if (message == WM_PAINT) {
        app->paintContext = BeginPaint(window, &paint);
    }
    INT_PTR result = 0;
    if (app->BeforePageMessage(window, message, wParam, lParam) != 1) {
        BaseMessage(*app, *Open().store, window, message, wParam, lParam);
        result = app->AfterPageMessage(window, message, wParam, lParam);
    }
    if (message == WM_PAINT) {
        EndPaint(window, &paint);
        app->paintContext = nullptr;
    }
    return helpShown ? TRUE : result;
}

}  // namespace

INT_PTR RunSettingsDialog(SaverApp& app, HWND parent) {
    return RunSettingsDialog(app, parent, registry::SystemRegistry());
}

INT_PTR RunSettingsDialog(SaverApp& app, HWND parent, registry::RegistryStore& store,
                          const ui::DisplayModeApi& displayModes) {
    Open() = OpenDialog{&app, &store, displayModes, false};
    app.pages = PageTable{};
    HINSTANCE instance = static_cast<HINSTANCE>(Process().instance);
    if (instance == nullptr) {
        instance = GetModuleHandleA(nullptr);
    }
    const INT_PTR result = DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_SETTINGS), parent,
                                           &SettingsDialogProcedure, 0);
    ui::ResetHelpDisplay();
    app.pages = PageTable{};
    Open() = OpenDialog{};
    return result;
}

}  // namespace velmora
