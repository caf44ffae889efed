// Choosing a texture's size, mip level count and texel format from the
// image, the caller's request and what the device can do. Kept free of the
// Windows API so the rules can be tested natively; D3DXTexture.cpp feeds in
// the device's capabilities and asks the device which formats it supports.
#ifndef MAPEDITOR_D3DX_TEXTURELAYOUT_H
#define MAPEDITOR_D3DX_TEXTURELAYOUT_H

#include "d3dx/image/ImageTypes.h"

namespace d3dximage
{
// A requested width, height or level count of 0 or of this value means
// "from the image" (size) or "a full chain" (levels).
const uint32_t FromImage = 0xFFFFFFFFu;

struct DeviceTextureLimits
{
    bool powerOfTwo = false; // sides must be powers of two
    bool squareOnly = false; // width must equal height
    bool mipmaps = true;     // the device can sample mip levels at all
    uint32_t maxWidth = 0;   // 0: no limit
    uint32_t maxHeight = 0;
};

struct TextureLayout
{
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t levels = 0;
};

// The requested size (or the image's), rounded up to powers of two and made
// square when the device needs it, then reduced to fit the device's maximum
// (to a power of two again where required); the requested level count,
// at most a full chain down to 1 x 1.
TextureLayout ChooseTextureLayout(uint32_t imageWidth, uint32_t imageHeight,
                                  uint32_t requestedWidth, uint32_t requestedHeight,
                                  uint32_t requestedLevels, const DeviceTextureLimits& device);

// The formats to try, nearest to the request first: the requested format
// when it can be written, then others of its kind (keeping alpha if the
// request has alpha, colour if it is colour, luminance if it is luminance),
// then the rest. FormatUnknown asks for the source's own format. Returns
// how many were written to `out` (at most 16); every one is writable by
// ConvertRow.
uint32_t FormatCandidates(PixelFormat requested, PixelFormat source, PixelFormat out[16]);
} // namespace d3dximage

#endif
