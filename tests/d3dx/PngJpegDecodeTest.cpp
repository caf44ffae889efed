// PNG and JPEG decoding: every PNG colour type and depth, interlaced,
// palette transparency and tRNS keys, from files built with stored deflate
// blocks and from stb_image_write; baseline, progressive and greyscale JPEG
// compared with a tolerance.
#include <gtest/gtest.h>

#include <stdlib.h>

#include "d3dx/image/DecoderChain.h"
#include "tests/d3dx/JpegSamples.h"
#include "tests/d3dx/TestImages.h"

using namespace testimages;
using namespace d3dximage;

namespace
{
uint32_t Grey(uint32_t v, uint32_t a = 255)
{
    return PackArgb(a, v, v, v);
}

struct Decoded
{
    DecodeStatus status;
    Image image;
    ImageInfo info;
};

Decoded Decode(const Bytes& file)
{
    Decoded d;
    d.status = DecodeImageFile(file.data(), file.size(), DecodeLimits(), &d.image, &d.info);
    return d;
}

int WorstChannelDistance(const Image& a, const Image& b)
{
    int worst = 0;
    for (size_t i = 0; i < a.pixels.size(); ++i)
    {
        for (int shift = 0; shift < 32; shift += 8)
        {
            const int d =
                abs((int)(a.pixels[i] >> shift & 255) - (int)(b.pixels[i] >> shift & 255));
            worst = d > worst ? d : worst;
        }
    }
    return worst;
}

PngSpec Png(uint32_t width, uint32_t height, uint32_t depth, uint32_t colourType,
            std::vector<uint16_t> samples)
{
    PngSpec spec;
    spec.width = width;
    spec.height = height;
    spec.depth = depth;
    spec.colourType = colourType;
    spec.samples = std::move(samples);
    return spec;
}

// A picture and the PNG samples of it as RGBA at 8 bits.
std::vector<uint16_t> RgbaSamples(const Image& image, bool alpha)
{
    std::vector<uint16_t> samples;
    for (uint32_t p : image.pixels)
    {
        samples.push_back(p >> 16 & 255);
        samples.push_back(p >> 8 & 255);
        samples.push_back(p & 255);
        if (alpha)
            samples.push_back(p >> 24);
    }
    return samples;
}

struct PngCase
{
    const char* name;
    PngSpec spec;
    Image expected;
    PixelFormat format;
};
} // namespace

