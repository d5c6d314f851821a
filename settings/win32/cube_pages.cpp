#include "settings/win32/cube_pages.h"

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <span>
#include <string_view>

#include "lists/list_texts.h"
#include "lists/win32/list_editor.h"
#include "resources/settings_dialog_ids.h"
#include "settings/dialog_commands.h"
#include "settings/setting_choices.h"
#include "settings/settings_dialog_message.h"
#include "settings/settings_texts.h"
#include "settings/win32/dialog_pages.h"
#include "ui/win32/tooltips.h"

namespace velmora::settings {

namespace {

constexpr int kSecondsMin = 1;
constexpr int kSecondsMax = 600;
constexpr int kSecondsTextSize = 32;

enum class MediaList { Pictures, Music };

HWND PicturesPage(const PageTable& pages) {
    return static_cast<HWND>(pages.Find(DecodeText(texts::kPictureListSuffix)));
}

HWND CubePage(const PageTable& pages) {
    return static_cast<HWND>(pages.Find(DecodeText(texts::kCubePageCaption)));
}

HWND MusicPage(const PageTable& pages) {
    return static_cast<HWND>(pages.Find(DecodeText(texts::kMusicListSuffix)));
}

bool IsCurrentPage(const PageTable& pages, HWND page) {
    return page != nullptr && pages.CurrentPage() == page;
}

void AddCubePages(CubePagesContext& context) {
    const std::string pictures = DecodeText(texts::kPictureListSuffix);
    AddPage(context.pages, IDD_PICTURES_PAGE, pictures);
    AddPage(context.pages, IDD_CUBE_PAGE, DecodeText(texts::kCubePageCaption));
    AddPage(context.pages, IDD_MUSIC_PAGE, DecodeText(texts::kMusicListSuffix));
    SelectPage(context.pages, std::max(0, context.pages.IndexOf(pictures)));
}

void AddCubeTooltips(const PageTable& pages) {
    HWND picturesPage = PicturesPage(pages);
    ui::AddTooltip(picturesPage, IDC_PICTURE_LIST, DecodeText(texts::kTipPictureList));
    ui::AddTooltip(picturesPage, IDC_SHUFFLE_PICTURES, DecodeText(texts::kTipShufflePictures));
    ui::AddTooltip(picturesPage, IDC_SHOW_PICTURE_NAMES, DecodeText(texts::kTipShowPictureNames));
    ui::AddTooltip(picturesPage, IDC_STRETCH_PICTURES, DecodeText(texts::kTipStretchPictures));
    ui::AddTooltip(picturesPage, IDC_DEFAULTS, DecodeText(texts::kTipPicturesDefaults));
    HWND cubePage = CubePage(pages);
    ui::AddTooltip(cubePage, IDC_ROTATION_SECONDS, DecodeText(texts::kTipRotationSeconds));
    ui::AddTooltip(cubePage, IDC_PICTURE_SECONDS, DecodeText(texts::kTipPictureSeconds));
    ui::AddTooltip(cubePage, IDC_CUBE_STYLE, DecodeText(texts::kTipCubeStyle));
    ui::AddTooltip(cubePage, IDC_CUBE_GLASS, DecodeText(texts::kTipCubeGlass));
    ui::AddTooltip(cubePage, IDC_BACKGROUND_KIND, DecodeText(texts::kTipBackgroundKind));
    ui::AddTooltip(cubePage, IDC_BACKGROUND_COLOR, DecodeText(texts::kTipBackgroundColor));
    ui::AddTooltip(cubePage, IDC_DEFAULTS, DecodeText(texts::kTipCubeDefaults));
}

void SelectChoice(HWND page, int controlId, std::int32_t stored) {
    // A stored value outside the list selects nothing.
    SendDlgItemMessageA(page, controlId, CB_SETCURSEL, static_cast<WPARAM>(stored), 0);
}

template <std::size_t N>
void FillChoices(HWND page, int controlId, const std::array<std::string_view, N>& choices,
                 std::int32_t stored) {
    for (std::string_view choice : choices) {
        const std::string text(choice);
        SendDlgItemMessageA(page, controlId, CB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(text.c_str()));
    }
    SelectChoice(page, controlId, stored);
}

void SetCheck(HWND page, int controlId, std::int32_t flag) {
    CheckDlgButton(page, controlId, flag == 1 ? BST_CHECKED : BST_UNCHECKED);
}

void ShowSeconds(HWND page, int editId, int spinId, std::int32_t seconds) {
    SendDlgItemMessageA(page, spinId, UDM_SETRANGE32, kSecondsMin, kSecondsMax);
    const std::string text = std::to_string(seconds);
    SetDlgItemTextA(page, editId, text.c_str());
}

void RefreshCubePages(const CubePagesContext& context) {
    const CubeSettings& s = context.settings;
    HWND picturesPage = PicturesPage(context.pages);
    SetCheck(picturesPage, IDC_SHOW_PICTURE_NAMES, s.ShowPictureNames);
    SetCheck(picturesPage, IDC_STRETCH_PICTURES, s.StretchPictures);
    SetCheck(picturesPage, IDC_SHUFFLE_PICTURES, s.ShufflePictures);
    HWND cubePage = CubePage(context.pages);
    // Both edits are read back as they change: take the values first.
    const std::int32_t rotation = s.RotationSeconds;
    const std::int32_t picture = s.PictureSeconds;
    ShowSeconds(cubePage, IDC_ROTATION_SECONDS, IDC_ROTATION_SECONDS_SPIN, rotation);
    ShowSeconds(cubePage, IDC_PICTURE_SECONDS, IDC_PICTURE_SECONDS_SPIN, picture);
    SelectChoice(cubePage, IDC_CUBE_STYLE, s.CubeStyle);
    SelectChoice(cubePage, IDC_BACKGROUND_KIND, s.BackgroundKind);
    SelectChoice(cubePage, IDC_CUBE_GLASS, s.CubeGlass);
    SetCheck(MusicPage(context.pages), IDC_SHUFFLE_MUSIC, s.ShuffleMusic);
    if (IsCurrentPage(context.pages, cubePage)) {
        InvalidateRect(cubePage, nullptr, TRUE);
        UpdateWindow(cubePage);
    }
}

void FinishBuilding(CubePagesContext& context) {
    AddCubeTooltips(context.pages);
    HWND cubePage = CubePage(context.pages);
    FillChoices(cubePage, IDC_CUBE_STYLE, kCubeStyleChoices, context.settings.CubeStyle);
    FillChoices(cubePage, IDC_BACKGROUND_KIND, kBackgroundKindChoices,
                context.settings.BackgroundKind);
    FillChoices(cubePage, IDC_CUBE_GLASS, kCubeGlassChoices, context.settings.CubeGlass);
    HWND musicPage = MusicPage(context.pages);
    ui::AddTooltip(musicPage, IDC_MUSIC_LIST, DecodeText(texts::kTipMusicList));
    ui::AddTooltip(musicPage, IDC_SHUFFLE_MUSIC, DecodeText(texts::kTipShuffleMusic));
    RefreshCubePages(context);
}

// The swatch's client rectangle in the cube page's coordinates.
RECT SwatchRect(HWND page) {
    HWND swatch = GetDlgItem(page, IDC_BACKGROUND_COLOR);
    RECT rect{};
    GetClientRect(swatch, &rect);
    MapWindowPoints(swatch, page, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void PaintSwatch(const CubePagesContext& context, HWND page) {
    if (context.paintContext == nullptr) {
        return;
    }
    const RECT rect = SwatchRect(page);
    HBRUSH brush = CreateSolidBrush(context.settings.BackgroundColor);
    FillRect(static_cast<HDC>(context.paintContext), &rect, brush);
    DeleteObject(brush);
}

// The swatch is a plain static, so its mouse messages reach the page.
void SwatchMouse(HWND page, unsigned message, LPARAM lParam) {
    HCURSOR now = GetCursor();
    if (now != LoadCursor(nullptr, IDC_ARROW) && now != LoadCursor(nullptr, IDC_HELP)) {
        SetCursor(LoadCursor(nullptr, IDC_ARROW));
    }
    HWND swatch = GetDlgItem(page, IDC_BACKGROUND_COLOR);
    const RECT rect = SwatchRect(page);
    const POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    if (swatch == nullptr || !IsWindowVisible(swatch) || !PtInRect(&rect, point)) {
        return;
    }
    SetCursor(LoadCursor(nullptr, IDC_HAND));
    if (message == WM_LBUTTONUP) {
        SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_BACKGROUND_COLOR, 0),
                     reinterpret_cast<LPARAM>(swatch));
    }
}

// Opens the list editor of one media list below the settings key; the
// editor saves the list itself on its own "OK".
void OpenMediaListEditor(HWND page, MediaList list, const std::string& settingsKeyPath) {
    lists::ListEditorRequest request;
    lists::PrepareListEditorRequest(
        request,
        list == MediaList::Pictures ? lists::EditedList::Pictures : lists::EditedList::Music,
        settingsKeyPath);
    lists::RunListEditor(page, request);
}

void ApplyDefaults(CubePagesContext& context) {
    if (IsCurrentPage(context.pages, PicturesPage(context.pages))) {
        context.setDefaults(DefaultsPage::Pictures);
    } else if (IsCurrentPage(context.pages, CubePage(context.pages))) {
        context.setDefaults(DefaultsPage::CubeAppearance);
    }
    RefreshCubePages(context);
}

void ChooseBackgroundColor(CubePagesContext& context, HWND page) {
    if (context.chooseColor) {
        context.settings.BackgroundColor =
            context.chooseColor(page, context.settings.BackgroundColor);
    }
    InvalidateRect(page, nullptr, TRUE);
    UpdateWindow(page);
}

void CubeCommandMessage(CubePagesContext& context, HWND page, int controlId, HWND control) {
    CubeSettings& s = context.settings;
    switch (CubeCommand(controlId)) {
        case DialogCommand::CubeFlag:
            *CubeFlagField(controlId, s) =
                SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
            break;
        case DialogCommand::CubeChoice:
            *CubeChoiceField(controlId, s) =
                static_cast<std::int32_t>(SendMessageA(control, CB_GETCURSEL, 0, 0));
            break;
        case DialogCommand::Seconds: {
            char text[kSecondsTextSize] = {};
            GetWindowTextA(control, text, sizeof text);
            ScanSeconds(text, *SecondsField(controlId, s));
            break;
        }
        case DialogCommand::Defaults:
            ApplyDefaults(context);
            break;
        case DialogCommand::BackgroundColor:
            ChooseBackgroundColor(context, page);
            break;
        case DialogCommand::PictureList:
            OpenMediaListEditor(page, MediaList::Pictures, context.settingsKeyPath);
            break;
        case DialogCommand::MusicList:
            OpenMediaListEditor(page, MediaList::Music, context.settingsKeyPath);
            break;
        default:
            break;
    }
}

}  // namespace

std::intptr_t CubePagesBefore(CubePagesContext& context, void* window, unsigned message,
                              std::uintptr_t, std::intptr_t lParam) {
    HWND page = static_cast<HWND>(window);
    const bool onCurrentCubePage =
        page == CubePage(context.pages) && IsCurrentPage(context.pages, page);
    switch (message) {
        case kBuildPagesMessage:
            AddCubePages(context);
            break;
        case WM_PAINT:
            if (onCurrentCubePage) {
                PaintSwatch(context, page);
            }
            break;
        case WM_MOUSEMOVE:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
            if (onCurrentCubePage) {
                SwatchMouse(page, message, lParam);
            }
            break;
        default:
            break;
    }
    return 0;
}

std::intptr_t CubePagesAfter(CubePagesContext& context, void* window, unsigned message,
                             std::uintptr_t wParam, std::intptr_t lParam) {
    switch (message) {
        case WM_INITDIALOG:
            // The main dialog lets the dialog manager give its first control
            // the focus; a page, built hidden, must not take it.
            return window == context.pages.dialog ? TRUE : FALSE;
        case kBuildPagesMessage:
            FinishBuilding(context);
            break;
        case WM_COMMAND:
            CubeCommandMessage(context, static_cast<HWND>(window), LOWORD(wParam),
                               reinterpret_cast<HWND>(lParam));
            break;
        default:
            break;
    }
    return 0;
}

}  // namespace velmora::settings
