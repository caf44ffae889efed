// What the decoder tests share: a table row of file, expected texels and
// reported format, the loop that checks a table (exactly, or within a
// tolerance for lossy files), and the expected texels of channels stored
// narrower than 8 bits.
#ifndef MAPEDITOR_TESTS_DECODECHECK_H
#define MAPEDITOR_TESTS_DECODECHECK_H

#include <gtest/gtest.h>

#include <stdlib.h>

#include <string>
#include <vector>

#include "d3dx/image/DecoderChain.h"
#include "tests/d3dx/TestImages.h"

namespace testimages
{
using namespace d3dximage;

struct DecodeCase
{
    std::string name;
    Bytes file;
    Image expected;
    PixelFormat format;
    ImageFileFormat kind;
    uint32_t mipLevels = 1;
    int tolerance = 0; // per channel, for lossy files
};

inline void ExpectDecodes(const std::vector<DecodeCase>& cases)
{
    for (const DecodeCase& c : cases)
    {
        Image image;
        ImageInfo info;
        ASSERT_EQ(DecodeImageFile(c.file.data(), c.file.size(), DecodeLimits(), &image, &info),
                  DecodeStatus::Ok)
            << c.name;
        EXPECT_EQ(info.width, c.expected.width) << c.name;
        EXPECT_EQ(info.height, c.expected.height) << c.name;
        EXPECT_EQ(info.mipLevels, c.mipLevels) << c.name;
        EXPECT_EQ(info.format, c.format) << c.name;
        EXPECT_EQ(info.fileFormat, c.kind) << c.name;
        ASSERT_EQ(image.width, c.expected.width) << c.name;
        ASSERT_EQ(image.height, c.expected.height) << c.name;
        for (size_t i = 0; i < image.pixels.size() * 4; ++i)
        {
            const int got = image.pixels[i / 4] >> i % 4 * 8 & 255;
            const int want = c.expected.pixels[i / 4] >> i % 4 * 8 & 255;
            ASSERT_LE(abs(got - want), c.tolerance) << c.name << " texel " << i / 4;
        }
    }
}

inline uint32_t Grey(uint32_t v, uint32_t a = 255)
{
    return PackArgb(a, v, v, v);
}

inline Image Opaque(Image image)
{
    for (uint32_t& p : image.pixels)
        p |= 0xFF000000u;
    return image;
}

// What a channel of `bits` bits makes of an 8-bit value: rounded to the
// width by the writer, scaled back to 8 bits by the decoder.
inline uint32_t Quantised(uint32_t value, uint32_t bits)
{
    const uint32_t top = (1u << bits) - 1;
    return ((value * top + 127) / 255 * 255 + top / 2) / top;
}

// The picture as channels of a, r, g, b bits hold it (no alpha bits: opaque).
inline Image Quantised(Image image, uint32_t a, uint32_t r, uint32_t g, uint32_t b)
{
    for (uint32_t& p : image.pixels)
        p = PackArgb(a ? Quantised(p >> 24, a) : 255, Quantised(p >> 16 & 255, r),
                     Quantised(p >> 8 & 255, g), Quantised(p & 255, b));
    return image;
}
} // namespace testimages

#endif
