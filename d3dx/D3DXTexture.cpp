// D3DXCreateTextureFromFileExA and D3DXCreateTextureFromFileInMemoryEx:
// read an image file (or take its bytes from memory), decode it with the
// platform-free decoders of d3dx/image, chooses the texture's size, level
// count and format from the request and the device's capabilities, creates
// the texture and fills every level (the top level scaled when its size
// differs from the image's, each further level box-filtered from the one
// above, all in 32-bit ARGB before conversion to the texel format).
//
// Results: D3D_OK; D3DERR_INVALIDCALL for a missing device, name or
// out-pointer or an unknown filter; D3DXERR_INVALIDDATA for a file that
// cannot be read or decoded; E_OUTOFMEMORY; D3DERR_NOTAVAILABLE when the
// device supports no format we can write; otherwise Direct3D's own result.
// On failure *texture is null and nothing is kept.
#include "d3dx/d3dx8.h"

#include <vector>

#include "d3dx/image/DecoderChain.h"
#include "d3dx/image/ImageScale.h"
#include "d3dx/image/MipChain.h"
#include "d3dx/image/PixelConvert.h"
#include "d3dx/image/TextureLayout.h"

using namespace d3dximage;

namespace
{
// Files larger than this cannot hold an image within the decoders' limits
// (16384 x 16384 texels of 4 bytes plus headers) and are refused unread.
const ULONGLONG LargestFile = 0x7FFFFFFF;

HRESULT ReadWholeFile(const char* name, std::vector<uint8_t>* bytes)
{
    // A relative name resolves against the current directory. The name is in
    // the active code page, which the editor's manifest makes UTF-8.
    HANDLE file = CreateFileA(name, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return D3DXERR_INVALIDDATA;
    HRESULT result = D3DXERR_INVALIDDATA;
    LARGE_INTEGER size;
    if (GetFileSizeEx(file, &size) && size.QuadPart > 0 && (ULONGLONG)size.QuadPart <= LargestFile)
    {
        try
        {
            bytes->resize((size_t)size.QuadPart);
            DWORD read = 0;
            if (ReadFile(file, bytes->data(), (DWORD)bytes->size(), &read, nullptr) &&
                read == bytes->size())
                result = D3D_OK;
        }
        catch (const std::bad_alloc&)
        {
            result = E_OUTOFMEMORY;
        }
    }
    CloseHandle(file);
    return result;
}

HRESULT DecodeBytes(const void* data, size_t size, Image* image, ImageInfo* info)
{
    if (size == 0)
        return D3DXERR_INVALIDDATA;
    switch (DecodeImageFile((const uint8_t*)data, size, DecodeLimits(), image, info))
    {
    case DecodeStatus::Ok:
        return D3D_OK;
    case DecodeStatus::OutOfMemory:
        return E_OUTOFMEMORY;
    default:
        return D3DXERR_INVALIDDATA;
    }
}

// The scaling filter of a D3DX filter argument (its low byte); false for an
// unknown one. Dither, mirror and sRGB flags in the upper bits are accepted
// and have no effect.
bool ScaleFilterOf(DWORD filter, ScaleFilter* scale)
{
    if (filter == D3DX_DEFAULT)
    {
        *scale = ScaleFilter::Triangle;
        return true;
    }
    switch (filter & 0xFF)
    {
    case D3DX_FILTER_NONE:
        *scale = ScaleFilter::None;
        return true;
    case D3DX_FILTER_POINT:
        *scale = ScaleFilter::Point;
        return true;
    case 0: // no filter named: the default
    case D3DX_FILTER_LINEAR:
    case D3DX_FILTER_TRIANGLE:
    case D3DX_FILTER_BOX:
        *scale = ScaleFilter::Triangle;
        return true;
    default:
        return false;
    }
}

DeviceTextureLimits LimitsOf(const D3DCAPS8& caps)
{
    DeviceTextureLimits limits;
    limits.powerOfTwo = (caps.TextureCaps & D3DPTEXTURECAPS_POW2) != 0;
    limits.squareOnly = (caps.TextureCaps & D3DPTEXTURECAPS_SQUAREONLY) != 0;
    limits.mipmaps = (caps.TextureCaps & D3DPTEXTURECAPS_MIPMAP) != 0;
    limits.maxWidth = caps.MaxTextureWidth;
    limits.maxHeight = caps.MaxTextureHeight;
    return limits;
}

// The first candidate format that the device accepts for a texture of this
// usage; FormatUnknown when none.
PixelFormat SupportedFormat(IDirect3DDevice8* device, DWORD usage, PixelFormat requested,
                            PixelFormat source)
{
    D3DDEVICE_CREATION_PARAMETERS creation;
    D3DDISPLAYMODE mode;
    IDirect3D8* direct3d = nullptr;
    if (FAILED(device->GetCreationParameters(&creation)) || FAILED(device->GetDisplayMode(&mode)) ||
        FAILED(device->GetDirect3D(&direct3d)))
        return FormatUnknown;
    PixelFormat candidates[16];
    const uint32_t count = FormatCandidates(requested, source, candidates);
    PixelFormat chosen = FormatUnknown;
    for (uint32_t i = 0; i < count && chosen == FormatUnknown; ++i)
    {
        if (SUCCEEDED(direct3d->CheckDeviceFormat(creation.AdapterOrdinal, creation.DeviceType,
                                                  mode.Format, usage, D3DRTYPE_TEXTURE,
                                                  (D3DFORMAT)candidates[i])))
            chosen = candidates[i];
    }
    direct3d->Release();
    return chosen;
}

// Writes `image` (level 0) and the box-filtered levels below it.
HRESULT FillLevels(IDirect3DTexture8* texture, const Image& top, PixelFormat format)
{
    const DWORD levels = texture->GetLevelCount();
    Image filtered[2];
    const Image* level = &top;
    for (DWORD i = 0; i < levels; ++i)
    {
        if (i > 0)
        {
            Image* next = &filtered[i & 1];
            if (!BoxFilterLevel(*level, next))
                return E_OUTOFMEMORY;
            level = next;
        }
        D3DSURFACE_DESC desc;
        D3DLOCKED_RECT locked;
        HRESULT result = texture->GetLevelDesc(i, &desc);
        if (SUCCEEDED(result) && (desc.Width != level->width || desc.Height != level->height))
            result = D3DERR_INVALIDCALL; // the device's level sizes must match ours
        if (SUCCEEDED(result))
            result = texture->LockRect(i, &locked, nullptr, 0);
        if (FAILED(result))
            return result;
        ConvertImage(*level, format, (uint8_t*)locked.pBits, (size_t)locked.Pitch);
        texture->UnlockRect(i);
    }
    return D3D_OK;
}

// Creates the texture in `pool` and fills it. The default pool cannot be
// locked, so its contents go through a system-memory copy.
HRESULT CreateFilledTexture(IDirect3DDevice8* device, const TextureLayout& layout, DWORD usage,
                            PixelFormat format, D3DPOOL pool, const Image& top,
                            IDirect3DTexture8** texture)
{
    const bool staged = pool == D3DPOOL_DEFAULT && !(usage & D3DUSAGE_DYNAMIC);
    IDirect3DTexture8* filled = nullptr;
    HRESULT result =
        device->CreateTexture(layout.width, layout.height, layout.levels, staged ? 0 : usage,
                              (D3DFORMAT)format, staged ? D3DPOOL_SYSTEMMEM : pool, &filled);
    if (FAILED(result))
        return result;
    result = FillLevels(filled, top, format);
    if (SUCCEEDED(result) && staged)
    {
        IDirect3DTexture8* target = nullptr;
        result = device->CreateTexture(layout.width, layout.height, layout.levels, usage,
                                       (D3DFORMAT)format, pool, &target);
        if (SUCCEEDED(result))
            result = device->UpdateTexture(filled, target);
        filled->Release();
        filled = target;
        if (FAILED(result) && filled)
        {
            filled->Release();
            filled = nullptr;
        }
    }
    if (FAILED(result))
    {
        if (filled)
            filled->Release();
        return result;
    }
    *texture = filled;
    return D3D_OK;
}

// The texture of an image file's bytes, as both entry points make it.
HRESULT CreateTextureOfBytes(IDirect3DDevice8* device, const void* data, size_t size, UINT width,
                             UINT height, UINT mipLevels, DWORD usage, D3DFORMAT format,
                             D3DPOOL pool, const ScaleFilter& scale, D3DCOLOR colorKey,
                             D3DXIMAGE_INFO* srcInfo, IDirect3DTexture8** texture)
{
    Image image;
    ImageInfo info;
    const HRESULT decoded = DecodeBytes(data, size, &image, &info);
    if (FAILED(decoded))
        return decoded;
    ApplyColorKey(&image, colorKey);

    D3DCAPS8 caps;
    HRESULT result = device->GetDeviceCaps(&caps);
    if (FAILED(result))
        return result;
    const TextureLayout layout =
        ChooseTextureLayout(image.width, image.height, width, height, mipLevels, LimitsOf(caps));
    const PixelFormat chosen = SupportedFormat(device, usage, (PixelFormat)format, info.format);
    if (chosen == FormatUnknown)
        return D3DERR_NOTAVAILABLE;

    Image scaled;
    const Image* top = &image;
    if (layout.width != image.width || layout.height != image.height)
    {
        if (!ScaleImage(image, layout.width, layout.height, scale, &scaled))
            return E_OUTOFMEMORY;
        image = Image(); // the source is no longer needed
        top = &scaled;
    }
    result = CreateFilledTexture(device, layout, usage, chosen, pool, *top, texture);
    if (FAILED(result))
        return result;

    if (srcInfo)
    {
        srcInfo->Width = info.width;
        srcInfo->Height = info.height;
        srcInfo->Depth = 1;
        srcInfo->MipLevels = info.mipLevels;
        srcInfo->Format = (D3DFORMAT)info.format;
        srcInfo->ResourceType = D3DRTYPE_TEXTURE;
        srcInfo->ImageFileFormat = (D3DXIMAGE_FILEFORMAT)info.fileFormat;
    }
    return D3D_OK;
}
} // namespace

HRESULT WINAPI D3DXCreateTextureFromFileExA(IDirect3DDevice8* device, const char* srcFile,
                                            UINT width, UINT height, UINT mipLevels, DWORD usage,
                                            D3DFORMAT format, D3DPOOL pool, DWORD filter,
                                            DWORD mipFilter, D3DCOLOR colorKey,
                                            D3DXIMAGE_INFO* srcInfo, PALETTEENTRY* palette,
                                            IDirect3DTexture8** texture)
{
    // The mip levels always come from the 2 x 2 box filter, whatever mipFilter
    // names; palettes are never produced, so `palette` is not written.
    if (texture)
        *texture = nullptr;
    ScaleFilter scale;
    if (!device || !srcFile || !texture || !ScaleFilterOf(filter, &scale))
        return D3DERR_INVALIDCALL;
    std::vector<uint8_t> bytes;
    const HRESULT read = ReadWholeFile(srcFile, &bytes);
    if (FAILED(read))
        return read;
    return CreateTextureOfBytes(device, bytes.data(), bytes.size(), width, height, mipLevels, usage,
                                format, pool, scale, colorKey, srcInfo, texture);
}

HRESULT WINAPI D3DXCreateTextureFromFileInMemoryEx(
    IDirect3DDevice8* device, const void* srcData, UINT srcDataSize, UINT width, UINT height,
    UINT mipLevels, DWORD usage, D3DFORMAT format, D3DPOOL pool, DWORD filter, DWORD mipFilter,
    D3DCOLOR colorKey, D3DXIMAGE_INFO* srcInfo, PALETTEENTRY* palette, IDirect3DTexture8** texture)
{
    if (texture)
        *texture = nullptr;
    ScaleFilter scale;
    if (!device || !srcData || !texture || !ScaleFilterOf(filter, &scale))
        return D3DERR_INVALIDCALL;
    return CreateTextureOfBytes(device, srcData, srcDataSize, width, height, mipLevels, usage,
                                format, pool, scale, colorKey, srcInfo, texture);
}
