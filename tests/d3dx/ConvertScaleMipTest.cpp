// Texel conversion, colour keying, the box filter of the mip chain, scaling,
// and the choice of texture size, level count and format.
#include <gtest/gtest.h>

#include <stdlib.h>
#include <string.h>

#include "d3dx/image/ImageScale.h"
#include "d3dx/image/MipChain.h"
#include "d3dx/image/PixelConvert.h"
#include "d3dx/image/TextureLayout.h"
#include "tests/d3dx/TestImages.h"

using namespace testimages;
using namespace d3dximage;

namespace
{
const PixelFormat Writable[] = {FormatA8R8G8B8, FormatX8R8G8B8, FormatR8G8B8,   FormatR5G6B5,
                                FormatX1R5G5B5, FormatA1R5G5B5, FormatA4R4G4B4, FormatX4R4G4B4,
                                FormatR3G3B2,   FormatA8R3G3B2, FormatA8,       FormatL8,
                                FormatA8L8,     FormatA4L4};

Bytes Converted(uint32_t argb, PixelFormat format)
{
    Bytes out(TexelBytes(format), 0xEE);
    ConvertRow(&argb, 1, format, out.data());
    return out;
}
} // namespace

TEST(PixelConvert, TexelsByHand)
{
    // 0xFF8040C0: red 128, green 64, blue 192. Rounded to 5 bits: 16, 8, 23;
    // green to 6 bits: 16; to 4 bits: 8, 4, 11; to 3/3/2 bits: 4, 2, 2.
    // Luminance (54 r + 183 g + 19 b + 128) / 256 = 87.
    const struct
    {
        PixelFormat format;
        uint32_t argb;
        Bytes bytes;
    } cases[] = {
        {FormatA8R8G8B8, 0x12345678, {0x78, 0x56, 0x34, 0x12}},
        {FormatX8R8G8B8, 0x12345678, {0x78, 0x56, 0x34, 0xFF}},
        {FormatR8G8B8, 0x12345678, {0x78, 0x56, 0x34}},
        {FormatR5G6B5, 0xFF8040C0, {0x17, 0x82}},   // 10000 010000 10111
        {FormatX1R5G5B5, 0x008040C0, {0x17, 0xC1}}, // 1 10000 01000 10111
        {FormatA1R5G5B5, 0x7F8040C0, {0x17, 0x41}}, // alpha 127 rounds to 0
        {FormatA1R5G5B5, 0x808040C0, {0x17, 0xC1}}, // alpha 128 rounds to 1
        {FormatA4R4G4B4, 0x338040C0, {0x4B, 0x38}}, // 0011 1000 0100 1011
        {FormatX4R4G4B4, 0x008040C0, {0x4B, 0xF8}},
        {FormatR3G3B2, 0xFF8040C0, {0x8A}}, // 100 010 10
        {FormatA8R3G3B2, 0x5A8040C0, {0x8A, 0x5A}},
        {FormatA8, 0x5A8040C0, {0x5A}},
        {FormatL8, 0xFF8040C0, {87}},
        {FormatL8, 0xFFFFFFFF, {255}},
        {FormatA8L8, 0x5A8040C0, {87, 0x5A}},
        {FormatA4L4, 0x5A8040C0, {0x55}}, // alpha 90 -> 5, luminance 87 -> 5
    };
    for (const auto& c : cases)
        EXPECT_EQ(Converted(c.argb, c.format), c.bytes) << c.format << " " << std::hex << c.argb;
}

