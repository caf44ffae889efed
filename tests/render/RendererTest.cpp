// The device and the frame: creation values, clear colour, background wrap,
// projection, and what happens without a device.
#include <gtest/gtest.h>

#include <math.h>

#include "app/EditorApp.h"
#include "d3dx/d3dx8.h"
#include "tests/support/EditorHarness.h"

namespace
{
class RendererTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(StartEditorOnce()) << "no Direct3D 8 device: " << app.failedStep;
    }

    // Clears a frame and reads it back before presenting.
    static BackBufferPixels ClearedFrame()
    {
        BackBufferPixels pixels;
        app.BeginFrame();
        app.device->EndScene();
        EXPECT_TRUE(ReadBackBuffer(app.device, &pixels));
        app.device->BeginScene();
        app.EndFrame();
        return pixels;
    }
};

DWORD RenderState(D3DRENDERSTATETYPE state)
{
    DWORD value = 0xDEADBEEF;
    app.device->GetRenderState(state, &value);
    return value;
}

DWORD StageState(DWORD stage, D3DTEXTURESTAGESTATETYPE state)
{
    DWORD value = 0xDEADBEEF;
    app.device->GetTextureStageState(stage, state, &value);
    return value;
}
} // namespace

TEST_F(RendererTest, BackBufferHasTheClientSizeAtCreation)
{
    // (Without a window manager the window may have been resized since.)
    EXPECT_GT(app.clientWidth, 0);
    EXPECT_GT(app.clientHeight, 0);
    EXPECT_EQ(app.window, app.mainWindow);
    IDirect3DSurface8* back = nullptr;
    ASSERT_EQ(app.device->GetBackBuffer(0, D3DBACKBUFFER_TYPE_MONO, &back), D3D_OK);
    D3DSURFACE_DESC desc;
    back->GetDesc(&desc);
    back->Release();
    EXPECT_EQ((int)desc.Width, app.clientWidth);
    EXPECT_EQ((int)desc.Height, app.clientHeight);
    D3DDISPLAYMODE mode;
    app.direct3d->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &mode);
    EXPECT_EQ(desc.Format, mode.Format);
    IDirect3DSurface8* depth = nullptr;
    ASSERT_EQ(app.device->GetDepthStencilSurface(&depth), D3D_OK);
    depth->GetDesc(&desc);
    depth->Release();
    EXPECT_EQ(desc.Format, D3DFMT_D16);
}

TEST_F(RendererTest, FirstFrameClearsToOpaqueBlue)
{
    // Clear covers the viewport, which follows the client area (WM_SIZE).
    D3DVIEWPORT8 viewport;
    app.device->GetViewport(&viewport);
    const BackBufferPixels pixels = ClearedFrame();
    ASSERT_GT(pixels.width, 0);
    EXPECT_EQ(pixels.At(0, 0), 0xFF0000FFu);
    EXPECT_EQ(pixels.At(viewport.Width / 2, viewport.Height / 2), 0xFF0000FFu);
    EXPECT_EQ(pixels.At(viewport.Width - 1, viewport.Height - 1), 0xFF0000FFu);
}

TEST_F(RendererTest, OnlyTheLowEightBitsOfEachBackgroundComponentCount)
{
    app.backgroundRed = 256;  // contributes 0
    app.backgroundGreen = -1; // contributes 0xFF
    app.backgroundBlue = 0x180;
    const BackBufferPixels pixels = ClearedFrame();
    EXPECT_EQ(pixels.At(10, 10), 0xFF00FF80u);
    app.backgroundRed = 0;
    app.backgroundGreen = 0;
    app.backgroundBlue = 255;
}

TEST_F(RendererTest, CreationLeavesTheStatedDeviceState)
{
    EXPECT_EQ(RenderState(D3DRS_CULLMODE), (DWORD)D3DCULL_NONE);
    EXPECT_EQ(RenderState(D3DRS_LIGHTING), (DWORD)TRUE);
    EXPECT_EQ(RenderState(D3DRS_ZENABLE), (DWORD)D3DZB_TRUE);
    EXPECT_EQ(RenderState(D3DRS_AMBIENT), 0xFFFFFFFFu);
    EXPECT_EQ(RenderState(D3DRS_ALPHABLENDENABLE), (DWORD)TRUE);
    EXPECT_EQ(RenderState(D3DRS_SRCBLEND), (DWORD)D3DBLEND_SRCALPHA);
    EXPECT_EQ(RenderState(D3DRS_DESTBLEND), (DWORD)D3DBLEND_INVSRCALPHA);
    EXPECT_EQ(StageState(0, D3DTSS_MAGFILTER), (DWORD)D3DTEXF_LINEAR);
    EXPECT_EQ(StageState(0, D3DTSS_MINFILTER), (DWORD)D3DTEXF_LINEAR);
    EXPECT_EQ(StageState(0, D3DTSS_MIPFILTER), (DWORD)D3DTEXF_LINEAR);
    D3DMATERIAL8 material;
    app.device->GetMaterial(&material);
    EXPECT_EQ(material.Diffuse.r, 1.0f);
    EXPECT_EQ(material.Ambient.a, 1.0f);
    EXPECT_EQ(material.Specular.g, 0.0f);
    EXPECT_EQ(material.Power, 0.0f);
    EXPECT_EQ(app.textures.renderer, static_cast<Renderer*>(&app));
}

