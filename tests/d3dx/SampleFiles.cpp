// The sample files (see SampleFiles.h). Widths are chosen so that no row of
// a bitmap ends in padding, so every cut-off byte is one the decoder needs.
#include "tests/d3dx/SampleFiles.h"

#include <algorithm>

#include "tests/d3dx/JpegSamples.h"

namespace testimages
{
namespace
{
// Indices 0 1 2 3 0 1 ... into black, blue, green, red.
BitmapRecipe Indexed8(uint32_t width, uint32_t height, uint32_t headerSize)
{
    std::vector<uint8_t> indices;
    for (uint32_t i = 0; i < width * height; ++i)
        indices.push_back((uint8_t)(i % 4));
    return Bitmap(headerSize, 8, (int32_t)width, (int32_t)height,
                  BitmapIndexRows(indices, width, height, 8, false),
                  {0xFF000000, 0xFF0000FF, 0xFF00FF00, 0xFFFF0000});
}
} // namespace

std::vector<SampleFile> SampleFiles()
{
    const Image colour = Pattern(4, 3, true);
    const BitmapRecipe bits32 = Masked(124, 32, 3, 3, Argb, colour);
    BitmapRecipe rle8 = Indexed8(6, 2, 40);
    rle8.compression = 1;
    rle8.pixels = {3, 1, 0, 3, 2, 3, 0, 0, 0, 0, 0, 2, 1, 0, 4, 2, 0, 1};
    BitmapRecipe rle4 = rle8;
    rle4.bitCount = 4;
    rle4.compression = 2;
    rle4.pixels = {6, 0x12, 0, 0, 0, 3, 0x23, 0x10, 0, 1};
    // DXT1 8 x 4 with its whole chain (two blocks, then one for each level);
    // DXT5 8 x 4 without.
    Bytes dxt1, dxt5;
    for (int block = 0; block < 2 + 1 + 1 + 1; ++block)
        Append(&dxt1, {0x1F, (uint8_t)(block * 8), 0x00, 0xF8, 0xE4, 0x1B, 0x4E, 0xB1});
    for (int block = 0; block < 2; ++block)
        Append(&dxt5, {0x10, 0xF0, 0x88, 0xC6, 0xFA, 0x11, 0x22, 0x33, 0xFF, 0xFF, 0x00, 0x00, 0xE4,
                       0xE4, 0xE4, 0xE4});
    TgaRecipe mapped = Tga(9, 4, 2, 8, 0x28, {0x82, 1, 0x00, 2, 0x82, 3, 0x00, 1});
    mapped.mapType = 1;
    mapped.mapFirst = 1;
    mapped.mapLength = 3;
    mapped.mapBits = 32;
    mapped.map = {1, 2, 3, 255, 4, 5, 6, 128, 7, 8, 9, 0};
    mapped.id = {'i', 'd'};
    // A JPEG with stray bytes between its frame and its Huffman tables.
    Bytes stray = EncodeJpeg(Pattern(19, 11, false), 90);
    const uint8_t huffman[2] = {0xFF, 0xC4};
    stray.insert(std::search(stray.begin(), stray.end(), huffman, huffman + 2),
                 {0x00, 0xFF, 0x00, 0x7F});
    Bytes tga;
    for (int i = 0; i < 6; ++i)
        Append(&tga, {(uint8_t)i, (uint8_t)(i * 3), (uint8_t)(255 - i)});

    return {
        {"rgb24.bmp", Bitmap24(Pattern(4, 3, false))},
        {"indexed8.bmp", BuildBitmap(Indexed8(8, 2, 40))},
        {"core8.bmp", BuildBitmap(Indexed8(4, 2, 12))},
        {"rgb565.bmp", BuildBitmap(Masked(40, 16, 3, -3, Rgb565, Pattern(4, 3, false)))},
        {"argb32v5.bmp", BuildBitmap(bits32)},
        {"rle8.bmp", BuildBitmap(rle8)},
        {"rle4.bmp", BuildBitmap(rle4)},
        {"indexed8.dib", BuildDib(Indexed8(4, 2, 40))},
        {"argb32v5.dib", BuildDib(bits32)},
        {"rgb.ppm", Text("P6\n# sample\n2 2\n255\n", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12})},
        {"grey16.pgm", Text("P5 3 1 1023\n", {0x03, 0xFF, 0x01, 0x00, 0x00, 0x10})},
        {"text.ppm", Text("P3 2 1 255 255 0 0 0 0 255\n"), true},
        {"text.pgm", Text("P2 2 1 9 0 9\n"), true},
        {"argb.dds",
         BuildDds(Dds(3, 2, 0x41, 32, Argb, BitmapRows(Pattern(3, 2, true), 32, Argb, true, 1)))},
        {"dxt1.dds", BuildDds(DdsBlocks(8, 4, "DXT1", dxt1, 4))},
        {"dxt5.dds", BuildDds(DdsBlocks(8, 4, "DXT5", dxt5, 1))},
        {"photo.jpg", EncodeJpeg(Pattern(19, 11, false), 90)},
        {"stray.jpg", stray},
        {"progressive.jpg", Hex(ProgressiveRedToBlueJpeg)},
        {"grey.jpg", Hex(GreyWhiteToBlackJpeg)},
        {"deflated.png", EncodePng(colour, 4)},
        {"palette.png", BuildPng(Png(5, 3, 2, 3, {0, 1, 2, 1, 0, 2, 2, 1, 1, 0, 0, 0, 2, 2, 1},
                                     {0xFFFF0000, 0x8000FF00, 0x000000FF}, {}, true))},
        {"greyalpha16.png",
         BuildPng(
             Png(2, 2, 16, 4, {0x1000, 0xFFFF, 0x2000, 0x8000, 0x3000, 0x0000, 0x4000, 0x1234}))},
        {"rgb.tga", BuildTga(Tga(2, 3, 2, 24, 0, tga))},
        {"mapped-rle.tga", BuildTga(mapped)},
    };
}
} // namespace testimages
