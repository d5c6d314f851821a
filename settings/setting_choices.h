// The texts of the three choice lists, in the order they fill their combo
// boxes: a stored choice is the position of its text here.
#pragma once

#include <array>
#include <string_view>

namespace velmora::settings {

inline constexpr std::array<std::string_view, 4> kCubeStyleChoices = {"Large cube", "Small cube",
                                                                      "Zooming", "Bouncing"};

inline constexpr std::array<std::string_view, 3> kBackgroundKindChoices = {
    "Solid color", "First picture in list", "Star field"};

inline constexpr std::array<std::string_view, 3> kCubeGlassChoices = {"Sky blue", "Silver chrome",
                                                                      "Disabled"};

}  // namespace velmora::settings
