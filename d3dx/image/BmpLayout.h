// What the bitmap headers say about the pixel data, as BmpDecoder.cpp reads
// it for both the file form ("BM" and a 14-byte file header) and the bare
// form (the info header first); shared with the RLE decoder in BmpRle.cpp.
#ifndef MAPEDITOR_D3DX_BMPLAYOUT_H
#define MAPEDITOR_D3DX_BMPLAYOUT_H

#include "d3dx/image/ImageTypes.h"

namespace d3dximage
{
// Compression codes of the info header.
enum BitmapCompression : uint32_t
{
    BitmapRgb = 0,
    BitmapRle8 = 1,
    BitmapRle4 = 2,
    BitmapBitfields = 3,
    BitmapAlphaBitfields = 6,
};

struct BitmapLayout
{
    uint32_t headerSize = 0; // 12 (core), 40, 52, 56, 108 or 124
    uint32_t width = 0;
    uint32_t height = 0;
    bool topDown = false; // a negative height in the header
    uint32_t bitCount = 0;
    uint32_t compression = BitmapRgb;
    uint32_t masks[4] = {};     // red, green, blue, alpha for 16 and 32 bits
    uint32_t palette[256] = {}; // opaque ARGB colours
    uint32_t paletteCount = 0;
    size_t pixelOffset = 0; // where the pixel data starts in the buffer
};

// Decodes RLE8 or RLE4 data at layout.pixelOffset into the sized image.
DecodeStatus DecodeBitmapRle(const uint8_t* data, size_t size, const BitmapLayout& layout,
                             Image* image);
} // namespace d3dximage

#endif
