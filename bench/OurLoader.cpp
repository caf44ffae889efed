// Our D3DXCreateTextureFromFileExA on a Direct3D 8 device.
#include "bench/TextureLoaders.h"

#include "bench/BenchClock.h"

#include "d3dx/d3dx8.h"

namespace
{
IDirect3D8* direct3d = nullptr;
IDirect3DDevice8* device = nullptr;
} // namespace

bool OpenOurLoader(HWND window, const char** reason)
{
    direct3d = Direct3DCreate8(D3D_SDK_VERSION);
    if (!direct3d)
    {
        *reason = "Direct3DCreate8 failed";
        return false;
    }
    D3DDISPLAYMODE mode;
    direct3d->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &mode);
    D3DPRESENT_PARAMETERS params;
    ZeroMemory(&params, sizeof(params));
    params.Windowed = TRUE;
    params.SwapEffect = D3DSWAPEFFECT_DISCARD;
    params.BackBufferFormat = mode.Format;
    if (FAILED(direct3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window,
                                      D3DCREATE_SOFTWARE_VERTEXPROCESSING, &params, &device)))
    {
        *reason = "IDirect3D8::CreateDevice failed";
        return false;
    }
    return true;
}

double LoadWithOurLoader(const char* path)
{
    IDirect3DTexture8* texture = nullptr;
    const double start = Now() * 1000.0;
    const HRESULT result = D3DXCreateTextureFromFileExA(
        device, path, D3DX_DEFAULT, D3DX_DEFAULT, D3DX_DEFAULT, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED,
        D3DX_DEFAULT, D3DX_DEFAULT, 0, nullptr, nullptr, &texture);
    const double elapsed = Now() * 1000.0 - start;
    if (FAILED(result))
        return -1.0;
    texture->Release();
    return elapsed;
}

void CloseOurLoader()
{
    if (device)
        device->Release();
    if (direct3d)
        direct3d->Release();
    device = nullptr;
    direct3d = nullptr;
}
