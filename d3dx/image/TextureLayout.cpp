// Texture size, level count and format choice (see TextureLayout.h).
#include "d3dx/image/TextureLayout.h"

#include "d3dx/image/MipChain.h"
#include "d3dx/image/PixelConvert.h"

namespace d3dximage
{
namespace
{
uint32_t RoundUpToPowerOfTwo(uint32_t side)
{
    uint32_t p = 1;
    while (p < side && p < 0x80000000u)
        p <<= 1;
    return p;
}

uint32_t RoundDownToPowerOfTwo(uint32_t side)
{
    uint32_t p = 1;
    while (p * 2 <= side && p < 0x80000000u)
        p <<= 1;
    return p;
}

uint32_t Fit(uint32_t side, uint32_t maximum, bool powerOfTwo)
{
    if (maximum && side > maximum)
        side = powerOfTwo ? RoundDownToPowerOfTwo(maximum) : maximum;
    return side;
}

// The formats of each kind of request, nearest first.
const PixelFormat AlphaColour[] = {FormatA8R8G8B8, FormatA4R4G4B4, FormatA1R5G5B5,
                                   FormatA8R3G3B2, FormatX8R8G8B8, FormatR8G8B8,
                                   FormatR5G6B5,   FormatX1R5G5B5, FormatX4R4G4B4};
const PixelFormat OpaqueColour[] = {FormatX8R8G8B8, FormatA8R8G8B8, FormatR8G8B8,
                                    FormatR5G6B5,   FormatX1R5G5B5, FormatA1R5G5B5,
                                    FormatX4R4G4B4, FormatA4R4G4B4, FormatR3G3B2};
const PixelFormat Luminance[] = {FormatL8,     FormatA8L8,   FormatX8R8G8B8, FormatA8R8G8B8,
                                 FormatR8G8B8, FormatR5G6B5, FormatX1R5G5B5};
const PixelFormat LuminanceAlpha[] = {FormatA8L8, FormatA4L4, FormatA8R8G8B8, FormatA4R4G4B4,
                                      FormatA1R5G5B5};
const PixelFormat AlphaOnly[] = {FormatA8, FormatA8L8, FormatA8R8G8B8, FormatA4R4G4B4};

void Append(PixelFormat format, PixelFormat out[16], uint32_t* count)
{
    if (*count >= 16 || TexelBytes(format) == 0)
        return;
    for (uint32_t i = 0; i < *count; ++i)
    {
        if (out[i] == format)
            return;
    }
    out[(*count)++] = format;
}

template <size_t N>
void AppendAll(const PixelFormat (&list)[N], PixelFormat out[16], uint32_t* count)
{
    for (PixelFormat format : list)
        Append(format, out, count);
}
} // namespace

TextureLayout ChooseTextureLayout(uint32_t imageWidth, uint32_t imageHeight,
                                  uint32_t requestedWidth, uint32_t requestedHeight,
                                  uint32_t requestedLevels, const DeviceTextureLimits& device)
{
    uint32_t width =
        requestedWidth == 0 || requestedWidth == FromImage ? imageWidth : requestedWidth;
    uint32_t height =
        requestedHeight == 0 || requestedHeight == FromImage ? imageHeight : requestedHeight;
    if (device.powerOfTwo)
    {
        width = RoundUpToPowerOfTwo(width);
        height = RoundUpToPowerOfTwo(height);
    }
    if (device.squareOnly)
        width = height = width > height ? width : height;
    width = Fit(width, device.maxWidth, device.powerOfTwo);
    height = Fit(height, device.maxHeight, device.powerOfTwo);
    if (device.squareOnly)
        width = height = width < height ? width : height;

    TextureLayout layout;
    layout.width = width;
    layout.height = height;
    const uint32_t full = FullMipCount(width, height);
    layout.levels = requestedLevels == 0 || requestedLevels == FromImage || requestedLevels > full
                        ? full
                        : requestedLevels;
    if (!device.mipmaps)
        layout.levels = 1;
    return layout;
}

uint32_t FormatCandidates(PixelFormat requested, PixelFormat source, PixelFormat out[16])
{
    uint32_t count = 0;
    PixelFormat wanted = requested == FormatUnknown ? source : requested;
    Append(wanted, out, &count);
    switch (wanted)
    {
    case FormatL8:
        AppendAll(Luminance, out, &count);
        break;
    case FormatA8L8:
    case FormatA4L4:
        AppendAll(LuminanceAlpha, out, &count);
        break;
    case FormatA8:
        AppendAll(AlphaOnly, out, &count);
        break;
    default:
        if (FormatHasAlpha(wanted) || wanted == FormatP8)
            AppendAll(AlphaColour, out, &count);
        else
            AppendAll(OpaqueColour, out, &count);
    }
    // Anything else writable, as a last resort.
    AppendAll(AlphaColour, out, &count);
    AppendAll(Luminance, out, &count);
    AppendAll(LuminanceAlpha, out, &count);
    AppendAll(AlphaOnly, out, &count);
    return count;
}
} // namespace d3dximage
