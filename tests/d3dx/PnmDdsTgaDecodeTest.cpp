// PPM/PGM, DDS and TGA decoding from hand-built files: every variant
// decodes to the right texels and reports the right source format.
#include "tests/d3dx/DecodeCheck.h"

using namespace testimages;

namespace
{
uint32_t Widen(uint32_t value, uint32_t bits)
{
    const uint32_t top = (1u << bits) - 1;
    return (value * 255 + top / 2) / top;
}

// Rows of 16, 24 or 32 bits as a DDS or TGA stores them: no padding.
Bytes Packed(const Image& image, uint32_t bits, const uint32_t masks[4], bool topDown = true)
{
    return BitmapRows(image, bits, masks, topDown, 1);
}

// A picture of `height` rows repeating `row`.
Image Uniform(uint32_t width, uint32_t height, const std::vector<uint32_t>& row)
{
    std::vector<uint32_t> texels;
    for (uint32_t i = 0; i < width * height; ++i)
        texels.push_back(row[i % width % row.size()]);
    return FromTexels(width, height, texels);
}
} // namespace

TEST(PnmDecode, BinaryAndTextMapsOfEveryDepth)
{
    ExpectDecodes({
        {"P6", Text("P6\n2 1\n255\n", {1, 2, 3, 250, 251, 252}),
         FromTexels(2, 1, {0xFF010203, 0xFFFAFBFC}), FormatR8G8B8, FilePpm},
        {"P5 with comments", Text("P5 # a comment\n# another\n3 1 255\n", {0, 128, 255}),
         FromTexels(3, 1, {Grey(0), Grey(128), Grey(255)}), FormatL8, FilePpm},
        {"P6 largest 15", Text("P6 1 2 15\n", {15, 0, 7, 1, 2, 3}),
         FromTexels(1, 2, {PackArgb(255, 255, 0, 119), PackArgb(255, 17, 34, 51)}), FormatR8G8B8,
         FilePpm},
        {"P6 two-byte samples", Text("P6 1 1 1000\n", {0x03, 0xE8, 0x01, 0xF4, 0x00, 0x00}),
         FromTexels(1, 1, {PackArgb(255, 255, 128, 0)}), FormatR8G8B8, FilePpm},
        {"P5 two-byte samples", Text("P5 2 1 65535\n", {0xFF, 0xFF, 0x80, 0x00}),
         FromTexels(2, 1, {Grey(255), Grey(128)}), FormatL8, FilePpm},
        {"P3", Text("P3\n# text\n2 2\n255\n255 0 0  0 255 0\n0 0 255  10 20 30\n"),
         FromTexels(2, 2, {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFF0A141E}), FormatR8G8B8, FilePpm},
        {"P2 largest 100", Text("P2 3 1 100 0 50 100"),
         FromTexels(3, 1, {Grey(0), Grey(128), Grey(255)}), FormatL8, FilePpm},
    });
}

