// Creating textures from image files. The decoders are not written yet: every
// call fails, so no texture is ever reported as loaded.
#include "d3dx/d3dx8.h"

HRESULT WINAPI D3DXCreateTextureFromFileExA(IDirect3DDevice8* device, const char* srcFile,
                                            UINT width, UINT height, UINT mipLevels, DWORD usage,
                                            D3DFORMAT format, D3DPOOL pool, DWORD filter,
                                            DWORD mipFilter, D3DCOLOR colorKey,
                                            D3DXIMAGE_INFO* srcInfo, PALETTEENTRY* palette,
                                            IDirect3DTexture8** texture)
{
    if (texture)
        *texture = nullptr;
    return E_NOTIMPL;
}
