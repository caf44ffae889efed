// The device and the frame on Wine's real device: the back buffer made at
// creation, the clear colour and its background wrap, the projection, and a
// renderer whose device was never made, which draws and binds nothing.
#include <gtest/gtest.h>

#include <math.h>

#include "d3dx/d3dx8.h"
#include "tests/render/ViewTestSupport.h"

using namespace viewtest;

namespace
{
class RendererTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(StartEditorOnce()) << "no Direct3D 8 device: " << app.failedStep;
    }
};

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
    EXPECT_EQ(app.window, app.viewWindow);
    IDirect3DSurface8* surface = nullptr;
    ASSERT_EQ(app.device->GetBackBuffer(0, D3DBACKBUFFER_TYPE_MONO, &surface), D3D_OK);
    D3DSURFACE_DESC desc;
    surface->GetDesc(&desc);
    surface->Release();
    EXPECT_EQ((int)desc.Width, app.clientWidth);
    EXPECT_EQ((int)desc.Height, app.clientHeight);
    D3DDISPLAYMODE mode;
    app.direct3d->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &mode);
    EXPECT_EQ(desc.Format, mode.Format);
    ASSERT_EQ(app.device->GetDepthStencilSurface(&surface), D3D_OK);
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
        app.backgroundRed = c.red;
        app.backgroundGreen = c.green;
        app.backgroundBlue = c.blue;
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
    ASSERT_EQ(app.device->GetTransform(D3DTS_PROJECTION, &projection), D3D_OK);
    // The aspect is the integer quotient of the creation-time client size,
    // at least 1.
    const int quotient = app.clientWidth / app.clientHeight;
    const float aspect = (float)(quotient > 0 ? quotient : 1);
    ExpectPerspective(projection, 3.14159265f / 3, aspect, 1.0f, 1000.0f);
    // The same formula for an aspect the screen does not give.
    D3DXMATRIX m;
    EXPECT_EQ(D3DXMatrixPerspectiveFovLH(&m, 0.5f, 2.0f, 0.1f, 50.0f), &m);
    ExpectPerspective(m, 0.5f, 2.0f, 0.1f, 50.0f);
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
    EXPECT_STREQ(renderer.failedStep, "CreateDevice");
    renderer.ResizeViewport(0, 0, 100, 100);
    renderer.BeginFrame();
    renderer.EndFrame();
    EXPECT_EQ(renderer.LoadTexture("anything.bmp"), -1);
    EXPECT_EQ(renderer.BindTexture(nullptr, 0), 1);
    EXPECT_EQ(renderer.BindTextureByIndex(0, 1), 1);
    renderer.DrawTexturedRect({0, 0, 10, 10}, 0, {0, 0, 1, 1});
    const CornerPoint corners[4] = {};
    renderer.DrawTexturedQuad(corners, 0);
}
