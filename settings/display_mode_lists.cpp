#include "settings/display_mode_lists.h"

#include <cctype>
#include <cstdio>

#include "settings/settings_texts.h"

namespace velmora::settings {

namespace {

template <typename... Numbers>
std::string Format(const std::string& format, Numbers... numbers) {
    char text[64] = {};
    std::snprintf(text, sizeof text, format.c_str(), numbers...);
    return text;
}

// The combo box's own search: an item that begins with the text, ignoring case.
bool HoldsPrefix(const ModeList& list, const std::string& text) {
    for (const std::string& item : list.items) {
        if (item.size() < text.size()) {
            continue;
        }
        bool same = true;
        for (std::size_t i = 0; i < text.size() && same; ++i) {
            same = std::tolower(static_cast<unsigned char>(item[i])) ==
                   std::tolower(static_cast<unsigned char>(text[i]));
        }
        if (same) {
            return true;
        }
    }
    return false;
}

// Appends unless held; selects it when it is the stored value.
void AddItem(ModeList& list, const std::string& text, bool stored) {
    if (HoldsPrefix(list, text)) {
        return;
    }
    list.items.push_back(text);
    if (stored) {
        list.selected = static_cast<int>(list.items.size()) - 1;
    }
}

// Neither the stored value nor anything else selected: the last item.
void SelectLastUnlessMarked(ModeList& list) {
    if (list.selected < 0 && !list.items.empty()) {
        list.selected = static_cast<int>(list.items.size()) - 1;
    }
}

}  // namespace

bool OfferedMode(const DisplayModeInfo& mode) {
    return mode.bitsPerPixel > 15 && mode.width > 639 && mode.height > 479;
}

void AdoptCurrentMode(SaverSettings& settings, const std::optional<DisplayModeInfo>& current) {
    const bool keepStored =
        settings.UseOtherResolution == 1 && settings.ScreenWidth != 0 && settings.ScreenHeight != 0;
    if (keepStored || !current) {
        return;
    }
    settings.ScreenWidth = current->width;
    settings.ScreenHeight = current->height;
    settings.ColorDepth = current->bitsPerPixel;
    settings.RefreshRate = current->frequency;
}

ModeList ResolutionList(const std::vector<DisplayModeInfo>& modes, SaverSettings& settings) {
    const std::string format = DecodeText(texts::kResolutionFormat);
    ModeList list;
    const DisplayModeInfo* first = nullptr;
    for (const DisplayModeInfo& mode : modes) {
        if (!OfferedMode(mode)) {
            continue;
        }
        first = first != nullptr ? first : &mode;
        AddItem(list, Format(format, mode.width, mode.height),
                mode.width == settings.ScreenWidth && mode.height == settings.ScreenHeight);
    }
    if (list.selected < 0 && first != nullptr) {
        list.selected = 0;
        settings.ScreenWidth = first->width;
        settings.ScreenHeight = first->height;
    }
    return list;
}

ModeDetailLists ModeDetails(const std::vector<DisplayModeInfo>& modes,
                            const SaverSettings& settings) {
    const std::string depthFormat = DecodeText(texts::kColorDepthFormat);
    const std::string rateFormat = DecodeText(texts::kRefreshRateFormat);
    ModeDetailLists lists;
    for (const DisplayModeInfo& mode : modes) {
        if (!OfferedMode(mode) || mode.width != settings.ScreenWidth ||
            mode.height != settings.ScreenHeight) {
            continue;
        }
        AddItem(lists.colorDepths, Format(depthFormat, mode.bitsPerPixel),
                mode.bitsPerPixel == settings.ColorDepth);
        AddItem(lists.refreshRates, Format(rateFormat, mode.frequency),
                mode.frequency == settings.RefreshRate);
    }
    SelectLastUnlessMarked(lists.colorDepths);
    SelectLastUnlessMarked(lists.refreshRates);
    return lists;
}

namespace {

// Leaves the number alone when the item holds none in the format.
template <typename EncodedFormat>
bool ScanNumber(const std::string& item, const EncodedFormat& format, std::int32_t& number) {
    int value = 0;
    if (std::sscanf(item.c_str(), DecodeText(format).c_str(), &value) != 1) {
        return false;
    }
    number = value;
    return true;
}

}  // namespace

bool ScanResolution(const std::string& item, std::int32_t& width, std::int32_t& height) {
    int w = 0;
    int h = 0;
    if (std::sscanf(item.c_str(), DecodeText(texts::kResolutionScan).c_str(), &w, &h) != 2) {
        return false;
    }
    width = w;
    height = h;
    return true;
}

bool ScanColorDepth(const std::string& item, std::int32_t& bitsPerPixel) {
    return ScanNumber(item, texts::kColorDepthScan, bitsPerPixel);
}

bool ScanRefreshRate(const std::string& item, std::int32_t& frequency) {
    return ScanNumber(item, texts::kRefreshRateScan, frequency);
}

}  // namespace velmora::settings
