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
Bytes Converted(uint32_t argb, PixelFormat format)
{
    Bytes out(TexelBytes(format), 0xEE);
    ConvertRow(&argb, 1, format, out.data());
    return out;
}
} // namespace

TEST(PixelConvert, EveryWritableFormatByHandAndBack)
{
    // 0xFF8040C0: red 128, green 64, blue 192. Rounded to 5 bits: 16, 8, 23;
    // green to 6 bits: 16; to 4 bits: 8, 4, 11; to 3/3/2 bits: 4, 2, 2.
    // Luminance (54 r + 183 g + 19 b + 128) / 256 = 87. `bits` is the
    // narrowest channel, which bounds what reading back may lose.
    const struct
    {
        PixelFormat format;
        uint32_t argb;
        Bytes bytes;
        int bits;
    } cases[] = {
        {FormatA8R8G8B8, 0x12345678, {0x78, 0x56, 0x34, 0x12}, 8},
        {FormatX8R8G8B8, 0x12345678, {0x78, 0x56, 0x34, 0xFF}, 8},
        {FormatR8G8B8, 0x12345678, {0x78, 0x56, 0x34}, 8},
        {FormatR5G6B5, 0xFF8040C0, {0x17, 0x82}, 5},   // 10000 010000 10111
        {FormatX1R5G5B5, 0x008040C0, {0x17, 0xC1}, 5}, // 1 10000 01000 10111
        {FormatA1R5G5B5, 0x7F8040C0, {0x17, 0x41}, 1}, // alpha 127 rounds to 0
        {FormatA1R5G5B5, 0x808040C0, {0x17, 0xC1}, 1}, // alpha 128 rounds to 1
        {FormatA4R4G4B4, 0x338040C0, {0x4B, 0x38}, 4}, // 0011 1000 0100 1011
        {FormatX4R4G4B4, 0x008040C0, {0x4B, 0xF8}, 4},
        {FormatR3G3B2, 0xFF8040C0, {0x8A}, 2}, // 100 010 10
        {FormatA8R3G3B2, 0x5A8040C0, {0x8A, 0x5A}, 2},
        {FormatA8, 0x5A8040C0, {0x5A}, 8},
        {FormatL8, 0xFF8040C0, {87}, 8},
        {FormatL8, 0xFFFFFFFF, {255}, 8},
        {FormatA8L8, 0x5A8040C0, {87, 0x5A}, 8},
        {FormatA4L4, 0x5A8040C0, {0x55}, 4}, // alpha 90 -> 5, luminance 87 -> 5
    };
    for (const auto& c : cases)
    {
        EXPECT_EQ(Converted(c.argb, c.format), c.bytes) << c.format << " " << std::hex << c.argb;
        // Every grey and alpha level there and back loses at most half a step.
        const int halfStep = (255 / ((1 << c.bits) - 1) + 1) / 2 + 1;
        for (uint32_t v = 0; v < 256; ++v)
        {
            const uint32_t back =
                ReadTexel(Converted(PackArgb(v, v, v, v), c.format).data(), c.format);
            for (int shift = 0; shift < 32; shift += 8)
            {
                int want = (int)v;
                if (shift == 24 && !FormatHasAlpha(c.format))
                    want = 255;
                if (shift < 24 && c.format == FormatA8)
                    want = 0;
                ASSERT_LE(abs((int)(back >> shift & 255) - want), halfStep)
                    << "format " << c.format << " value " << v << " channel " << shift / 8;
            }
        }
    }
}

TEST(PixelConvert, ImagesRespectThePitchAndColourKeysClearTexels)
{
    // Rows of 12 bytes into a pitch of 16: the padding is not touched.
    const Image image = Pattern(3, 2, true);
    Bytes surface(2 * 16, 0xAB), want(2 * 16, 0xAB);
    ConvertImage(image, FormatA8R8G8B8, surface.data(), 16);
    for (uint32_t y = 0; y < 2; ++y)
        memcpy(&want[y * 16], image.Row(y), 12); // A8R8G8B8 is the texel in memory order
    EXPECT_EQ(surface, want);

    Image keyed = FromTexels(3, 1, {0xFFFF00FF, 0x80FF00FF, 0xFF000000});
    ApplyColorKey(&keyed, 0xFFFF00FF);
    EXPECT_EQ(keyed.pixels, (std::vector<uint32_t>{0, 0x80FF00FF, 0xFF000000}));
    ApplyColorKey(&keyed, 0); // no keying
    EXPECT_EQ(keyed.pixels[2], 0xFF000000u);
}

TEST(MipChain, BoxFilterOfEvenOddAndUnitSides)
{
    // Each texel the rounded mean of the texels it covers: 2 x 2 for even
    // sides (also checked on the device's own levels in TextureLoadTest);
    // for odd sides the last texel takes in the leftover column and row.
    const struct
    {
        Image source;
        uint32_t width;
        std::vector<uint32_t> level;
    } cases[] = {
        {FromTexels(2, 2, {0xFF020304, 0xFF020304, 0xFF030405, 0xFE030406}), 1, {0xFF030405}},
        {FromTexels(3, 3, {9, 0, 0, 0, 0, 0, 0, 0, 0}), 1, {1}}, // 9 / 9
        {FromTexels(5, 1, {0, 10, 20, 30, 40}), 2, {5, 30}},     // (0+10)/2, (20+30+40)/3
        {FromTexels(1, 4, {0xFF000000, 0xFF000002, 0x10, 0x20}), 1, {0xFF000001, 0x18}},
        {FromTexels(1, 1, {0x12345678}), 1, {0x12345678}},
        // 2 x 3 texels, then 3 x 3: (6 + 3) / 6, (18 + 4) / 9.
        {FromTexels(5, 3, {6, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 18}), 2, {1, 2}},
    };
    for (const auto& c : cases)
    {
        Image level;
        ASSERT_TRUE(BoxFilterLevel(c.source, &level));
        EXPECT_EQ(level.width, c.width);
        EXPECT_EQ(level.pixels, c.level) << c.source.width << "x" << c.source.height;
    }

    EXPECT_EQ(FullMipCount(1, 1), 1u);
    EXPECT_EQ(FullMipCount(1, 2), 2u);
    EXPECT_EQ(FullMipCount(300, 200), 9u);
    EXPECT_EQ(FullMipCount(16384, 16384), 15u);
}