TEST(PixelConvert, ReadingBackLosesAtMostHalfAStep)
{
    // Every grey level and alpha level through every format and back.
    for (PixelFormat format : Writable)
    {
        for (uint32_t v = 0; v < 256; ++v)
        {
            const uint32_t argb = PackArgb(v, v, v, v);
            const Bytes texel = Converted(argb, format);
            const uint32_t back = ReadTexel(texel.data(), format);
            int narrowest = 8;
            switch (format)
            {
            case FormatR3G3B2:
            case FormatA8R3G3B2:
                narrowest = 2;
                break;
            case FormatA1R5G5B5:
                narrowest = 1;
                break;
            case FormatA4R4G4B4:
            case FormatX4R4G4B4:
            case FormatA4L4:
                narrowest = 4;
                break;
            case FormatR5G6B5:
            case FormatX1R5G5B5:
                narrowest = 5;
                break;
            default:
                break;
            }
            const int halfStep = (255 / ((1 << narrowest) - 1) + 1) / 2 + 1;
            const bool alpha = FormatHasAlpha(format);
            const bool colour = format != FormatA8;
            for (int shift = 0; shift < 32; shift += 8)
            {
                const int got = (int)(back >> shift & 255);
                int want = (int)v;
                if (shift == 24 && !alpha)
                    want = 255;
                if (shift < 24 && !colour)
                    want = 0;
                ASSERT_LE(abs(got - want), halfStep)
                    << "format " << format << " value " << v << " channel " << shift / 8;
            }
        }
    }
}

TEST(PixelConvert, ImagesRespectThePitchAndColourKeysClearTexels)
{
    const Image image = Pattern(3, 2, true);
    Bytes surface(2 * 16, 0xAB);
    ConvertImage(image, FormatA8R8G8B8, surface.data(), 16);
    for (uint32_t y = 0; y < 2; ++y)
    {
        uint32_t texel;
        memcpy(&texel, &surface[y * 16 + 8], 4);
        EXPECT_EQ(texel, image.At(2, y));
        for (size_t i = 12; i < 16; ++i)
            EXPECT_EQ(surface[y * 16 + i], 0xAB); // the padding is not touched
    }

    Image keyed = FromTexels(3, 1, {0xFFFF00FF, 0x80FF00FF, 0xFF000000});
    ApplyColorKey(&keyed, 0xFFFF00FF);
    EXPECT_EQ(keyed.pixels, (std::vector<uint32_t>{0, 0x80FF00FF, 0xFF000000}));
    ApplyColorKey(&keyed, 0); // no keying
    EXPECT_EQ(keyed.pixels[2], 0xFF000000u);
}

TEST(MipChain, BoxFilterOfEvenOddAndUnitSides)
{
    // Even sides: each texel the rounded mean of its four.
    const Image even = Pattern(6, 4, true);
    Image level;
    ASSERT_TRUE(BoxFilterLevel(even, &level));
    ASSERT_EQ(level.width, 3u);
    ASSERT_EQ(level.height, 2u);
    for (uint32_t y = 0; y < 2; ++y)
    {
        for (uint32_t x = 0; x < 3; ++x)
        {
            for (int shift = 0; shift < 32; shift += 8)
            {
                uint32_t sum = 0;
                for (uint32_t p : {even.At(2 * x, 2 * y), even.At(2 * x + 1, 2 * y),
                                   even.At(2 * x, 2 * y + 1), even.At(2 * x + 1, 2 * y + 1)})
                    sum += p >> shift & 255;
                ASSERT_EQ(level.At(x, y) >> shift & 255, (sum + 2) / 4) << x << "," << y;
            }
        }
    }

    // Odd sides: the last texel takes in the leftover column and row.
    const Image odd = FromTexels(3, 3, {9, 0, 0, 0, 0, 0, 0, 0, 0});
    ASSERT_TRUE(BoxFilterLevel(odd, &level));
    ASSERT_EQ(level.width, 1u);
    EXPECT_EQ(level.At(0, 0), 1u); // 9 / 9
    const Image row = FromTexels(5, 1, {0, 10, 20, 30, 40});
    ASSERT_TRUE(BoxFilterLevel(row, &level));
    EXPECT_EQ(level.pixels, (std::vector<uint32_t>{5, 30})); // (0+10)/2, (20+30+40)/3
    const Image column = FromTexels(1, 4, {0xFF000000, 0xFF000002, 0x00000010, 0x00000020});
    ASSERT_TRUE(BoxFilterLevel(column, &level));
    ASSERT_EQ(level.width, 1u);
    EXPECT_EQ(level.pixels, (std::vector<uint32_t>{0xFF000001, 0x00000018}));
    const Image single = FromTexels(1, 1, {0x12345678});
    ASSERT_TRUE(BoxFilterLevel(single, &level));
    EXPECT_EQ(level.pixels, single.pixels);

    // A whole chain of an odd picture down to 1 x 1: 7 x 5 -> 3 x 2 -> 1 x 1.
    // Level 1's first texel covers 2 x 2 texels, (0x63 + 3 x 0x40 + 2) / 4
    // = 0x49 in blue; the last level is the mean of level 1's six texels.
    Image chain = FromTexels(7, 5, std::vector<uint32_t>(35, 0x40404040));
    chain.pixels[0] = 0x40404040 + 0x23;
    for (int i = 0; i < 2; ++i)
    {
        Image next;
        ASSERT_TRUE(BoxFilterLevel(chain, &next));
        chain = next;
    }
    ASSERT_EQ(chain.width, 1u);
    ASSERT_EQ(chain.height, 1u);
    EXPECT_EQ(chain.At(0, 0), 0x40404042u); // (0x49 + 5 x 0x40 + 3) / 6

    const struct
    {
        uint32_t width, height, levels;
    } counts[] = {{1, 1, 1},     {2, 1, 2},     {1, 2, 2},
                  {300, 200, 9}, {4096, 1, 13}, {16384, 16384, 15}};
    for (const auto& c : counts)
        EXPECT_EQ(FullMipCount(c.width, c.height), c.levels) << c.width << "x" << c.height;
}

