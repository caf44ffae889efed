// PPM/PGM, DDS and TGA decoding from hand-built files: every variant
// decodes to the right texels and reports the right source format.
#include <gtest/gtest.h>

#include <string.h>

#include "d3dx/image/DecoderChain.h"
#include "tests/d3dx/TestImages.h"

using namespace testimages;
using namespace d3dximage;

namespace
{
Bytes Text(const char* text)
{
    return Bytes(text, text + strlen(text));
}

uint32_t Grey(uint32_t v, uint32_t a = 255)
{
    return PackArgb(a, v, v, v);
}

uint32_t Widen(uint32_t value, uint32_t bits)
{
    const uint32_t top = (1u << bits) - 1;
    return (value * 255 + top / 2) / top;
}

struct Case
{
    std::string name;
    Bytes file;
    Image expected;
    PixelFormat format;
    ImageFileFormat kind;
    uint32_t mipLevels = 1;
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
    EXPECT_EQ(info.format, c.format) << c.name;
    EXPECT_EQ(info.fileFormat, c.kind) << c.name;
    EXPECT_EQ(info.mipLevels, c.mipLevels) << c.name;
    ASSERT_EQ(image.width, c.expected.width) << c.name;
    ASSERT_EQ(image.height, c.expected.height) << c.name;
    for (size_t i = 0; i < image.pixels.size(); ++i)
        ASSERT_EQ(image.pixels[i], c.expected.pixels[i]) << c.name << " texel " << i;
}
} // namespace

TEST(PnmDecode, BinaryAndTextMapsOfEveryDepth)
{
    Bytes p6 = Text("P6\n2 1\n255\n");
    Append(&p6, {1, 2, 3, 250, 251, 252});
    Bytes p5 = Text("P5 # a comment\n# another\n3 1 255\n");
    Append(&p5, {0, 128, 255});
    Bytes p6low = Text("P6 1 2 15\n");
    Append(&p6low, {15, 0, 7, 1, 2, 3});
    Bytes p6wide = Text("P6 1 1 1000\n");
    Append(&p6wide, {0x03, 0xE8, 0x01, 0xF4, 0x00, 0x00}); // 1000, 500, 0
    Bytes p5wide = Text("P5 2 1 65535\n");
    Append(&p5wide, {0xFF, 0xFF, 0x80, 0x00});

    const std::vector<Case> cases = {
        {"P6", p6, FromTexels(2, 1, {0xFF010203, 0xFFFAFBFC}), FormatR8G8B8, FilePpm},
        {"P5 with comments", p5, FromTexels(3, 1, {Grey(0), Grey(128), Grey(255)}), FormatL8,
         FilePpm},
        {"P6 largest 15", p6low,
         FromTexels(1, 2, {PackArgb(255, 255, 0, 119), PackArgb(255, 17, 34, 51)}), FormatR8G8B8,
         FilePpm},
        {"P6 two-byte samples", p6wide, FromTexels(1, 1, {PackArgb(255, 255, 128, 0)}),
         FormatR8G8B8, FilePpm},
        {"P5 two-byte samples", p5wide, FromTexels(2, 1, {Grey(255), Grey(128)}), FormatL8,
         FilePpm},
        {"P3", Text("P3\n# text\n2 2\n255\n255 0 0  0 255 0\n0 0 255  10 20 30\n"),
         FromTexels(2, 2, {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFF0A141E}), FormatR8G8B8, FilePpm},
        {"P2 largest 100", Text("P2 3 1 100 0 50 100"),
         FromTexels(3, 1, {Grey(0), Grey(128), Grey(255)}), FormatL8, FilePpm},
    };
    for (const Case& c : cases)
        ExpectDecodes(c);
}