TEST(PngDecode, EveryColourTypeAndDepth)
{
    const Image colour = Pattern(9, 9, true);
    Image opaque = colour;
    for (uint32_t& p : opaque.pixels)
        p |= 0xFF000000u;

    PngSpec palette2 = Png(5, 1, 2, 3, {0, 1, 2, 3, 1});
    palette2.palette = {0xFFFF0000, 0x8000FF00, 0x000000FF, 0xFF123456};
    PngSpec palette8 = Png(2, 1, 8, 3, {1, 0});
    palette8.palette = {0xFF010203, 0xFF040506};
    PngSpec palette1 = Png(10, 1, 1, 3, {1, 0, 0, 1, 1, 1, 0, 0, 0, 1});
    palette1.palette = {0xFF000000, 0xFFFFFFFF};
    PngSpec palette4 = Png(3, 1, 4, 3, {15, 0, 7});
    for (uint32_t i = 0; i < 16; ++i)
        palette4.palette.push_back(PackArgb(255, i * 16, 0, 0));
    PngSpec interlacedPalette = palette2;
    interlacedPalette.width = 5;
    interlacedPalette.height = 3;
    interlacedPalette.samples = {0, 1, 2, 3, 1, 3, 2, 1, 0, 0, 1, 1, 1, 1, 1};
    interlacedPalette.interlaced = true;

    PngSpec interlaced = Png(9, 9, 8, 6, RgbaSamples(colour, true));
    interlaced.interlaced = true;

    PngSpec greyKey = Png(3, 1, 8, 0, {10, 20, 10});
    greyKey.transparency = {0, 10};
    PngSpec rgbKey = Png(2, 1, 8, 2, {1, 2, 3, 4, 5, 6});
    rgbKey.transparency = {0, 4, 0, 5, 0, 6};
    PngSpec grey16Key = Png(2, 1, 16, 0, {0x1234, 0xABCD});
    grey16Key.transparency = {0xAB, 0xCD};

    const std::vector<PngCase> cases = {
        {"grey 1", Png(9, 1, 1, 0, {1, 0, 1, 1, 0, 0, 1, 0, 1}),
         FromTexels(9, 1,
                    {Grey(255), Grey(0), Grey(255), Grey(255), Grey(0), Grey(0), Grey(255), Grey(0),
                     Grey(255)}),
         FormatL8},
        {"grey 2", Png(4, 1, 2, 0, {0, 1, 2, 3}),
         FromTexels(4, 1, {Grey(0), Grey(85), Grey(170), Grey(255)}), FormatL8},
        {"grey 4", Png(3, 2, 4, 0, {0, 5, 15, 1, 2, 3}),
         FromTexels(3, 2, {Grey(0), Grey(85), Grey(255), Grey(17), Grey(34), Grey(51)}), FormatL8},
        {"grey 8", Png(2, 1, 8, 0, {7, 250}), FromTexels(2, 1, {Grey(7), Grey(250)}), FormatL8},
        {"grey 16", Png(2, 1, 16, 0, {0x1234, 0xFF00}), FromTexels(2, 1, {Grey(0x12), Grey(0xFF)}),
         FormatL8},
        {"grey alpha 8", Png(1, 1, 8, 4, {100, 30}), FromTexels(1, 1, {Grey(100, 30)}), FormatA8L8},
        {"grey alpha 16", Png(1, 1, 16, 4, {0x6400, 0x1E00}), FromTexels(1, 1, {Grey(100, 30)}),
         FormatA8L8},
        {"rgb 8", Png(9, 9, 8, 2, RgbaSamples(colour, false)), opaque, FormatX8R8G8B8},
        {"rgb 16", Png(1, 1, 16, 2, {0x0102, 0x0304, 0x0506}), FromTexels(1, 1, {0xFF010305}),
         FormatX8R8G8B8},
        {"rgba 8", Png(9, 9, 8, 6, RgbaSamples(colour, true)), colour, FormatA8R8G8B8},
        {"rgba 16", Png(1, 1, 16, 6, {0xFF00, 0x8000, 0x0100, 0x4000}),
         FromTexels(1, 1, {0x40FF8001}), FormatA8R8G8B8},
        {"palette 1", palette1,
         FromTexels(
             10, 1,
             {~0u, 0xFF000000, 0xFF000000, ~0u, ~0u, ~0u, 0xFF000000, 0xFF000000, 0xFF000000, ~0u}),
         FormatP8},
        {"palette 2 with alpha", palette2,
         FromTexels(5, 1, {0xFFFF0000, 0x8000FF00, 0x000000FF, 0xFF123456, 0x8000FF00}), FormatP8},
        {"palette 4", palette4, FromTexels(3, 1, {0xFFF00000, 0xFF000000, 0xFF700000}), FormatP8},
        {"palette 8", palette8, FromTexels(2, 1, {0xFF040506, 0xFF010203}), FormatP8},
        {"interlaced rgba", interlaced, colour, FormatA8R8G8B8},
        {"interlaced palette", interlacedPalette,
         FromTexels(5, 3,
                    {0xFFFF0000, 0x8000FF00, 0x000000FF, 0xFF123456, 0x8000FF00, 0xFF123456,
                     0x000000FF, 0x8000FF00, 0xFFFF0000, 0xFFFF0000, 0x8000FF00, 0x8000FF00,
                     0x8000FF00, 0x8000FF00, 0x8000FF00}),
         FormatP8},
        {"grey key", greyKey, FromTexels(3, 1, {Grey(10, 0), Grey(20), Grey(10, 0)}), FormatA8L8},
        {"rgb key", rgbKey, FromTexels(2, 1, {0xFF010203, 0x00040506}), FormatA8R8G8B8},
        {"grey 16 key", grey16Key, FromTexels(2, 1, {Grey(0x12), Grey(0xAB, 0)}), FormatA8L8},
    };
    for (const PngCase& c : cases)
    {
        const Decoded d = Decode(BuildPng(c.spec));
        ASSERT_EQ(d.status, DecodeStatus::Ok) << c.name;
        EXPECT_EQ(d.info.format, c.format) << c.name;
        EXPECT_EQ(d.info.fileFormat, FilePng) << c.name;
        EXPECT_EQ(d.info.width, c.expected.width) << c.name;
        EXPECT_EQ(d.info.height, c.expected.height) << c.name;
        EXPECT_EQ(d.image.pixels, c.expected.pixels) << c.name;
    }
}

