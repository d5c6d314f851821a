#include "settings/win32/color_chooser.h"

#include <commdlg.h>

namespace velmora::settings {

COLORREF ChooseColorWithSystemDialog(HWND owner, COLORREF start) {
    COLORREF custom[16] = {};
    CHOOSECOLORA choose{};
    choose.lStructSize = sizeof choose;
    choose.hwndOwner = owner;
    choose.rgbResult = start;
    choose.lpCustColors = custom;
    choose.Flags = CC_FULLOPEN | CC_ANYCOLOR | CC_RGBINIT;
    return ChooseColorA(&choose) ? choose.rgbResult : start;
}

}  // namespace velmora::settings
