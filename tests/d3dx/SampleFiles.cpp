// The sample files (see SampleFiles.h). Widths are chosen so that no row of
// a bitmap ends in padding, so every cut-off byte is one the decoder needs.
#include "tests/d3dx/SampleFiles.h"

#include <string.h>

#include "tests/d3dx/JpegSamples.h"

namespace testimages
{
namespace
{
Bytes Text(const char* text)
{
    return Bytes(text, text + strlen(text));
}

BitmapSpec Indexed8(uint32_t width, uint32_t height, uint32_t headerSize)
{
    BitmapSpec spec;
    spec.headerSize = headerSize;
    spec.width = (int32_t)width;
    spec.height = (int32_t)height;
    spec.bitCount = 8;
    std::vector<uint8_t> indices;
    for (uint32_t i = 0; i < width * height; ++i)
        indices.push_back((uint8_t)(i % 4));
    spec.palette = {0xFF000000, 0xFF0000FF, 0xFF00FF00, 0xFFFF0000};
    spec.colorsUsed = headerSize == 12 ? 0 : 4;
    spec.pixels = BitmapIndexRows(indices, width, height, 8, false);
    return spec;
}
} // namespace

std::vector<SampleFile> SampleFiles()
{
    std::vector<SampleFile> files;
    const Image colour = Pattern(4, 3, true);
    const Image opaque = Pattern(4, 3, false);

    // Bitmaps.
    files.push_back({"rgb24.bmp", Bitmap24(opaque)});
    files.push_back({"indexed8.bmp", BuildBitmap(Indexed8(8, 2, 40))});
    files.push_back({"core8.bmp", BuildBitmap(Indexed8(4, 2, 12))});
    const uint32_t rgb565[4] = {0xF800, 0x07E0, 0x001F, 0};
    BitmapSpec bits16;
    bits16.width = 4;
    bits16.height = -3;
    bits16.bitCount = 16;
    bits16.compression = 3;
    memcpy(bits16.masks, rgb565, sizeof(rgb565));
    bits16.pixels = BitmapRows(opaque, 16, rgb565, true);
    files.push_back({"rgb565.bmp", BuildBitmap(bits16)});
    const uint32_t argb[4] = {0xFF0000, 0xFF00, 0xFF, 0xFF000000};
    BitmapSpec bits32;
    bits32.headerSize = 124;
    bits32.width = 4;
    bits32.height = 3;
    bits32.bitCount = 32;
    bits32.compression = 3;
    memcpy(bits32.masks, argb, sizeof(argb));
    bits32.pixels = BitmapRows(colour, 32, argb, false);
    files.push_back({"argb32v5.bmp", BuildBitmap(bits32)});
    BitmapSpec rle8 = Indexed8(6, 2, 40);
    rle8.compression = 1;
    rle8.pixels = {3, 1, 0, 3, 2, 3, 0, 0, 0, 0, 0, 2, 1, 0, 4, 2, 0, 1};
    files.push_back({"rle8.bmp", BuildBitmap(rle8)});
    BitmapSpec rle4 = rle8;
    rle4.bitCount = 4;
    rle4.compression = 2;
    rle4.pixels = {6, 0x12, 0, 0, 0, 3, 0x23, 0x10, 0, 1};
    files.push_back({"rle4.bmp", BuildBitmap(rle4)});
    files.push_back({"indexed8.dib", BuildDib(Indexed8(4, 2, 40))});
    files.push_back({"argb32v5.dib", BuildDib(bits32)});

    // Portable maps.
    Bytes p6 = Text("P6\n# sample\n2 2\n255\n");
    Append(&p6, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});
    files.push_back({"rgb.ppm", p6});
    Bytes p5 = Text("P5 3 1 1023\n");
    Append(&p5, {0x03, 0xFF, 0x01, 0x00, 0x00, 0x10});
    files.push_back({"grey16.pgm", p5});
    files.push_back({"text.ppm", Text("P3 2 1 255 255 0 0 0 0 255\n"), true});
    files.push_back({"text.pgm", Text("P2 2 1 9 0 9\n"), true});

