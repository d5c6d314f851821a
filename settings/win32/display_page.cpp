#include "settings/win32/display_page.h"

#include <optional>
#include <string>
#include <vector>

#include "resources/settings_dialog_ids.h"
#include "settings/display_mode_lists.h"
#include "ui/win32/display_mode.h"

namespace velmora::settings {

namespace {

DisplayModeInfo InfoOf(const DEVMODEA& mode) {
    return {static_cast<int>(mode.dmPelsWidth), static_cast<int>(mode.dmPelsHeight),
            static_cast<int>(mode.dmBitsPerPel), static_cast<int>(mode.dmDisplayFrequency)};
}

bool ReadMode(const ui::DisplayModeApi& modes, DWORD index, DEVMODEA& mode) {
    mode = DEVMODEA{};
    mode.dmSize = sizeof(DEVMODEA);
    return modes.enumerateSettings(nullptr, index, &mode) != FALSE;
}

std::vector<DisplayModeInfo> EnumeratedModes(const ui::DisplayModeApi& modes) {
    std::vector<DisplayModeInfo> found;
    DEVMODEA mode{};
    for (DWORD index = 0; ReadMode(modes, index, mode); ++index) {
        found.push_back(InfoOf(mode));
    }
    return found;
}

std::optional<DisplayModeInfo> CurrentMode(const ui::DisplayModeApi& modes) {
    DEVMODEA mode{};
    if (!ReadMode(modes, ENUM_CURRENT_SETTINGS, mode)) {
        return std::nullopt;
    }
    return InfoOf(mode);
}

void Fill(HWND page, int controlId, const ModeList& list) {
    HWND combo = GetDlgItem(page, controlId);
    SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    for (const std::string& item : list.items) {
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    }
    SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(list.selected), 0);
}

void SendSelectionChange(HWND page, int controlId) {
    SendMessageA(page, WM_COMMAND, MAKEWPARAM(controlId, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(GetDlgItem(page, controlId)));
}

// The selected item's text; false when nothing is selected.
bool SelectedText(HWND page, int controlId, std::string& text) {
    HWND combo = GetDlgItem(page, controlId);
    const LRESULT index = SendMessageA(combo, CB_GETCURSEL, 0, 0);
    const LRESULT length = SendMessageA(combo, CB_GETLBTEXTLEN, index, 0);
    if (index < 0 || length < 0) {
        return false;
    }
    text.assign(static_cast<std::size_t>(length) + 1, '\0');
    SendMessageA(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length));
    return true;
}

}  // namespace

void FillResolutions(HWND page, SaverSettings& settings, const ui::DisplayModeApi& modes) {
    const BOOL enabled = settings.UseOtherResolution == 1;
    for (int id : {IDC_RESOLUTION, IDC_REFRESH_RATE, IDC_COLOR_DEPTH}) {
        EnableWindow(GetDlgItem(page, id), enabled);
    }
    AdoptCurrentMode(settings, CurrentMode(modes));
    Fill(page, IDC_RESOLUTION, ResolutionList(EnumeratedModes(modes), settings));
}

void FillModeDetails(HWND page, SaverSettings& settings, const ui::DisplayModeApi& modes) {
    const ModeDetailLists lists = ModeDetails(EnumeratedModes(modes), settings);
    Fill(page, IDC_COLOR_DEPTH, lists.colorDepths);
    Fill(page, IDC_REFRESH_RATE, lists.refreshRates);
    SendSelectionChange(page, IDC_COLOR_DEPTH);
    SendSelectionChange(page, IDC_REFRESH_RATE);
}

void ModeListChanged(HWND page, int controlId, int notification, SaverSettings& settings,
                     const ui::DisplayModeApi& modes) {
    std::string text;
    if (notification != CBN_SELCHANGE || !SelectedText(page, controlId, text)) {
        return;
    }
    switch (controlId) {
        case IDC_RESOLUTION:
            ScanResolution(text, settings.ScreenWidth, settings.ScreenHeight);
            FillModeDetails(page, settings, modes);
            break;
        case IDC_COLOR_DEPTH:
            ScanColorDepth(text, settings.ColorDepth);
            break;
        case IDC_REFRESH_RATE:
            ScanRefreshRate(text, settings.RefreshRate);
            break;
        default:
            break;
    }
}

}  // namespace velmora::settings
