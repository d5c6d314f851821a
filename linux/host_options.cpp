#include "linux/host_options.h"

#include <array>
#include <charconv>
#include <string_view>

namespace velmora::host {

namespace {

struct Choice {
    std::string_view name;
    std::int32_t value;
};

constexpr std::array kStyles = {
    Choice{"large", settings::cube_style::LargeCube},
    Choice{"small", settings::cube_style::SmallCube},
    Choice{"zooming", settings::cube_style::Zooming},
    Choice{"bouncing", settings::cube_style::Bouncing},
};
constexpr std::array kBackgrounds = {
    Choice{"solid", settings::background_kind::SolidColor},
    Choice{"first-picture", settings::background_kind::FirstPicture},
    Choice{"stars", settings::background_kind::StarField},
};
constexpr std::array kGlasses = {
    Choice{"sky-blue", settings::cube_glass::SkyBlue},
    Choice{"silver-chrome", settings::cube_glass::SilverChrome},
    Choice{"none", settings::cube_glass::Disabled},
};

template <std::size_t N>
bool ParseChoice(const std::array<Choice, N>& choices, std::string_view text, std::int32_t& value) {
    for (const Choice& choice : choices) {
        if (choice.name == text) {
            value = choice.value;
            return true;
        }
    }
    return false;
}

bool ParseNumber(std::string_view text, long low, long high, long& value) {
    long parsed = 0;
    const auto [end, failure] = std::from_chars(text.data(), text.data() + text.size(), parsed);
    if (failure != std::errc() || end != text.data() + text.size() || parsed < low ||
        parsed > high) {
        return false;
    }
    value = parsed;
    return true;
}

constexpr long kLongestSeconds = 86400;
constexpr long kLongestDelay = 10'000'000;

// Options without a value; true when name was one of them.
bool ApplySwitch(std::string_view name, HostOptions& options) {
    struct Switch {
        std::string_view name;
        void (*apply)(HostOptions&);
    };
    static constexpr Switch kSwitches[] = {
        {"root", [](HostOptions& o) { o.target = WindowTarget::Root; }},
        {"shuffle", [](HostOptions& o) { o.cube.ShufflePictures = 1; }},
        {"no-shuffle", [](HostOptions& o) { o.cube.ShufflePictures = 0; }},
        {"stretch", [](HostOptions& o) { o.cube.StretchPictures = 1; }},
        {"no-stretch", [](HostOptions& o) { o.cube.StretchPictures = 0; }},
        {"names", [](HostOptions& o) { o.cube.ShowPictureNames = 1; }},
        {"no-names", [](HostOptions& o) { o.cube.ShowPictureNames = 0; }},
        {"fps", [](HostOptions& o) { o.frameRate = true; }},
        {"no-fps", [](HostOptions& o) { o.frameRate = false; }},
        {"clock", [](HostOptions& o) { o.dateTime = true; }},
        {"no-clock", [](HostOptions& o) { o.dateTime = false; }},
        {"help", [](HostOptions& o) { o.help = true; }},
    };
    for (const Switch& entry : kSwitches) {
        if (entry.name == name) {
            entry.apply(options);
            return true;
        }
    }
    return false;
}

// Options with a value; false when the value is not valid for name, or name
// takes none (known set to false then).
bool ApplyValue(std::string_view name, const std::string& value, HostOptions& options,
                bool& known) {
    known = true;
    long number = 0;
    if (name == "pictures") {
        options.pictureFolders.push_back(value);
        return !value.empty();
    }
    if (name == "window-id") {
        options.target = WindowTarget::WindowId;
        return ParseWindowId(value, options.windowId);
    }
    if (name == "picture-seconds" || name == "rotation-seconds") {
        if (!ParseNumber(value, 0, kLongestSeconds, number)) {
            return false;
        }
        (name == "picture-seconds" ? options.cube.PictureSeconds : options.cube.RotationSeconds) =
            static_cast<std::int32_t>(number);
        return true;
    }
    if (name == "delay") {
        return ParseNumber(value, 0, kLongestDelay, options.delayMicroseconds);
    }
    if (name == "style") {
        return ParseChoice(kStyles, value, options.cube.CubeStyle);
    }
    if (name == "background") {
        return ParseChoice(kBackgrounds, value, options.cube.BackgroundKind);
    }
    if (name == "glass") {
        return ParseChoice(kGlasses, value, options.cube.CubeGlass);
    }
    if (name == "background-color") {
        return ParseColour(value, options.cube.BackgroundColor);
    }
    known = false;
    return false;
}

}  // namespace

bool ParseWindowId(std::string_view text, unsigned long& id) {
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        base = 16;
    }
    unsigned long parsed = 0;
    const auto [end, failure] =
        std::from_chars(text.data(), text.data() + text.size(), parsed, base);
    if (failure != std::errc() || end != text.data() + text.size() || parsed == 0) {
        return false;
    }
    id = parsed;
    return true;
}

