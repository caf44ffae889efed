// Bitmap decoding: every header size, depth, mask layout, colour table and
// RLE form, in the file form and the bare form, decoding to the right texels
// and reporting the right source format.
#include <gtest/gtest.h>

#include <string.h>

#include "d3dx/image/DecoderChain.h"
#include "tests/d3dx/TestImages.h"

using namespace testimages;
using namespace d3dximage;

namespace
{
// What a channel of `bits` bits makes of an 8-bit value: rounded to the
// width by the writer, scaled back to 8 bits by the decoder.
uint32_t Quantised(uint32_t value, uint32_t bits)
{
    if (bits == 0)
        return 0;
    const uint32_t top = (1u << bits) - 1;
    return ((value * top + 127) / 255 * 255 + top / 2) / top;
}

Image QuantisedImage(const Image& image, uint32_t a, uint32_t r, uint32_t g, uint32_t b)
{
    Image out = image;
    for (uint32_t& p : out.pixels)
        p = PackArgb(a ? Quantised(p >> 24, a) : 255, Quantised(p >> 16 & 255, r),
                     Quantised(p >> 8 & 255, g), Quantised(p & 255, b));
    return out;
}

Image Opaque(Image image)
{
    for (uint32_t& p : image.pixels)
        p |= 0xFF000000u;
    return image;
}

std::vector<uint32_t> GreyPalette(uint32_t count)
{
    std::vector<uint32_t> palette;
    for (uint32_t i = 0; i < count; ++i)
    {
        const uint32_t v = count > 1 ? i * 255 / (count - 1) : 0;
        palette.push_back(PackArgb(255, v, (v * 3) & 255, 255 - v));
    }
    return palette;
}

struct Indexed
{
    BitmapSpec spec;
    Image expected;
};

// An indexed bitmap whose index at (x, y) is (x + 3 y) mod colours.
Indexed IndexedBitmap(uint32_t headerSize, uint32_t bits, int32_t width, int32_t height,
                      uint32_t colours)
{
    Indexed made;
    const uint32_t w = (uint32_t)width, h = (uint32_t)(height < 0 ? -height : height);
    std::vector<uint8_t> indices;
    std::vector<uint32_t> texels;
    const std::vector<uint32_t> palette = GreyPalette(colours);
    for (uint32_t y = 0; y < h; ++y)
    {
        for (uint32_t x = 0; x < w; ++x)
        {
            indices.push_back((uint8_t)((x + 3 * y) % colours));
            texels.push_back(palette[indices.back()]);
        }
    }
    made.spec.headerSize = headerSize;
    made.spec.width = width;
    made.spec.height = height;
    made.spec.bitCount = bits;
    made.spec.palette = palette;
    made.spec.colorsUsed = headerSize == 12 || colours == (1u << bits) ? 0 : colours;
    made.spec.pixels = BitmapIndexRows(indices, w, h, bits, height < 0);
    made.expected = FromTexels(w, h, texels);
    return made;
}

BitmapSpec Masked(uint32_t headerSize, uint32_t bits, uint32_t compression, int32_t width,
                  int32_t height, const uint32_t masks[4], const Image& image)
{
    BitmapSpec spec;
    spec.headerSize = headerSize;
    spec.width = width;
    spec.height = height;
    spec.bitCount = bits;
    spec.compression = compression;
    memcpy(spec.masks, masks, sizeof(spec.masks));
    spec.pixels = BitmapRows(image, bits, masks, height < 0);
    return spec;
}

struct Case
{
    std::string name;
    Bytes file;
    Image expected;
    PixelFormat format;
    ImageFileFormat kind;
};

void ExpectDecodes(const Case& c)
{
    Image image;
    ImageInfo info;
    ASSERT_EQ(DecodeImageFile(c.file.data(), c.file.size(), DecodeLimits(), &image, &info),
              DecodeStatus::Ok)
        << c.name;
    EXPECT_EQ(info.width, c.expected.width) << c.name;
    EXPECT_EQ(info.height, c.expected.height) << c.name;
    EXPECT_EQ(info.mipLevels, 1u) << c.name;
    EXPECT_EQ(info.format, c.format) << c.name;
    EXPECT_EQ(info.fileFormat, c.kind) << c.name;
    ASSERT_EQ(image.width, c.expected.width) << c.name;
    ASSERT_EQ(image.height, c.expected.height) << c.name;
    for (uint32_t y = 0; y < image.height; ++y)
    {
        for (uint32_t x = 0; x < image.width; ++x)
        {
            ASSERT_EQ(image.At(x, y), c.expected.At(x, y)) << c.name << " at " << x << ", " << y;
        }
    }
}

const uint32_t Rgb555[4] = {0x7C00, 0x03E0, 0x001F, 0};
const uint32_t Argb1555[4] = {0x7C00, 0x03E0, 0x001F, 0x8000};
const uint32_t Rgb565[4] = {0xF800, 0x07E0, 0x001F, 0};
const uint32_t Argb4444[4] = {0x0F00, 0x00F0, 0x000F, 0xF000};
const uint32_t Xrgb[4] = {0xFF0000, 0xFF00, 0xFF, 0};
const uint32_t Argb[4] = {0xFF0000, 0xFF00, 0xFF, 0xFF000000};
const uint32_t Abgr[4] = {0xFF, 0xFF00, 0xFF0000, 0xFF000000};
} // namespace

