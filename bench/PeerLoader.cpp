// Wine's d3dx9_43.dll D3DXCreateTextureFromFileExA on a Direct3D 9 device,
// both DLLs loaded with LoadLibrary: a benchmark peer only.
#include "bench/TextureLoaders.h"

#include "bench/BenchClock.h"

#include <d3d9.h>

namespace
{
typedef IDirect3D9*(WINAPI* CreateDirect3D9)(UINT);
// The D3DX 9 signature; the image info (unused here) is passed as null.
typedef HRESULT(WINAPI* CreateTextureFromFileExA)(IDirect3DDevice9*, const char*, UINT, UINT, UINT,
                                                  DWORD, D3DFORMAT, D3DPOOL, DWORD, DWORD, D3DCOLOR,
                                                  void*, PALETTEENTRY*, IDirect3DTexture9**);
const UINT FullChain = 0xFFFFFFFFu; // D3DX_DEFAULT

HMODULE d3d9 = nullptr;
HMODULE d3dx9 = nullptr;
IDirect3D9* direct3d = nullptr;
IDirect3DDevice9* device = nullptr;
CreateTextureFromFileExA createTexture = nullptr;
} // namespace

bool OpenPeerLoader(HWND window, const char** reason)
{
    d3d9 = LoadLibraryA("d3d9.dll");
    d3dx9 = LoadLibraryA("d3dx9_43.dll");
    if (!d3d9 || !d3dx9)
    {
        *reason = "d3d9.dll or d3dx9_43.dll not found";
        return false;
    }
    CreateDirect3D9 create = (CreateDirect3D9)(void*)GetProcAddress(d3d9, "Direct3DCreate9");
    createTexture =
        (CreateTextureFromFileExA)(void*)GetProcAddress(d3dx9, "D3DXCreateTextureFromFileExA");
    if (!create || !createTexture)
    {
        *reason = "entry points not found";
        return false;
    }
    direct3d = create(D3D_SDK_VERSION);
    if (!direct3d)
    {
        *reason = "Direct3DCreate9 failed";
        return false;
    }
    D3DPRESENT_PARAMETERS params;
    ZeroMemory(&params, sizeof(params));
    params.Windowed = TRUE;
    params.SwapEffect = D3DSWAPEFFECT_DISCARD;
    params.BackBufferFormat = D3DFMT_UNKNOWN;
    if (FAILED(direct3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window,
                                      D3DCREATE_SOFTWARE_VERTEXPROCESSING, &params, &device)))
    {
        *reason = "IDirect3D9::CreateDevice failed";
        return false;
    }
    return true;
}

double LoadWithPeerLoader(const char* path)
{
    IDirect3DTexture9* texture = nullptr;
    const double start = Now() * 1000.0;
    const HRESULT result =
        createTexture(device, path, FullChain, FullChain, FullChain, 0, D3DFMT_A8R8G8B8,
                      D3DPOOL_MANAGED, FullChain, FullChain, 0, nullptr, nullptr, &texture);
    const double elapsed = Now() * 1000.0 - start;
    if (FAILED(result))
        return -1.0;
    texture->Release();
    return elapsed;
}

void ClosePeerLoader()
{
    if (device)
        device->Release();
    if (direct3d)
        direct3d->Release();
    device = nullptr;
    direct3d = nullptr;
    // The DLLs stay loaded until the process ends.
}
