// Labels drawn from a font's label strips (LabelStrips, one quad per run of
// glyphs) against the glyph cells DrawString draws, on Wine's real device:
// texts of one and of several lines, a run longer than a strip, characters
// the font skips, pens with every kind of fraction, three faces, and texts
// that find the strip texture full give the same back buffer pixel for
// pixel, while a one-line label is one quad.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/EditorApp.h"
#include "tests/support/FontQuads.h"
#include "tests/support/FrameCapture.h"
#include "text/Font2D.h"
#include "text/LabelStrips.h"

TEST(LabelStripTest, StripsGiveTheGlyphCellsPixelsInAFewQuads)
{
    ASSERT_TRUE(StartEditorOnce()) << "no Direct3D 8 device: " << app.Graphics().FailedStep();
    RestoreStartupBackBuffer();
    std::string texts[] = {"..\\objects\\tree.ini",
                           "Two lines\n{[|]} qjy_W@",
                           "",
                           "skipped \t\x01\x80\xff characters",
                           "   ",
                           "never placed: the texture is full by then"};
    for (char c = 32; c <= 126; ++c)
        texts[4] += c; // a run longer than a strip
    const float fractions[] = {0.0f, 0.5f, 0.25f, 0.75f, 0.4999f, 0.5001f, 0.333333f, 0.9f};
    std::vector<FontVertex> pens; // x, y and colour of each
    for (int y = 4, i = 0; y + 40 < app.Graphics().Height(); y += 30)
        for (int x = 4; x + 200 < app.Graphics().Width(); x += 150, ++i)
            pens.push_back({(float)x + fractions[i % 8], (float)y + fractions[i / 8 % 8], 0, 0,
                            i % 3 ? 0xFFFFFFFFu : 0xFFFF0000u, 0, 0});
    const struct
    {
        unsigned points, style;
    } faces[] = {{8, 0}, {8, FONT2D_BOLD}, {11, FONT2D_ITALIC}};
    for (const auto& face : faces)
    {
        Font2D font("Tahoma", face.points, face.style);
        ASSERT_EQ(font.CreateGlyphTexture(app.Graphics().Device()), S_OK);
        ASSERT_EQ(font.CreateDrawResources(), S_OK);
        LabelStrips* strips = font.Strips();
        ASSERT_NE(strips, nullptr);
        const LabelStrips::Layout* layouts[6] = {};
        for (int t = 0; t < 5; ++t)
            ASSERT_NE(layouts[t] = strips->Find(texts[t].c_str()), nullptr) << t;
        EXPECT_EQ(layouts[0]->strips.size(), 1u);
        EXPECT_EQ(layouts[1]->strips.size(), 2u) << "a strip a line";
        EXPECT_GT(layouts[4]->strips.size(), 2u);
        for (const LabelStrips::Strip& strip : layouts[4]->strips)
            EXPECT_LE(strip.ink[2] - strip.ink[0], LabelStrips::LongestStrip);
        // Texts until one finds no room; the last text is then drawn glyph by
        // glyph from the copy of the glyph texture.
        for (int n = 0; strips->Find(std::to_string(n).append(40, 'W').c_str()); ++n)
            ASSERT_LT(n, 10000);
        EXPECT_EQ(strips->Find(texts[5].c_str()), nullptr);

        std::vector<FontVertex> vertices;
        for (size_t i = 0; i < pens.size(); ++i)
            strips->Append(layouts[i % 6], pens[i].x, pens[i].y, pens[i].diffuse,
                           texts[i % 6].c_str(), &vertices);
        const BackBufferPixels cells = DrawnFrame(
            [&]
            {
                for (size_t i = 0; i < pens.size(); ++i)
                    font.DrawString(pens[i].x, pens[i].y, pens[i].diffuse, texts[i % 6].c_str(), 0);
            });
        const BackBufferPixels drawn =
            DrawnFrame([&] { DrawThroughFontBuffer(font, vertices, strips->Texture()); });
        EXPECT_EQ(PixelDifference(drawn, cells), "")
            << "Tahoma " << face.points << " style " << face.style;
        strips->BeginFrame(); // after a frame that ran out of room: room again
        EXPECT_NE(strips->Find(texts[5].c_str()), nullptr);
    }
}
