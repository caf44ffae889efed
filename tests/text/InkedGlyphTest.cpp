// Glyphs drawn over their inked texels only (Font2D::AppendString, the map
// view's labels) against the whole cells that DrawString draws, on Wine's
// real device: every printable character at pen positions with every kind of
// fraction, in three faces and several colours, gives the same back buffer
// pixel for pixel, while the quads cover far fewer pixels than the cells.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/EditorApp.h"
#include "tests/support/FontQuads.h"
#include "tests/support/FrameCapture.h"
#include "text/Font2D.h"

TEST(InkedGlyphTest, InkedQuadsGiveTheCellsPixelsWithAFractionOfTheirArea)
{
    ASSERT_TRUE(StartEditorOnce()) << "no Direct3D 8 device: " << app.Graphics().FailedStep();
    RestoreStartupBackBuffer();
    std::string text; // every printable character, 24 to a line
    for (char c = 32; c <= 126; ++c)
        text += (c - 31) % 24 ? std::string(1, c) : std::string(1, c) + "\n";
    // Pens over the whole back buffer (the texts overlap a little), with
    // fractions that put texel edges on pixel centres (halves), near them and
    // anywhere.
    const float fractions[] = {0.0f, 0.5f, 0.25f, 0.75f, 0.4999f, 0.5001f, 0.333333f, 0.9f, 0.1f};
    const D3DCOLOR colours[] = {0xFFFFFFFF, 0xFFFF0000, 0x80FFFFFF, 0x40112233};
    std::vector<FontVertex> pens; // x, y and colour of each
    unsigned state = 7;
    for (int y = 4, i = 0; y + 80 < app.Graphics().Height(); y += 56)
        for (int x = 4; x + 160 < app.Graphics().Width(); x += 110, ++i)
        {
            state = state * 1664525u + 1013904223u;
            const float random = (float)(state >> 8) / 16777216.0f;
            FontVertex pen = {};
            pen.x = (float)x + (i < 81 ? fractions[i % 9] : random);
            pen.y = (float)y + (i < 81 ? fractions[i / 9 % 9] : 1.0f - random);
            pen.diffuse = colours[i % 4];
            pens.push_back(pen);
        }
    ASSERT_GT(pens.size(), 81u);
    const struct
    {
        unsigned points, style;
    } faces[] = {{8, 0}, {8, FONT2D_BOLD}, {11, FONT2D_ITALIC}};
    for (const auto& face : faces)
    {
        Font2D font("Tahoma", face.points, face.style);
        ASSERT_EQ(font.CreateGlyphTexture(app.Graphics().Device()), S_OK);
        ASSERT_EQ(font.CreateDrawResources(), S_OK);
        // The quads of one pen against the cells of the same glyphs.
        std::vector<FontVertex> one, none, inked;
        font.AppendString(0.25f, 0.25f, ~0u, text.c_str(), &one);
        double area = 0.0, cells = 0.0;
        for (size_t i = 0; i < one.size(); i += 6)
            area += (one[i + 2].x - one[i].x) * (one[i].y - one[i + 1].y);
        for (char c : text)
        {
            const float* g = font.glyphCoords[c - 32];
            cells += c == '\n' ? 0.0 : (g[2] - g[0]) * (g[3] - g[1]) * 65536.0;
        }
        EXPECT_LT(area, 0.6 * cells) << face.points;
        font.AppendString(0.25f, 0.25f, ~0u, "   ", &none);
        EXPECT_TRUE(none.empty()) << "a glyph without ink needs no quad";

        for (const FontVertex& pen : pens)
            font.AppendString(pen.x, pen.y, pen.diffuse, text.c_str(), &inked);
        const BackBufferPixels cellsDrawn = DrawnFrame(
            [&]
            {
                for (const FontVertex& pen : pens)
                    font.DrawString(pen.x, pen.y, pen.diffuse, text.c_str(), 0);
            });
        // Through the font's own buffer, a batch at a time.
        const BackBufferPixels inkedDrawn = DrawnFrame([&] { DrawThroughFontBuffer(font, inked); });
        EXPECT_EQ(PixelDifference(inkedDrawn, cellsDrawn), "")
            << "Tahoma " << face.points << " style " << face.style;
    }
}
