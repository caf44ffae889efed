// Font quads made by a test drawn through the font's own vertex buffer, and
// the comparison of two frames pixel for pixel, for the tests that check
// that quads laid out another way show the same pixels as DrawString.
#ifndef MAPEDITOR_TESTS_FONTQUADS_H
#define MAPEDITOR_TESTS_FONTQUADS_H

#include <gtest/gtest.h>
#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/EditorApp.h"
#include "tests/support/EditorHarness.h"
#include "text/Font2D.h"

// Draws `vertices` a batch at a time through the font's buffer, from
// `texture` when given (else the glyph texture), inside a frame.
inline void DrawThroughFontBuffer(Font2D& font, const std::vector<FontVertex>& vertices,
                                  IDirect3DTexture8* texture = nullptr)
{
    ASSERT_EQ(font.CaptureCallerStates(), D3D_OK);
    const UINT batch = Font2D::VerticesPerBatch;
    for (size_t first = 0; first < vertices.size(); first += batch)
    {
        const UINT count = (UINT)std::min<size_t>(batch, vertices.size() - first);
        BYTE* into = nullptr;
        ASSERT_EQ(font.vertexBuffer->Lock(0, 0, &into, D3DLOCK_DISCARD), D3D_OK);
        memcpy(into, &vertices[first], count * sizeof(FontVertex));
        font.vertexBuffer->Unlock();
        EXPECT_EQ(font.DrawVertices(font.vertexBuffer, 0, count, texture), D3D_OK);
    }
    app.Graphics().Device()->SetStreamSource(0, nullptr, 0);
}

// Empty when the two frames have the same pixels; else how many differ and
// where the first one is.
inline std::string PixelDifference(const BackBufferPixels& a, const BackBufferPixels& b)
{
    if (a.pixels.size() != b.pixels.size())
        return "frames of different sizes";
    size_t differ = 0, first = 0;
    for (size_t i = a.pixels.size(); i-- > 0;)
        if (a.pixels[i] != b.pixels[i])
            ++differ, first = i;
    if (differ == 0)
        return std::string();
    return std::to_string(differ) + " pixels differ, the first at (" +
           std::to_string(first % a.width) + ", " + std::to_string(first / a.width) + ")";
}

#endif
