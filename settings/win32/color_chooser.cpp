#include "settings/win32/color_chooser.h"

#include <commdlg.h>

namespace velmora::settings {

namespace {

ColorChooser& Chooser() {
    static ColorChooser chooser = ChooseColorWithSystemDialog;
    return chooser;
}

}  // namespace

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

ColorChooser CurrentColorChooser() {
    return Chooser();
}

ColorChooser SetColorChooserForTesting(ColorChooser chooser) {
    const ColorChooser previous = Chooser();
    Chooser() = chooser;
    return previous;
}

}  // namespace velmora::settings