namespace
{
// DDS rows of `bits` packed by masks (no padding), from a pattern.
Bytes PackDds(const Image& image, uint32_t bits, const uint32_t masks[4])
{
    const Bytes padded = BitmapRows(image, bits == 24 ? 24 : 32, masks, true);
    Bytes out;
    const uint32_t stride = (image.width * (bits == 24 ? 24 : 32) + 31) / 32 * 4;
    for (uint32_t y = 0; y < image.height; ++y)
    {
        for (uint32_t x = 0; x < image.width; ++x)
        {
            const uint8_t* texel = padded.data() + (size_t)y * stride + x * (bits == 24 ? 3 : 4);
            out.insert(out.end(), texel, texel + bits / 8);
        }
    }
    return out;
}

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

DdsSpec Plain(uint32_t width, uint32_t height, uint32_t flags, uint32_t bits, uint32_t r,
              uint32_t g, uint32_t b, uint32_t a, Bytes data)
{
    DdsSpec spec;
    spec.width = width;
    spec.height = height;
    spec.pixelFlags = flags;
    spec.bits = bits;
    spec.masks[0] = r;
    spec.masks[1] = g;
    spec.masks[2] = b;
    spec.masks[3] = a;
    spec.data = std::move(data);
    return spec;
}

DdsSpec Blocks(uint32_t width, uint32_t height, const char* fourCC, Bytes data)
{
    DdsSpec spec;
    spec.width = width;
    spec.height = height;
    spec.pixelFlags = 0x4;
    memcpy(&spec.fourCC, fourCC, 4);
    spec.data = std::move(data);
    return spec;
}

Image Uniform(uint32_t width, uint32_t height, const std::vector<uint32_t>& row)
{
    std::vector<uint32_t> texels;
    for (uint32_t y = 0; y < height; ++y)
    {
        for (uint32_t x = 0; x < width; ++x)
            texels.push_back(row[x % row.size()]);
    }
    return FromTexels(width, height, texels);
}
} // namespace

TEST(DdsDecode, UncompressedFormatsThroughTheirMasks)
{
    const Image colour = Pattern(3, 2, true);
    const Image opaque = Pattern(3, 2, false);
    const uint32_t argb[4] = {0xFF0000, 0xFF00, 0xFF, 0xFF000000};
    const uint32_t xrgb[4] = {0xFF0000, 0xFF00, 0xFF, 0};
    const uint32_t rgb565[4] = {0xF800, 0x07E0, 0x001F, 0};
    const uint32_t argb1555[4] = {0x7C00, 0x03E0, 0x001F, 0x8000};
    const uint32_t argb4444[4] = {0x0F00, 0x00F0, 0x000F, 0xF000};

    DdsSpec byCode = Plain(3, 2, 0x4, 32, 0, 0, 0, 0, PackDds(colour, 32, argb));
    byCode.fourCC = 21; // the format's number as a four-character code
    DdsSpec chain = Plain(4, 2, 0x41, 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000,
                          PackDds(Pattern(4, 2, true), 32, argb));
    chain.mipCount = 3;
    Append(&chain.data, Bytes(8 + 4, 0)); // 2 x 1 and 1 x 1

    const std::vector<Case> cases = {
        {"A8R8G8B8",
         BuildDds(
             Plain(3, 2, 0x41, 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000, PackDds(colour, 32, argb))),
         colour, FormatA8R8G8B8, FileDds},
        {"X8R8G8B8",
         BuildDds(Plain(3, 2, 0x40, 32, 0xFF0000, 0xFF00, 0xFF, 0, PackDds(colour, 32, argb))),
         QuantisedImage(colour, 0, 8, 8, 8), FormatX8R8G8B8, FileDds},
        {"R8G8B8",
         BuildDds(Plain(3, 2, 0x40, 24, 0xFF0000, 0xFF00, 0xFF, 0, PackDds(opaque, 24, xrgb))),
         opaque, FormatR8G8B8, FileDds},
        {"R5G6B5",
         BuildDds(Plain(3, 2, 0x40, 16, 0xF800, 0x07E0, 0x1F, 0, PackDds(opaque, 16, rgb565))),
         QuantisedImage(opaque, 0, 5, 6, 5), FormatR5G6B5, FileDds},
        {"X1R5G5B5",
         BuildDds(Plain(3, 2, 0x40, 16, 0x7C00, 0x03E0, 0x1F, 0, PackDds(colour, 16, argb1555))),
         QuantisedImage(colour, 0, 5, 5, 5), FormatX1R5G5B5, FileDds},
        {"A1R5G5B5",
         BuildDds(
             Plain(3, 2, 0x41, 16, 0x7C00, 0x03E0, 0x1F, 0x8000, PackDds(colour, 16, argb1555))),
         QuantisedImage(colour, 1, 5, 5, 5), FormatA1R5G5B5, FileDds},
        {"A4R4G4B4",
         BuildDds(Plain(3, 2, 0x41, 16, 0x0F00, 0xF0, 0xF, 0xF000, PackDds(colour, 16, argb4444))),
         QuantisedImage(colour, 4, 4, 4, 4), FormatA4R4G4B4, FileDds},
        {"L8", BuildDds(Plain(3, 1, 0x20000, 8, 0xFF, 0, 0, 0, {0, 100, 255})),
         FromTexels(3, 1, {Grey(0), Grey(100), Grey(255)}), FormatL8, FileDds},
        {"A8L8", BuildDds(Plain(2, 1, 0x20001, 16, 0xFF, 0, 0, 0xFF00, {10, 200, 30, 40})),
         FromTexels(2, 1, {Grey(10, 200), Grey(30, 40)}), FormatA8L8, FileDds},
        {"A8", BuildDds(Plain(2, 1, 0x2, 8, 0, 0, 0, 0xFF, {0, 77})),
         FromTexels(2, 1, {0, PackArgb(77, 0, 0, 0)}), FormatA8, FileDds},
        {"A4L4", BuildDds(Plain(1, 1, 0x20001, 8, 0x0F, 0, 0, 0xF0, {0x3C})),
         FromTexels(1, 1, {Grey(Widen(12, 4), Widen(3, 4))}), FormatA4L4, FileDds},
        {"format number as code", BuildDds(byCode), colour, FormatA8R8G8B8, FileDds},
        {"mip chain", BuildDds(chain), Pattern(4, 2, true), FormatA8R8G8B8, FileDds, 3},
    };
    for (const Case& c : cases)
        ExpectDecodes(c);
}

