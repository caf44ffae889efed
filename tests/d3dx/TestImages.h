// Image files built byte by byte for the tests, the fuzz seeds and the
// benchmark: bitmaps (file and bare form, any header, depth, masks, colour
// table or RLE stream), DDS, TGA and PNG (stored deflate, any colour type,
// depth, palette, tRNS, Adam7), and real PNG and JPEG compression through
// stb_image_write. No Windows API.
#ifndef MAPEDITOR_TESTS_TESTIMAGES_H
#define MAPEDITOR_TESTS_TESTIMAGES_H

#include <stdint.h>

#include <initializer_list>
#include <ostream>
#include <string>
#include <vector>

#include "d3dx/image/ImageTypes.h"

namespace d3dximage
{
// Readable results in test failure messages.
inline std::ostream& operator<<(std::ostream& out, DecodeStatus status)
{
    static const char* const names[] = {"Ok", "NotRecognised", "InvalidData", "OutOfMemory",
                                        "TooLarge"};
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

// The characters of `text` (no terminating zero), then `after`.
Bytes Text(const char* text, const Bytes& after = Bytes());
// The bytes written as pairs of hex digits in `hex`.
Bytes Hex(const char* hex);
// Each value as |size| bytes: little-endian, or big-endian for a negative size.
void Put(Bytes* out, int size, std::initializer_list<uint32_t> values);
void Append(Bytes* out, const Bytes& more);

// --- bitmaps -----------------------------------------------------------------

struct BitmapRecipe
{
    uint32_t headerSize = 40;      // 12, 40, 52, 56, 108, 124
    int32_t width = 0, height = 0; // a negative height: top-down rows
    uint32_t planes = 1, bitCount = 24, compression = 0, colorsUsed = 0;
    // Written inside headers of 52 bytes and more; after a 40-byte header
    // only for compression 3 (three masks) and 6 (four).
    uint32_t masks[4] = {};
    std::vector<uint32_t> palette; // ARGB; BGR0 entries (BGR for the core header)
    Bytes pixels;                  // the rows (or RLE stream) exactly as stored
};

// "BM", the 14-byte file header pointing at the rows, then what BuildDib writes.
Bytes BuildBitmap(const BitmapRecipe& recipe);
// Info header, masks, colour table, rows.
Bytes BuildDib(const BitmapRecipe& recipe);

// Rows of 16, 24 or 32 bits as a bitmap stores them (padded to `align`
// bytes, the bottom row first unless top-down; DDS rows take align 1). 16
// and 32 bits pack the channels into `masks` (red, green, blue, alpha),
// rounding each to its width.
Bytes BitmapRows(const Image& image, uint32_t bitCount, const uint32_t masks[4], bool topDown,
                 uint32_t align = 4);
// Rows of 1-, 4- or 8-bit colour indices.
Bytes BitmapIndexRows(const std::vector<uint8_t>& indices, uint32_t width, uint32_t height,
                      uint32_t bitCount, bool topDown);
// A plain 24-bit bottom-up bitmap file of the picture.
Bytes Bitmap24(const Image& image);
// A recipe of the given header, depth, size and stored rows; colorsUsed is
// the palette's size when shorter than the depth allows (never for the core
// header).
BitmapRecipe Bitmap(uint32_t headerSize, uint32_t bitCount, int32_t width, int32_t height,
                    Bytes pixels, std::vector<uint32_t> palette = {}, uint32_t compression = 0);
// A recipe of 16 or 32 bits (24 ignore the masks) with the picture's rows.
BitmapRecipe Masked(uint32_t headerSize, uint32_t bitCount, uint32_t compression, int32_t height,
                    const uint32_t masks[4], const Image& image);

// Channel masks (red, green, blue, alpha) of the usual packed layouts.
const uint32_t Rgb555[4] = {0x7C00, 0x03E0, 0x001F, 0};
const uint32_t Argb1555[4] = {0x7C00, 0x03E0, 0x001F, 0x8000};
const uint32_t Rgb565[4] = {0xF800, 0x07E0, 0x001F, 0};
const uint32_t Argb4444[4] = {0x0F00, 0x00F0, 0x000F, 0xF000};
const uint32_t Xrgb[4] = {0xFF0000, 0xFF00, 0xFF, 0};
const uint32_t Argb[4] = {0xFF0000, 0xFF00, 0xFF, 0xFF000000};
const uint32_t NoMasks[4] = {};

// --- DDS ---------------------------------------------------------------------

struct DdsRecipe
{
    uint32_t width = 0, height = 0;
    // Flags 0x1 alpha pixels, 0x2 alpha, 0x4 four-cc, 0x40 RGB, 0x20000 luminance.
    uint32_t pixelFlags = 0, fourCC = 0, bits = 0;
    uint32_t masks[4] = {};
    uint32_t mipCount = 0; // written with its flag when not 0
    Bytes data;
};
Bytes BuildDds(const DdsRecipe& recipe);
// Uncompressed (`masks` written as given) and block-compressed recipes.
DdsRecipe Dds(uint32_t width, uint32_t height, uint32_t pixelFlags, uint32_t bits,
              const uint32_t masks[4], Bytes data, uint32_t mipCount = 0);
DdsRecipe DdsBlocks(uint32_t width, uint32_t height, const char* fourCC, Bytes data,
                    uint32_t mipCount = 0);

// --- TGA ---------------------------------------------------------------------

struct TgaRecipe
{
    uint8_t imageType = 2, mapType = 0;
    uint16_t mapFirst = 0, mapLength = 0;
    uint8_t mapBits = 0;
    uint16_t width = 0, height = 0;
    // The descriptor: alpha bits | 0x10 right-to-left | 0x20 top-down.
    uint8_t pixelBits = 24, descriptor = 0;
    Bytes id, map, data;
    // From 0 on: a TGA 2.0 extension area with this attributes type, and the footer.
    int attributesType = -1;
};
Bytes BuildTga(const TgaRecipe& recipe);
// A recipe without id or colour map.
TgaRecipe Tga(uint8_t imageType, uint16_t width, uint16_t height, uint8_t pixelBits,
              uint8_t descriptor, Bytes data);

// --- PNG ---------------------------------------------------------------------

struct PngRecipe
{
    // Colour types 0 grey, 2 RGB, 3 palette, 4 grey + alpha, 6 RGBA.
    uint32_t width = 0, height = 0, depth = 8, colourType = 6;
    bool interlaced = false;
    std::vector<uint32_t> palette; // ARGB; alpha below 255 makes a tRNS chunk
    Bytes transparency;            // raw tRNS body for grey and RGB images
    // Samples of every texel, row by row, channel by channel (1, 3, 1, 2 or 4
    // channels per colour type), each below 2^depth.
    std::vector<uint16_t> samples;
};
// Filter type 0 on every line, zlib with stored blocks, Adam7 when interlaced.
Bytes BuildPng(const PngRecipe& recipe);
PngRecipe Png(uint32_t width, uint32_t height, uint32_t depth, uint32_t colourType,
              std::vector<uint16_t> samples, std::vector<uint32_t> palette = {},
              Bytes transparency = {}, bool interlaced = false);
// The CRC-32 that closes a PNG chunk (over its type and body).
uint32_t PngCrc(const uint8_t* data, size_t size);

// --- real compressors ----------------------------------------------------------

Bytes EncodePng(const Image& image, int channels); // 3 or 4 channels, stb_image_write
Bytes EncodeJpeg(const Image& image, int quality); // colour, stb_image_write

bool WriteFileBytes(const std::string& path, const Bytes& bytes);
} // namespace testimages

#endif
