// The program's icon: a cube drawn from the saver's own art, in the sizes
// Windows shows (16, 32, 48 and 256 pixels), as the bytes of an .ico file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/resource_art.h"

namespace velmora::tools {

inline constexpr int kIconSizes[] = {16, 32, 48, 256};

// size x size RGBA, first row at the bottom; transparent around the cube.
ArtPicture MakeIconPicture(const ArtPicture& leftFace, const ArtPicture& rightFace,
                           const ArtPicture& topFace, int size);

// The .ico file: the small sizes as 32-bit bitmaps with their masks, 256 as
// PNG. Empty when a picture is not square RGBA of a size up to 256.
std::vector<std::uint8_t> WriteIconFile(const std::vector<ArtPicture>& pictures);

// Both steps with the saver's art, the same bytes on every run; empty when
// the fonts cannot be loaded.
std::vector<std::uint8_t> GenerateProgramIcon(const std::string& fontFolder);

}  // namespace velmora::tools