TEST(DdsDecode, BlockCompressedFormats)
{
    // DXT1 in three-colour mode (first end point blue 0x001F not above red
    // 0xF800): selectors 0 1 2 3 give blue, red, their mean, transparent.
    const Bytes threeColour = {0x1F, 0x00, 0x00, 0xF8, 0xE4, 0xE4, 0xE4, 0xE4};
    const std::vector<uint32_t> threeRow = {0xFF0000FF, 0xFFFF0000, 0xFF7F007F, 0};
    // A 5 x 3 picture takes 2 x 1 blocks; the texels outside are cut off.
    Bytes twoBlocks = threeColour;
    Append(&twoBlocks, {0xFF, 0xFF, 0x00, 0x00, 0, 0, 0, 0}); // all white
    Image fiveByThree = Uniform(5, 3, threeRow);
    for (uint32_t y = 0; y < 3; ++y)
        fiveByThree.pixels[(size_t)y * 5 + 4] = 0xFFFFFFFF;

    // DXT3: explicit alpha 0, 1, ..., 15 (times 17), colour all white.
    Bytes dxt3;
    for (int i = 0; i < 8; ++i)
        dxt3.push_back((uint8_t)((2 * i) | (2 * i + 1) << 4));
    Append(&dxt3, {0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0});
    std::vector<uint32_t> dxt3Texels;
    for (uint32_t i = 0; i < 16; ++i)
        dxt3Texels.push_back(PackArgb(i * 17, 255, 255, 255));

    // DXT5 with end points 255 > 0 (eight values) and 0 <= 255 (six values,
    // then 0 and 255); selectors 0..7 on the first eight texels, 0 after.
    auto dxt5 = [](uint8_t a0, uint8_t a1)
    {
        Bytes block = {a0, a1};
        const uint64_t selectors = 0xFAC688ull; // 0 1 2 3 4 5 6 7 in 3-bit fields
        for (int i = 0; i < 6; ++i)
            block.push_back((uint8_t)(selectors >> (8 * i)));
        Append(&block, {0x00, 0x00, 0x00, 0x00, 0, 0, 0, 0}); // black
        return block;
    };
    const uint32_t eight[8] = {255, 0, 219, 182, 146, 109, 73, 36};
    const uint32_t six[8] = {0, 255, 51, 102, 153, 204, 0, 255};
    std::vector<uint32_t> eightTexels, sixTexels;
    for (uint32_t i = 0; i < 16; ++i)
    {
        eightTexels.push_back(PackArgb(i < 8 ? eight[i] : 255, 0, 0, 0));
        sixTexels.push_back(PackArgb(i < 8 ? six[i] : 0, 0, 0, 0));
    }

    // DXT2 holds premultiplied colour: the 565 end point 0x8400 widens to
    // (132, 130, 0); at alpha 8 x 17 = 136 that is undone by 255 / 136.
    Bytes dxt2(8, 0x88); // alpha 8 everywhere
    Append(&dxt2, {0x00, 0x84, 0x00, 0x84, 0, 0, 0, 0});
    const uint32_t a = 8 * 17;
    const uint32_t undone = PackArgb(a, (132 * 255 + a / 2) / a, (130 * 255 + a / 2) / a, 0);

    const std::vector<Case> cases = {
        {"DXT1 three colours", BuildDds(Blocks(4, 4, "DXT1", threeColour)), Uniform(4, 4, threeRow),
         FormatDXT1, FileDds},
        {"DXT1 partial blocks", BuildDds(Blocks(5, 3, "DXT1", twoBlocks)), fiveByThree, FormatDXT1,
         FileDds},
        {"DXT3", BuildDds(Blocks(4, 4, "DXT3", dxt3)), FromTexels(4, 4, dxt3Texels), FormatDXT3,
         FileDds},
        {"DXT5 eight alphas", BuildDds(Blocks(4, 4, "DXT5", dxt5(255, 0))),
         FromTexels(4, 4, eightTexels), FormatDXT5, FileDds},
        {"DXT5 six alphas", BuildDds(Blocks(4, 4, "DXT5", dxt5(0, 255))),
         FromTexels(4, 4, sixTexels), FormatDXT5, FileDds},
        {"DXT2", BuildDds(Blocks(4, 4, "DXT2", dxt2)), Uniform(4, 4, {undone}), FormatDXT2,
         FileDds},
    };
    for (const Case& c : cases)
        ExpectDecodes(c);
}