TEST(DdsDecode, UncompressedFormatsThroughTheirMasks)
{
    const Image colour = Pattern(3, 2, true);
    const Image opaque = Pattern(3, 2, false);
    const uint32_t l8[4] = {0xFF, 0, 0, 0}, a8l8[4] = {0xFF, 0, 0, 0xFF00};
    const uint32_t a8[4] = {0, 0, 0, 0xFF}, a4l4[4] = {0x0F, 0, 0, 0xF0};

    DdsRecipe byCode = Dds(3, 2, 0x4, 32, NoMasks, Packed(colour, 32, Argb));
    byCode.fourCC = 21; // the format's number as a four-character code
    DdsRecipe chain = Dds(4, 2, 0x41, 32, Argb, Packed(Pattern(4, 2, true), 32, Argb), 3);
    Append(&chain.data, Bytes(8 + 4, 0)); // 2 x 1 and 1 x 1

    ExpectDecodes({
        {"A8R8G8B8", BuildDds(Dds(3, 2, 0x41, 32, Argb, Packed(colour, 32, Argb))), colour,
         FormatA8R8G8B8, FileDds},
        {"X8R8G8B8", BuildDds(Dds(3, 2, 0x40, 32, Xrgb, Packed(colour, 32, Argb))), Opaque(colour),
         FormatX8R8G8B8, FileDds},
        {"R8G8B8", BuildDds(Dds(3, 2, 0x40, 24, Xrgb, Packed(opaque, 24, Xrgb))), opaque,
         FormatR8G8B8, FileDds},
        {"R5G6B5", BuildDds(Dds(3, 2, 0x40, 16, Rgb565, Packed(opaque, 16, Rgb565))),
         Quantised(opaque, 0, 5, 6, 5), FormatR5G6B5, FileDds},
        {"X1R5G5B5", BuildDds(Dds(3, 2, 0x40, 16, Rgb555, Packed(colour, 16, Argb1555))),
         Quantised(colour, 0, 5, 5, 5), FormatX1R5G5B5, FileDds},
        {"A1R5G5B5", BuildDds(Dds(3, 2, 0x41, 16, Argb1555, Packed(colour, 16, Argb1555))),
         Quantised(colour, 1, 5, 5, 5), FormatA1R5G5B5, FileDds},
        {"A4R4G4B4", BuildDds(Dds(3, 2, 0x41, 16, Argb4444, Packed(colour, 16, Argb4444))),
         Quantised(colour, 4, 4, 4, 4), FormatA4R4G4B4, FileDds},
        {"L8", BuildDds(Dds(3, 1, 0x20000, 8, l8, {0, 100, 255})),
         FromTexels(3, 1, {Grey(0), Grey(100), Grey(255)}), FormatL8, FileDds},
        {"A8L8", BuildDds(Dds(2, 1, 0x20001, 16, a8l8, {10, 200, 30, 40})),
         FromTexels(2, 1, {Grey(10, 200), Grey(30, 40)}), FormatA8L8, FileDds},
        {"A8", BuildDds(Dds(2, 1, 0x2, 8, a8, {0, 77})),
         FromTexels(2, 1, {0, PackArgb(77, 0, 0, 0)}), FormatA8, FileDds},
        {"A4L4", BuildDds(Dds(1, 1, 0x20001, 8, a4l4, {0x3C})),
         FromTexels(1, 1, {Grey(Widen(12, 4), Widen(3, 4))}), FormatA4L4, FileDds},
        {"format number as code", BuildDds(byCode), colour, FormatA8R8G8B8, FileDds},
        {"mip chain", BuildDds(chain), Pattern(4, 2, true), FormatA8R8G8B8, FileDds, 3},
    });
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
    const std::vector<uint32_t> fiveRow = {0xFF0000FF, 0xFFFF0000, 0xFF7F007F, 0, 0xFFFFFFFF};

    // DXT3: explicit alpha 0, 1, ..., 15 (times 17), colour all white.
    Bytes dxt3;
    for (int i = 0; i < 8; ++i)
        dxt3.push_back((uint8_t)((2 * i) | (2 * i + 1) << 4));
    Append(&dxt3, {0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0});

    // DXT5 with end points 255 > 0 (eight values) and 0 <= 255 (six values,
    // then 0 and 255); selectors 0..7 on the first eight texels, 0 after.
    auto dxt5 = [](uint8_t a0, uint8_t a1)
    {
        Bytes block = {a0, a1, 0x88, 0xC6, 0xFA, 0, 0, 0}; // 0 1 2 ... 7 in 3-bit fields
        Append(&block, Bytes(8, 0));                       // black
        return block;
    };
    const uint32_t eight[8] = {255, 0, 219, 182, 146, 109, 73, 36};
    const uint32_t six[8] = {0, 255, 51, 102, 153, 204, 0, 255};
    std::vector<uint32_t> dxt3Texels, eightTexels, sixTexels;
    for (uint32_t i = 0; i < 16; ++i)
    {
        dxt3Texels.push_back(PackArgb(i * 17, 255, 255, 255));
        eightTexels.push_back(PackArgb(i < 8 ? eight[i] : 255, 0, 0, 0));
        sixTexels.push_back(PackArgb(i < 8 ? six[i] : 0, 0, 0, 0));
    }

    // DXT2 and DXT4 hold premultiplied colour: the 565 end point 0x8400
    // widens to (132, 130, 0); at alpha 8 x 17 = 136 that is undone by
    // 255 / 136.
    Bytes dxt2(8, 0x88); // alpha 8 everywhere
    Append(&dxt2, {0x00, 0x84, 0x00, 0x84, 0, 0, 0, 0});
    Bytes dxt4 = {136, 136, 0, 0, 0, 0, 0, 0}; // interpolated alpha 136 everywhere
    Append(&dxt4, Bytes(dxt2.begin() + 8, dxt2.end()));
    const uint32_t a = 8 * 17;
    const uint32_t undone = PackArgb(a, (132 * 255 + a / 2) / a, (130 * 255 + a / 2) / a, 0);

    ExpectDecodes({
        {"DXT1 three colours", BuildDds(DdsBlocks(4, 4, "DXT1", threeColour)),
         Uniform(4, 4, threeRow), FormatDXT1, FileDds},
        {"DXT1 partial blocks", BuildDds(DdsBlocks(5, 3, "DXT1", twoBlocks)),
         Uniform(5, 3, fiveRow), FormatDXT1, FileDds},
        {"DXT2", BuildDds(DdsBlocks(4, 4, "DXT2", dxt2)), Uniform(4, 4, {undone}), FormatDXT2,
         FileDds},
        {"DXT3", BuildDds(DdsBlocks(4, 4, "DXT3", dxt3)), FromTexels(4, 4, dxt3Texels), FormatDXT3,
         FileDds},
        {"DXT4", BuildDds(DdsBlocks(4, 4, "DXT4", dxt4)), Uniform(4, 4, {undone}), FormatDXT4,
         FileDds},
        {"DXT5 eight alphas", BuildDds(DdsBlocks(4, 4, "DXT5", dxt5(255, 0))),
         FromTexels(4, 4, eightTexels), FormatDXT5, FileDds},
        {"DXT5 six alphas", BuildDds(DdsBlocks(4, 4, "DXT5", dxt5(0, 255))),
         FromTexels(4, 4, sixTexels), FormatDXT5, FileDds},
    });
}

