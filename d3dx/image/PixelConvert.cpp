// Texel format conversion. Each format is written by its own loop, chosen
// once per row, and narrow channels come from small tables built once, so
// the inner loops have no branches per texel.
#include "d3dx/image/PixelConvert.h"

#include <string.h>

namespace d3dximage
{
namespace
{
// Rounded narrowing of an 8-bit channel to 1..6 bits: Narrow[bits][value].
struct NarrowTables
{
    uint8_t table[7][256];
    NarrowTables()
    {
        for (uint32_t bits = 1; bits <= 6; ++bits)
        {
            const uint32_t top = (1u << bits) - 1;
            for (uint32_t v = 0; v < 256; ++v)
                table[bits][v] = (uint8_t)((v * top + 127) / 255);
        }
    }
};

const NarrowTables& Narrow()
{
    static const NarrowTables tables;
    return tables;
}

uint32_t Widen(uint32_t value, uint32_t bits)
{
    const uint32_t top = (1u << bits) - 1;
    return (value * 255 + top / 2) / top;
}

inline uint32_t Luminance(uint32_t argb)
{
    return (54 * (argb >> 16 & 255) + 183 * (argb >> 8 & 255) + 19 * (argb & 255) + 128) >> 8;
}

inline void Store16(uint8_t* out, uint32_t value)
{
    out[0] = (uint8_t)value;
    out[1] = (uint8_t)(value >> 8);
}

// A 16-bit format with four channels of the given widths (alpha highest).
template <uint32_t A, uint32_t R, uint32_t G, uint32_t B>
void Pack16Row(const uint32_t* in, uint32_t count, uint8_t* out)
{
    const NarrowTables& n = Narrow();
    for (uint32_t i = 0; i < count; ++i, out += 2)
    {
        const uint32_t p = in[i];
        uint32_t v = (uint32_t)n.table[B][p & 255] | (uint32_t)n.table[G][p >> 8 & 255] << B |
                     (uint32_t)n.table[R][p >> 16 & 255] << (B + G);
        if constexpr (A == 8)
            v |= (p >> 24) << (B + G + R);
        else if constexpr (A > 0)
            v |= (uint32_t)n.table[A][p >> 24] << (B + G + R);
        else // X formats set their unused bits (opaque, whoever reads them)
            v |= (0xFFFFu << (B + G + R)) & 0xFFFFu;
        Store16(out, v);
    }
}
} // namespace

uint32_t TexelBytes(PixelFormat format)
{
    switch (format)
    {
    case FormatA8R8G8B8:
    case FormatX8R8G8B8:
        return 4;
    case FormatR8G8B8:
        return 3;
    case FormatR5G6B5:
    case FormatX1R5G5B5:
    case FormatA1R5G5B5:
    case FormatA4R4G4B4:
    case FormatX4R4G4B4:
    case FormatA8R3G3B2:
    case FormatA8L8:
        return 2;
    case FormatR3G3B2:
    case FormatA8:
    case FormatL8:
    case FormatA4L4:
        return 1;
    default:
        return 0;
    }
}

bool FormatHasAlpha(PixelFormat format)
{
    switch (format)
    {
    case FormatA8R8G8B8:
    case FormatA1R5G5B5:
    case FormatA4R4G4B4:
    case FormatA8:
    case FormatA8R3G3B2:
    case FormatA8L8:
    case FormatA4L4:
    case FormatDXT2:
    case FormatDXT3:
    case FormatDXT4:
    case FormatDXT5:
        return true;
    default:
        return false;
    }
}

void ConvertRow(const uint32_t* in, uint32_t count, PixelFormat format, uint8_t* out)
{
    const NarrowTables& n = Narrow();
    switch (format)
    {
    case FormatA8R8G8B8:
        memcpy(out, in, (size_t)count * 4);
        break;
    case FormatX8R8G8B8:
        for (uint32_t i = 0; i < count; ++i)
        {
            const uint32_t v = in[i] | 0xFF000000u;
            memcpy(out + 4 * (size_t)i, &v, 4);
        }
        break;
    case FormatR8G8B8:
        for (uint32_t i = 0; i < count; ++i, out += 3)
        {
            out[0] = (uint8_t)in[i];
            out[1] = (uint8_t)(in[i] >> 8);
            out[2] = (uint8_t)(in[i] >> 16);
        }
        break;
    case FormatR5G6B5:
        Pack16Row<0, 5, 6, 5>(in, count, out);
        break;
    case FormatX1R5G5B5:
        Pack16Row<0, 5, 5, 5>(in, count, out);
        break;
    case FormatA1R5G5B5:
        Pack16Row<1, 5, 5, 5>(in, count, out);
        break;
    case FormatA4R4G4B4:
        Pack16Row<4, 4, 4, 4>(in, count, out);
        break;
    case FormatX4R4G4B4:
        Pack16Row<0, 4, 4, 4>(in, count, out);
        break;
    case FormatA8R3G3B2:
        Pack16Row<8, 3, 3, 2>(in, count, out);
        break;
    case FormatR3G3B2:
        for (uint32_t i = 0; i < count; ++i)
        {
            const uint32_t p = in[i];
            out[i] = (uint8_t)(n.table[3][p >> 16 & 255] << 5 | n.table[3][p >> 8 & 255] << 2 |
                               n.table[2][p & 255]);
        }
        break;
    case FormatA8:
        for (uint32_t i = 0; i < count; ++i)
            out[i] = (uint8_t)(in[i] >> 24);
        break;
    case FormatL8:
        for (uint32_t i = 0; i < count; ++i)
            out[i] = (uint8_t)Luminance(in[i]);
        break;
    case FormatA8L8:
        for (uint32_t i = 0; i < count; ++i, out += 2)
            Store16(out, Luminance(in[i]) | (in[i] >> 24) << 8);
        break;
    case FormatA4L4:
        for (uint32_t i = 0; i < count; ++i)
            out[i] = (uint8_t)(n.table[4][in[i] >> 24] << 4 | n.table[4][Luminance(in[i])]);
        break;
    default:
        break;
    }
}

void ConvertImage(const Image& image, PixelFormat format, uint8_t* out, size_t pitch)
{
    for (uint32_t y = 0; y < image.height; ++y)
        ConvertRow(image.Row(y), image.width, format, out + pitch * y);
}

uint32_t ReadTexel(const uint8_t* t, PixelFormat format)
{
    // Only two-byte formats read the second byte.
    const uint32_t v16 = TexelBytes(format) >= 2 ? (uint32_t)t[0] | (uint32_t)t[1] << 8 : 0;
    switch (format)
    {
    case FormatA8R8G8B8:
        return (uint32_t)t[0] | (uint32_t)t[1] << 8 | (uint32_t)t[2] << 16 | (uint32_t)t[3] << 24;
    case FormatX8R8G8B8:
    case FormatR8G8B8:
        return PackArgb(255, t[2], t[1], t[0]);
    case FormatR5G6B5:
        return PackArgb(255, Widen(v16 >> 11, 5), Widen(v16 >> 5 & 63, 6), Widen(v16 & 31, 5));
    case FormatX1R5G5B5:
    case FormatA1R5G5B5:
        return PackArgb(format == FormatX1R5G5B5 || v16 >> 15 ? 255 : 0, Widen(v16 >> 10 & 31, 5),
                        Widen(v16 >> 5 & 31, 5), Widen(v16 & 31, 5));
    case FormatA4R4G4B4:
    case FormatX4R4G4B4:
        return PackArgb(format == FormatX4R4G4B4 ? 255 : Widen(v16 >> 12, 4),
                        Widen(v16 >> 8 & 15, 4), Widen(v16 >> 4 & 15, 4), Widen(v16 & 15, 4));
    case FormatA8R3G3B2:
    case FormatR3G3B2:
        return PackArgb(format == FormatR3G3B2 ? 255 : t[1], Widen(t[0] >> 5, 3),
                        Widen(t[0] >> 2 & 7, 3), Widen(t[0] & 3, 2));
    case FormatA8:
        return PackArgb(t[0], 0, 0, 0);
    case FormatL8:
        return PackArgb(255, t[0], t[0], t[0]);
    case FormatA8L8:
        return PackArgb(t[1], t[0], t[0], t[0]);
    case FormatA4L4:
    {
        const uint32_t l = Widen(t[0] & 15, 4);
        return PackArgb(Widen(t[0] >> 4, 4), l, l, l);
    }
    default:
        return 0;
    }
}

void ApplyColorKey(Image* image, uint32_t key)
{
    if (key == 0)
        return;
    for (uint32_t& texel : image->pixels)
        texel = texel == key ? 0 : texel;
}
} // namespace d3dximage
