// Device creation, viewport, the two halves of a frame and release (resets
// after a loss or a size change: DeviceReset.cpp).
#include "render/Renderer.h"

#include "d3dx/d3dx8.h"

namespace
{
const char kDeviceWindowClass[] = "MapEditorDevice";

// The SDK version the editor was written against; Direct3D 8 runtimes accept it.
const UINT kSdkVersion = 120;
const float kFieldOfView = 3.14159265358979f / 3.0f; // 60 degrees, bits 0x3F860A92
const float kNearPlane = 1.0f;
} // namespace

HWND Renderer::CreateDeviceWindow()
{
    if (deviceWindow_)
        return deviceWindow_;
    WNDCLASSA kind;
    ZeroMemory(&kind, sizeof(kind));
    kind.lpfnWndProc = DefWindowProcA;
    kind.hInstance = GetModuleHandleA(nullptr);
    kind.lpszClassName = kDeviceWindowClass;
    RegisterClassA(&kind); // already there for a second renderer
    deviceWindow_ = CreateWindowExA(WS_EX_TOOLWINDOW, kDeviceWindowClass, "", WS_POPUP, 0, 0, 1, 1,
                                    nullptr, nullptr, kind.hInstance, nullptr);
    return deviceWindow_;
}

int Renderer::CreateDevice(HWND targetWindow, float farPlane)
{
    failedStep_ = nullptr;
    direct3d_ = Direct3DCreate8(kSdkVersion);
    if (!direct3d_)
    {
        failedStep_ = "Direct3DCreate8";
        return 1;
    }

    D3DDISPLAYMODE mode;
    if (FAILED(direct3d_->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &mode)))
    {
        failedStep_ = "GetAdapterDisplayMode";
        return 1;
    }

    if (!IsWindow(targetWindow))
    {
        failedStep_ = "CreateDevice"; // no window to draw into
        return 1;
    }
    window_ = targetWindow;
    RECT client = {0, 0, 0, 0};
    GetClientRect(window_, &client);
    clientWidth_ = client.right - client.left;
    clientHeight_ = client.bottom - client.top;

    D3DPRESENT_PARAMETERS& params = presentation_;
    ZeroMemory(&params, sizeof(params));
    params.BackBufferWidth = clientWidth_;
    params.BackBufferHeight = clientHeight_;
    params.BackBufferFormat = mode.Format;
    params.SwapEffect = D3DSWAPEFFECT_DISCARD;
    params.Windowed = TRUE;
    params.EnableAutoDepthStencil = TRUE;
    params.AutoDepthStencilFormat = D3DFMT_D16;

    // Frames reach the window through GDI (FramePresenter.h), which keeps
    // the device on a hidden window of its own: a window that holds a
    // Direct3D surface under Wine takes no GDI drawing any more.
    HWND deviceWindow = CreateDeviceWindow();
    if (!deviceWindow)
    {
        failedStep_ = "CreateWindow";
        return 1;
    }
    if (FAILED(direct3d_->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, deviceWindow,
                                       D3DCREATE_SOFTWARE_VERTEXPROCESSING, &params, &device_)))
    {
        device_ = nullptr;
        failedStep_ = "CreateDevice";
        return 1;
    }

    farPlane_ = farPlane;
    SetProjection(farPlane);

    device_->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device_->SetRenderState(D3DRS_LIGHTING, TRUE);
    device_->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);

    device_->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    device_->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    device_->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    device_->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    device_->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
    device_->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
    device_->SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTEXF_LINEAR);
    device_->SetTextureStageState(0, D3DTSS_MINFILTER, D3DTEXF_LINEAR);
    device_->SetTextureStageState(0, D3DTSS_MIPFILTER, D3DTEXF_LINEAR);

    D3DMATERIAL8 material;
    ZeroMemory(&material, sizeof(material));
    material.Diffuse.r = material.Diffuse.g = material.Diffuse.b = material.Diffuse.a = 1.0f;
    material.Ambient.r = material.Ambient.g = material.Ambient.b = material.Ambient.a = 1.0f;
    device_->SetMaterial(&material);
    device_->SetRenderState(D3DRS_AMBIENT, 0xFFFFFFFF);

    textures_.renderer = this;
    return 0;
}

