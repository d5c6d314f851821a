#include "engine/glyph_table.h"

#include <array>
#include <cmath>

namespace velmora::engine {

namespace {

constexpr char kCharacters[] =
    " !\"#$%&'()*+,-./"
    "0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_'abcdefghijklmnopqrstuvwxyz{|}\"~";
static_assert(sizeof kCharacters - 1 == 96, "one character per cell");

std::array<GlyphCorners, 128> BuildTable() {
    std::array<GlyphCorners, 128> table{};
    const float du = 1.0f / 12.0f;
    const float dv = 1.0f / 8.0f;
    // Later positions overwrite earlier ones: the apostrophe comes from cell
    // 64 and the double quote from cell 94.
    for (int n = 0; n < 96; ++n) {
        const float u = std::fmod(static_cast<float>(n) * du, 1.0f);
        const int row = static_cast<int>(static_cast<float>(n) * du);
        const float top = 1.0f - std::fmod(static_cast<float>(row) * dv, 1.0f);
        const float bottom = top - dv;
        GlyphCorners& g = table[static_cast<unsigned char>(kCharacters[n])];
        const float corners[8] = {u, bottom, u + du, bottom, u + du, top, u, top};
        for (int i = 0; i < 8; ++i) {
            g.uv[i] = corners[i];
        }
    }
    return table;
}

}  // namespace

std::string_view FontCharacters() {
    return std::string_view(kCharacters, 96);
}

const GlyphCorners& GlyphFor(unsigned char code) {
    static const std::array<GlyphCorners, 128> table = BuildTable();
    // Bytes above the table (accented letters in picture names) show a blank cell.
    return code < 128 ? table[code] : table[' '];
}

HRESULT BuildTextMesh(std::string_view text, float x, float y, int flags, Mesh& mesh) {
    const std::size_t n = text.size();
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
        const GlyphCorners& g = GlyphFor(static_cast<unsigned char>(text[j]));
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
