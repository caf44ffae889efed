// Truevision TGA: an 18-byte header, an image id, an optional colour map,
// then the texels, raw or run-length encoded (a packet byte: high bit set
// for a run of one repeated texel, else a literal series; low 7 bits + 1 =
// texels). True colour of 15, 16, 24 and 32 bits, grey of 8 bits (16 with
// alpha), colour-mapped with 8- or 16-bit indices; rows bottom-up unless the
// descriptor says top-down, columns right-to-left when it says so.
//
// A TGA 2.0 file ends in a footer that may point at an extension area whose
// attributes type says what the texels' attribute bits hold: 0 nothing, 1
// undefined data to ignore, 2 undefined data to keep, 3 alpha, 4 alpha
// premultiplied into the colour. Writers that leave junk in the fourth byte
// of 32-bit texels say so with 0 to 2 there; such a file is opaque, as other
// readers show it.
//
// The file has no magic number, so recognition checks every header field for
// a value that a TGA can have. Our own decoder rather than stb_image's:
// stb_image 2.27 reads a truncated file as zeros, maps a colour index outside
// the map to entry 0, takes the first-entry index of the map as a byte count
// to skip, and ignores the right-to-left flag; all four must be refused or
// honoured here.
#include "d3dx/image/ByteReader.h"
#include "d3dx/image/Decoders.h"

#include <string.h>

namespace d3dximage
{
namespace
{
const size_t HeaderSize = 18;
// The footer: extension area offset, developer area offset (4 bytes each),
// then the signature with its terminating zero.
const size_t FooterSize = 26;
const char FooterSignature[] = "TRUEVISION-XFILE.";
const size_t ExtensionSize = 495; // its first field, 16 bits
const size_t AttributesTypeAt = 494;

enum ImageType : uint8_t
{
    ColourMapped = 1,
    TrueColour = 2,
    Grey = 3,
    RunLength = 8, // added to the three above
};

struct TgaHeader
{
    uint32_t idLength, mapType, imageType;
    uint32_t mapFirst, mapLength, mapEntryBits;
    uint32_t width, height, pixelBits, descriptor;

    uint32_t BaseType() const { return imageType & ~(uint32_t)RunLength; }
    bool Compressed() const { return (imageType & RunLength) != 0; }
    uint32_t AlphaBits() const { return descriptor & 15; }
    bool RightToLeft() const { return (descriptor & 0x10) != 0; }
    bool TopDown() const { return (descriptor & 0x20) != 0; }
};

TgaHeader ReadHeader(const uint8_t* h)
{
    TgaHeader header;
    header.idLength = h[0];
    header.mapType = h[1];
    header.imageType = h[2];
    header.mapFirst = Le16(h + 3);
    header.mapLength = Le16(h + 5);
    header.mapEntryBits = h[7];
    header.width = Le16(h + 12);
    header.height = Le16(h + 14);
    header.pixelBits = h[16];
    header.descriptor = h[17];
    return header;
}

bool ValidEntryBits(uint32_t bits)
{
    return bits == 15 || bits == 16 || bits == 24 || bits == 32;
}

bool Plausible(const TgaHeader& h)
{
    if (h.mapType > 1 || (h.descriptor & 0xC0) != 0 || h.width == 0 || h.height == 0)
        return false;
    if (h.imageType != 1 && h.imageType != 2 && h.imageType != 3 && h.imageType != 9 &&
        h.imageType != 10 && h.imageType != 11)
        return false;
    if (h.mapType == 1 && (!ValidEntryBits(h.mapEntryBits) || h.mapLength == 0))
        return false;
    switch (h.BaseType())
    {
    case ColourMapped:
        return h.mapType == 1 && (h.pixelBits == 8 || h.pixelBits == 16);
    case TrueColour:
        return ValidEntryBits(h.pixelBits);
    default:
        return h.pixelBits == 8 || h.pixelBits == 16;
    }
}

// True when the file has a TGA 2.0 extension area whose attributes type
// says the attribute bits are not alpha. An extension area that does not
// fit before the footer or does not start with its own size is ignored.
bool AttributesAreNotAlpha(const uint8_t* data, size_t size)
{
    if (size < HeaderSize + FooterSize)
        return false;
    const uint8_t* footer = data + size - FooterSize;
    if (memcmp(footer + 8, FooterSignature, sizeof(FooterSignature)) != 0)
        return false;
    const uint32_t at = Le32(footer);
    if (at < HeaderSize || !Fits(size - FooterSize, at, ExtensionSize) ||
        Le16(data + at) != ExtensionSize)
        return false;
    return data[at + AttributesTypeAt] <= 2;
}

// One true-colour value of 15, 16, 24 or 32 bits as ARGB; `alpha` says
// whether its attribute bits are alpha.
uint32_t ColourTexel(const uint8_t* p, uint32_t bits, bool alpha)
{
    if (bits <= 16)
    {
        const uint32_t v = Le16(p);
        const uint32_t r = v >> 10 & 31, g = v >> 5 & 31, b = v & 31;
        const uint32_t a = alpha && bits == 16 && !(v & 0x8000) ? 0 : 255;
        return PackArgb(a, r << 3 | r >> 2, g << 3 | g >> 2, b << 3 | b >> 2);
    }
    return PackArgb(bits == 32 && alpha ? p[3] : 255, p[2], p[1], p[0]);
}

class TexelReader
{
  public:
    // `alpha`: whether the texels' attribute bits are alpha.
    TexelReader(const TgaHeader& header, const uint8_t* map, bool alpha)
        : header_(header), map_(map), alpha_(alpha)
    {
    }

