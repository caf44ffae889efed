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
    failedStep = nullptr;
    direct3d = Direct3DCreate8(kSdkVersion);
    if (!direct3d)
    {
        failedStep = "Direct3DCreate8";
        return 1;
    }

    D3DDISPLAYMODE mode;
    if (FAILED(direct3d->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &mode)))
    {
        failedStep = "GetAdapterDisplayMode";
        return 1;
    }

    if (!IsWindow(targetWindow))
    {
        failedStep = "CreateDevice"; // no window to draw into
        return 1;
    }
    window = targetWindow;
    RECT client = {0, 0, 0, 0};
    GetClientRect(window, &client);
    clientWidth = client.right - client.left;
    clientHeight = client.bottom - client.top;

    D3DPRESENT_PARAMETERS& params = presentation_;
    ZeroMemory(&params, sizeof(params));
    params.BackBufferWidth = clientWidth;
    params.BackBufferHeight = clientHeight;
    params.BackBufferFormat = mode.Format;
    params.SwapEffect = D3DSWAPEFFECT_DISCARD;
    params.Windowed = TRUE;
    params.EnableAutoDepthStencil = TRUE;
    params.AutoDepthStencilFormat = D3DFMT_D16;

    // Drawn through GDI, the window keeps its device on a hidden window of
    // its own: a window that holds a Direct3D surface under Wine takes no
    // GDI drawing any more.
    HWND deviceWindow = window;
    if (presentThroughGdi)
    {
        deviceWindow = CreateDeviceWindow();
        if (!deviceWindow)
        {
            failedStep = "CreateWindow";
            return 1;
        }
    }
    if (FAILED(direct3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, deviceWindow,
                                      D3DCREATE_SOFTWARE_VERTEXPROCESSING, &params, &device)))
    {
        device = nullptr;
        failedStep = "CreateDevice";
        return 1;
    }

    farPlane_ = farPlane;
    SetProjection(farPlane);

    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device->SetRenderState(D3DRS_LIGHTING, TRUE);
    device->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);

    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    device->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    device->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
    device->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
    device->SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTEXF_LINEAR);
    device->SetTextureStageState(0, D3DTSS_MINFILTER, D3DTEXF_LINEAR);
    device->SetTextureStageState(0, D3DTSS_MIPFILTER, D3DTEXF_LINEAR);

    D3DMATERIAL8 material;
    ZeroMemory(&material, sizeof(material));
    material.Diffuse.r = material.Diffuse.g = material.Diffuse.b = material.Diffuse.a = 1.0f;
    material.Ambient.r = material.Ambient.g = material.Ambient.b = material.Ambient.a = 1.0f;
    device->SetMaterial(&material);
    device->SetRenderState(D3DRS_AMBIENT, 0xFFFFFFFF);

    textures.renderer = this;
    return 0;
}

void Renderer::SetProjection(float farPlane)
{
    // The aspect ratio is an integer quotient: 1280 x 960 gives 1.0. A window
    // without client area would divide by zero; its height counts as 1. A
    // view taller than wide (the view beside the docked palette often is)
    // would give 0 and a matrix of infinities: it counts as 1.
    int aspect = clientWidth / (clientHeight > 0 ? clientHeight : 1);
    if (aspect < 1)
        aspect = 1;
    D3DXMATRIX projection;
    D3DXMatrixPerspectiveFovLH(&projection, kFieldOfView, (float)aspect, kNearPlane, farPlane);
    device->SetTransform(D3DTS_PROJECTION, &projection);
}

void Renderer::ResizeViewport(unsigned x, unsigned y, unsigned width, unsigned height)
{
    if (!device)
        return;
    D3DVIEWPORT8 viewport;
    viewport.X = x;
    viewport.Y = y;
    viewport.Width = width;
    viewport.Height = height;
    viewport.MinZ = 0.0f;
    viewport.MaxZ = 1.0f;
    // A viewport Direct3D refuses (e.g. 0 x 0 while minimised) leaves the old one.
    device->SetViewport(&viewport);
}

ViewArea Renderer::VisibleArea() const
{
    // The device clips every draw, pre-transformed ones included, to the
    // viewport, and only the back buffer exists to be drawn on.
    ViewArea area = {0.0f, 0.0f, (float)clientWidth, (float)clientHeight};
    D3DVIEWPORT8 viewport;
    if (device && SUCCEEDED(device->GetViewport(&viewport)))
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
    ++frameSerial;
    if (!device)
        return;
    const D3DCOLOR colour = 0xFF000000u | (DWORD)(backgroundRed & 0xFF) << 16 |
                            (DWORD)(backgroundGreen & 0xFF) << 8 | (DWORD)(backgroundBlue & 0xFF);
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, colour, 1.0f, 0);
    device->BeginScene();
}

void Renderer::EndFrame()
{
    if (!device)
        return;
    device->EndScene();
    pictureKept = presentThroughGdi && CopyBackBufferToWindow();
    if (pictureKept)
    {
        ++framesShown;
        return;
    }
    // Present the current client rectangle: the back buffer follows the
    // client area through WM_SIZE, but a minimised window keeps the old one.
    RECT client = {0, 0, 0, 0};
    GetClientRect(window, &client);
    const HRESULT presented = device->Present(&client, &client, nullptr, nullptr);
    if (presented == D3DERR_DEVICELOST)
        deviceLost = true;
    else if (SUCCEEDED(presented))
        ++framesShown;
}

