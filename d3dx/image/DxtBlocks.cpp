// DXT block decompression. A colour block holds two 5:6:5 end points and 16
// two-bit selectors; the two colours between them are interpolated at thirds
// (or, in DXT1 when the first end point is not above the second, one colour
// halfway and transparent black). DXT3 stores 4-bit alpha per texel, DXT5 two
// alpha end points and 3-bit selectors over six or four interpolated values.
#include "d3dx/image/DxtBlocks.h"

#include "d3dx/image/ByteReader.h"
#include "d3dx/image/ImageTypes.h"

namespace d3dximage
{
namespace
{
void Expand565(uint32_t c, uint32_t rgb[3])
{
    const uint32_t r = c >> 11 & 31, g = c >> 5 & 63, b = c & 31;
    rgb[0] = (r << 3) | (r >> 2);
    rgb[1] = (g << 2) | (g >> 4);
    rgb[2] = (b << 3) | (b >> 2);
}

// The colour half of a block; only DXT1 knows the three-colour mode.
void DecodeColours(const uint8_t* block, bool dxt1, uint32_t out[16])
{
    const uint32_t c0 = Le16(block), c1 = Le16(block + 2);
    uint32_t e0[3], e1[3];
    Expand565(c0, e0);
    Expand565(c1, e1);
    uint32_t palette[4];
    palette[0] = PackArgb(255, e0[0], e0[1], e0[2]);
    palette[1] = PackArgb(255, e1[0], e1[1], e1[2]);
    if (!dxt1 || c0 > c1)
    {
        uint32_t m[3], n[3];
        for (int i = 0; i < 3; ++i)
        {
            m[i] = (2 * e0[i] + e1[i] + 1) / 3;
            n[i] = (e0[i] + 2 * e1[i] + 1) / 3;
        }
        palette[2] = PackArgb(255, m[0], m[1], m[2]);
        palette[3] = PackArgb(255, n[0], n[1], n[2]);
    }
    else
    {
        palette[2] = PackArgb(255, (e0[0] + e1[0]) / 2, (e0[1] + e1[1]) / 2, (e0[2] + e1[2]) / 2);
        palette[3] = 0; // transparent black
    }
    const uint32_t selectors = Le32(block + 4);
    for (int i = 0; i < 16; ++i)
        out[i] = palette[selectors >> (2 * i) & 3];
}

void ApplyExplicitAlpha(const uint8_t* block, uint32_t out[16])
{
    for (int i = 0; i < 16; ++i)
    {
        const uint32_t a = block[i / 2] >> (4 * (i & 1)) & 15;
        out[i] = (out[i] & 0x00FFFFFFu) | (a * 17) << 24;
    }
}

void ApplyInterpolatedAlpha(const uint8_t* block, uint32_t out[16])
{
    const uint32_t a0 = block[0], a1 = block[1];
    uint32_t alpha[8] = {a0, a1};
    if (a0 > a1)
    {
        for (uint32_t i = 1; i < 7; ++i)
            alpha[i + 1] = ((7 - i) * a0 + i * a1 + 3) / 7;
    }
    else
    {
        for (uint32_t i = 1; i < 5; ++i)
            alpha[i + 1] = ((5 - i) * a0 + i * a1 + 2) / 5;
        alpha[6] = 0;
        alpha[7] = 255;
    }
    uint64_t selectors = 0;
    for (int i = 0; i < 6; ++i)
        selectors |= (uint64_t)block[2 + i] << (8 * i);
    for (int i = 0; i < 16; ++i)
        out[i] = (out[i] & 0x00FFFFFFu) | alpha[selectors >> (3 * i) & 7] << 24;
}
} // namespace

void DecodeDxtBlock(DxtKind kind, const uint8_t* block, uint32_t out[16])
{
    switch (kind)
    {
    case DxtKind::Dxt1:
        DecodeColours(block, true, out);
        break;
    case DxtKind::Dxt3:
        DecodeColours(block + 8, false, out);
        ApplyExplicitAlpha(block, out);
        break;
    case DxtKind::Dxt5:
        DecodeColours(block + 8, false, out);
        ApplyInterpolatedAlpha(block, out);
        break;
    }
}

uint32_t Unpremultiply(uint32_t argb)
{
    const uint32_t a = argb >> 24;
    if (a == 0 || a == 255)
        return argb;
    uint32_t channel[3] = {argb >> 16 & 255, argb >> 8 & 255, argb & 255};
    for (uint32_t& c : channel)
    {
        c = (c * 255 + a / 2) / a;
        if (c > 255)
            c = 255;
    }
    return PackArgb(a, channel[0], channel[1], channel[2]);
}
} // namespace d3dximage
