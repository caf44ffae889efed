// The texture font on Wine's real Direct3D 8 device: glyph texture sizes and
// contents, measuring, the quads and batches of a draw, the caller's states
// around a draw, pixels on the back buffer, a device with small textures, and
// failing vertex buffer locks (making and releasing the font's resources:
// Font2DResourcesTest.cpp).
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/EditorApp.h"
#include "tests/support/DeviceRecorder.h"
#include "tests/support/EditorHarness.h"
#include "tests/support/FrameCapture.h"
#include "tests/support/MethodPatch.h"
#include "text/Font2D.h"

namespace
{
struct Vertex
{
    float x, y, z, rhw;
    D3DCOLOR diffuse;
    float tu, tv;
};

// Watches the vertex buffer of one font: every Lock (its flags), and the
// vertices present at each Unlock. Can make the n-th Lock fail.
struct VertexWatch
{
    static VertexWatch* current;
    IDirect3DVertexBuffer8* buffer;
    std::vector<DWORD> lockFlags;
    std::vector<std::vector<Vertex>> unlocked; // the whole buffer at each Unlock
    int failLock = 0;                          // 1-based Lock to fail, 0 none
    BYTE* data = nullptr;
    MethodPatch lock;
    MethodPatch unlock;

    explicit VertexWatch(IDirect3DVertexBuffer8* vb)
        : buffer(vb), lock(vb, &IDirect3DVertexBuffer8::Lock, (void*)OnLock),
          unlock(vb, &IDirect3DVertexBuffer8::Unlock, (void*)OnUnlock)
    {
        current = this;
    }
    ~VertexWatch() { current = nullptr; }

    static HRESULT WINAPI OnLock(IDirect3DVertexBuffer8* self, UINT offset, UINT size, BYTE** out,
                                 DWORD flags)
    {
        VertexWatch* w = current;
        if (self == w->buffer)
        {
            w->lockFlags.push_back(flags);
            if ((int)w->lockFlags.size() == w->failLock)
            {
                *out = (BYTE*)NoAccessPage(); // must not be written through
                return D3DERR_INVALIDCALL;
            }
        }
        const HRESULT result =
            w->lock.Original<decltype(&OnLock)>()(self, offset, size, out, flags);
        if (self == w->buffer)
            w->data = *out;
        return result;
    }

    static HRESULT WINAPI OnUnlock(IDirect3DVertexBuffer8* self)
    {
        VertexWatch* w = current;
        if (self == w->buffer && w->data)
        {
            const Vertex* v = (const Vertex*)w->data;
            w->unlocked.emplace_back(v, v + Font2D::VerticesPerBatch);
            w->data = nullptr;
        }
        return w->unlock.Original<decltype(&OnUnlock)>()(self);
    }
};
VertexWatch* VertexWatch::current = nullptr;

// A device that accepts textures of at most 256 texels.
MethodPatch* smallCapsPatch = nullptr;
HRESULT WINAPI SmallCaps(IDirect3DDevice8* self, D3DCAPS8* caps)
{
    const HRESULT result = smallCapsPatch->Original<decltype(&SmallCaps)>()(self, caps);
    caps->MaxTextureWidth = 256;
    return result;
}

// Every render state and every state of stages 0 and 1, as the device holds them.
std::vector<DWORD> DeviceStates()
{
    std::vector<DWORD> states;
    for (DWORD state = 1; state <= D3DRS_NORMALORDER; ++state)
    {
        DWORD value = 0;
        app.Graphics().Device()->GetRenderState((D3DRENDERSTATETYPE)state, &value);
        states.push_back(value);
    }
    for (DWORD stage = 0; stage < 2; ++stage)
        for (DWORD state = 1; state <= D3DTSS_RESULTARG; ++state)
        {
            if (state == 12) // no stage state has this number (Wine's device faults on it)
                continue;
            DWORD value = 0;
            app.Graphics().Device()->GetTextureStageState(stage, (D3DTEXTURESTAGESTATETYPE)state,
                                                          &value);
            states.push_back(value);
        }
    return states;
}

class Font2DTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(StartEditorOnce()) << "no Direct3D 8 device: " << app.Graphics().FailedStep();
        ASSERT_EQ(font.CreateGlyphTexture(app.Graphics().Device()), S_OK);
        ASSERT_EQ(font.CreateDrawResources(), S_OK);
    }

    SIZE Measure(const char* text) const
    {
        SIZE size = {-1, -1};
        EXPECT_EQ(font.MeasureText(text, &size), S_OK);
        return size;
    }

    int GlyphWidth(char c) const
    {
        const float* g = font.glyphCoords[c - 32];
        return (int)((g[2] - g[0]) * font.textureWidth);
    }

    Font2D font{"Tahoma", 8, 0};
};
} // namespace