IDirect3DSurface8* Renderer::Readback(IDirect3DSurface8* back)
{
    D3DSURFACE_DESC desc;
    if (FAILED(back->GetDesc(&desc)))
        return nullptr;
    const bool fourBytes = desc.Format == D3DFMT_X8R8G8B8 || desc.Format == D3DFMT_A8R8G8B8;
    const bool twoBytes = desc.Format == D3DFMT_R5G6B5 || desc.Format == D3DFMT_X1R5G5B5;
    if (!fourBytes && !twoBytes)
        return nullptr;
    D3DSURFACE_DESC kept;
    if (readback && (FAILED(readback->GetDesc(&kept)) || kept.Width != desc.Width ||
                     kept.Height != desc.Height || kept.Format != desc.Format))
    {
        readback->Release();
        readback = nullptr;
    }
    if (!readback &&
        FAILED(device->CreateImageSurface(desc.Width, desc.Height, desc.Format, &readback)))
        readback = nullptr;
    return readback;
}

bool Renderer::ShowReadback(const RECT* part)
{
    D3DSURFACE_DESC desc;
    D3DLOCKED_RECT locked;
    if (!readback || FAILED(readback->GetDesc(&desc)) ||
        FAILED(readback->LockRect(&locked, nullptr, D3DLOCK_READONLY)))
        return false;
    // The rows shown (all, or those of the part) as a top-down DIB over the
    // locked rows (a row is `Pitch` bytes).
    RECT client = {0, 0, 0, 0};
    GetClientRect(window, &client);
    RECT shown = {0, 0, (LONG)desc.Width, (LONG)desc.Height};
    if (part)
        IntersectRect(&shown, &shown, part);
    IntersectRect(&shown, &shown, &client);
    struct
    {
        BITMAPINFOHEADER header;
        DWORD masks[3];
    } info;
    ZeroMemory(&info, sizeof(info));
    const int bytes = desc.Format == D3DFMT_X8R8G8B8 || desc.Format == D3DFMT_A8R8G8B8 ? 4 : 2;
    const LONG rows = shown.bottom - shown.top;
    info.header.biSize = sizeof(info.header);
    info.header.biWidth = locked.Pitch / bytes;
    info.header.biHeight = -rows;
    info.header.biPlanes = 1;
    info.header.biBitCount = (WORD)(bytes * 8);
    info.header.biCompression = desc.Format == D3DFMT_R5G6B5 ? BI_BITFIELDS : BI_RGB;
    info.masks[0] = 0xF800;
    info.masks[1] = 0x07E0;
    info.masks[2] = 0x001F;
    bool drawn = IsRectEmpty(&shown) != FALSE; // nothing of it in the window
    if (!drawn)
    {
        const BYTE* firstRow = (const BYTE*)locked.pBits + (size_t)shown.top * locked.Pitch;
        HDC dc = GetDC(window);
        drawn =
            dc && SetDIBitsToDevice(dc, shown.left, shown.top, (DWORD)(shown.right - shown.left),
                                    (DWORD)rows, shown.left, 0, 0, (UINT)rows, firstRow,
                                    (BITMAPINFO*)&info, DIB_RGB_COLORS) != 0;
        if (dc)
            ReleaseDC(window, dc);
    }
    readback->UnlockRect();
    return drawn;
}

bool Renderer::CopyBackBufferToWindow()
{
    IDirect3DSurface8* back = nullptr;
    if (FAILED(device->GetBackBuffer(0, D3DBACKBUFFER_TYPE_MONO, &back)))
        return false;
    IDirect3DSurface8* copy = Readback(back);
    const bool shown = copy && SUCCEEDED(device->CopyRects(back, nullptr, 0, copy, nullptr)) &&
                       ShowReadback(nullptr);
    back->Release();
    return shown;
}

bool Renderer::EndPartFrame(const RECT* parts, int count)
{
    if (!device)
        return false;
    device->EndScene();
    IDirect3DSurface8* back = nullptr;
    if (!readback || count <= 0 || FAILED(device->GetBackBuffer(0, D3DBACKBUFFER_TYPE_MONO, &back)))
        return false;
    // Only the parts are right in the back buffer: they go into the kept
    // picture, which is the frame from here on, and to the window, which
    // shows the kept picture everywhere else already.
    D3DSURFACE_DESC desc = {};
    bool copied = Readback(back) == readback && SUCCEEDED(back->GetDesc(&desc));
    const RECT whole = {0, 0, (LONG)desc.Width, (LONG)desc.Height};
    for (int i = 0; copied && i < count; ++i)
    {
        RECT part;
        if (!IntersectRect(&part, &parts[i], &whole))
            continue;
        const POINT at = {part.left, part.top};
        copied = SUCCEEDED(device->CopyRects(back, &part, 1, readback, &at)) && ShowReadback(&part);
    }
    back->Release();
    pictureKept = copied;
    if (copied)
        ++framesShown;
    return copied;
}

bool Renderer::ShowKeptFrame()
{
    if (!device || !pictureKept || !ShowReadback(nullptr))
        return false;
    ++framesShown;
    return true;
}

void Renderer::ReleaseDevice()
{
    ++frameSerial;
    pictureKept = false;
    if (readback)
    {
        readback->Release();
        readback = nullptr;
    }
    frameVertices.Release();
    if (device)
    {
        device->Release();
        device = nullptr;
    }
    if (direct3d)
    {
        direct3d->Release();
        direct3d = nullptr;
    }
    if (deviceWindow_)
    {
        DestroyWindow(deviceWindow_);
        deviceWindow_ = nullptr;
    }
}