TEST(TgaDecode, EveryImageTypeDepthAndOrientation)
{
    const Image colour = Pattern(3, 2, true);
    const Image opaque = Opaque(colour);

    // 16 bits: 0x7C00 red with the attribute bit clear (transparent when
    // the descriptor gives one alpha bit), 0x83E0 green with it set.
    const Bytes sixteen = {0x00, 0x7C, 0xE0, 0x83};

    // Colour-mapped: an id of three bytes, a map of entries 2..5 (24-bit).
    TgaRecipe mapped = Tga(1, 2, 2, 8, 0x20, {2, 3, 4, 5});
    mapped.id = {'a', 'b', 'c'};
    mapped.mapType = 1;
    mapped.mapFirst = 2;
    mapped.mapLength = 4;
    mapped.mapBits = 24;
    mapped.map = {0, 0, 255, 0, 255, 0, 255, 0, 0, 9, 9, 9};
    // 16-bit indices into a 32-bit map.
    TgaRecipe wideIndex = Tga(1, 2, 1, 16, 0x28, {1, 0, 0, 0});
    wideIndex.mapType = 1;
    wideIndex.mapLength = 2;
    wideIndex.mapBits = 32;
    wideIndex.map = {1, 2, 3, 4, 5, 6, 7, 8};
    TgaRecipe rleMapped = mapped;
    rleMapped.imageType = 9;
    rleMapped.data = {0x81, 5, 0x01, 2, 3};

    ExpectDecodes({
        {"24 bottom-up", BuildTga(Tga(2, 3, 2, 24, 0x00, Packed(opaque, 24, Xrgb, false))), opaque,
         FormatR8G8B8, FileTga},
        {"32 top-down with alpha", BuildTga(Tga(2, 3, 2, 32, 0x28, Packed(colour, 32, Argb))),
         colour, FormatA8R8G8B8, FileTga},
        {"32 without alpha bits", BuildTga(Tga(2, 3, 2, 32, 0x20, Packed(colour, 32, Argb))),
         opaque, FormatX8R8G8B8, FileTga},
        {"32 right-to-left", BuildTga(Tga(2, 3, 1, 32, 0x38, {1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3})),
         FromTexels(3, 1, {0x03030303, 0x02020202, 0x01010101}), FormatA8R8G8B8, FileTga},
        {"16 with an alpha bit", BuildTga(Tga(2, 2, 1, 16, 0x21, sixteen)),
         FromTexels(2, 1, {0x00FF0000, 0xFF00FF00}), FormatA1R5G5B5, FileTga},
        {"15 bits", BuildTga(Tga(2, 2, 1, 15, 0x20, sixteen)),
         FromTexels(2, 1, {0xFFFF0000, 0xFF00FF00}), FormatX1R5G5B5, FileTga},
        {"grey", BuildTga(Tga(3, 2, 1, 8, 0x20, {0, 99})), FromTexels(2, 1, {Grey(0), Grey(99)}),
         FormatL8, FileTga},
        {"grey with alpha", BuildTga(Tga(3, 1, 1, 16, 0x28, {99, 7})),
         FromTexels(1, 1, {Grey(99, 7)}), FormatA8L8, FileTga},
        {"colour-mapped", BuildTga(mapped),
         FromTexels(2, 2, {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFF090909}), FormatP8, FileTga},
        {"16-bit indices", BuildTga(wideIndex), FromTexels(2, 1, {0x08070605, 0x04030201}),
         FormatP8, FileTga},
        // Run-length: 3 x 2 true colour, one run of 4 crossing the line,
        // then a literal packet of 2.
        {"run-length colour",
         BuildTga(Tga(10, 3, 2, 24, 0x20, {0x83, 10, 20, 30, 0x01, 1, 2, 3, 4, 5, 6})),
         FromTexels(3, 2, {0xFF1E140A, 0xFF1E140A, 0xFF1E140A, 0xFF1E140A, 0xFF030201, 0xFF060504}),
         FormatR8G8B8, FileTga},
        {"run-length grey", BuildTga(Tga(11, 2, 2, 8, 0x00, {0x81, 50, 0x81, 200})),
         FromTexels(2, 2, {Grey(200), Grey(200), Grey(50), Grey(50)}), FormatL8, FileTga},
        {"run-length colour-mapped", BuildTga(rleMapped),
         FromTexels(2, 2, {0xFF090909, 0xFF090909, 0xFFFF0000, 0xFF00FF00}), FormatP8, FileTga},
    });
}

TEST(TgaDecode, ExtensionAreaSaysWhetherTheAttributeBitsAreAlpha)
{
    // Types 0 to 2 (no alpha, undefined to ignore, undefined to keep) make
    // the picture opaque; 3 (alpha) and 4 (premultiplied) keep the texels.
    const Image colour = Pattern(3, 2, true);
    std::vector<DecodeCase> cases;
    for (int type = 0; type <= 4; ++type)
    {
        TgaRecipe argb = Tga(2, 3, 2, 32, 0x28, Packed(colour, 32, Argb));
        TgaRecipe grey = Tga(3, 1, 1, 16, 0x28, {99, 7});
        argb.attributesType = grey.attributesType = type;
        const bool alpha = type >= 3;
        const std::string name = "attributes type " + std::to_string(type);
        cases.push_back({name, BuildTga(argb), alpha ? colour : Opaque(colour),
                         alpha ? FormatA8R8G8B8 : FormatX8R8G8B8, FileTga});
        cases.push_back({name + " grey", BuildTga(grey),
                         FromTexels(1, 1, {Grey(99, alpha ? 7 : 255)}),
                         alpha ? FormatA8L8 : FormatL8, FileTga});
    }
    ExpectDecodes(cases);
}