TEST(TgaDecode, EveryImageTypeDepthAndOrientation)
{
    const Image colour = Pattern(3, 2, true);
    auto bgra = [](const Image& image, bool topDown, int bytes)
    {
        Bytes out;
        for (uint32_t r = 0; r < image.height; ++r)
        {
            for (uint32_t x = 0; x < image.width; ++x)
            {
                const uint32_t p = image.At(x, topDown ? r : image.height - 1 - r);
                for (int b = 0; b < bytes; ++b)
                    out.push_back((uint8_t)(p >> (8 * b)));
            }
        }
        return out;
    };
    auto spec =
        [](uint8_t type, uint16_t w, uint16_t h, uint8_t bits, uint8_t descriptor, Bytes data)
    {
        TgaSpec s;
        s.imageType = type;
        s.width = w;
        s.height = h;
        s.pixelBits = bits;
        s.descriptor = descriptor;
        s.data = std::move(data);
        return s;
    };
    Image opaque = colour;
    for (uint32_t& p : opaque.pixels)
        p |= 0xFF000000u;

    // 16 bits: 0x7C00 red with the attribute bit clear (transparent when
    // the descriptor gives one alpha bit), 0x83E0 green with it set.
    const Bytes sixteen = {0x00, 0x7C, 0xE0, 0x83};

    // Colour-mapped: an id of three bytes, a map of entries 2..5 (24-bit).
    TgaSpec mapped = spec(1, 2, 2, 8, 0x20, {2, 3, 4, 5});
    mapped.id = {'a', 'b', 'c'};
    mapped.mapType = 1;
    mapped.mapFirst = 2;
    mapped.mapLength = 4;
    mapped.mapBits = 24;
    mapped.map = {0, 0, 255, 0, 255, 0, 255, 0, 0, 9, 9, 9};
    // 16-bit indices into a 32-bit map.
    TgaSpec wideIndex = spec(1, 2, 1, 16, 0x28, {1, 0, 0, 0});
    wideIndex.mapType = 1;
    wideIndex.mapLength = 2;
    wideIndex.mapBits = 32;
    wideIndex.map = {1, 2, 3, 4, 5, 6, 7, 8};

    // Run-length: 3 x 2 true colour, one run of 4 crossing the line, then a
    // literal packet of 2.
    TgaSpec rle = spec(10, 3, 2, 24, 0x20, {0x83, 10, 20, 30, 0x01, 1, 2, 3, 4, 5, 6});
    TgaSpec rleGrey = spec(11, 2, 2, 8, 0x00, {0x81, 50, 0x81, 200});
    TgaSpec rleMapped = mapped;
    rleMapped.imageType = 9;
    rleMapped.data = {0x81, 5, 0x01, 2, 3};

    const std::vector<Case> cases = {
        {"24 bottom-up", BuildTga(spec(2, 3, 2, 24, 0x00, bgra(opaque, false, 3))), opaque,
         FormatR8G8B8, FileTga},
        {"32 top-down with alpha", BuildTga(spec(2, 3, 2, 32, 0x28, bgra(colour, true, 4))), colour,
         FormatA8R8G8B8, FileTga},
        {"32 without alpha bits", BuildTga(spec(2, 3, 2, 32, 0x20, bgra(colour, true, 4))), opaque,
         FormatX8R8G8B8, FileTga},
        {"32 right-to-left",
         BuildTga(spec(2, 3, 1, 32, 0x38, {1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3})),
         FromTexels(3, 1, {0x03030303, 0x02020202, 0x01010101}), FormatA8R8G8B8, FileTga},
        {"16 with an alpha bit", BuildTga(spec(2, 2, 1, 16, 0x21, sixteen)),
         FromTexels(2, 1, {0x00FF0000, 0xFF00FF00}), FormatA1R5G5B5, FileTga},
        {"15 bits", BuildTga(spec(2, 2, 1, 15, 0x20, sixteen)),
         FromTexels(2, 1, {0xFFFF0000, 0xFF00FF00}), FormatX1R5G5B5, FileTga},
        {"grey", BuildTga(spec(3, 2, 1, 8, 0x20, {0, 99})), FromTexels(2, 1, {Grey(0), Grey(99)}),
         FormatL8, FileTga},
        {"grey with alpha", BuildTga(spec(3, 1, 1, 16, 0x28, {99, 7})),
         FromTexels(1, 1, {Grey(99, 7)}), FormatA8L8, FileTga},
        {"colour-mapped", BuildTga(mapped),
         FromTexels(2, 2, {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFF090909}), FormatP8, FileTga},
        {"16-bit indices", BuildTga(wideIndex), FromTexels(2, 1, {0x08070605, 0x04030201}),
         FormatP8, FileTga},
        {"run-length colour", BuildTga(rle),
         FromTexels(3, 2, {0xFF1E140A, 0xFF1E140A, 0xFF1E140A, 0xFF1E140A, 0xFF030201, 0xFF060504}),
         FormatR8G8B8, FileTga},
        {"run-length grey", BuildTga(rleGrey),
         FromTexels(2, 2, {Grey(200), Grey(200), Grey(50), Grey(50)}), FormatL8, FileTga},
        {"run-length colour-mapped", BuildTga(rleMapped),
         FromTexels(2, 2, {0xFF090909, 0xFF090909, 0xFFFF0000, 0xFF00FF00}), FormatP8, FileTga},
    };
    for (const Case& c : cases)
        ExpectDecodes(c);
}
