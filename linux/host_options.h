// The XScreenSaver hack's command line: where to draw, which pictures, and
// the cube's settings in XScreenSaver's option style ("--name value"), with
// the Windows program's defaults.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/status.h"
#include "settings/cube_settings.h"

namespace velmora::host {

enum class WindowTarget {
    Own,       // a window of its own, for trying the hack out
    Root,      // --root: $XSCREENSAVER_WINDOW, else the root window
    WindowId,  // --window-id ID
};

struct HostOptions {
    settings::CubeSettings cube;
    bool frameRate = false;
    bool dateTime = false;
    std::vector<std::string> pictureFolders;
    WindowTarget target = WindowTarget::Own;
    unsigned long windowId = 0;
    // The shortest time between frames.
    long delayMicroseconds = 30000;
    bool help = false;
};

// Reads the arguments after the program name over options. Single-dash
// spellings ("-root") and "--name=value" are taken too. E_INVALIDARG with a
// message naming the argument when one is unknown or its value is not valid.
HRESULT ParseHostOptions(const std::vector<std::string>& arguments, HostOptions& options,
                         std::string& error);

// What --help prints.
std::string HostUsage();

// Decimal or 0x hexadecimal, as XScreenSaver and xwininfo write window ids;
// false for 0 or anything else.
bool ParseWindowId(std::string_view text, unsigned long& id);

// "#RRGGBB" (the "#" optional) as a Windows colour value 0x00BBGGRR.
bool ParseColour(const std::string& text, std::uint32_t& colour);

}  // namespace velmora::host
