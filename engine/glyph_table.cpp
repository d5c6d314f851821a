#include "engine/glyph_table.h"

#include <array>
#include <cmath>
#include <string>

#include "base/utf8.h"

namespace velmora::engine {

namespace {

constexpr char kCharacters[] =
    " !\"#$%&'()*+,-./"
    "0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_'abcdefghijklmnopqrstuvwxyz{|}\"~";
static_assert(sizeof kCharacters - 1 == 96, "one character per cell");

GlyphCorners CellCorners(int n) {
    const float du = 1.0f / 12.0f;
    const float dv = 1.0f / 8.0f;
    const float u = std::fmod(static_cast<float>(n) * du, 1.0f);
    const int row = static_cast<int>(static_cast<float>(n) * du);
    const float top = 1.0f - std::fmod(static_cast<float>(row) * dv, 1.0f);
    const float bottom = top - dv;
    return GlyphCorners{{u, bottom, u + du, bottom, u + du, top, u, top}};
}

std::array<GlyphCorners, 128> BuildTable() {
    std::array<GlyphCorners, 128> table{};
    // Later positions overwrite earlier ones: the apostrophe comes from cell
    // 64 and the double quote from cell 94.
    for (int n = 0; n < 96; ++n) {
        table[static_cast<unsigned char>(kCharacters[n])] = CellCorners(n);
    }
    return table;
}

}  // namespace

std::string_view FontCharacters() {
    return std::string_view(kCharacters, 96);
}

const GlyphCorners& GlyphFor(char32_t code) {
    static const std::array<GlyphCorners, 128> table = BuildTable();
    static const GlyphCorners replacement = CellCorners(kReplacementCell);
    return code < 128 ? table[code] : replacement;
}

HRESULT BuildTextMesh(std::string_view text, float x, float y, int flags, Mesh& mesh) {
    std::u32string characters;
    characters.reserve(text.size());
    for (std::size_t position = 0; position < text.size();) {
        characters.push_back(NextCharacter(text, position));
    }
    const std::size_t n = characters.size();
    if (n == 0) {
        return S_FALSE;
    }
    mesh.ClearArrays();
    if (FAILED(mesh.SetVertexCount(4 * n, false, true, false, false)) ||
        FAILED(mesh.SetPrimitives(PrimitiveKind::Quads, n))) {
        return E_OUTOFMEMORY;
    }
    if ((flags & kTextCentred) != 0) {
        x -= static_cast<float>(n) * 0.5f;
    }
    if ((flags & kTextRightAligned) != 0) {
        x -= static_cast<float>(n);
    }
    for (std::size_t j = 0; j < n; ++j) {
        const GlyphCorners& g = GlyphFor(characters[j]);
        const float left = x + static_cast<float>(j);
        const float corners[4][2] = {{left, y}, {left + 1, y}, {left + 1, y + 1}, {left, y + 1}};
        for (std::size_t k = 0; k < 4; ++k) {
            mesh.SetVertex(4 * j + k, g.uv[2 * k], g.uv[2 * k + 1], corners[k][0], corners[k][1],
                           0.0f);
            mesh.Indices()[4 * j + k] = static_cast<std::uint32_t>(4 * j + k);
        }
    }
    return S_OK;
}

}  // namespace velmora::engine
