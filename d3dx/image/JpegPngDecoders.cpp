// JPEG and PNG files. stb_image turns their compressed data into texels; this
// file decides what it is given: it walks the file's structure first (JPEG
// markers up to the end-of-image mark in JpegStructure.cpp, PNG chunks with
// their checksums up to IEND here), so a truncated or inconsistent file is
// refused rather than decoded as zeros (stray bytes between JPEG segments
// are left out of what stb_image sees), and it checks the size (also with
// stbi_info_from_memory) before anything is allocated. Palette PNGs are
// decoded with an identity palette so that every index can be checked
// against the file's own palette.
#include "d3dx/image/ByteReader.h"
#include "d3dx/image/Decoders.h"
#include "d3dx/image/JpegStructure.h"

#include <limits.h>
#include <string.h>

#include <stb_image.h>

namespace d3dximage
{
namespace
{
const uint8_t PngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

// The texels stb_image returns (RGBA bytes, 4 per texel) as ARGB values.
DecodeStatus DecodeWithStb(const uint8_t* data, size_t size, const DecodeLimits& limits,
                           Image* image, uint32_t* components)
{
    if (size > INT_MAX)
        return DecodeStatus::InvalidData;
    int width = 0, height = 0, channels = 0;
    if (!stbi_info_from_memory(data, (int)size, &width, &height, &channels) ||
        !WithinLimits((uint64_t)width, (uint64_t)height, limits))
        return DecodeStatus::InvalidData;
    const DecodeStatus sized = AllocateImage(image, (uint64_t)width, (uint64_t)height, limits);
    if (sized != DecodeStatus::Ok)
        return sized;
    int w = 0, h = 0;
    stbi_uc* rgba = stbi_load_from_memory(data, (int)size, &w, &h, &channels, 4);
    if (!rgba)
    {
        const char* reason = stbi_failure_reason();
        return reason && !strcmp(reason, "outofmem") ? DecodeStatus::OutOfMemory
                                                     : DecodeStatus::InvalidData;
    }
    if (w != width || h != height)
    {
        stbi_image_free(rgba);
        return DecodeStatus::InvalidData;
    }
    const stbi_uc* p = rgba;
    for (uint32_t& texel : image->pixels)
    {
        texel = PackArgb(p[3], p[0], p[1], p[2]);
        p += 4;
    }
    stbi_image_free(rgba);
    *components = (uint32_t)channels;
    return DecodeStatus::Ok;
}

// --- PNG --------------------------------------------------------------------

uint32_t Crc32(const uint8_t* data, size_t size)
{
    static uint32_t table[256];
    static bool ready = false;
    if (!ready)
    {
        for (uint32_t n = 0; n < 256; ++n)
        {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            table[n] = c;
        }
        ready = true;
    }
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < size; ++i)
        crc = table[(crc ^ data[i]) & 255] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

struct PngChunks
{
    uint32_t width = 0, height = 0, depth = 0, colourType = 0;
    size_t paletteAt = 0; // offset of the PLTE chunk's length field, 0 when absent
    uint32_t paletteCount = 0;
    const uint8_t* palette = nullptr; // RGB triples
    size_t transparencyAt = 0;        // offset of the tRNS chunk, 0 when absent
    uint32_t transparencyLength = 0;
    const uint8_t* transparency = nullptr;
};

bool ValidDepth(uint32_t colourType, uint32_t depth)
{
    switch (colourType)
    {
    case 0:
        return depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16;
    case 3:
        return depth == 1 || depth == 2 || depth == 4 || depth == 8;
    case 2:
    case 4:
    case 6:
        return depth == 8 || depth == 16;
    default:
        return false;
    }
}

// Walks the chunks from IHDR to IEND, checking every length and checksum.
DecodeStatus ReadPngChunks(const uint8_t* data, size_t size, const DecodeLimits& limits,
                           PngChunks* chunks)
{
    size_t at = sizeof(PngSignature);
    bool header = false, imageData = false;
    for (;;)
    {
        if (!Fits(size, at, 12))
            return DecodeStatus::InvalidData;
        const uint32_t length = Be32(data + at);
        const uint8_t* type = data + at + 4;
        const uint8_t* body = data + at + 8;
        if (length > 0x7FFFFFFFu || !Fits(size, at + 12, length) ||
            Crc32(type, (size_t)length + 4) != Be32(body + length))
            return DecodeStatus::InvalidData;
        if (!header && memcmp(type, "IHDR", 4) != 0)
            return DecodeStatus::InvalidData;
        if (!memcmp(type, "IHDR", 4))
        {
            if (header || length != 13)
                return DecodeStatus::InvalidData;
            chunks->width = Be32(body);
            chunks->height = Be32(body + 4);
            chunks->depth = body[8];
            chunks->colourType = body[9];
            if (!WithinLimits(chunks->width, chunks->height, limits) ||
                !ValidDepth(chunks->colourType, chunks->depth) || body[10] != 0 || body[11] != 0 ||
                body[12] > 1)
                return DecodeStatus::InvalidData;
            header = true;
        }
        else if (!memcmp(type, "PLTE", 4))
        {
            if (chunks->palette || imageData || length % 3 || length == 0 || length > 768)
                return DecodeStatus::InvalidData;
            chunks->paletteAt = at;
            chunks->paletteCount = length / 3;
            chunks->palette = body;
        }
        else if (!memcmp(type, "tRNS", 4))
        {
            // In a palette image tRNS follows PLTE.
            if (chunks->transparency || imageData || (chunks->colourType == 3 && !chunks->palette))
                return DecodeStatus::InvalidData;
            chunks->transparencyAt = at;
            chunks->transparencyLength = length;
            chunks->transparency = body;
        }
        else if (!memcmp(type, "IDAT", 4))
            imageData = true;
        else if (!memcmp(type, "IEND", 4))
        {
            if (!imageData || (chunks->colourType == 3 && !chunks->palette))
                return DecodeStatus::InvalidData;
            if (chunks->colourType == 3 && chunks->transparencyLength > chunks->paletteCount)
                return DecodeStatus::InvalidData;
            return DecodeStatus::Ok;
        }
        else if (!(type[0] & 0x20))
            return DecodeStatus::InvalidData; // an unknown critical chunk
        at += 12 + (size_t)length;
    }
}

void AppendChunk(std::vector<uint8_t>* out, const char* type, const uint8_t* body, uint32_t length)
{
    const size_t start = out->size();
    const uint8_t header[8] = {
        (uint8_t)(length >> 24), (uint8_t)(length >> 16), (uint8_t)(length >> 8), (uint8_t)length,
        (uint8_t)type[0],        (uint8_t)type[1],        (uint8_t)type[2],       (uint8_t)type[3]};
    out->insert(out->end(), header, header + 8);
    out->insert(out->end(), body, body + length);
    const uint32_t crc = Crc32(out->data() + start + 4, (size_t)length + 4);
    const uint8_t tail[4] = {(uint8_t)(crc >> 24), (uint8_t)(crc >> 16), (uint8_t)(crc >> 8),
                             (uint8_t)crc};
    out->insert(out->end(), tail, tail + 4);
}

// A copy of the file whose palette maps index i to red i (and drops tRNS),
// so that the decoded red channel is the index.
std::vector<uint8_t> WithIdentityPalette(const uint8_t* data, size_t size, const PngChunks& chunks)
{
    std::vector<uint8_t> copy;
    copy.reserve(size + 768);
    uint8_t identity[768] = {};
    for (uint32_t i = 0; i < 256; ++i)
        identity[3 * i] = (uint8_t)i;
    const size_t paletteEnd = chunks.paletteAt + 12 + (size_t)chunks.paletteCount * 3;
    copy.insert(copy.end(), data, data + chunks.paletteAt);
    AppendChunk(&copy, "PLTE", identity, sizeof(identity));
    size_t at = paletteEnd;
    if (chunks.transparency)
    {
        // tRNS follows PLTE; copy what lies between, skip tRNS itself.
        copy.insert(copy.end(), data + at, data + chunks.transparencyAt);
        at = chunks.transparencyAt + 12 + chunks.transparencyLength;
    }
    copy.insert(copy.end(), data + at, data + size);
    return copy;
}

DecodeStatus DecodePalettePng(const uint8_t* data, size_t size, const DecodeLimits& limits,
                              const PngChunks& chunks, Image* image)
{
    const std::vector<uint8_t> indexed = WithIdentityPalette(data, size, chunks);
    uint32_t components = 0;
    const DecodeStatus status =
        DecodeWithStb(indexed.data(), indexed.size(), limits, image, &components);
    if (status != DecodeStatus::Ok)
        return status;
    uint32_t colours[256];
    for (uint32_t i = 0; i < chunks.paletteCount; ++i)
    {
        const uint8_t* rgb = chunks.palette + 3 * i;
        const uint32_t alpha = i < chunks.transparencyLength ? chunks.transparency[i] : 255;
        colours[i] = PackArgb(alpha, rgb[0], rgb[1], rgb[2]);
    }
    for (uint32_t& texel : image->pixels)
    {
        const uint32_t index = texel >> 16 & 255;
        if (index >= chunks.paletteCount)
            return DecodeStatus::InvalidData;
        texel = colours[index];
    }
    return DecodeStatus::Ok;
}

PixelFormat PngFormat(const PngChunks& chunks)
{
    const bool keyed = chunks.transparency != nullptr;
    switch (chunks.colourType)
    {
    case 0:
        return keyed ? FormatA8L8 : FormatL8;
    case 2:
        return keyed ? FormatA8R8G8B8 : FormatX8R8G8B8;
    case 3:
        return FormatP8;
    case 4:
        return FormatA8L8;
    default:
        return FormatA8R8G8B8;
    }
}
} // namespace

bool RecogniseJpeg(const uint8_t* data, size_t size)
{
    return size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF;
}

DecodeStatus DecodeJpeg(const uint8_t* data, size_t size, const DecodeLimits& limits, Image* image,
                        ImageInfo* info)
{
    std::vector<ByteRange> stray;
    if (!CheckJpegStructure(data, size, limits, &stray))
        return DecodeStatus::InvalidData;
    // stb_image 2.27 skips stray bytes between segments only before the
    // frame header and refuses them after it: it is handed a copy without
    // them, which holds just the segments the walk has checked.
    std::vector<uint8_t> kept;
    if (!stray.empty())
    {
        kept.reserve(size);
        size_t from = 0;
        for (const ByteRange& range : stray)
        {
            kept.insert(kept.end(), data + from, data + range.at);
            from = range.at + range.count;
        }
        kept.insert(kept.end(), data + from, data + size);
        data = kept.data();
        size = kept.size();
    }
    uint32_t components = 0;
    const DecodeStatus status = DecodeWithStb(data, size, limits, image, &components);
    if (status != DecodeStatus::Ok)
        return status;
    info->width = image->width;
    info->height = image->height;
    info->mipLevels = 1;
    info->format = components == 1 ? FormatL8 : FormatX8R8G8B8;
    info->fileFormat = FileJpg;
    return DecodeStatus::Ok;
}

bool RecognisePng(const uint8_t* data, size_t size)
{
    return size >= sizeof(PngSignature) && !memcmp(data, PngSignature, sizeof(PngSignature));
}

DecodeStatus DecodePng(const uint8_t* data, size_t size, const DecodeLimits& limits, Image* image,
                       ImageInfo* info)
{
    PngChunks chunks;
    DecodeStatus status = ReadPngChunks(data, size, limits, &chunks);
    if (status != DecodeStatus::Ok)
        return status;
    uint32_t components = 0;
    status = chunks.colourType == 3 ? DecodePalettePng(data, size, limits, chunks, image)
                                    : DecodeWithStb(data, size, limits, image, &components);
    if (status != DecodeStatus::Ok)
        return status;
    info->width = chunks.width;
    info->height = chunks.height;
    info->mipLevels = 1;
    info->format = PngFormat(chunks);
    info->fileFormat = FilePng;
    return DecodeStatus::Ok;
}
} // namespace d3dximage
