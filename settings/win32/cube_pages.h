// The cube saver's pages in the Win32 settings dialog, handed to the
// application object by the program and by the tests that open the dialog.
#pragma once

#include <cstdint>

#include "settings/cube_pages.h"
#include "settings/win32/color_chooser.h"

namespace velmora::settings {

// Run before the base handling: the pages are added when the dialog is
// built; the swatch is painted and clicked. The result is always 0.
std::intptr_t CubePagesBefore(CubePagesContext& context, void* window, unsigned message,
                              std::uintptr_t wParam, std::intptr_t lParam);

// Run after the base handling: tooltips, lists and controls filled when the
// dialog is built; the pages' commands. Its result is the dialog
// procedure's: TRUE only for the main dialog's initialisation, so it gets the
// default focus.
std::intptr_t CubePagesAfter(CubePagesContext& context, void* window, unsigned message,
                             std::uintptr_t wParam, std::intptr_t lParam);

// Both of the above, with the swatch's colour chooser (the system's colour
// dialog unless given).
inline CubePages Win32CubePages(ColorChooser chooser = &ChooseColorWithSystemDialog) {
    return CubePages{
        &CubePagesBefore, &CubePagesAfter, [chooser](void* owner, std::uint32_t start) {
            return static_cast<std::uint32_t>(chooser(static_cast<HWND>(owner), start));
        }};
}

}  // namespace velmora::settings
