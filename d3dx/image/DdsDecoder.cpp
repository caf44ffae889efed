// DDS files: "DDS ", a 124-byte surface description with its pixel format,
// then the surfaces, the largest level first. Only the top level becomes the
// picture (the texture loader builds its own mip chain), but the whole chain
// that the header announces must be present. Uncompressed formats are read
// through their channel masks; DXT1 to DXT5 are decompressed (DXT2 and DXT4
// hold premultiplied colour, which is undone).
#include "d3dx/image/ByteReader.h"
#include "d3dx/image/ChannelMask.h"
#include "d3dx/image/Decoders.h"
#include "d3dx/image/DxtBlocks.h"

namespace d3dximage
{
namespace
{
const size_t HeaderEnd = 128; // magic and surface description
const uint32_t DescriptionSize = 124;
const uint32_t PixelFormatSize = 32;
const uint32_t HasMipCount = 0x20000;

enum PixelFormatFlags : uint32_t
{
    AlphaPixels = 0x1,
    AlphaOnly = 0x2,
    FourCC = 0x4,
    Rgb = 0x40,
    Luminance = 0x20000,
};

enum class Layout
{
    Rgb,       // red, green, blue (and alpha) masks
    Luminance, // the red mask holds the luminance
    Alpha,     // alpha only
};

struct UncompressedFormat
{
    PixelFormat format;
    Layout layout;
    uint32_t bits;
    uint32_t red, green, blue, alpha;
};

const UncompressedFormat UncompressedFormats[] = {
    {FormatA8R8G8B8, Layout::Rgb, 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000},
    {FormatX8R8G8B8, Layout::Rgb, 32, 0xFF0000, 0xFF00, 0xFF, 0},
    {FormatR8G8B8, Layout::Rgb, 24, 0xFF0000, 0xFF00, 0xFF, 0},
    {FormatR5G6B5, Layout::Rgb, 16, 0xF800, 0x07E0, 0x001F, 0},
    {FormatX1R5G5B5, Layout::Rgb, 16, 0x7C00, 0x03E0, 0x001F, 0},
    {FormatA1R5G5B5, Layout::Rgb, 16, 0x7C00, 0x03E0, 0x001F, 0x8000},
    {FormatA4R4G4B4, Layout::Rgb, 16, 0x0F00, 0x00F0, 0x000F, 0xF000},
    {FormatX4R4G4B4, Layout::Rgb, 16, 0x0F00, 0x00F0, 0x000F, 0},
    {FormatR3G3B2, Layout::Rgb, 8, 0xE0, 0x1C, 0x03, 0},
    {FormatA8R3G3B2, Layout::Rgb, 16, 0xE0, 0x1C, 0x03, 0xFF00},
    {FormatL8, Layout::Luminance, 8, 0xFF, 0, 0, 0},
    {FormatA8L8, Layout::Luminance, 16, 0xFF, 0, 0, 0xFF00},
    {FormatA4L4, Layout::Luminance, 8, 0x0F, 0, 0, 0xF0},
    {FormatA8, Layout::Alpha, 8, 0, 0, 0, 0xFF},
};

struct CompressedFormat
{
    PixelFormat format;
    DxtKind kind;
    bool premultiplied;
};

const CompressedFormat CompressedFormats[] = {
    {FormatDXT1, DxtKind::Dxt1, false}, {FormatDXT2, DxtKind::Dxt3, true},
    {FormatDXT3, DxtKind::Dxt3, false}, {FormatDXT4, DxtKind::Dxt5, true},
    {FormatDXT5, DxtKind::Dxt5, false},
};

// The entry whose masks the file's pixel format names, or whose format
// number a four-character code carries; null when there is none.
const UncompressedFormat* FindUncompressed(const uint8_t* pf)
{
    const uint32_t flags = Le32(pf + 4);
    const uint32_t fourCC = Le32(pf + 8);
    const uint32_t bits = Le32(pf + 12);
    const uint32_t alpha = flags & (AlphaPixels | AlphaOnly) ? Le32(pf + 28) : 0;
    for (const UncompressedFormat& entry : UncompressedFormats)
    {
        if (flags & FourCC)
        {
            if (fourCC == entry.format)
                return &entry;
            continue;
        }
        const Layout layout = flags & Luminance   ? Layout::Luminance
                              : flags & Rgb       ? Layout::Rgb
                              : flags & AlphaOnly ? Layout::Alpha
                                                  : Layout::Rgb;
        if (entry.layout == layout && entry.bits == bits && entry.alpha == alpha &&
            (layout == Layout::Alpha ||
             (entry.red == Le32(pf + 16) &&
              (layout == Layout::Luminance ||
               (entry.green == Le32(pf + 20) && entry.blue == Le32(pf + 24))))))
            return &entry;
    }
    return nullptr;
}

const CompressedFormat* FindCompressed(const uint8_t* pf)
{
    if (!(Le32(pf + 4) & FourCC))
        return nullptr;
    for (const CompressedFormat& entry : CompressedFormats)
    {
        if (Le32(pf + 8) == entry.format)
            return &entry;
    }
    return nullptr;
}

uint64_t LevelBytes(uint32_t width, uint32_t height, const UncompressedFormat* plain,
                    const CompressedFormat* packed)
{
    if (packed)
        return (uint64_t)((width + 3) / 4) * ((height + 3) / 4) * DxtBlockBytes(packed->kind);
    return ((uint64_t)width * plain->bits + 7) / 8 * height;
}

void DecodePlain(const uint8_t* src, const UncompressedFormat& format, Image* image)
{
    ChannelMask red, green, blue, alpha;
    red.Set(format.red);
    green.Set(format.green);
    blue.Set(format.blue);
    alpha.Set(format.alpha);
    const uint32_t bytes = format.bits / 8;
    const size_t pitch = (size_t)image->width * bytes;
    for (uint32_t y = 0; y < image->height; ++y)
    {
        const uint8_t* row = src + pitch * y;
        uint32_t* out = image->Row(y);
        for (uint32_t x = 0; x < image->width; ++x, row += bytes)
        {
            uint32_t v = 0;
            for (uint32_t b = 0; b < bytes; ++b)
                v |= (uint32_t)row[b] << (8 * b);
            const uint32_t a = alpha.Expand(v, 255);
            if (format.layout == Layout::Luminance)
            {
                const uint32_t l = red.Expand(v, 0);
                out[x] = PackArgb(a, l, l, l);
            }
            else
                out[x] = PackArgb(a, red.Expand(v, 0), green.Expand(v, 0), blue.Expand(v, 0));
        }
    }
}

void DecodeCompressed(const uint8_t* src, const CompressedFormat& format, Image* image)
{
    const uint32_t blockBytes = DxtBlockBytes(format.kind);
    for (uint32_t by = 0; by < image->height; by += 4)
    {
        for (uint32_t bx = 0; bx < image->width; bx += 4, src += blockBytes)
        {
            uint32_t texels[16];
            DecodeDxtBlock(format.kind, src, texels);
            for (uint32_t y = by; y < by + 4 && y < image->height; ++y)
            {
                uint32_t* out = image->Row(y);
                for (uint32_t x = bx; x < bx + 4 && x < image->width; ++x)
                {
                    const uint32_t texel = texels[(y - by) * 4 + (x - bx)];
                    out[x] = format.premultiplied ? Unpremultiply(texel) : texel;
                }
            }
        }
    }
}
} // namespace

bool RecogniseDds(const uint8_t* data, size_t size)
{
    return size >= 8 && data[0] == 'D' && data[1] == 'D' && data[2] == 'S' && data[3] == ' ' &&
           Le32(data + 4) == DescriptionSize;
}

DecodeStatus DecodeDds(const uint8_t* data, size_t size, const DecodeLimits& limits, Image* image,
                       ImageInfo* info)
{
    if (size < HeaderEnd)
        return DecodeStatus::InvalidData;
    const uint32_t flags = Le32(data + 8);
    const uint32_t height = Le32(data + 12);
    const uint32_t width = Le32(data + 16);
    const uint8_t* pf = data + 76;
    if (Le32(pf) != PixelFormatSize || !WithinLimits(width, height, limits))
        return DecodeStatus::InvalidData;

    const CompressedFormat* packed = FindCompressed(pf);
    const UncompressedFormat* plain = packed ? nullptr : FindUncompressed(pf);
    if (!packed && !plain)
        return DecodeStatus::InvalidData;

    // The announced chain must make sense and be present in full.
    uint32_t fullChain = 1;
    while ((width >> fullChain) || (height >> fullChain))
        ++fullChain;
    uint32_t levels = flags & HasMipCount ? Le32(data + 28) : 1;
    if (levels == 0)
        levels = 1;
    if (levels > fullChain)
        return DecodeStatus::InvalidData;
    uint64_t chainBytes = 0;
    for (uint32_t level = 0; level < levels; ++level)
    {
        const uint32_t w = width >> level ? width >> level : 1;
        const uint32_t h = height >> level ? height >> level : 1;
        chainBytes += LevelBytes(w, h, plain, packed);
    }
    if (!Fits(size, HeaderEnd, chainBytes))
        return DecodeStatus::InvalidData;

    const DecodeStatus sized = AllocateImage(image, width, height, limits);
    if (sized != DecodeStatus::Ok)
        return sized;
    if (packed)
        DecodeCompressed(data + HeaderEnd, *packed, image);
    else
        DecodePlain(data + HeaderEnd, *plain, image);

    info->width = width;
    info->height = height;
    info->mipLevels = levels;
    info->format = packed ? packed->format : plain->format;
    info->fileFormat = FileDds;
    return DecodeStatus::Ok;
}
} // namespace d3dximage
