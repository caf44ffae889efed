// The device and the frame on Wine's real device: the back buffer made at
// creation, the clear colour and its background wrap, the projection, the
// back buffer following a new size, a lost device skipped and reset (the
// same frame drawn after it), and a renderer whose device was never made,
// which draws and binds nothing.
#include <gtest/gtest.h>

#include <math.h>
#include <string.h>

#include <algorithm>

#include "d3dx/d3dx8.h"
#include "tests/render/ViewTestSupport.h"
#include "tests/support/DeviceRecorder.h"
#include "tests/support/MethodPatch.h"
#include "text/Font2D.h"

using namespace viewtest;

namespace
{
class RendererTest : public EditorDeviceTest
{
};

// What TestCooperativeLevel and Present answer while patched.
HRESULT cooperativeLevel = D3D_OK;
HRESULT WINAPI PatchedTestCooperativeLevel(IDirect3DDevice8*)
{
    return cooperativeLevel;
}
HRESULT WINAPI LostPresent(IDirect3DDevice8*, const RECT*, const RECT*, HWND, const RGNDATA*)
{
    return D3DERR_DEVICELOST;
}
HRESULT WINAPI FailedCopyRects(IDirect3DDevice8*, IDirect3DSurface8*, const RECT*, UINT,
                               IDirect3DSurface8*, const POINT*)
{
    return D3DERR_INVALIDCALL;
}

// A frame of everything the editor draws, in a document of the test's own on
// the start-up textures: the map, objects whose markers and labels overlap
// (one selected), the status text.
struct EditorScene
{
    MapDocument doc;
    EditorScene()
    {
        doc.heightmapTexture = app.Document().heightmapTexture;
        doc.colormapTexture = app.Document().colormapTexture;
        doc.objectImageTexture = app.Document().objectImageTexture;
        doc.viewScale = 1000;
        doc.AddObjectType("..\\objects\\tree.ini");
        for (int i = 0; i < 12; ++i)
        {
            PlacedObject object = {};
            object.x = (40.0f + 17.0f * i) / 1000.0f;
            object.y = (60.0f + 9.0f * (i % 4)) / 1000.0f;
            object.rotation = (int16_t)(30 * i);
            doc.AddObject(object);
        }
        doc.SelectOnly(5);
    }
    BackBufferPixels Draw()
    {
        return DrawnFrame(
            [this]
            {
                app.View().Map().DrawMap(app.Graphics(), doc);
                app.View().Map().DrawObjects(app.Graphics(), app.Fonts(), doc);
                app.Fonts()
                    .Entry(app.View().StatusFont())
                    ->Print(0.0f, 0.0f, false, 0xFFFF0000, "Objects: 12");
            });
    }
};

bool IsRed(unsigned p)
{
    return Red(p) > 180 && Green(p) < 80 && Blue(p) < 80;
}

// Every entry of the left-handed field-of-view matrix, by its formula.
void ExpectPerspective(const D3DMATRIX& m, float fovy, float aspect, float zn, float zf)
{
    const float h = 1.0f / tanf(fovy / 2);
    const float expected[4][4] = {{h / aspect, 0, 0, 0},
                                  {0, h, 0, 0},
                                  {0, 0, zf / (zf - zn), 1},
                                  {0, 0, -zn * zf / (zf - zn), 0}};
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            EXPECT_NEAR(m.m[r][c], expected[r][c], 1e-5 * (1 + fabs(expected[r][c])))
                << "_" << r + 1 << c + 1 << " aspect " << aspect;
}
} // namespace

TEST_F(RendererTest, BackBufferHasTheClientSizeTheDesktopFormatAndA16BitDepth)
{
    // (Without a window manager the window may have been resized since.)
    EXPECT_EQ(app.Graphics().Window(), app.View().Handle());
    IDirect3DSurface8* surface = nullptr;
    ASSERT_EQ(app.Graphics().Device()->GetBackBuffer(0, D3DBACKBUFFER_TYPE_MONO, &surface), D3D_OK);
    D3DSURFACE_DESC desc;
    surface->GetDesc(&desc);
    surface->Release();
    EXPECT_EQ((int)desc.Width, app.Graphics().BackBufferWidth());
    EXPECT_EQ((int)desc.Height, app.Graphics().BackBufferHeight());
    EXPECT_GE((int)desc.Width, app.Graphics().Width());
    EXPECT_GE((int)desc.Height, app.Graphics().Height());
    D3DDISPLAYMODE mode;
    app.Graphics().Direct3D()->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &mode);
    EXPECT_EQ(desc.Format, mode.Format);
    ASSERT_EQ(app.Graphics().Device()->GetDepthStencilSurface(&surface), D3D_OK);
    surface->GetDesc(&desc);
    surface->Release();
    EXPECT_EQ(desc.Format, D3DFMT_D16);
}

