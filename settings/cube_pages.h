// The cube saver's part of the settings dialog: the pictures, cube and music
// pages. The application object's two page hooks hand their messages to the
// pair of functions it was given when it was made (settings/win32/cube_pages.h
// on Windows; none where there is no dialog).
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "settings/cube_settings.h"
#include "settings/page_table.h"

namespace velmora::settings {

// The background colour's chooser: the owner window and the colour to start
// from (0x00BBGGRR); returns the chosen colour, the starting one on cancel.
using ColorChoice = std::function<std::uint32_t(void* owner, std::uint32_t start)>;

struct CubePagesContext {
    PageTable& pages;
    CubeSettings& settings;
    // The key whose subkeys hold the picture and music lists.
    std::string settingsKeyPath;
    // The paint context of the window being painted (HDC), during WM_PAINT.
    void* paintContext = nullptr;
    // The application's SetDefaults for one page.
    std::function<void(DefaultsPage)> setDefaults;
    ColorChoice chooseColor;
};

using CubePageHook = std::intptr_t (*)(CubePagesContext& context, void* window, unsigned message,
                                       std::uintptr_t wParam, std::intptr_t lParam);

// Without hooks no page ever sees a message and both results are 0.
struct CubePages {
    CubePageHook before = nullptr;
    CubePageHook after = nullptr;
    ColorChoice chooseColor;
};

}  // namespace velmora::settings
