// The pixel art of the saver's built-in textures, made procedurally so the
// same bytes come out on every run and machine.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velmora::tools {

// Pixels in OpenGL order: the first row is the BOTTOM of the picture; bytes R, G, B (and A).
struct ArtPicture {
    int width = 0;
    int height = 0;
    int bytesPerPixel = 0;
    std::vector<std::uint8_t> pixels;
};

// 128 x 128 RGB sphere maps (GL_SPHERE_MAP layout) for the glass case.
ArtPicture MakeChromeEnvironment();
ArtPicture MakeSkyEnvironment();

// The pictures that need DejaVu fonts take the folder holding them; they
// throw std::runtime_error when a font cannot be loaded.

// 256 x 256 RGB: shown on a cube face that has no picture of the user's yet.
ArtPicture MakeDefaultPicture(const std::string& fontFolder);

// 256 x 256 RGBA: 12 x 8 equal cells of white glyphs, R = G = B = A = coverage.
ArtPicture MakeFontPicture(const std::string& fontFolder);

// The 96 characters of the font picture, cell by cell.
const std::string& FontPictureCharacters();

// Writes a picture as PNG (top row first), for looking at the art.
bool WriteArtPng(const ArtPicture& picture, const std::string& path);

}  // namespace velmora::tools
