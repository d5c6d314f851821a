// The font picture's glyph cells and the text meshes built from them.
#include "engine/glyph_table.h"

#include <gtest/gtest.h>

#include <vector>

namespace velmora::engine {
namespace {

void ExpectCell(char32_t code, int cell) {
    SCOPED_TRACE(static_cast<int>(code));
    const GlyphCorners& g = GlyphFor(code);
    const float u = static_cast<float>(cell % 12) / 12.0f;
    const float top = 1.0f - static_cast<float>(cell / 12) / 8.0f;
    EXPECT_NEAR(g.uv[0], u, 1e-6f);
    EXPECT_NEAR(g.uv[1], top - 0.125f, 1e-6f);
    EXPECT_NEAR(g.uv[2], u + 1.0f / 12.0f, 1e-6f);
    EXPECT_NEAR(g.uv[5], top, 1e-6f);
    EXPECT_NEAR(g.uv[6], u, 1e-6f);
}

TEST(GlyphTable, CellsOfTheFontPicture) {
    const GlyphCorners& a = GlyphFor('A');
    EXPECT_NEAR(a.uv[0], 0.75f, 1e-6f);
    EXPECT_NEAR(a.uv[2], 0.8333333f, 1e-6f);
    EXPECT_NEAR(a.uv[1], 0.625f, 1e-6f);
    EXPECT_NEAR(a.uv[5], 0.75f, 1e-6f);
    ExpectCell('A', 33);
    ExpectCell('~', 95);   // the bottom-right cell
    ExpectCell('\'', 64);  // not cell 7
    ExpectCell('"', 94);   // not cell 2
    ExpectCell(' ', 0);
    ExpectCell('0', 16);
    ExpectCell('a', 65);
    ExpectCell('}', 93);
    EXPECT_EQ(FontCharacters().size(), 96u);
    EXPECT_EQ(FontCharacters()[2], '"');
}

TEST(GlyphTable, CodesWithoutAGlyphAndCharactersBeyondTheFont) {
    for (const char32_t code : {U'`', U'\n', U'\t', U'\0'}) {
        const GlyphCorners& g = GlyphFor(code);
        for (float c : g.uv) {
            EXPECT_EQ(c, 0.0f);
        }
    }
    // Letters the font lacks show the box, never a look-alike letter.
    for (const char32_t code : {U'\u00E9', U'\u0141', U'\u65E5', U'\U0001F642', U'\uFFFD'}) {
        ExpectCell(code, kReplacementCell);
    }
}

// One cell per character, not per byte: the name reads as many cells wide as
// Explorer shows letters.
TEST(TextMesh, OneCellPerUtf8Character) {
    const struct {
        const char* text;
        std::vector<int> cells;
    } cases[] = {
        {"\xC5\x81\xC3\xB3"
         "d\xC5\xBA",
         {7, 7, 68, 7}},  // Lodz with its marks
        {"\xE6\x97\xA5\xE6\x9C\xAC", {7, 7}},
        {"\xF0\x9F\x99\x82.", {7, 14}},
        {"a\xE9\xF0\x9F", {65, 7, 7}},  // bytes that are no UTF-8
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        Mesh mesh;
        ASSERT_EQ(BuildTextMesh(c.text, 0, 0, 0, mesh), S_OK);
        ASSERT_EQ(mesh.Indices().Count(), 4 * c.cells.size());
        for (std::size_t j = 0; j < c.cells.size(); ++j) {
            EXPECT_NEAR(mesh.TexCoords()[8 * j], static_cast<float>(c.cells[j] % 12) / 12.0f, 1e-6f)
                << j;
            EXPECT_NEAR(mesh.TexCoords()[8 * j + 5],
                        1.0f - static_cast<float>(c.cells[j] / 12) / 8.0f, 1e-6f)
                << j;
        }
    }
}

TEST(TextMesh, QuadsPerCharacterAndAlignment) {
    Mesh mesh;
    EXPECT_EQ(BuildTextMesh("", 0, 0, 0, mesh), S_FALSE);
    ASSERT_EQ(BuildTextMesh("0123456789", 25, 3, kTextCentred, mesh), S_OK);
    EXPECT_EQ(mesh.Kind(), PrimitiveKind::Quads);
    EXPECT_EQ(mesh.Flags(), 1u | 4u);
    ASSERT_EQ(mesh.Positions().Count(), 40u * 3);
    ASSERT_EQ(mesh.Indices().Count(), 40u);
    EXPECT_FLOAT_EQ(mesh.Positions()[0], 20.0f);
    EXPECT_FLOAT_EQ(mesh.Positions()[1], 3.0f);
    EXPECT_FLOAT_EQ(mesh.Positions()[3 * 38], 30.0f);  // last quad's right edge
    EXPECT_FLOAT_EQ(mesh.Positions()[3 * 38 + 1], 4.0f);
    for (std::uint32_t i = 0; i < 40; ++i) {
        ASSERT_EQ(mesh.Indices()[i], i);
    }
    ASSERT_EQ(BuildTextMesh("ab", 10, 0, kTextRightAligned, mesh), S_OK);
    EXPECT_FLOAT_EQ(mesh.Positions()[0], 8.0f);
    ASSERT_EQ(BuildTextMesh("ab", 10, 0, kTextRightAligned | kTextCentred, mesh), S_OK);
    EXPECT_FLOAT_EQ(mesh.Positions()[0], 7.0f);
    // A tab takes one cell like any other character.
    ASSERT_EQ(BuildTextMesh("a\tb", 0, 0, 0, mesh), S_OK);
    EXPECT_EQ(mesh.Indices().Count(), 12u);
    EXPECT_FLOAT_EQ(mesh.Positions()[3 * 8], 2.0f);
    EXPECT_FLOAT_EQ(mesh.TexCoords()[2 * 4], 0.0f);  // the tab's blank entry
}

}  // namespace
}  // namespace velmora::engine