TEST(ImageScale, NonePointAndTriangle)
{
    const Image two = FromTexels(2, 1, {0xFF000000, 0xFF0000FF});
    Image out;
    ASSERT_TRUE(ScaleImage(two, 4, 1, ScaleFilter::Triangle, &out));
    EXPECT_EQ(out.pixels, (std::vector<uint32_t>{0xFF000000, 0xFF000040, 0xFF0000BF, 0xFF0000FF}));
    ASSERT_TRUE(ScaleImage(two, 4, 1, ScaleFilter::Point, &out));
    EXPECT_EQ(out.pixels, (std::vector<uint32_t>{0xFF000000, 0xFF000000, 0xFF0000FF, 0xFF0000FF}));
    ASSERT_TRUE(ScaleImage(two, 3, 2, ScaleFilter::None, &out));
    EXPECT_EQ(out.pixels, (std::vector<uint32_t>{0xFF000000, 0xFF0000FF, 0, 0, 0, 0}));
    ASSERT_TRUE(ScaleImage(two, 1, 1, ScaleFilter::None, &out));
    EXPECT_EQ(out.pixels, (std::vector<uint32_t>{0xFF000000}));

    // Reducing by two: a tent of half-width 2 texels.
    const Image four = FromTexels(4, 1, {0, 0, 0xFF, 0xFF});
    ASSERT_TRUE(ScaleImage(four, 2, 1, ScaleFilter::Triangle, &out));
    EXPECT_EQ(out.pixels, (std::vector<uint32_t>{36, 219}));

    // A flat picture stays flat at any size; the same size is a copy.
    const Image flat = FromTexels(5, 3, std::vector<uint32_t>(15, 0x80336699));
    for (uint32_t size : {1u, 2u, 7u, 16u})
    {
        ASSERT_TRUE(ScaleImage(flat, size, size + 1, ScaleFilter::Triangle, &out));
        ASSERT_EQ(out.pixels.size(), (size_t)size * (size + 1));
        for (uint32_t p : out.pixels)
            ASSERT_EQ(p, 0x80336699u) << size;
    }
    const Image pattern = Pattern(5, 3, true);
    ASSERT_TRUE(ScaleImage(pattern, 5, 3, ScaleFilter::Triangle, &out));
    EXPECT_EQ(out.pixels, pattern.pixels);
}