TEST(PngDecode, FilesFromARealCompressor)
{
    const Image colour = Pattern(33, 17, true);
    Decoded d = Decode(EncodePng(colour, 4));
    ASSERT_EQ(d.status, DecodeStatus::Ok);
    EXPECT_EQ(d.image.pixels, colour.pixels);
    d = Decode(EncodePng(colour, 3));
    ASSERT_EQ(d.status, DecodeStatus::Ok);
    EXPECT_EQ(d.info.format, FormatX8R8G8B8);
    for (size_t i = 0; i < colour.pixels.size(); ++i)
        ASSERT_EQ(d.image.pixels[i], colour.pixels[i] | 0xFF000000u);
}

TEST(JpegDecode, BaselineProgressiveAndGreyWithinTolerance)
{
    // A smooth picture: JPEG keeps it within a few levels.
    Image smooth = Pattern(24, 16, false);
    for (uint32_t y = 0; y < 16; ++y)
    {
        for (uint32_t x = 0; x < 24; ++x)
            smooth.pixels[y * 24 + x] = PackArgb(255, x * 255 / 23, y * 255 / 15, 128);
    }
    Decoded d = Decode(EncodeJpeg(smooth, 100));
    ASSERT_EQ(d.status, DecodeStatus::Ok);
    EXPECT_EQ(d.info.format, FormatX8R8G8B8);
    EXPECT_EQ(d.info.fileFormat, FileJpg);
    ASSERT_EQ(d.image.width, 24u);
    ASSERT_EQ(d.image.height, 16u);
    EXPECT_LE(WorstChannelDistance(d.image, smooth), 8);

    Image gradient = Pattern(16, 16, false);
    Image grey = Pattern(16, 16, false);
    for (uint32_t y = 0; y < 16; ++y)
    {
        for (uint32_t x = 0; x < 16; ++x)
        {
            gradient.pixels[y * 16 + x] = PackArgb(255, 255 * (15 - y) / 15, 0, 255 * y / 15);
            grey.pixels[y * 16 + x] = Grey(255 * (15 - y) / 15);
        }
    }
    d = Decode(Bytes(std::begin(ProgressiveRedToBlueJpeg), std::end(ProgressiveRedToBlueJpeg)));
    ASSERT_EQ(d.status, DecodeStatus::Ok);
    EXPECT_EQ(d.info.format, FormatX8R8G8B8);
    EXPECT_LE(WorstChannelDistance(d.image, gradient), 12);

    d = Decode(Bytes(std::begin(GreyWhiteToBlackJpeg), std::end(GreyWhiteToBlackJpeg)));
    ASSERT_EQ(d.status, DecodeStatus::Ok);
    EXPECT_EQ(d.info.format, FormatL8);
    EXPECT_LE(WorstChannelDistance(d.image, grey), 12);
}
