// Where each character sits in the built-in font picture, and the quads of
// a line of text in character-cell units.
#pragma once

#include <cstddef>
#include <string_view>

#include "engine/mesh.h"

namespace velmora::engine {

// Texture coordinates of one glyph: bottom-left, bottom-right, top-right,
// top-left, each (u, v).
struct GlyphCorners {
    float uv[8] = {};
};

// The cell of the font picture that shows a character the font lacks: a box.
// The character string never names it (its apostrophe is drawn from cell 64).
inline constexpr int kReplacementCell = 7;

// The table for character codes 0 to 127, built once per process. Codes
// below 128 the font does not have keep all-zero coordinates; every
// character above (accented letters, other scripts, emoji, U+FFFD for bytes
// that are no UTF-8) is the replacement box, never another letter.
const GlyphCorners& GlyphFor(char32_t code);

// The 96 characters of the font picture in cell order.
std::string_view FontCharacters();

// Text alignment flags.
inline constexpr int kTextCentred = 1;
inline constexpr int kTextRightAligned = 2;

// Fills mesh with one textured quad per character of the UTF-8 text, the
// line starting at (x, y) as moved by the flags; each character is one unit
// square at z = 0. Returns 1 for an empty text.
HRESULT BuildTextMesh(std::string_view text, float x, float y, int flags, Mesh& mesh);

}  // namespace velmora::engine