void Renderer::SetProjection(float farPlane)
{
    // The aspect ratio is an integer quotient: 1280 x 960 gives 1.0. A window
    // without client area would divide by zero; its height counts as 1. A
    // view taller than wide (the view beside the docked palette often is)
    // would give 0 and a matrix of infinities: it counts as 1.
    int aspect = clientWidth_ / (clientHeight_ > 0 ? clientHeight_ : 1);
    if (aspect < 1)
        aspect = 1;
    D3DXMATRIX projection;
    D3DXMatrixPerspectiveFovLH(&projection, kFieldOfView, (float)aspect, kNearPlane, farPlane);
    device_->SetTransform(D3DTS_PROJECTION, &projection);
}

void Renderer::ResizeViewport(unsigned x, unsigned y, unsigned width, unsigned height)
{
    if (!device_)
        return;
    D3DVIEWPORT8 viewport;
    viewport.X = x;
    viewport.Y = y;
    viewport.Width = width;
    viewport.Height = height;
    viewport.MinZ = 0.0f;
    viewport.MaxZ = 1.0f;
    // A viewport Direct3D refuses (e.g. 0 x 0 while minimised) leaves the old one.
    device_->SetViewport(&viewport);
}

ViewArea Renderer::VisibleArea() const
{
    // The device clips every draw, pre-transformed ones included, to the
    // viewport, and only the back buffer exists to be drawn on.
    ViewArea area = {0.0f, 0.0f, (float)clientWidth_, (float)clientHeight_};
    D3DVIEWPORT8 viewport;
    if (device_ && SUCCEEDED(device_->GetViewport(&viewport)))
    {
        const float left = (float)viewport.X, top = (float)viewport.Y;
        const float right = left + (float)viewport.Width, bottom = top + (float)viewport.Height;
        area.left = left > area.left ? left : area.left;
        area.top = top > area.top ? top : area.top;
        area.right = right < area.right ? right : area.right;
        area.bottom = bottom < area.bottom ? bottom : area.bottom;
    }
    return area;
}

void Renderer::BeginFrame()
{
    ++frameSerial_;
    if (!device_)
        return;
    device_->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, BackgroundColour(), 1.0f, 0);
    device_->BeginScene();
}

void Renderer::WaitForDrawing()
{
    IDirect3DSurface8* back = nullptr;
    if (!device_ || FAILED(device_->GetBackBuffer(0, D3DBACKBUFFER_TYPE_MONO, &back)))
        return;
    D3DSURFACE_DESC desc, kept;
    if (drawnPixel_ && (FAILED(back->GetDesc(&desc)) || FAILED(drawnPixel_->GetDesc(&kept)) ||
                        kept.Format != desc.Format))
    {
        drawnPixel_->Release();
        drawnPixel_ = nullptr;
    }
    if (!drawnPixel_ && (FAILED(back->GetDesc(&desc)) ||
                         FAILED(device_->CreateImageSurface(1, 1, desc.Format, &drawnPixel_))))
        drawnPixel_ = nullptr;
    const RECT pixel = {0, 0, 1, 1};
    const POINT at = {0, 0};
    if (drawnPixel_)
        device_->CopyRects(back, &pixel, 1, drawnPixel_, &at);
    back->Release();
}

void Renderer::ResumeFrame()
{
    if (device_)
        device_->BeginScene();
}

void Renderer::EndFrame()
{
    if (device_)
        device_->EndScene();
}

void Renderer::SetBackground(int red, int green, int blue)
{
    background_[0] = red;
    background_[1] = green;
    background_[2] = blue;
}

D3DCOLOR Renderer::BackgroundColour() const
{
    return 0xFF000000u | (DWORD)(background_[0] & 0xFF) << 16 |
           (DWORD)(background_[1] & 0xFF) << 8 | (DWORD)(background_[2] & 0xFF);
}

void Renderer::ReleaseDevice()
{
    ++frameSerial_;
    frameVertices_.Release();
    if (drawnPixel_)
        drawnPixel_->Release();
    drawnPixel_ = nullptr;
    if (device_)
    {
        device_->Release();
        device_ = nullptr;
    }
    if (direct3d_)
    {
        direct3d_->Release();
        direct3d_ = nullptr;
    }
    if (deviceWindow_)
    {
        DestroyWindow(deviceWindow_);
        deviceWindow_ = nullptr;
    }
}