TEST(BitmapDecode, TrueColourRowsInEveryHeaderAndMaskLayout)
{
    const Image opaque = Pattern(5, 3, false);
    const Image alpha = Pattern(5, 3, true);

    // 32-bit rows without masks: the fourth byte is not alpha.
    BitmapSpec noAlpha = Masked(40, 32, 0, 5, 3, Argb, alpha);
    BitmapSpec core24;
    core24.headerSize = 12;
    core24.width = 5;
    core24.height = 3;
    core24.pixels = BitmapRows(opaque, 24, Xrgb, false);

    const std::vector<Case> cases = {
        {"24 bottom-up", Bitmap24(opaque), opaque, FormatR8G8B8, FileBmp},
        {"24 top-down", BuildBitmap(Masked(40, 24, 0, 5, -3, Xrgb, opaque)), opaque, FormatR8G8B8,
         FileBmp},
        {"24 core header", BuildBitmap(core24), opaque, FormatR8G8B8, FileBmp},
        {"32 plain", BuildBitmap(noAlpha), Opaque(alpha), FormatX8R8G8B8, FileBmp},
        {"32 bitfields", BuildBitmap(Masked(40, 32, 3, 5, 3, Xrgb, opaque)), opaque, FormatX8R8G8B8,
         FileBmp},
        {"32 alpha bitfields", BuildBitmap(Masked(40, 32, 6, 5, 3, Argb, alpha)), alpha,
         FormatA8R8G8B8, FileBmp},
        {"32 version 5 alpha", BuildBitmap(Masked(124, 32, 3, 5, -3, Argb, alpha)), alpha,
         FormatA8R8G8B8, FileBmp},
        {"32 version 4 swapped", BuildBitmap(Masked(108, 32, 3, 5, 3, Abgr, alpha)), alpha,
         FormatA8R8G8B8, FileBmp},
        {"32 56-byte header", BuildBitmap(Masked(56, 32, 3, 5, 3, Argb, alpha)), alpha,
         FormatA8R8G8B8, FileBmp},
        {"16 default 555", BuildBitmap(Masked(40, 16, 0, 5, 3, Rgb555, opaque)),
         QuantisedImage(opaque, 0, 5, 5, 5), FormatX1R5G5B5, FileBmp},
        {"16 bitfields 565", BuildBitmap(Masked(40, 16, 3, 5, -3, Rgb565, opaque)),
         QuantisedImage(opaque, 0, 5, 6, 5), FormatR5G6B5, FileBmp},
        {"16 52-byte header 565", BuildBitmap(Masked(52, 16, 3, 5, 3, Rgb565, opaque)),
         QuantisedImage(opaque, 0, 5, 6, 5), FormatR5G6B5, FileBmp},
        {"16 version 4 4444", BuildBitmap(Masked(108, 16, 3, 5, 3, Argb4444, alpha)),
         QuantisedImage(alpha, 4, 4, 4, 4), FormatA4R4G4B4, FileBmp},
        {"16 alpha bitfields 1555", BuildBitmap(Masked(40, 16, 6, 5, 3, Argb1555, alpha)),
         QuantisedImage(alpha, 1, 5, 5, 5), FormatA1R5G5B5, FileBmp},
        {"bare 24", BuildDib(Masked(40, 24, 0, 5, 3, Xrgb, opaque)), opaque, FormatR8G8B8, FileDib},
        {"bare 16 bitfields", BuildDib(Masked(40, 16, 3, 5, 3, Rgb565, opaque)),
         QuantisedImage(opaque, 0, 5, 6, 5), FormatR5G6B5, FileDib},
        {"bare 32 version 5", BuildDib(Masked(124, 32, 3, 5, 3, Argb, alpha)), alpha,
         FormatA8R8G8B8, FileDib},
        {"bare core 24", BuildDib(core24), opaque, FormatR8G8B8, FileDib},
    };
    for (const Case& c : cases)
        ExpectDecodes(c);
}

