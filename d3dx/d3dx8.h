// The Direct3D 8 utility functions the editor uses, with their D3DX 8
// signatures: creating a texture from an image file and building a
// left-handed perspective projection. No D3DX 8 exists for this toolchain,
// so these are the project's own (d3dx/); image decoding lives in d3dx/image
// and needs no Windows API.
#ifndef MAPEDITOR_D3DX8_H
#define MAPEDITOR_D3DX8_H

#include <windows.h>
#include <d3d8.h>

#define D3DX_DEFAULT ((UINT)-1)

// Filter flags of the D3DX 8 texture functions (only the box filter is used
// for mip levels; the others are accepted and treated as described in
// D3DXTexture.cpp).
#define D3DX_FILTER_NONE (1 << 0)
#define D3DX_FILTER_POINT (2 << 0)
#define D3DX_FILTER_LINEAR (3 << 0)
#define D3DX_FILTER_TRIANGLE (4 << 0)
#define D3DX_FILTER_BOX (5 << 0)

#define D3DXERR_INVALIDDATA MAKE_HRESULT(1, 0x876, 2905)

typedef D3DMATRIX D3DXMATRIX;

typedef enum _D3DXIMAGE_FILEFORMAT
{
    D3DXIFF_BMP = 0,
    D3DXIFF_JPG = 1,
    D3DXIFF_TGA = 2,
    D3DXIFF_PNG = 3,
    D3DXIFF_DDS = 4,
    D3DXIFF_PPM = 5,
    D3DXIFF_DIB = 6,
    D3DXIFF_FORCE_DWORD = 0x7fffffff
} D3DXIMAGE_FILEFORMAT;

typedef struct _D3DXIMAGE_INFO
{
    UINT Width;
    UINT Height;
    UINT Depth;
    UINT MipLevels;
    D3DFORMAT Format;
    D3DRESOURCETYPE ResourceType;
    D3DXIMAGE_FILEFORMAT ImageFileFormat;
} D3DXIMAGE_INFO;

// Left-handed perspective projection from a vertical field of view (radians),
// an aspect ratio (width / height) and the near and far planes.
D3DXMATRIX* WINAPI D3DXMatrixPerspectiveFovLH(D3DXMATRIX* out, float fovy, float aspect, float zn,
                                              float zf);

// Reads an image file (BMP, PPM/PGM, DDS, JPEG, PNG, TGA or headerless DIB
// data, recognised by content) into a new texture. See D3DXTexture.cpp.
HRESULT WINAPI D3DXCreateTextureFromFileExA(IDirect3DDevice8* device, const char* srcFile,
                                            UINT width, UINT height, UINT mipLevels, DWORD usage,
                                            D3DFORMAT format, D3DPOOL pool, DWORD filter,
                                            DWORD mipFilter, D3DCOLOR colorKey,
                                            D3DXIMAGE_INFO* srcInfo, PALETTEENTRY* palette,
                                            IDirect3DTexture8** texture);
// The same from an image file's bytes in memory (the caller read the file).
HRESULT WINAPI D3DXCreateTextureFromFileInMemoryEx(
    IDirect3DDevice8* device, const void* srcData, UINT srcDataSize, UINT width, UINT height,
    UINT mipLevels, DWORD usage, D3DFORMAT format, D3DPOOL pool, DWORD filter, DWORD mipFilter,
    D3DCOLOR colorKey, D3DXIMAGE_INFO* srcInfo, PALETTEENTRY* palette, IDirect3DTexture8** texture);

#endif