TEST_F(RendererTest, FramesClearToTheLowEightBitsOfEachBackgroundComponent)
{
    // One wrapped component at a time: the high bits of green or blue would
    // spill into the next channel. (Red's would only reach the alpha byte,
    // which is opaque anyway.)
    const struct
    {
        int red, green, blue;
        unsigned expected;
    } cases[] = {{256, 0, 0x180, 0xFF000080u},
                 {0, -1, 0, 0xFF00FF00u},
                 {0, 0, 255, 0xFF0000FFu}}; // the start-up values, left in place
    for (const auto& c : cases)
    {
        app.Graphics().SetBackground(c.red, c.green, c.blue);
        const BackBufferPixels pixels = DrawnFrame([] {});
        ASSERT_GT(pixels.width, 0);
        for (int x : {0, pixels.width / 2, pixels.width - 1})
            EXPECT_EQ(pixels.At(x, x * (pixels.height - 1) / (pixels.width - 1)), c.expected)
                << std::hex << c.expected << " at column " << std::dec << x;
    }
}

TEST_F(RendererTest, ProjectionIsTheLeftHandedPerspectiveWithAnIntegerAspect)
{
    D3DMATRIX projection;
    ASSERT_EQ(app.Graphics().Device()->GetTransform(D3DTS_PROJECTION, &projection), D3D_OK);
    // The aspect is the integer quotient of the creation-time client size,
    // at least 1.
    const int quotient = app.Graphics().Width() / app.Graphics().Height();
    const float aspect = (float)(quotient > 0 ? quotient : 1);
    ExpectPerspective(projection, 3.14159265f / 3, aspect, 1.0f, 1000.0f);
    // The same formula for an aspect the screen does not give.
    D3DXMATRIX m;
    EXPECT_EQ(D3DXMatrixPerspectiveFovLH(&m, 0.5f, 2.0f, 0.1f, 50.0f), &m);
    ExpectPerspective(m, 0.5f, 2.0f, 0.1f, 50.0f);
}

TEST_F(RendererTest, TheViewFollowsANewSizeTheBackBufferOnlyGrowsAndTheFontsDrawOnIt)
{
    const int width = app.Graphics().Width(), height = app.Graphics().Height();
    const int backWidth = std::max(width, app.Graphics().BackBufferWidth());
    const int backHeight = std::max(height, app.Graphics().BackBufferHeight());
    EditorScene scene;
    // 0 x 0: minimised, nothing changes; a shrink keeps the back buffer (no
    // reset), a view wider than it resets it to the larger size each way.
    const struct
    {
        int width, height, backWidth, backHeight;
        bool reset;
    } sizes[] = {{400, 300, backWidth, backHeight, false},
                 {0, 0, backWidth, backHeight, false},
                 {backWidth + 16, 200, backWidth + 16, backHeight, true},
                 {width, height, backWidth + 16, backHeight, false}};
    int expectedWidth = width, expectedHeight = height;
    for (const auto& size : sizes)
    {
        const unsigned serial = app.Graphics().FrameSerial();
        EXPECT_TRUE(app.Graphics().ResizeBackBuffer(size.width, size.height, app.Fonts()));
        EXPECT_EQ(app.Graphics().FrameSerial() != serial, size.reset) << size.width;
        EXPECT_EQ(app.Graphics().BackBufferWidth(), size.backWidth);
        EXPECT_EQ(app.Graphics().BackBufferHeight(), size.backHeight);
        if (size.width > 0)
            expectedWidth = size.width, expectedHeight = size.height;
        const BackBufferPixels frame = scene.Draw();
        EXPECT_EQ(frame.width, expectedWidth);
        EXPECT_EQ(frame.height, expectedHeight);
        EXPECT_EQ(app.Graphics().Width(), expectedWidth);
        D3DVIEWPORT8 viewport;
        app.Graphics().Device()->GetViewport(&viewport);
        EXPECT_EQ((int)viewport.Width, expectedWidth);
        // The status text in red at the top left, over the map.
        int red = 0;
        for (int y = 0; y < 12; ++y)
            for (int x = 0; x < 60; ++x)
                red += IsRed(frame.At(x, y));
        EXPECT_GT(red, 20) << size.width;
    }
}

