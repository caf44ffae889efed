// Bitmap decoding: every header size, depth, mask layout, colour table and
// RLE form, in the file form and the bare form, decoding to the right texels
// and reporting the right source format.
#include "tests/d3dx/DecodeCheck.h"

using namespace testimages;

namespace
{
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

// An indexed bitmap whose index at (x, y) is (x + 3 y) mod colours; the
// texels it should decode to go to *expected.
BitmapRecipe IndexedBitmap(uint32_t headerSize, uint32_t bits, int32_t width, int32_t height,
                           uint32_t colours, Image* expected)
{
    const uint32_t w = (uint32_t)width, h = (uint32_t)(height < 0 ? -height : height);
    const std::vector<uint32_t> palette = GreyPalette(colours);
    std::vector<uint8_t> indices;
    std::vector<uint32_t> texels;
    for (uint32_t i = 0; i < w * h; ++i)
    {
        indices.push_back((uint8_t)((i % w + 3 * (i / w)) % colours));
        texels.push_back(palette[indices.back()]);
    }
    *expected = FromTexels(w, h, texels);
    return Bitmap(headerSize, bits, width, height, BitmapIndexRows(indices, w, h, bits, height < 0),
                  palette);
}

const uint32_t Abgr[4] = {0xFF, 0xFF00, 0xFF0000, 0xFF000000};
} // namespace

TEST(BitmapDecode, TrueColourRowsInEveryHeaderAndMaskLayout)
{
    const Image opaque = Pattern(5, 3, false);
    const Image alpha = Pattern(5, 3, true);
    const Image rgb565 = Quantised(opaque, 0, 5, 6, 5);
    BitmapRecipe core24 = Masked(12, 24, 0, 3, Xrgb, opaque);
    ExpectDecodes({
        {"24 bottom-up", Bitmap24(opaque), opaque, FormatR8G8B8, FileBmp},
        {"24 top-down", BuildBitmap(Masked(40, 24, 0, -3, Xrgb, opaque)), opaque, FormatR8G8B8,
         FileBmp},
        {"24 core header", BuildBitmap(core24), opaque, FormatR8G8B8, FileBmp},
        // 32-bit rows without masks: the fourth byte is not alpha.
        {"32 plain", BuildBitmap(Masked(40, 32, 0, 3, Argb, alpha)), Opaque(alpha), FormatX8R8G8B8,
         FileBmp},
        {"32 bitfields", BuildBitmap(Masked(40, 32, 3, 3, Xrgb, opaque)), opaque, FormatX8R8G8B8,
         FileBmp},
        {"32 alpha bitfields", BuildBitmap(Masked(40, 32, 6, 3, Argb, alpha)), alpha,
         FormatA8R8G8B8, FileBmp},
        {"32 version 5 alpha", BuildBitmap(Masked(124, 32, 3, -3, Argb, alpha)), alpha,
         FormatA8R8G8B8, FileBmp},
        {"32 version 4 swapped", BuildBitmap(Masked(108, 32, 3, 3, Abgr, alpha)), alpha,
         FormatA8R8G8B8, FileBmp},
        {"32 56-byte header", BuildBitmap(Masked(56, 32, 3, 3, Argb, alpha)), alpha, FormatA8R8G8B8,
         FileBmp},
        {"16 default 555", BuildBitmap(Masked(40, 16, 0, 3, Rgb555, opaque)),
         Quantised(opaque, 0, 5, 5, 5), FormatX1R5G5B5, FileBmp},
        {"16 bitfields 565", BuildBitmap(Masked(40, 16, 3, -3, Rgb565, opaque)), rgb565,
         FormatR5G6B5, FileBmp},
        {"16 52-byte header 565", BuildBitmap(Masked(52, 16, 3, 3, Rgb565, opaque)), rgb565,
         FormatR5G6B5, FileBmp},
        {"16 version 4 4444", BuildBitmap(Masked(108, 16, 3, 3, Argb4444, alpha)),
         Quantised(alpha, 4, 4, 4, 4), FormatA4R4G4B4, FileBmp},
        {"16 alpha bitfields 1555", BuildBitmap(Masked(40, 16, 6, 3, Argb1555, alpha)),
         Quantised(alpha, 1, 5, 5, 5), FormatA1R5G5B5, FileBmp},
        {"bare 24", BuildDib(Masked(40, 24, 0, 3, Xrgb, opaque)), opaque, FormatR8G8B8, FileDib},
        {"bare 16 bitfields", BuildDib(Masked(40, 16, 3, 3, Rgb565, opaque)), rgb565, FormatR5G6B5,
         FileDib},
        {"bare 32 version 5", BuildDib(Masked(124, 32, 3, 3, Argb, alpha)), alpha, FormatA8R8G8B8,
         FileDib},
        {"bare core 24", BuildDib(core24), opaque, FormatR8G8B8, FileDib},
    });
}