TEST_F(Font2DTest, TextureSideFollowsThePointSize)
{
    const struct
    {
        unsigned points, side;
    } cases[] = {{20, 256}, {21, 512}, {40, 512}, {41, 1024}};
    for (const auto& c : cases)
    {
        Font2D sized("Tahoma", c.points, 0);
        ASSERT_EQ(sized.CreateGlyphTexture(app.Graphics().Device()), S_OK) << c.points;
        EXPECT_EQ(sized.textureWidth, c.side) << c.points;
        EXPECT_EQ(sized.textureHeight, c.side) << c.points;
        D3DSURFACE_DESC level;
        ASSERT_EQ(sized.glyphTexture->GetLevelDesc(0, &level), D3D_OK);
        EXPECT_EQ(level.Width, c.side);
        EXPECT_EQ(level.Format, D3DFMT_A4R4G4B4);
        EXPECT_EQ(sized.glyphTexture->GetLevelCount(), 1u);
    }
}

TEST_F(Font2DTest, GlyphsArePackedInRowsWithOneTexelGaps)
{
    const float W = (float)font.textureWidth, H = (float)font.textureHeight;
    EXPECT_EQ(font.glyphCoords[0][0], 0.0f);
    EXPECT_EQ(font.glyphCoords[0][1], 0.0f);
    for (char c = 33; c <= 126; ++c)
    {
        const float* g = font.glyphCoords[c - 32];
        const float* p = font.glyphCoords[c - 33];
        if (g[1] == p[1])
        {
            EXPECT_EQ(g[0] * W, p[2] * W + 1) << c; // one texel after the last cell
        }
        else
        {
            EXPECT_EQ(g[0], 0.0f) << c;
            EXPECT_EQ(g[1] * H, p[3] * H + 1) << c;
            EXPECT_GT(p[2] * W + 1 + (g[2] - g[0]) * W + 1, W) << c << " would have fitted";
        }
        EXPECT_LE(g[2], 1.0f);
        EXPECT_LE(g[3], 1.0f);
    }
    for (float v : font.glyphCoords[95])
        EXPECT_EQ(v, 0.0f) << "code 127 is never rasterised";
}

