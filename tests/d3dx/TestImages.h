// Image files built byte by byte for the tests, the fuzz seeds and the
// benchmark: bitmaps (file and bare form, any header, depth, masks, colour
// table or RLE stream), DDS, TGA and PNG (stored deflate, any colour type,
// depth, palette, tRNS, Adam7), and real PNG and JPEG compression through
// stb_image_write. No Windows API.
#ifndef MAPEDITOR_TESTS_TESTIMAGES_H
#define MAPEDITOR_TESTS_TESTIMAGES_H

#include <stdint.h>

#include <ostream>
#include <string>
#include <vector>

#include "d3dx/image/ImageTypes.h"

namespace d3dximage
{
// Readable results in test failure messages.
inline std::ostream& operator<<(std::ostream& out, DecodeStatus status)
{
    static const char* const names[] = {"Ok", "NotRecognised", "InvalidData", "OutOfMemory"};
    return out << names[(int)status];
}
} // namespace d3dximage

namespace testimages
{
using Bytes = std::vector<uint8_t>;
using d3dximage::Image;

// A picture whose texels all differ from their neighbours: red, green and
// blue follow x and y; alpha too when `alpha`, else 255.
Image Pattern(uint32_t width, uint32_t height, bool alpha);

// A picture from rows of ARGB values.
Image FromTexels(uint32_t width, uint32_t height, const std::vector<uint32_t>& argb);

void Put16(Bytes* out, uint32_t value);
void Put32(Bytes* out, uint32_t value);
void PutBe32(Bytes* out, uint32_t value);
void Append(Bytes* out, const Bytes& more);

// --- bitmaps -----------------------------------------------------------------

struct BitmapSpec
{
    uint32_t headerSize = 40; // 12, 40, 52, 56, 108, 124
    int32_t width = 0;
    int32_t height = 0; // negative: top-down rows
    uint32_t planes = 1;
    uint32_t bitCount = 24;
    uint32_t compression = 0;
    uint32_t colorsUsed = 0;
    // Written inside headers of 52 bytes and more; after a 40-byte header
    // only for compression 3 (three masks) and 6 (four).
    uint32_t masks[4] = {};
    std::vector<uint32_t> palette; // ARGB; BGR0 entries (BGR for the core header)
    Bytes pixels;                  // the rows (or RLE stream) exactly as stored
};

// "BM", the 14-byte file header pointing at the rows, then what BuildDib writes.
Bytes BuildBitmap(const BitmapSpec& spec);
// Info header, masks, colour table, rows.
Bytes BuildDib(const BitmapSpec& spec);

// Rows of 16, 24 or 32 bits as a bitmap stores them (4-byte padding, the
// bottom row first unless top-down). 16 and 32 bits pack the channels into
// `masks` (red, green, blue, alpha), rounding each to its width.
Bytes BitmapRows(const Image& image, uint32_t bitCount, const uint32_t masks[4], bool topDown);
// Rows of 1-, 4- or 8-bit colour indices.
Bytes BitmapIndexRows(const std::vector<uint8_t>& indices, uint32_t width, uint32_t height,
                      uint32_t bitCount, bool topDown);
// A plain 24-bit bottom-up bitmap file of the picture.
Bytes Bitmap24(const Image& image);

// --- DDS ---------------------------------------------------------------------

struct DdsSpec
{
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t pixelFlags =
        0; // 0x1 alpha pixels, 0x2 alpha, 0x4 four-cc, 0x40 RGB, 0x20000 luminance
    uint32_t fourCC = 0;
    uint32_t bits = 0;
    uint32_t masks[4] = {};
    uint32_t mipCount = 0; // written with its flag when not 0
    Bytes data;
};
Bytes BuildDds(const DdsSpec& spec);

// --- TGA ---------------------------------------------------------------------

struct TgaSpec
{
    uint8_t imageType = 2;
    uint8_t mapType = 0;
    uint16_t mapFirst = 0;
    uint16_t mapLength = 0;
    uint8_t mapBits = 0;
    uint16_t width = 0;
    uint16_t height = 0;
    uint8_t pixelBits = 24;
    uint8_t descriptor = 0; // alpha bits | 0x10 right-to-left | 0x20 top-down
    Bytes id;
    Bytes map;
    Bytes data;
};
Bytes BuildTga(const TgaSpec& spec);

// --- PNG ---------------------------------------------------------------------

struct PngSpec
{
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t depth = 8;
    uint32_t colourType = 6; // 0 grey, 2 RGB, 3 palette, 4 grey + alpha, 6 RGBA
    bool interlaced = false;
    std::vector<uint32_t> palette; // ARGB; alpha below 255 makes a tRNS chunk
    Bytes transparency;            // raw tRNS body for grey and RGB images
    // Samples of every texel, row by row, channel by channel (1, 3, 1, 2 or 4
    // channels per colour type), each below 2^depth.
    std::vector<uint16_t> samples;
};
// Filter type 0 on every line, zlib with stored blocks, Adam7 when interlaced.
Bytes BuildPng(const PngSpec& spec);

// --- real compressors ----------------------------------------------------------

Bytes EncodePng(const Image& image, int channels); // 3 or 4 channels, stb_image_write
Bytes EncodeJpeg(const Image& image, int quality); // colour, stb_image_write

bool WriteFileBytes(const std::string& path, const Bytes& bytes);
} // namespace testimages

#endif