TEST(TextureLayout, SizeAndLevelsFromRequestAndDevice)
{
    DeviceTextureLimits any;
    DeviceTextureLimits pow2;
    pow2.powerOfTwo = true;
    DeviceTextureLimits square = pow2;
    square.squareOnly = true;
    DeviceTextureLimits small = pow2;
    small.maxWidth = small.maxHeight = 256;
    DeviceTextureLimits oddMax = pow2;
    oddMax.maxWidth = 1000;
    oddMax.maxHeight = 1000;
    DeviceTextureLimits max2048;
    max2048.maxWidth = max2048.maxHeight = 2048;
    DeviceTextureLimits noMips;
    noMips.mipmaps = false;
    const struct
    {
        const char* what;
        uint32_t imageWidth, imageHeight, width, height, levels;
        DeviceTextureLimits device;
        uint32_t wantWidth, wantHeight, wantLevels;
    } cases[] = {
        {"image size, full chain", 300, 200, FromImage, FromImage, FromImage, any, 300, 200, 9},
        {"zero means the same", 300, 200, 0, 0, 0, any, 300, 200, 9},
        {"powers of two", 300, 200, FromImage, FromImage, FromImage, pow2, 512, 256, 10},
        {"square", 300, 200, FromImage, FromImage, FromImage, square, 512, 512, 10},
        {"device maximum", 300, 200, FromImage, FromImage, FromImage, small, 256, 256, 9},
        {"maximum not a power", 3000, 20, FromImage, FromImage, FromImage, oddMax, 512, 32, 10},
        {"larger than the device", 4096, 100, FromImage, FromImage, FromImage, max2048, 2048, 100,
         12},
        {"requested size", 300, 200, 64, 32, FromImage, any, 64, 32, 7},
        {"requested levels", 300, 200, FromImage, FromImage, 3, any, 300, 200, 3},
        {"too many levels", 4, 4, FromImage, FromImage, 20, any, 4, 4, 3},
        {"no mip levels on the device", 300, 200, FromImage, FromImage, FromImage, noMips, 300, 200,
         1},
    };
    for (const auto& c : cases)
    {
        const TextureLayout layout =
            ChooseTextureLayout(c.imageWidth, c.imageHeight, c.width, c.height, c.levels, c.device);
        EXPECT_EQ(layout.width, c.wantWidth) << c.what;
        EXPECT_EQ(layout.height, c.wantHeight) << c.what;
        EXPECT_EQ(layout.levels, c.wantLevels) << c.what;
    }
}

TEST(TextureLayout, FormatCandidatesNearestFirst)
{
    const struct
    {
        PixelFormat requested, source;
        std::vector<PixelFormat> first;
    } cases[] = {
        {FormatA8R8G8B8, FormatR8G8B8, {FormatA8R8G8B8, FormatA4R4G4B4, FormatA1R5G5B5}},
        {FormatX8R8G8B8, FormatA8R8G8B8, {FormatX8R8G8B8, FormatA8R8G8B8, FormatR8G8B8}},
        {FormatR5G6B5, FormatA8R8G8B8, {FormatR5G6B5, FormatX8R8G8B8}},
        {FormatUnknown, FormatR8G8B8, {FormatR8G8B8, FormatX8R8G8B8}},
        {FormatUnknown, FormatP8, {FormatA8R8G8B8}},
        {FormatDXT1, FormatDXT1, {FormatX8R8G8B8}},
        {FormatDXT5, FormatR8G8B8, {FormatA8R8G8B8}},
        {FormatL8, FormatR8G8B8, {FormatL8, FormatA8L8, FormatX8R8G8B8}},
        {FormatA8, FormatR8G8B8, {FormatA8, FormatA8L8, FormatA8R8G8B8}},
    };
    for (const auto& c : cases)
    {
        PixelFormat out[16];
        const uint32_t count = FormatCandidates(c.requested, c.source, out);
        ASSERT_GE(count, c.first.size());
        for (size_t i = 0; i < c.first.size(); ++i)
            EXPECT_EQ(out[i], c.first[i]) << c.requested << " candidate " << i;
        for (uint32_t i = 0; i < count; ++i)
        {
            EXPECT_GT(TexelBytes(out[i]), 0u);
            for (uint32_t j = 0; j < i; ++j)
                EXPECT_NE(out[i], out[j]);
        }
    }
}