TEST(BitmapDecode, IndexedRowsThroughTheColourTable)
{
    std::vector<Case> cases;
    const struct
    {
        const char* name;
        uint32_t header, bits;
        int32_t width, height;
        uint32_t colours;
    } layouts[] = {
        {"8 bits, full table", 40, 8, 7, 3, 256},  {"8 bits, 5 colours", 40, 8, 7, -3, 5},
        {"4 bits, odd width", 40, 4, 5, 4, 16},    {"4 bits, 3 colours", 124, 4, 9, -2, 3},
        {"1 bit, width 9", 40, 1, 9, 3, 2},        {"1 bit, top-down", 108, 1, 17, -2, 2},
        {"core header, 8 bits", 12, 8, 6, 2, 256}, {"core header, 4 bits", 12, 4, 3, 3, 16},
        {"core header, 1 bit", 12, 1, 11, 2, 2},
    };
    for (const auto& l : layouts)
    {
        const Indexed made = IndexedBitmap(l.header, l.bits, l.width, l.height, l.colours);
        cases.push_back({std::string(l.name) + " file", BuildBitmap(made.spec), made.expected,
                         FormatP8, FileBmp});
        cases.push_back(
            {std::string(l.name) + " bare", BuildDib(made.spec), made.expected, FormatP8, FileDib});
    }
    // A core-header file whose table is shorter than its depth allows: the
    // offset of the rows says where the table ends.
    Indexed shortTable = IndexedBitmap(12, 8, 4, 2, 6);
    cases.push_back({"core header, short table", BuildBitmap(shortTable.spec), shortTable.expected,
                     FormatP8, FileBmp});
    for (const Case& c : cases)
        ExpectDecodes(c);
}

TEST(BitmapDecode, RunLengthEncodedRows)
{
    const std::vector<uint32_t> palette = GreyPalette(16);
    const uint32_t black = 0xFF000000u;
    auto colour = [&](int index) { return palette[index]; };

    // RLE8, 6 x 3, bottom-up. Line 0 (the bottom row): a run of four 1s,
    // single runs of 2 and 3, end of line. Line 1: an absolute run 5 6 7
    // (padded to 16 bits), then a jump of (1, 1) to x = 4 of line 2, a run
    // of two 9s, end of bitmap. Texels no command reaches stay black.
    BitmapSpec rle8;
    rle8.width = 6;
    rle8.height = 3;
    rle8.bitCount = 8;
    rle8.compression = 1;
    rle8.palette = palette;
    rle8.colorsUsed = 16;
    rle8.pixels = {4, 1, 1, 2, 1, 3, 0, 0, 0, 3, 5, 6, 7, 0, 0, 2, 1, 1, 2, 9, 0, 1};
    const Image rle8Expected =
        FromTexels(6, 3,
                   {black, black, black, black, colour(9), colour(9),                   // line 2
                    colour(5), colour(6), colour(7), black, black, black,               // line 1
                    colour(1), colour(1), colour(1), colour(1), colour(2), colour(3)}); // line 0

    // RLE4, 5 x 2, top-down: a run of five texels alternating 1 and 2, end of
    // line, an absolute run of three nibbles 4 5 6 (two bytes, no padding
    // needed), end of bitmap.
    BitmapSpec rle4;
    rle4.width = 5;
    rle4.height = -2;
    rle4.bitCount = 4;
    rle4.compression = 2;
    rle4.palette = palette;
    rle4.pixels = {5, 0x12, 0, 0, 0, 3, 0x45, 0x60, 0, 1};
    const Image rle4Expected = FromTexels(5, 2,
                                          {colour(1), colour(2), colour(1), colour(2), colour(1),
                                           colour(4), colour(5), colour(6), black, black});

    // An absolute run of odd length is padded to 16 bits.
    BitmapSpec padded = rle8;
    padded.width = 3;
    padded.height = 1;
    padded.pixels = {0, 3, 7, 8, 9, 0, 0, 1};
    const Image paddedExpected = FromTexels(3, 1, {colour(7), colour(8), colour(9)});

    const std::vector<Case> cases = {
        {"RLE8", BuildBitmap(rle8), rle8Expected, FormatP8, FileBmp},
        {"RLE8 bare", BuildDib(rle8), rle8Expected, FormatP8, FileDib},
        {"RLE4", BuildBitmap(rle4), rle4Expected, FormatP8, FileBmp},
        {"RLE8 odd absolute run", BuildBitmap(padded), paddedExpected, FormatP8, FileBmp},
    };
    for (const Case& c : cases)
        ExpectDecodes(c);
}