TEST_F(RendererTest, ProjectionIsTheLeftHandedPerspectiveOfTheClientSize)
{
    D3DMATRIX projection;
    ASSERT_EQ(app.device->GetTransform(D3DTS_PROJECTION, &projection), D3D_OK);
    // Aspect from integer division of the creation-time client size.
    const float aspect = (float)(app.clientWidth / app.clientHeight);
    const float yScale = 1.0f / tanf(3.14159265f / 6.0f);
    EXPECT_NEAR(projection._11, yScale / aspect, 1e-5);
    EXPECT_NEAR(projection._22, yScale, 1e-5);
    EXPECT_NEAR(projection._33, 1000.0f / 999.0f, 1e-6);
    EXPECT_EQ(projection._34, 1.0f);
    EXPECT_NEAR(projection._43, -1000.0f / 999.0f, 1e-6);
    EXPECT_EQ(projection._44, 0.0f);
    EXPECT_EQ(projection._12, 0.0f);
    EXPECT_EQ(projection._41, 0.0f);
}

TEST(PerspectiveMatrix, MatchesTheLeftHandedFieldOfViewFormula)
{
    const struct
    {
        float fovy, aspect, zn, zf;
    } cases[] = {{1.0471975f, 1.0f, 1.0f, 1000.0f},
                 {1.0471975f, 2.0f, 1.0f, 1000.0f},
                 {0.5f, 1.5f, 0.1f, 50.0f}};
    for (const auto& c : cases)
    {
        D3DXMATRIX m;
        EXPECT_EQ(D3DXMatrixPerspectiveFovLH(&m, c.fovy, c.aspect, c.zn, c.zf), &m);
        const float h = 1.0f / tanf(c.fovy / 2);
        EXPECT_FLOAT_EQ(m._11, h / c.aspect);
        EXPECT_FLOAT_EQ(m._22, h);
        EXPECT_FLOAT_EQ(m._33, c.zf / (c.zf - c.zn));
        EXPECT_FLOAT_EQ(m._43, -c.zn * c.zf / (c.zf - c.zn));
        EXPECT_EQ(m._34, 1.0f);
        for (float v : {m._12, m._13, m._14, m._21, m._23, m._24, m._31, m._32, m._41, m._42,
                        m._44})
            EXPECT_EQ(v, 0.0f);
        // A point on the near plane maps to depth 0, on the far plane to 1.
        EXPECT_NEAR((c.zn * m._33 + m._43) / c.zn, 0.0f, 1e-6);
        EXPECT_NEAR((c.zf * m._33 + m._43) / c.zf, 1.0f, 1e-6);
    }
}

TEST(RendererWithoutDevice, FrameAndViewportDoNothing)
{
    Renderer renderer;
    renderer.ResizeViewport(0, 0, 100, 100);
    renderer.BeginFrame();
    renderer.EndFrame();
    renderer.ReleaseDevice();
    EXPECT_EQ(renderer.Device(), nullptr);
    EXPECT_EQ(renderer.LoadTexture("anything.bmp"), -1);
}

TEST(RendererWithoutDevice, FailedCreationNamesTheStep)
{
    ASSERT_TRUE(StartEditorOnce());
    Renderer renderer;
    // A window handle that names no window: the device cannot be created.
    EXPECT_EQ(renderer.CreateDevice((HWND)(intptr_t)0x7ffffff0, 1000.0f), 1);
    EXPECT_EQ(renderer.Device(), nullptr);
    ASSERT_NE(renderer.failedStep, nullptr);
    EXPECT_STREQ(renderer.failedStep, "CreateDevice");
    renderer.BeginFrame();
    renderer.EndFrame();
}
