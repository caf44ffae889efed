// Glyphs drawn over their inked texels only (Font2D::AppendString, the map
// view's labels) against the whole cells that DrawString draws, on Wine's
// real device: every printable character at pen positions with every kind of
// fraction, in several faces and colours, gives the same back buffer pixel
// for pixel, while the quads cover far fewer pixels than the cells.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/EditorApp.h"
#include "tests/support/EditorHarness.h"
#include "tests/support/FrameCapture.h"
#include "text/Font2D.h"

namespace
{
// Every printable character in lines of 24, then one of spaces and dots that
// have little ink.
std::string EveryGlyph()
{
    std::string text;
    for (char c = 32; c <= 126; ++c)
    {
        text += c;
        if ((c - 31) % 24 == 0)
            text += '\n';
    }
    return text + "\n .  ,  ' ` -";
}

struct Pen
{
    float x, y;
    D3DCOLOR colour;
};

// Pens over the whole back buffer (the texts overlap a little), with fractions that put
// texel boundaries on pixel centres (halves), near them, and anywhere.
std::vector<Pen> Pens()
{
    const float fractions[] = {0.0f, 0.5f, 0.25f, 0.75f, 0.4999f, 0.5001f, 0.333333f, 0.9f, 0.1f};
    const D3DCOLOR colours[] = {0xFFFFFFFF, 0xFFFF0000, 0x80FFFFFF, 0x40112233};
    std::vector<Pen> pens;
    unsigned state = 7;
    int i = 0;
    for (int y = 4; y + 80 < app.clientHeight; y += 56)
        for (int x = 4; x + 160 < app.clientWidth; x += 110, ++i)
        {
            state = state * 1664525u + 1013904223u;
            const float fx = i < 81 ? fractions[i % 9] : (float)(state >> 8) / 16777216.0f;
            const float fy = i < 81 ? fractions[i / 9 % 9] : (float)(state & 0xFF) / 256.0f;
            pens.push_back({(float)x + fx, (float)y + fy, colours[i % 4]});
        }
    return pens;
}

// The glyphs' own quads, through the batched path: AppendString's vertices
// streamed through a buffer of the test's and drawn with DrawVertices.
void DrawInked(Font2D& font, const std::vector<FontVertex>& vertices)
{
    const UINT perDraw = 600 * 6;
    IDirect3DVertexBuffer8* buffer = nullptr;
    ASSERT_EQ(app.device->CreateVertexBuffer(perDraw * sizeof(FontVertex),
                                             D3DUSAGE_WRITEONLY | D3DUSAGE_DYNAMIC, 0,
                                             D3DPOOL_DEFAULT, &buffer),
              D3D_OK);
    ASSERT_EQ(font.CaptureCallerStates(), D3D_OK);
    for (size_t first = 0; first < vertices.size(); first += perDraw)
    {
        const UINT count = (UINT)std::min<size_t>(perDraw, vertices.size() - first);
        BYTE* into = nullptr;
        ASSERT_EQ(buffer->Lock(0, 0, &into, D3DLOCK_DISCARD), D3D_OK);
        memcpy(into, &vertices[first], count * sizeof(FontVertex));
        buffer->Unlock();
        EXPECT_EQ(font.DrawVertices(buffer, 0, count), D3D_OK);
    }
    app.device->SetStreamSource(0, nullptr, 0);
    buffer->Release();
}

double QuadPixels(const std::vector<FontVertex>& vertices)
{
    double area = 0.0;
    for (size_t i = 0; i + 5 < vertices.size(); i += 6)
        area += (vertices[i + 2].x - vertices[i].x) * (vertices[i].y - vertices[i + 1].y);
    return area;
}
} // namespace

TEST(InkedGlyphTest, InkedQuadsGiveTheCellsPixelsWithAFractionOfTheirArea)
{
    ASSERT_TRUE(StartEditorOnce()) << "no Direct3D 8 device: " << app.failedStep;
    RestoreStartupBackBuffer();
    const std::string text = EveryGlyph();
    const std::vector<Pen> pens = Pens();
    ASSERT_GT(pens.size(), 81u);
    const struct
    {
        unsigned points, style;
    } faces[] = {{8, 0}, {8, FONT2D_BOLD}, {11, FONT2D_ITALIC}};
    for (const auto& face : faces)
    {
        Font2D font("Tahoma", face.points, face.style);
        ASSERT_EQ(font.CreateGlyphTexture(app.device), S_OK);
        ASSERT_EQ(font.CreateDrawResources(), S_OK);
        std::vector<FontVertex> cells, inked;
        for (const Pen& pen : pens)
            font.AppendString(pen.x, pen.y, pen.colour, text.c_str(), &inked);
        // The cells' area, from the quads DrawString sends for the same text.
        const std::string line(text.begin(), text.begin() + 24);
        for (char c : line)
        {
            const float* g = font.glyphCoords[c - 32];
            FontVertex cell[6] = {};
            cell[2].x = (g[2] - g[0]) * (float)font.textureWidth;
            cell[0].y = (g[3] - g[1]) * (float)font.textureHeight;
            cells.insert(cells.end(), cell, cell + 6);
        }
        std::vector<FontVertex> lineInked;
        font.AppendString(0.0f, 0.0f, 0xFFFFFFFF, line.c_str(), &lineInked);
        EXPECT_LT(QuadPixels(lineInked), 0.6 * QuadPixels(cells)) << face.points;
        std::vector<FontVertex> space;
        font.AppendString(0.0f, 0.0f, 0xFFFFFFFF, "   ", &space);
        EXPECT_TRUE(space.empty()) << "a glyph without ink needs no quad";

        const BackBufferPixels reference = DrawnFrame(
            [&]
            {
                for (const Pen& pen : pens)
                    font.DrawString(pen.x, pen.y, pen.colour, text.c_str(), 0);
            });
        const BackBufferPixels trimmed = DrawnFrame([&] { DrawInked(font, inked); });
        ASSERT_EQ(trimmed.pixels.size(), reference.pixels.size());
        size_t differ = 0, first = 0;
        for (size_t i = reference.pixels.size(); i-- > 0;)
            if (trimmed.pixels[i] != reference.pixels[i])
                ++differ, first = i;
        EXPECT_EQ(differ, 0u) << "Tahoma " << face.points << " style " << face.style
                              << ": first at (" << first % reference.width << ", "
                              << first / reference.width << ")";
    }
}