TEST_F(Font2DTest, TexelsAreWhiteWithGdisGreyLevelAsFourBitAlpha)
{
    // 20 points: the face is anti-aliased there (smaller sizes are drawn
    // without grey levels, as the typeface asks).
    Font2D twenty("Tahoma", 20, 0);
    ASSERT_EQ(twenty.CreateGlyphTexture(app.Graphics().Device()), S_OK);
    const int side = (int)twenty.textureWidth;

    // 'H' drawn by GDI on its own, as the reference for its cell.
    const float* h = twenty.glyphCoords['H' - 32];
    const int cellX = (int)(h[0] * side), cellY = (int)(h[1] * side);
    const int cellW = (int)(h[2] * side) - cellX, cellH = (int)(h[3] * side) - cellY;
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), cellW, -cellH, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    HDC dc = CreateCompatibleDC(nullptr);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HFONT face = CreateFontA(-MulDiv(20, GetDeviceCaps(dc, LOGPIXELSY), 72), 0, 0, 0, FW_NORMAL, 0,
                             0, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                             ANTIALIASED_QUALITY, VARIABLE_PITCH, "Tahoma");
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    HGDIOBJ oldFont = SelectObject(dc, face);
    SetTextColor(dc, RGB(255, 255, 255));
    SetBkColor(dc, 0);
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, nullptr, "H", 1, nullptr);
    GdiFlush();

    D3DLOCKED_RECT locked;
    ASSERT_EQ(twenty.glyphTexture->LockRect(0, &locked, nullptr, D3DLOCK_READONLY), D3D_OK);
    int differ = 0, opaque = 0, partial = 0;
    for (int y = 0; y < cellH; ++y)
        for (int x = 0; x < cellW; ++x)
        {
            const unsigned alpha = (((const DWORD*)bits)[y * cellW + x] & 0xFF) >> 4;
            const WORD expected = alpha ? (WORD)((alpha << 12) | 0x0FFF) : 0;
            const BYTE* row = (const BYTE*)locked.pBits + (cellY + y) * locked.Pitch;
            differ += ((const WORD*)row)[cellX + x] != expected;
            opaque += alpha == 15;
            partial += alpha > 0 && alpha < 15;
        }
    twenty.glyphTexture->UnlockRect(0);
    SelectObject(dc, oldFont);
    SelectObject(dc, oldBitmap);
    DeleteObject(face);
    DeleteObject(bitmap);
    DeleteDC(dc);

    EXPECT_EQ(differ, 0) << "the cell of 'H' is GDI's drawing of it";
    EXPECT_GT(opaque, 20);
    EXPECT_GT(partial, 0) << "grey levels of anti-aliased edges";
}

TEST_F(Font2DTest, MeasuresInTexelsSkippingControlAndHighCodes)
{
    const LONG row = Measure("").cy;
    EXPECT_GT(row, 8);
    EXPECT_EQ(Measure("").cx, 0);
    const LONG ab = GlyphWidth('A') + GlyphWidth('B');
    const struct
    {
        const char* text;
        LONG cx, cy;
    } cases[] = {
        {"\n", 0, 2 * row},          {"A\r\tB", ab, row},
        {"A\x80\xff\177B", ab, row}, // high codes skipped, 127 has no width
        {"AB\nA", ab, 2 * row},      {"A\nAB\n", ab, 3 * row},
        {" ", GlyphWidth(' '), row},
    };
    for (const auto& c : cases)
    {
        const SIZE size = Measure(c.text);
        EXPECT_EQ(size.cx, c.cx) << c.text;
        EXPECT_EQ(size.cy, c.cy) << c.text;
    }
    SIZE untouched = {7, 7};
    EXPECT_EQ(font.MeasureText(nullptr, &untouched), E_FAIL);
    EXPECT_EQ(untouched.cx, 7);
    EXPECT_EQ(font.MeasureText("A", nullptr), E_FAIL);
}

