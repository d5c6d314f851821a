// The display page's three mode lists: which enumerated modes they offer,
// their item texts and which items are selected after a fill.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "settings/saver_settings.h"

namespace velmora::settings {

struct DisplayModeInfo {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
    int frequency = 0;
};

// Modes of more than 15 bits per pixel and at least 640 x 480.
bool OfferedMode(const DisplayModeInfo& mode);

struct ModeList {
    std::vector<std::string> items;
    int selected = -1;  // none
};

// While the other resolution is off or incomplete, the stored mode follows
// the display's current one (when it can be read).
void AdoptCurrentMode(SaverSettings& settings, const std::optional<DisplayModeInfo>& current);

// One item per offered width and height, in enumeration order, with the
// stored size selected. When the stored size is not offered (a size from
// another display), the first item is selected and its size is stored, as if
// the user had chosen it: what the list shows is what "OK" saves.
ModeList ResolutionList(const std::vector<DisplayModeInfo>& modes, SaverSettings& settings);

struct ModeDetailLists {
    ModeList colorDepths;
    ModeList refreshRates;
};

// The colour depths and refresh rates of the stored size. The stored depth
// and rate stay selected when the size offers them; otherwise the last one
// enumerated is.
ModeDetailLists ModeDetails(const std::vector<DisplayModeInfo>& modes,
                            const SaverSettings& settings);

// An item's numbers back; false when the text holds none.
bool ScanResolution(const std::string& item, std::int32_t& width, std::int32_t& height);
bool ScanColorDepth(const std::string& item, std::int32_t& bitsPerPixel);
bool ScanRefreshRate(const std::string& item, std::int32_t& frequency);

}  // namespace velmora::settings