bool ParseColour(const std::string& text, std::uint32_t& colour) {
    std::string_view digits = text;
    if (!digits.empty() && digits.front() == '#') {
        digits.remove_prefix(1);
    }
    if (digits.size() != 6) {
        return false;
    }
    std::uint32_t rgb = 0;
    const auto [end, failure] = std::from_chars(digits.data(), digits.data() + 6, rgb, 16);
    if (failure != std::errc() || end != digits.data() + 6) {
        return false;
    }
    colour = ((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16);
    return true;
}

HRESULT ParseHostOptions(const std::vector<std::string>& arguments, HostOptions& options,
                         std::string& error) {
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string_view argument = arguments[i];
        if (argument.size() < 2 || argument[0] != '-') {
            error = "unexpected argument: " + arguments[i];
            return E_INVALIDARG;
        }
        argument.remove_prefix(argument[1] == '-' ? 2 : 1);
        std::string_view name = argument;
        std::string value;
        bool inlineValue = false;
        if (const auto equals = argument.find('='); equals != std::string_view::npos) {
            name = argument.substr(0, equals);
            value = std::string(argument.substr(equals + 1));
            inlineValue = true;
        }
        if (!inlineValue && ApplySwitch(name, options)) {
            continue;
        }
        if (!inlineValue && i + 1 < arguments.size()) {
            value = arguments[i + 1];
        }
        bool known = false;
        const bool valid = ApplyValue(name, value, options, known);
        if (!known) {
            error = "unknown option: " + arguments[i];
            return E_INVALIDARG;
        }
        if (!inlineValue && i + 1 >= arguments.size()) {
            error = "option needs a value: " + arguments[i];
            return E_INVALIDARG;
        }
        if (!valid) {
            error = "not a valid value for " + std::string(name) + ": " + value;
            return E_INVALIDARG;
        }
        if (!inlineValue) {
            ++i;
        }
    }
    return S_OK;
}

std::string HostUsage() {
    return "usage: velmora [options]\n"
           "  --window-id ID | --root      draw into that window (default: a window of its own)\n"
           "  --pictures DIR               picture folder, searched with its subfolders; "
           "repeatable\n"
           "  --shuffle | --no-shuffle     random or name order (default: random)\n"
           "  --stretch | --no-stretch     stretch pictures to the face (default: keep shape)\n"
           "  --picture-seconds N          rest on a face N seconds (default 4)\n"
           "  --rotation-seconds N         turn in N seconds (default 2)\n"
           "  --style large|small|zooming|bouncing\n"
           "  --background solid|stars|first-picture\n"
           "  --background-color #RRGGBB   (default #000000)\n"
           "  --glass sky-blue|silver-chrome|none\n"
           "  --names  --fps  --clock      picture names, frame rate, date and time\n"
           "  --delay MICROSECONDS         shortest time between frames (default 30000)\n"
           "  SIGUSR1 turns to the next picture; SIGTERM or SIGINT ends.\n";
}

}  // namespace velmora::host