TEST_F(Font2DTest, QuadsSitHalfAPixelUpAndLeftAndAdvanceByTheirWidth)
{
    VertexWatch watch(font.vertexBuffer);
    ASSERT_EQ(font.DrawString(10.0f, 20.0f, 0x80112233, "AB\n\x7f\tA", 0), S_OK);
    ASSERT_EQ(watch.unlocked.size(), 1u);
    const std::vector<Vertex>& v = watch.unlocked[0];
    const float wa = (float)GlyphWidth('A'), wb = (float)GlyphWidth('B');
    const float h = (float)Measure("").cy;
    const float* g = font.glyphCoords['A' - 32];
    // A: bottom-left, top-left, bottom-right, top-right, bottom-right, top-left.
    const float L = 9.5f, T = 19.5f, R = 9.5f + wa, B = 19.5f + h;
    const Vertex a[6] = {{L, B, 0, 0, 0, g[0], g[3]}, {L, T, 0, 0, 0, g[0], g[1]},
                         {R, B, 0, 0, 0, g[2], g[3]}, {R, T, 0, 0, 0, g[2], g[1]},
                         {R, B, 0, 0, 0, g[2], g[3]}, {L, T, 0, 0, 0, g[0], g[1]}};
    for (int i = 0; i < 6; ++i)
    {
        EXPECT_EQ(v[i].x, a[i].x) << i;
        EXPECT_EQ(v[i].y, a[i].y) << i;
        EXPECT_EQ(v[i].z, 0.9f);
        EXPECT_EQ(v[i].rhw, 1.0f);
        EXPECT_EQ(v[i].diffuse, 0x80112233u);
        EXPECT_EQ(v[i].tu, a[i].tu) << i;
        EXPECT_EQ(v[i].tv, a[i].tv) << i;
    }
    EXPECT_EQ(v[6].x, R) << "B starts where A ends";
    EXPECT_EQ(v[8].x, R + wb);
    // The newline returns to x = 10 one row down; 127 is an empty quad.
    EXPECT_EQ(v[12].x, L);
    EXPECT_EQ(v[12].y, B);
    EXPECT_EQ(v[14].x, L);
    EXPECT_EQ(v[18].x, L) << "127 does not advance; the tab is skipped";
    EXPECT_EQ(v[20].x, R);
}

TEST_F(Font2DTest, FlushesAfterEveryFiftiethCharacter)
{
    const struct
    {
        int characters;
        std::vector<DWORD> batches;
    } cases[] = {{0, {}}, {50, {100}}, {51, {100, 2}}, {150, {100, 100, 100}}};
    for (const auto& c : cases)
    {
        // Non-drawing codes between the letters change nothing.
        std::string text;
        for (int i = 0; i < c.characters; ++i)
            text += i % 7 == 3 ? "x\r\x81" : "x";
        VertexWatch watch(font.vertexBuffer);
        DeviceRecorder recorder(app.Graphics().Device());
        DrawnFrame([&] { EXPECT_EQ(font.DrawString(0, 40, 0xFFFFFFFF, text.c_str(), 0), S_OK); });
        const std::vector<DeviceCall> draws = recorder.OfKind(DeviceCall::DrawPrimitive);
        ASSERT_EQ(draws.size(), c.batches.size()) << c.characters;
        for (size_t i = 0; i < draws.size(); ++i)
        {
            EXPECT_EQ(draws[i].a, (DWORD)D3DPT_TRIANGLELIST);
            EXPECT_EQ(draws[i].c, c.batches[i]) << c.characters << " batch " << i;
        }
        // One lock to start with and one after each flush, always discarding.
        EXPECT_EQ(watch.lockFlags, std::vector<DWORD>(1 + c.characters / 50, D3DLOCK_DISCARD));
        // The whole state switch: one capture, two applies, nothing else.
        EXPECT_EQ(recorder.Count(DeviceCall::CaptureStateBlock), 1);
        EXPECT_EQ(recorder.Count(DeviceCall::ApplyStateBlock), 2);
        EXPECT_EQ(recorder.Count(DeviceCall::SetRenderState), 0);
        EXPECT_EQ(recorder.Count(DeviceCall::SetTextureStageState), 0);
    }
}

