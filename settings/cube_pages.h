// The cube saver's part of the settings dialog: the pictures, cube and music
// pages. The application object's two page hooks hand their messages here.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "settings/cube_settings.h"
#include "settings/page_table.h"

namespace velmora::settings {

struct CubePagesContext {
    PageTable& pages;
    CubeSettings& settings;
    // The key whose subkeys hold the picture and music lists.
    std::string settingsKeyPath;
    // The paint context of the window being painted (HDC), during WM_PAINT.
    void* paintContext = nullptr;
    // The application's SetDefaults for one page.
    std::function<void(DefaultsPage)> setDefaults;
};

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

}  // namespace velmora::settings