    // DDS.
    DdsSpec dds;
    dds.width = 3;
    dds.height = 2;
    dds.pixelFlags = 0x41;
    dds.bits = 32;
    memcpy(dds.masks, argb, sizeof(argb));
    for (uint32_t i = 0; i < 6; ++i)
        Put32(&dds.data, colour.pixels[i]);
    files.push_back({"argb.dds", BuildDds(dds)});
    DdsSpec dxt1;
    dxt1.width = 8;
    dxt1.height = 4;
    dxt1.pixelFlags = 0x4;
    memcpy(&dxt1.fourCC, "DXT1", 4);
    dxt1.mipCount = 4;
    for (int block = 0; block < 2 + 1 + 1 + 1; ++block)
        Append(&dxt1.data, {0x1F, (uint8_t)(block * 8), 0x00, 0xF8, 0xE4, 0x1B, 0x4E, 0xB1});
    files.push_back({"dxt1.dds", BuildDds(dxt1)});
    DdsSpec dxt5 = dxt1;
    memcpy(&dxt5.fourCC, "DXT5", 4);
    dxt5.mipCount = 1;
    dxt5.data.clear();
    for (int block = 0; block < 2; ++block)
        Append(&dxt5.data, {0x10, 0xF0, 0x88, 0xC6, 0xFA, 0x11, 0x22, 0x33, 0xFF, 0xFF, 0x00, 0x00,
                            0xE4, 0xE4, 0xE4, 0xE4});
    files.push_back({"dxt5.dds", BuildDds(dxt5)});

    // JPEG and PNG.
    files.push_back({"photo.jpg", EncodeJpeg(Pattern(19, 11, false), 90)});
    files.push_back({"progressive.jpg", Bytes(std::begin(ProgressiveRedToBlueJpeg),
                                              std::end(ProgressiveRedToBlueJpeg))});
    files.push_back(
        {"grey.jpg", Bytes(std::begin(GreyWhiteToBlackJpeg), std::end(GreyWhiteToBlackJpeg))});
    files.push_back({"deflated.png", EncodePng(colour, 4)});
    PngSpec palette;
    palette.width = 5;
    palette.height = 3;
    palette.depth = 2;
    palette.colourType = 3;
    palette.interlaced = true;
    palette.palette = {0xFFFF0000, 0x8000FF00, 0x000000FF};
    palette.samples = {0, 1, 2, 1, 0, 2, 2, 1, 1, 0, 0, 0, 2, 2, 1};
    files.push_back({"palette.png", BuildPng(palette)});
    PngSpec grey16;
    grey16.width = 2;
    grey16.height = 2;
    grey16.depth = 16;
    grey16.colourType = 4;
    grey16.samples = {0x1000, 0xFFFF, 0x2000, 0x8000, 0x3000, 0x0000, 0x4000, 0x1234};
    files.push_back({"greyalpha16.png", BuildPng(grey16)});

    // TGA.
    TgaSpec tga;
    tga.width = 3;
    tga.height = 2;
    tga.pixelBits = 24;
    for (int i = 0; i < 6; ++i)
        Append(&tga.data, {(uint8_t)i, (uint8_t)(i * 3), (uint8_t)(255 - i)});
    files.push_back({"rgb.tga", BuildTga(tga)});
    TgaSpec mapped;
    mapped.imageType = 9;
    mapped.mapType = 1;
    mapped.mapFirst = 1;
    mapped.mapLength = 3;
    mapped.mapBits = 32;
    mapped.map = {1, 2, 3, 255, 4, 5, 6, 128, 7, 8, 9, 0};
    mapped.width = 4;
    mapped.height = 2;
    mapped.pixelBits = 8;
    mapped.descriptor = 0x28;
    mapped.id = {'i', 'd'};
    mapped.data = {0x82, 1, 0x00, 2, 0x82, 3, 0x00, 1};
    files.push_back({"mapped-rle.tga", BuildTga(mapped)});
    return files;
}
} // namespace testimages