    uint32_t Bytes() const { return (header_.pixelBits + 7) / 8; }

    // False for a colour index outside the map.
    bool Read(const uint8_t* p, uint32_t* argb) const
    {
        switch (header_.BaseType())
        {
        case ColourMapped:
        {
            const uint32_t index = header_.pixelBits == 8 ? p[0] : Le16(p);
            if (index < header_.mapFirst || index - header_.mapFirst >= header_.mapLength)
                return false;
            const uint32_t entryBytes = (header_.mapEntryBits + 7) / 8;
            *argb = ColourTexel(map_ + (index - header_.mapFirst) * entryBytes,
                                header_.mapEntryBits, alpha_);
            return true;
        }
        case TrueColour:
            *argb = ColourTexel(p, header_.pixelBits, alpha_);
            return true;
        default:
            *argb = PackArgb(header_.pixelBits == 16 && alpha_ ? p[1] : 255, p[0], p[0], p[0]);
            return true;
        }
    }

  private:
    const TgaHeader& header_;
    const uint8_t* map_;
    bool alpha_;
};

PixelFormat ReportedFormat(const TgaHeader& h, bool alpha)
{
    switch (h.BaseType())
    {
    case ColourMapped:
        return FormatP8;
    case TrueColour:
        if (h.pixelBits == 24)
            return FormatR8G8B8;
        if (h.pixelBits == 32)
            return alpha ? FormatA8R8G8B8 : FormatX8R8G8B8;
        return h.pixelBits == 16 && alpha ? FormatA1R5G5B5 : FormatX1R5G5B5;
    default:
        return h.pixelBits == 16 && alpha ? FormatA8L8 : FormatL8;
    }
}
} // namespace

bool RecogniseTga(const uint8_t* data, size_t size)
{
    return size >= HeaderSize && Plausible(ReadHeader(data));
}

DecodeStatus DecodeTga(const uint8_t* data, size_t size, const DecodeLimits& limits, Image* image,
                       ImageInfo* info)
{
    const TgaHeader header = ReadHeader(data);
    if (!WithinLimits(header.width, header.height, limits))
        return DecodeStatus::InvalidData;
    ByteCursor in(data, size, HeaderSize);
    const uint8_t* map = nullptr;
    if (!in.Skip(header.idLength))
        return DecodeStatus::InvalidData;
    if (header.mapType == 1)
    {
        map = in.Take((size_t)header.mapLength * ((header.mapEntryBits + 7) / 8));
        if (!map)
            return DecodeStatus::InvalidData;
    }
    // A 16-bit grey texel always carries its alpha byte; other texels carry
    // alpha when the descriptor counts alpha bits. Either way the extension
    // area may say the bits are not alpha.
    const bool alpha =
        (header.BaseType() == Grey || header.AlphaBits() > 0) && !AttributesAreNotAlpha(data, size);
    const TexelReader reader(header, map, alpha);
    const uint32_t bytes = reader.Bytes();
    const uint64_t count = (uint64_t)header.width * header.height;
    // Raw data must be all there; run-length data needs at least two bytes
    // per 128 texels. Both are checked before allocating.
    if (header.Compressed() ? in.Remaining() < (count + 127) / 128 * (1 + bytes)
                            : in.Remaining() < count * bytes)
        return DecodeStatus::InvalidData;
    const DecodeStatus sized = AllocateImage(image, header.width, header.height, limits);
    if (sized != DecodeStatus::Ok)
        return sized;

    // Texels in file order, placed by the orientation bits.
    const uint32_t width = header.width, height = header.height;
    uint64_t done = 0;
    auto place = [&](uint32_t argb)
    {
        const uint32_t column = (uint32_t)(done % width), line = (uint32_t)(done / width);
        const uint32_t x = header.RightToLeft() ? width - 1 - column : column;
        const uint32_t y = header.TopDown() ? line : height - 1 - line;
        image->Row(y)[x] = argb;
        ++done;
    };
    while (done < count)
    {
        uint32_t run = 1;
        bool repeat = false;
        if (header.Compressed())
        {
            const uint32_t packet = in.U8();
            run = (packet & 127) + 1;
            repeat = (packet & 128) != 0;
            if (in.Overrun() || run > count - done)
                return DecodeStatus::InvalidData;
        }
        const uint8_t* texels = in.Take((size_t)(repeat ? 1 : run) * bytes);
        if (!texels)
            return DecodeStatus::InvalidData;
        for (uint32_t i = 0; i < run; ++i)
        {
            uint32_t argb;
            if (!reader.Read(texels + (repeat ? 0 : (size_t)i * bytes), &argb))
                return DecodeStatus::InvalidData;
            place(argb);
        }
    }
    info->width = width;
    info->height = height;
    info->mipLevels = 1;
    info->format = ReportedFormat(header, alpha);
    info->fileFormat = FileTga;
    return DecodeStatus::Ok;
}
} // namespace d3dximage