TEST(BitmapDecode, IndexedRowsThroughTheColourTable)
{
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
    std::vector<DecodeCase> cases;
    for (const auto& l : layouts)
    {
        Image expected;
        const BitmapRecipe recipe =
            IndexedBitmap(l.header, l.bits, l.width, l.height, l.colours, &expected);
        cases.push_back({std::string(l.name), BuildBitmap(recipe), expected, FormatP8, FileBmp});
        cases.push_back(
            {std::string(l.name) + " bare", BuildDib(recipe), expected, FormatP8, FileDib});
    }
    ExpectDecodes(cases);
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
    const BitmapRecipe rle8 =
        Bitmap(40, 8, 6, 3, {4, 1, 1, 2, 1, 3, 0, 0, 0, 3, 5, 6, 7, 0, 0, 2, 1, 1, 2, 9, 0, 1},
               palette, 1);
    const Image rle8Expected =
        FromTexels(6, 3,
                   {black, black, black, black, colour(9), colour(9),                   // line 2
                    colour(5), colour(6), colour(7), black, black, black,               // line 1
                    colour(1), colour(1), colour(1), colour(1), colour(2), colour(3)}); // line 0

    // RLE4, 5 x 2, top-down: a run of five texels alternating 1 and 2, end of
    // line, an absolute run of three nibbles 4 5 6 (two bytes, no padding
    // needed), end of bitmap.
    const BitmapRecipe rle4 =
        Bitmap(40, 4, 5, -2, {5, 0x12, 0, 0, 0, 3, 0x45, 0x60, 0, 1}, palette, 2);
    const Image rle4Expected = FromTexels(5, 2,
                                          {colour(1), colour(2), colour(1), colour(2), colour(1),
                                           colour(4), colour(5), colour(6), black, black});

    // An absolute run of odd length is padded to 16 bits.
    const BitmapRecipe padded = Bitmap(40, 8, 3, 1, {0, 3, 7, 8, 9, 0, 0, 1}, palette, 1);

    // Runs cut at the end of a 3-texel line, bottom-up. Line 0: a run of five
    // 1s, end of line. Line 1: an absolute run 2 3 4 5 6 (padded), a run of
    // two 7s that starts at the line's end, end of line, end of bitmap.
    const BitmapRecipe cut =
        Bitmap(40, 8, 3, 2, {5, 1, 0, 0, 0, 5, 2, 3, 4, 5, 6, 0, 2, 7, 0, 0, 0, 1}, palette, 1);
    // RLE4, 3 x 1: a run of four alternating 1 and 2.
    const BitmapRecipe cut4 = Bitmap(40, 4, 3, 1, {4, 0x12, 0, 1}, palette, 2);

    ExpectDecodes({
        {"RLE8", BuildBitmap(rle8), rle8Expected, FormatP8, FileBmp},
        {"RLE8 bare", BuildDib(rle8), rle8Expected, FormatP8, FileDib},
        {"RLE4", BuildBitmap(rle4), rle4Expected, FormatP8, FileBmp},
        {"RLE8 odd absolute run", BuildBitmap(padded),
         FromTexels(3, 1, {colour(7), colour(8), colour(9)}), FormatP8, FileBmp},
        {"RLE8 runs cut at the line's end", BuildBitmap(cut),
         FromTexels(3, 2, {colour(2), colour(3), colour(4), colour(1), colour(1), colour(1)}),
         FormatP8, FileBmp},
        {"RLE4 run cut at the line's end", BuildBitmap(cut4),
         FromTexels(3, 1, {colour(1), colour(2), colour(1)}), FormatP8, FileBmp},
    });
}