TEST_F(Font2DTest, CallerStatesAndTextureComeBackAfterADrawFilteredOrNot)
{
    IDirect3DDevice8* d = app.Graphics().Device();
    DWORD before = 0;
    ASSERT_EQ(d->CreateStateBlock(D3DSBT_ALL, &before), D3D_OK);
    // Values the font's own states differ from, and a texture of the caller's.
    d->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
    d->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_DESTCOLOR);
    d->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_SRCCOLOR);
    d->SetRenderState(D3DRS_FILLMODE, D3DFILL_WIREFRAME);
    d->SetRenderState(D3DRS_FOGENABLE, TRUE);
    d->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_ADD);
    d->SetTextureStageState(0, D3DTSS_MINFILTER, D3DTEXF_ANISOTROPIC);
    d->SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTEXF_POINT);
    d->SetTextureStageState(0, D3DTSS_TEXCOORDINDEX, 1);
    d->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_SUBTRACT);
    IDirect3DTexture8* callerTexture = nullptr;
    ASSERT_EQ(d->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &callerTexture),
              D3D_OK);
    d->SetTexture(0, callerTexture);
    const std::vector<DWORD> states = DeviceStates();

    for (DWORD flags : {(DWORD)0, (DWORD)FONT2D_FILTERED})
    {
        DeviceRecorder recorder(d);
        DrawnFrame([&] { EXPECT_EQ(font.DrawString(5, 5, 0xFFFFFFFF, "States", flags), S_OK); });
        const std::vector<DWORD> after = DeviceStates();
        for (size_t i = 0; i < states.size(); ++i)
            EXPECT_EQ(after[i], states[i])
                << "state #" << i << " (render states first), flags " << flags;
        IDirect3DBaseTexture8* bound = nullptr;
        d->GetTexture(0, &bound);
        EXPECT_EQ(bound, callerTexture);
        if (bound)
            bound->Release();
        // The filtered draw switched stage 0 to linear filtering in between.
        const std::vector<DeviceCall> stage = recorder.OfKind(DeviceCall::SetTextureStageState);
        ASSERT_EQ(stage.size(), flags ? 2u : 0u);
        if (flags)
        {
            EXPECT_EQ(stage[0].b, (DWORD)D3DTSS_MINFILTER);
            EXPECT_EQ(stage[1].b, (DWORD)D3DTSS_MAGFILTER);
            EXPECT_EQ(stage[0].c, (DWORD)D3DTEXF_LINEAR);
            EXPECT_EQ(stage[1].c, (DWORD)D3DTEXF_LINEAR);
        }
    }
    d->ApplyStateBlock(before);
    d->DeleteStateBlock(before);
    callerTexture->Release();
}

TEST_F(Font2DTest, StatusTextIsRedOnBlueInsideItsMeasuredBox)
{
    ASSERT_TRUE(app.View().FramesEnabled());
    FontEntry* status = app.Fonts().Entry(app.View().StatusFont());
    ASSERT_TRUE(status && status->ready);
    SIZE box;
    ASSERT_EQ(status->font->MeasureText("Objects: 0", &box), S_OK);
    D3DVIEWPORT8 viewport;
    app.Graphics().Device()->GetViewport(&viewport);
    const BackBufferPixels pixels =
        DrawnFrame([&] { status->Print(0.0f, 0.0f, false, 0xFFFF0000, "Objects: %d", 0); });
    EXPECT_STREQ(status->textBuffer, "Objects: 0");
    // The clear covers the viewport (which follows the client area) within
    // the back buffer.
    const int width = std::min(pixels.width, (int)viewport.Width);
    const int height = std::min(pixels.height, (int)viewport.Height);
    ASSERT_GT(width, box.cx);
    int red = 0, outside = 0, notBlended = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
        {
            const unsigned p = pixels.At(x, y);
            if (x >= box.cx || y >= box.cy)
            {
                outside += p != 0xFF0000FFu;
                continue;
            }
            red += p == 0xFFFF0000u;
            // Red blended over blue: no green, red and blue sum to 255 (+-1).
            const int r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
            notBlended += g != 0 || r + b < 254 || r + b > 256;
        }
    EXPECT_EQ(outside, 0) << "pixels changed outside " << box.cx << " x " << box.cy;
    EXPECT_GT(red, 20) << "fully covered text pixels";
    EXPECT_EQ(notBlended, 0);
}

