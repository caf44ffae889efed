// Bitmaps: the file form ("BM", a 14-byte file header, an info header, an
// optional colour table and the rows) and the bare form that starts with the
// info header. Info headers of 12 (core), 40, 52, 56, 108 and 124 bytes;
// 1, 4 and 8 bits through a colour table (RLE4 and RLE8 in BmpRle.cpp),
// 16 and 32 bits with the default or explicit channel masks, 24 bits; rows
// stored bottom-up or top-down.
#include "d3dx/image/BmpLayout.h"
#include "d3dx/image/ByteReader.h"
#include "d3dx/image/ChannelMask.h"
#include "d3dx/image/Decoders.h"

#include <string.h>

namespace d3dximage
{
namespace
{
const uint32_t FileHeaderSize = 14;

bool KnownHeaderSize(uint32_t size)
{
    return size == 12 || size == 40 || size == 52 || size == 56 || size == 108 || size == 124;
}

bool KnownBitCount(uint32_t bits)
{
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

// The texel format the utility library reports for 16- and 32-bit masks.
PixelFormat MaskedFormat(const BitmapLayout& layout)
{
    struct Known
    {
        uint32_t bits, red, green, blue, alpha;
        PixelFormat format;
    };
    static const Known known[] = {
        {16, 0x7C00, 0x03E0, 0x001F, 0x0000, FormatX1R5G5B5},
        {16, 0x7C00, 0x03E0, 0x001F, 0x8000, FormatA1R5G5B5},
        {16, 0xF800, 0x07E0, 0x001F, 0x0000, FormatR5G6B5},
        {16, 0x0F00, 0x00F0, 0x000F, 0x0000, FormatX4R4G4B4},
        {16, 0x0F00, 0x00F0, 0x000F, 0xF000, FormatA4R4G4B4},
        {32, 0xFF0000, 0xFF00, 0xFF, 0x00000000, FormatX8R8G8B8},
        {32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000, FormatA8R8G8B8},
    };
    for (const Known& k : known)
    {
        if (k.bits == layout.bitCount && k.red == layout.masks[0] && k.green == layout.masks[1] &&
            k.blue == layout.masks[2] && k.alpha == layout.masks[3])
            return k.format;
    }
    return layout.masks[3] ? FormatA8R8G8B8 : FormatX8R8G8B8;
}

// Reads the info header at `at` and the masks that may follow it. On return
// *tableOffset is where a colour table would start and *tableEntries how
// many entries the header announces (before the file form's own rules).
DecodeStatus ReadInfoHeader(const uint8_t* data, size_t size, size_t at, const DecodeLimits& limits,
                            BitmapLayout* layout, size_t* tableOffset, uint64_t* tableEntries)
{
    if (!Fits(size, at, 4))
        return DecodeStatus::InvalidData;
    const uint32_t headerSize = Le32(data + at);
    if (!KnownHeaderSize(headerSize) || !Fits(size, at, headerSize))
        return DecodeStatus::InvalidData;
    const uint8_t* h = data + at;
    layout->headerSize = headerSize;

    int64_t width, height;
    uint32_t planes, colorsUsed = 0;
    if (headerSize == 12)
    {
        width = Le16(h + 4);
        height = Le16(h + 6);
        planes = Le16(h + 8);
        layout->bitCount = Le16(h + 10);
        layout->compression = BitmapRgb;
        if (layout->bitCount == 16 || layout->bitCount == 32)
            return DecodeStatus::InvalidData; // the core header knows 1, 4, 8 and 24 bits
    }
    else
    {
        width = (int32_t)Le32(h + 4);
        height = (int32_t)Le32(h + 8);
        planes = Le16(h + 12);
        layout->bitCount = Le16(h + 14);
        layout->compression = Le32(h + 16);
        colorsUsed = Le32(h + 32);
    }
    if (planes != 1 || !KnownBitCount(layout->bitCount))
        return DecodeStatus::InvalidData;
    layout->topDown = height < 0;
    if (height < 0)
        height = -height;
    if (width <= 0 || height <= 0 || !WithinLimits((uint64_t)width, (uint64_t)height, limits))
        return DecodeStatus::InvalidData;
    layout->width = (uint32_t)width;
    layout->height = (uint32_t)height;

    const uint32_t bits = layout->bitCount;
    const uint32_t compression = layout->compression;
    const bool masked = compression == BitmapBitfields || compression == BitmapAlphaBitfields;
    if ((compression == BitmapRle8 && bits != 8) || (compression == BitmapRle4 && bits != 4) ||
        (masked && bits != 16 && bits != 32) ||
        (compression != BitmapRgb && compression != BitmapRle8 && compression != BitmapRle4 &&
         !masked))
        return DecodeStatus::InvalidData;

    size_t offset = at + headerSize;
    if (masked)
    {
        const uint32_t count = compression == BitmapAlphaBitfields ? 4 : 3;
        if (headerSize == 40)
        {
            // The masks follow a 40-byte header as separate values.
            if (!Fits(size, offset, count * 4))
                return DecodeStatus::InvalidData;
            for (uint32_t i = 0; i < count; ++i)
                layout->masks[i] = Le32(data + offset + 4 * i);
            offset += count * 4;
        }
        else
        {
            // Longer headers carry them at byte 40 (alpha from 56 bytes on).
            for (uint32_t i = 0; i < 3; ++i)
                layout->masks[i] = Le32(h + 40 + 4 * i);
            if (headerSize >= 56)
                layout->masks[3] = Le32(h + 52);
        }
        for (uint32_t mask : layout->masks)
        {
            ChannelMask channel;
            if (!channel.Set(mask) || (bits == 16 && mask > 0xFFFF))
                return DecodeStatus::InvalidData;
        }
        if (!layout->masks[0] && !layout->masks[1] && !layout->masks[2] && !layout->masks[3])
            return DecodeStatus::InvalidData;
    }
    else if (bits == 16)
    {
        const uint32_t masks[4] = {0x7C00, 0x03E0, 0x001F, 0};
        memcpy(layout->masks, masks, sizeof(masks));
    }
    else if (bits == 32)
    {
        const uint32_t masks[4] = {0xFF0000, 0xFF00, 0xFF, 0};
        memcpy(layout->masks, masks, sizeof(masks));
    }

    *tableOffset = offset;
    if (bits <= 8)
    {
        const uint32_t most = 1u << bits;
        if (colorsUsed > most)
            return DecodeStatus::InvalidData;
        *tableEntries = colorsUsed ? colorsUsed : most;
    }
    else
        *tableEntries = colorsUsed; // an optional table that the pixels do not use
    return DecodeStatus::Ok;
}

DecodeStatus ReadPalette(const uint8_t* data, size_t size, size_t offset, uint32_t count,
                         BitmapLayout* layout)
{
    const uint32_t entrySize = layout->headerSize == 12 ? 3 : 4;
    if (count == 0 || !Fits(size, offset, (uint64_t)count * entrySize))
        return DecodeStatus::InvalidData;
    for (uint32_t i = 0; i < count; ++i)
    {
        const uint8_t* e = data + offset + (size_t)i * entrySize;
        layout->palette[i] = PackArgb(255, e[2], e[1], e[0]);
    }
    layout->paletteCount = count;
    return DecodeStatus::Ok;
}

DecodeStatus DecodeIndexedRow(const uint8_t* src, const BitmapLayout& layout, uint32_t* out)
{
    const uint32_t bits = layout.bitCount;
    const uint32_t perByte = 8 / bits;
    const uint32_t valueMask = (1u << bits) - 1;
    for (uint32_t x = 0; x < layout.width; ++x)
    {
        const uint32_t shift = 8 - bits * (x % perByte + 1);
        const uint32_t index = (src[x / perByte] >> shift) & valueMask;
        if (index >= layout.paletteCount)
            return DecodeStatus::InvalidData;
        out[x] = layout.palette[index];
    }
    return DecodeStatus::Ok;
}

void DecodeMaskedRow(const uint8_t* src, const BitmapLayout& layout, const ChannelMask channels[4],
                     uint32_t* out)
{
    const bool wide = layout.bitCount == 32;
    for (uint32_t x = 0; x < layout.width; ++x)
    {
        const uint32_t v = wide ? Le32(src + 4 * x) : Le16(src + 2 * x);
        out[x] = PackArgb(channels[3].Expand(v, 255), channels[0].Expand(v, 0),
                          channels[1].Expand(v, 0), channels[2].Expand(v, 0));
    }
}

uint64_t RowStride(const BitmapLayout& layout)
{
    return ((uint64_t)layout.width * layout.bitCount + 31) / 32 * 4;
}

// Whether the file holds every row; the last row may lack its padding.
bool RowsFit(size_t size, const BitmapLayout& layout)
{
    const uint64_t rowBytes = ((uint64_t)layout.width * layout.bitCount + 7) / 8;
    return Fits(size, layout.pixelOffset, RowStride(layout) * (layout.height - 1) + rowBytes);
}

DecodeStatus DecodeRows(const uint8_t* data, const BitmapLayout& layout, Image* image)
{
    const uint64_t stride = RowStride(layout);
    ChannelMask channels[4];
    for (int i = 0; i < 4; ++i)
        channels[i].Set(layout.masks[i]);
    const bool plain32 = layout.bitCount == 32 && layout.masks[0] == 0xFF0000 &&
                         layout.masks[1] == 0xFF00 && layout.masks[2] == 0xFF &&
                         (layout.masks[3] == 0 || layout.masks[3] == 0xFF000000);
    const uint32_t forcedAlpha = layout.masks[3] ? 0 : 0xFF000000u;

    for (uint32_t row = 0; row < layout.height; ++row)
    {
        const uint8_t* src = data + layout.pixelOffset + (size_t)(stride * row);
        uint32_t* out = image->Row(layout.topDown ? row : layout.height - 1 - row);
        switch (layout.bitCount)
        {
        case 24:
            for (uint32_t x = 0; x < layout.width; ++x, src += 3)
                out[x] = 0xFF000000u | (uint32_t)src[2] << 16 | (uint32_t)src[1] << 8 | src[0];
            break;
        case 32:
            if (plain32)
            {
                memcpy(out, src, (size_t)layout.width * 4);
                for (uint32_t x = 0; x < layout.width; ++x)
                    out[x] |= forcedAlpha;
                break;
            }
            DecodeMaskedRow(src, layout, channels, out);
            break;
        case 16:
            DecodeMaskedRow(src, layout, channels, out);
            break;
        default:
            if (DecodeIndexedRow(src, layout, out) != DecodeStatus::Ok)
                return DecodeStatus::InvalidData;
        }
    }
    return DecodeStatus::Ok;
}

DecodeStatus DecodePixels(const uint8_t* data, size_t size, const DecodeLimits& limits,
                          const BitmapLayout& layout, Image* image, ImageInfo* info)
{
    // Rows are checked against the file before the picture is allocated. An
    // RLE stream has no least size: two bytes may end a picture of any size.
    const bool rle = layout.compression == BitmapRle8 || layout.compression == BitmapRle4;
    if (!rle && !RowsFit(size, layout))
        return DecodeStatus::InvalidData;
    const DecodeStatus sized = AllocateImage(image, layout.width, layout.height, limits);
    if (sized != DecodeStatus::Ok)
        return sized;
    const DecodeStatus decoded =
        rle ? DecodeBitmapRle(data, size, layout, image) : DecodeRows(data, layout, image);
    if (decoded != DecodeStatus::Ok)
        return decoded;
    info->width = layout.width;
    info->height = layout.height;
    info->mipLevels = 1;
    if (layout.bitCount <= 8)
        info->format = FormatP8;
    else if (layout.bitCount == 24)
        info->format = FormatR8G8B8;
    else
        info->format = MaskedFormat(layout);
    return DecodeStatus::Ok;
}
} // namespace

bool RecogniseBmp(const uint8_t* data, size_t size)
{
    return size >= FileHeaderSize + 4 && data[0] == 'B' && data[1] == 'M' &&
           KnownHeaderSize(Le32(data + FileHeaderSize));
}

DecodeStatus DecodeBmp(const uint8_t* data, size_t size, const DecodeLimits& limits, Image* image,
                       ImageInfo* info)
{
    BitmapLayout layout;
    size_t tableOffset = 0;
    uint64_t tableEntries = 0;
    DecodeStatus status =
        ReadInfoHeader(data, size, FileHeaderSize, limits, &layout, &tableOffset, &tableEntries);
    if (status != DecodeStatus::Ok)
        return status;
    // The file header says where the rows start.
    layout.pixelOffset = Le32(data + 10);
    if (layout.pixelOffset < tableOffset || layout.pixelOffset >= size)
        return DecodeStatus::InvalidData;
    if (layout.bitCount <= 8)
    {
        // A core header has no count: the table fills the gap up to the rows.
        if (layout.headerSize == 12 && (layout.pixelOffset - tableOffset) / 3 < tableEntries)
            tableEntries = (layout.pixelOffset - tableOffset) / 3;
        status = ReadPalette(data, size, tableOffset, (uint32_t)tableEntries, &layout);
        if (status != DecodeStatus::Ok)
            return status;
    }
    info->fileFormat = FileBmp;
    return DecodePixels(data, size, limits, layout, image, info);
}

bool RecogniseDib(const uint8_t* data, size_t size)
{
    if (size < 16 || !KnownHeaderSize(Le32(data)))
        return false;
    const uint32_t planes = Le32(data) == 12 ? Le16(data + 8) : Le16(data + 12);
    const uint32_t bits = Le32(data) == 12 ? Le16(data + 10) : Le16(data + 14);
    return planes == 1 && KnownBitCount(bits);
}

DecodeStatus DecodeDib(const uint8_t* data, size_t size, const DecodeLimits& limits, Image* image,
                       ImageInfo* info)
{
    BitmapLayout layout;
    size_t tableOffset = 0;
    uint64_t tableEntries = 0;
    DecodeStatus status =
        ReadInfoHeader(data, size, 0, limits, &layout, &tableOffset, &tableEntries);
    if (status != DecodeStatus::Ok)
        return status;
    // Without a file header the rows follow the colour table directly.
    const uint32_t entrySize = layout.headerSize == 12 ? 3 : 4;
    if (!Fits(size, tableOffset, tableEntries * entrySize))
        return DecodeStatus::InvalidData;
    layout.pixelOffset = tableOffset + (size_t)(tableEntries * entrySize);
    if (layout.bitCount <= 8)
    {
        status = ReadPalette(data, size, tableOffset, (uint32_t)tableEntries, &layout);
        if (status != DecodeStatus::Ok)
            return status;
    }
    info->fileFormat = FileDib;
    return DecodePixels(data, size, limits, layout, image, info);
}
} // namespace d3dximage