TEST(ImageScale, NonePointAndTriangle)
{
    const Image two = FromTexels(2, 1, {0xFF000000, 0xFF0000FF});
    const Image flat = FromTexels(5, 3, std::vector<uint32_t>(15, 0x80336699));
    const Image pattern = Pattern(5, 3, true);
    const ScaleFilter T = ScaleFilter::Triangle;
    const struct
    {
        const char* what;
        Image source;
        uint32_t width, height;
        ScaleFilter filter;
        std::vector<uint32_t> want;
    } cases[] = {
        {"tent, enlarged", two, 4, 1, T, {0xFF000000, 0xFF000040, 0xFF0000BF, 0xFF0000FF}},
        {"point", two, 4, 1, ScaleFilter::Point, {0xFF000000, 0xFF000000, 0xFF0000FF, 0xFF0000FF}},
        {"none, larger", two, 3, 2, ScaleFilter::None, {0xFF000000, 0xFF0000FF, 0, 0, 0, 0}},
        {"none, smaller", two, 1, 1, ScaleFilter::None, {0xFF000000}},
        // Reducing by two: a tent of half-width 2 texels.
        {"tent, halved", FromTexels(4, 1, {0, 0, 0xFF, 0xFF}), 2, 1, T, {36, 219}},
        // A flat picture stays flat at any size; the same size is a copy.
        {"flat, smaller", flat, 2, 3, T, std::vector<uint32_t>(6, 0x80336699)},
        {"flat, larger", flat, 16, 17, T, std::vector<uint32_t>(16 * 17, 0x80336699)},
        {"same size", pattern, 5, 3, T, pattern.pixels},
    };
    for (const auto& c : cases)
    {
        Image out;
        ASSERT_TRUE(ScaleImage(c.source, c.width, c.height, c.filter, &out)) << c.what;
        EXPECT_EQ(out.pixels, c.want) << c.what;
    }
}

TEST(TextureLayout, SizeAndLevelsFromRequestAndDevice)
{
    // Device limits: powers of two, square only, mip levels, largest width and height.
    const DeviceTextureLimits any, pow2 = {true}, square = {true, true},
                                   noMips = {false, false, false};
    const DeviceTextureLimits small = {true, false, true, 256, 256};
    const DeviceTextureLimits oddMax = {true, false, true, 1000, 1000};
    const DeviceTextureLimits max2048 = {false, false, true, 2048, 2048};
    const uint32_t F = FromImage;
    const struct
    {
        const char* what;
        uint32_t imageWidth, imageHeight, width, height, levels;
        DeviceTextureLimits device;
        uint32_t wantWidth, wantHeight, wantLevels;
    } cases[] = {
        {"image size, full chain", 300, 200, F, F, F, any, 300, 200, 9},
        {"zero means the same", 300, 200, 0, 0, 0, any, 300, 200, 9},
        {"powers of two", 300, 200, F, F, F, pow2, 512, 256, 10},
        {"square", 300, 200, F, F, F, square, 512, 512, 10},
        {"device maximum", 300, 200, F, F, F, small, 256, 256, 9},
        {"maximum not a power", 3000, 20, F, F, F, oddMax, 512, 32, 10},
        {"larger than the device", 4096, 100, F, F, F, max2048, 2048, 100, 12},
        {"requested size", 300, 200, 64, 32, F, any, 64, 32, 7},
        {"requested levels", 300, 200, F, F, 3, any, 300, 200, 3},
        {"too many levels", 4, 4, F, F, 20, any, 4, 4, 3},
        {"no mip levels on the device", 300, 200, F, F, F, noMips, 300, 200, 1},
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
    // A few pinned choices, and for all: only writable formats, none twice.
    const struct
    {
        PixelFormat requested, source;
        std::vector<PixelFormat> first;
    } cases[] = {
        {FormatX8R8G8B8, FormatA8R8G8B8, {FormatX8R8G8B8, FormatA8R8G8B8}},
        {FormatUnknown, FormatR8G8B8, {FormatR8G8B8, FormatX8R8G8B8}},
        {FormatUnknown, FormatP8, {FormatA8R8G8B8}},
        {FormatDXT1, FormatDXT1, {FormatX8R8G8B8}},
        {FormatL8, FormatR8G8B8, {FormatL8, FormatA8L8}},
    };
    for (const auto& c : cases)
    {
        PixelFormat out[16];
        const uint32_t count = FormatCandidates(c.requested, c.source, out);
        ASSERT_GE(count, c.first.size());
        EXPECT_EQ(std::vector<PixelFormat>(out, out + c.first.size()), c.first) << c.requested;
        for (uint32_t i = 0; i < count; ++i)
        {
            EXPECT_GT(TexelBytes(out[i]), 0u);
            for (uint32_t j = 0; j < i; ++j)
                EXPECT_NE(out[i], out[j]);
        }
    }
}