TEST_F(RendererTest, ALostDeviceIsSkippedThenResetAndDrawsTheSameFrameAgain)
{
    EditorScene scene;
    const BackBufferPixels before = scene.Draw();
    D3DMATRIX projection;
    app.Graphics().Device()->GetTransform(D3DTS_PROJECTION, &projection);
    DWORD blend = 0, magnify = 0;
    app.Graphics().Device()->GetRenderState(D3DRS_DESTBLEND, &blend);
    app.Graphics().Device()->GetTextureStageState(0, D3DTSS_MAGFILTER, &magnify);
    {
        MethodPatch level(app.Graphics().Device(), &IDirect3DDevice8::TestCooperativeLevel,
                          (void*)PatchedTestCooperativeLevel);
        // Present finds the device lost (frames shown through GDI never
        // present: for them the next frame's question finds it; a frame is
        // presented when the copy for GDI fails).
        {
            MethodPatch present(app.Graphics().Device(), &IDirect3DDevice8::Present,
                                (void*)LostPresent);
            MethodPatch copy(app.Graphics().Device(), &IDirect3DDevice8::CopyRects,
                             (void*)FailedCopyRects);
            app.View().ForgetKeptFrame();
            app.View().DrawFrame();
        }
        EXPECT_TRUE(app.Graphics().DeviceLost());
        // While it stays lost no frame is drawn.
        cooperativeLevel = D3DERR_DEVICELOST;
        {
            DeviceRecorder recorder(app.Graphics().Device());
            app.View().DrawFrame();
            EXPECT_EQ(recorder.Count(DeviceCall::Clear), 0);
        }
        // Given back: reset, and frames again.
        cooperativeLevel = D3DERR_DEVICENOTRESET;
        {
            DeviceRecorder recorder(app.Graphics().Device());
            app.View().DrawFrame();
            EXPECT_EQ(recorder.Count(DeviceCall::Clear), 1);
        }
        EXPECT_FALSE(app.Graphics().DeviceLost());
        cooperativeLevel = D3D_OK;
    }
    FontEntry* font = app.Fonts().Entry(app.View().Map().labelFont);
    ASSERT_TRUE(font && font->font);
    EXPECT_TRUE(font->font->CanDraw());
    DWORD blendAfter = 0, magnifyAfter = 0;
    app.Graphics().Device()->GetRenderState(D3DRS_DESTBLEND, &blendAfter);
    app.Graphics().Device()->GetTextureStageState(0, D3DTSS_MAGFILTER, &magnifyAfter);
    EXPECT_EQ(blendAfter, blend);
    EXPECT_EQ(magnifyAfter, magnify);
    D3DMATRIX projectionAfter;
    app.Graphics().Device()->GetTransform(D3DTS_PROJECTION, &projectionAfter);
    EXPECT_EQ(memcmp(&projection, &projectionAfter, sizeof(projection)), 0);
    // The map with its textures, the labels and the text: pixel for pixel.
    const BackBufferPixels after = scene.Draw();
    EXPECT_TRUE(after.pixels == before.pixels) << "the frame changed with the reset";
}

TEST(RendererWithoutDevice, FailedCreationNamesTheStepAndNothingIsDrawnOrBound)
{
    ASSERT_TRUE(StartEditorOnce());
    Renderer renderer;
    renderer.ResizeViewport(0, 0, 100, 100);
    renderer.BeginFrame();
    renderer.EndFrame();
    // A window handle that names no window: the device cannot be created.
    EXPECT_EQ(renderer.CreateDevice((HWND)(intptr_t)0x7ffffff0, 1000.0f), 1);
    EXPECT_EQ(renderer.Device(), nullptr);
    EXPECT_STREQ(renderer.FailedStep(), "CreateDevice");
    renderer.ResizeViewport(0, 0, 100, 100);
    renderer.BeginFrame();
    renderer.EndFrame();
    EXPECT_FALSE(renderer.ResizeBackBuffer(100, 100, app.Fonts()));
    EXPECT_FALSE(renderer.RecoverDevice(app.Fonts()));
    EXPECT_EQ(renderer.LoadTexture("anything.bmp"), -1);
    EXPECT_EQ(renderer.BindTexture(nullptr, 0), 1);
    EXPECT_EQ(renderer.BindTextureByIndex(0, 1), 1);
    renderer.DrawTexturedRect({0, 0, 10, 10}, 0, {0, 0, 1, 1});
    const CornerPoint corners[4] = {};
    renderer.DrawTexturedQuad(corners, 0);
}
