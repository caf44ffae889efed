// The 2 x 2 box filter of the mip chain. Even sides take the fast path: two
// channels at a time in one 32-bit word (each lane has room for the sum of
// four 8-bit values). Odd sides and sides of 1 take the general path, which
// counts how many source texels each output texel covers.
#include "d3dx/image/MipChain.h"

#include <new>

namespace d3dximage
{
namespace
{
void EvenLevel(const Image& source, Image* level)
{
    for (uint32_t y = 0; y < level->height; ++y)
    {
        const uint32_t* top = source.Row(2 * y);
        const uint32_t* bottom = source.Row(2 * y + 1);
        uint32_t* out = level->Row(y);
        for (uint32_t x = 0; x < level->width; ++x)
        {
            const uint32_t a = top[2 * x], b = top[2 * x + 1];
            const uint32_t c = bottom[2 * x], d = bottom[2 * x + 1];
            const uint32_t redBlue = (a & 0x00FF00FF) + (b & 0x00FF00FF) + (c & 0x00FF00FF) +
                                     (d & 0x00FF00FF) + 0x00020002;
            const uint32_t alphaGreen = (a >> 8 & 0x00FF00FF) + (b >> 8 & 0x00FF00FF) +
                                        (c >> 8 & 0x00FF00FF) + (d >> 8 & 0x00FF00FF) + 0x00020002;
            out[x] = (redBlue >> 2 & 0x00FF00FF) | (alphaGreen << 6 & 0xFF00FF00);
        }
    }
}

// Source range [first, first + count) that output index i of `outSide` covers.
void Span(uint32_t i, uint32_t sourceSide, uint32_t outSide, uint32_t* first, uint32_t* count)
{
    if (sourceSide == 1)
    {
        *first = 0;
        *count = 1;
        return;
    }
    *first = 2 * i;
    *count = (i == outSide - 1 && (sourceSide & 1)) ? 3 : 2;
}

void GeneralLevel(const Image& source, Image* level)
{
    for (uint32_t y = 0; y < level->height; ++y)
    {
        uint32_t firstY, countY;
        Span(y, source.height, level->height, &firstY, &countY);
        uint32_t* out = level->Row(y);
        for (uint32_t x = 0; x < level->width; ++x)
        {
            uint32_t firstX, countX;
            Span(x, source.width, level->width, &firstX, &countX);
            uint32_t sum[4] = {};
            for (uint32_t sy = firstY; sy < firstY + countY; ++sy)
            {
                const uint32_t* row = source.Row(sy);
                for (uint32_t sx = firstX; sx < firstX + countX; ++sx)
                {
                    for (int c = 0; c < 4; ++c)
                        sum[c] += row[sx] >> (8 * c) & 255;
                }
            }
            const uint32_t n = countX * countY;
            uint32_t texel = 0;
            for (int c = 0; c < 4; ++c)
                texel |= ((sum[c] + n / 2) / n) << (8 * c);
            out[x] = texel;
        }
    }
}
} // namespace

uint32_t FullMipCount(uint32_t width, uint32_t height)
{
    uint32_t levels = 1;
    while (width > 1 || height > 1)
    {
        width = NextMipSide(width);
        height = NextMipSide(height);
        ++levels;
    }
    return levels;
}

bool BoxFilterLevel(const Image& source, Image* level)
{
    level->width = NextMipSide(source.width);
    level->height = NextMipSide(source.height);
    try
    {
        level->pixels.assign((size_t)level->width * level->height, 0);
    }
    catch (const std::bad_alloc&)
    {
        *level = Image();
        return false;
    }
    const bool even = source.width % 2 == 0 && source.height % 2 == 0;
    if (even)
        EvenLevel(source, level);
    else
        GeneralLevel(source, level);
    return true;
}
} // namespace d3dximage