TEST_F(Font2DTest, ShrunkTextureKeepsGlyphsInTexelsAndDrawsThemLarger)
{
    Font2D big("Tahoma", 30, 0);
    Font2D half("Tahoma", 15, 0); // what half the logical resolution gives 30 points
    ASSERT_EQ(half.CreateGlyphTexture(app.Graphics().Device()), S_OK);
    {
        MethodPatch patch(app.Graphics().Device(), &IDirect3DDevice8::GetDeviceCaps,
                          (void*)SmallCaps);
        smallCapsPatch = &patch;
        ASSERT_EQ(big.CreateGlyphTexture(app.Graphics().Device()), S_OK);
    }
    ASSERT_EQ(big.CreateDrawResources(), S_OK);
    EXPECT_EQ(big.textureWidth, 256u);
    EXPECT_EQ(big.textScale, 0.5f);
    SIZE bigSize, halfSize, row;
    big.MeasureText("Wg\nW", &bigSize);
    half.MeasureText("Wg\nW", &halfSize);
    EXPECT_EQ(bigSize.cx, halfSize.cx);
    EXPECT_EQ(bigSize.cy, halfSize.cy);

    VertexWatch watch(big.vertexBuffer);
    ASSERT_EQ(big.DrawString(0.0f, 0.0f, 0xFFFFFFFF, "W\nW", 0), S_OK);
    ASSERT_EQ(watch.unlocked.size(), 1u);
    const std::vector<Vertex>& v = watch.unlocked[0];
    const float* w = big.glyphCoords['W' - 32];
    EXPECT_EQ(v[2].x - v[0].x, (w[2] - w[0]) * 256 * 2);
    EXPECT_EQ(v[0].y - v[1].y, (w[3] - w[1]) * 256 * 2);
    // The newline still advances by the row in texels.
    big.MeasureText("", &row);
    EXPECT_EQ(v[7].y - v[1].y, (float)row.cy);
}

TEST_F(Font2DTest, HugeFaceKeepsEveryGlyphRectangleInsideTheTexture)
{
    Font2D huge("Tahoma", 200, FONT2D_BOLD | FONT2D_ITALIC);
    ASSERT_EQ(huge.CreateGlyphTexture(app.Graphics().Device()), S_OK);
    ASSERT_EQ(huge.CreateDrawResources(), S_OK);
    int cut = 0;
    for (int i = 0; i < 95; ++i)
    {
        const float* g = huge.glyphCoords[i];
        EXPECT_TRUE(g[0] >= 0 && g[0] <= g[2] && g[2] <= 1 && g[1] >= 0 && g[1] <= g[3] &&
                    g[3] <= 1)
            << "glyph " << i;
        cut += g[3] == 1.0f;
    }
    EXPECT_GT(cut, 0) << "200 points no longer overflow 1024 texels; pick a larger size";
    std::string all;
    for (char c = 32; c <= 126; ++c)
        all += c;
    DrawnFrame([&] { EXPECT_EQ(huge.DrawString(0.0f, 0.0f, 0xFFFFFFFF, all.c_str(), 0), S_OK); });
}

TEST_F(Font2DTest, FailedVertexLockEndsTheDrawAndRestoresStates)
{
    for (int failing : {1, 2})
    {
        VertexWatch watch(font.vertexBuffer);
        watch.failLock = failing;
        DeviceRecorder recorder(app.Graphics().Device());
        const std::string text(60, 'x');
        DrawnFrame(
            [&] {
                EXPECT_EQ(font.DrawString(0.0f, 0.0f, 0xFFFFFFFF, text.c_str(), 0),
                          D3DERR_INVALIDCALL);
            });
        // The first lock failing draws nothing; the second, only the first batch.
        const std::vector<DeviceCall> draws = recorder.OfKind(DeviceCall::DrawPrimitive);
        ASSERT_EQ(draws.size(), (size_t)(failing - 1));
        if (failing == 2)
        {
            EXPECT_EQ(draws[0].c, 100u);
        }
        EXPECT_EQ(watch.lockFlags.size(), (size_t)failing);
        // The caller's states are given back last.
        const std::vector<DeviceCall> applied = recorder.OfKind(DeviceCall::ApplyStateBlock);
        ASSERT_EQ(applied.size(), 2u);
        EXPECT_EQ(applied[1].a, font.savedStateBlock);
    }
}
