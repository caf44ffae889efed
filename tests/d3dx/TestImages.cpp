// Image file builders for the tests (see TestImages.h).
#include "tests/d3dx/TestImages.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <initializer_list>

#include <stb_image_write.h>

namespace testimages
{
Image Pattern(uint32_t width, uint32_t height, bool alpha)
{
    std::vector<uint32_t> texels;
    for (uint32_t i = 0; i < width * height; ++i)
    {
        const uint32_t x = i % width, y = i / width;
        texels.push_back(d3dximage::PackArgb(alpha ? (x * 29 + y * 71 + 40) & 255 : 255,
                                             (x * 37 + y * 11) & 255, (x * 5 + y * 53 + 90) & 255,
                                             (255 - x * 13 - y * 7) & 255));
    }
    return FromTexels(width, height, texels);
}

Image FromTexels(uint32_t width, uint32_t height, const std::vector<uint32_t>& argb)
{
    Image image = {width, height, argb};
    image.pixels.resize((size_t)width * height);
    return image;
}

Bytes Hex(const char* hex)
{
    Bytes out;
    for (; hex[0] && hex[1]; hex += 2)
        out.push_back((uint8_t)strtoul(std::string(hex, 2).c_str(), nullptr, 16));
    return out;
}

void Put(Bytes* out, int size, std::initializer_list<uint32_t> values)
{
    const int count = size < 0 ? -size : size;
    for (uint32_t value : values)
    {
        for (int i = 0; i < count; ++i)
            out->push_back((uint8_t)(value >> 8 * (size < 0 ? count - 1 - i : i)));
    }
}

void Append(Bytes* out, const Bytes& more)
{
    out->insert(out->end(), more.begin(), more.end());
}

Bytes Text(const char* text, const Bytes& after)
{
    Bytes out(text, text + strlen(text));
    Append(&out, after);
    return out;
}

// --- bitmaps -----------------------------------------------------------------

Bytes BuildDib(const BitmapRecipe& recipe)
{
    Bytes out;
    Put(&out, 4, {recipe.headerSize});
    const uint32_t width = (uint32_t)recipe.width, height = (uint32_t)recipe.height;
    if (recipe.headerSize == 12)
        Put(&out, 2, {width, height, recipe.planes, recipe.bitCount});
    else
    {
        Put(&out, 4, {width, height});
        Put(&out, 2, {recipe.planes, recipe.bitCount});
        // Compression, size of the rows, 72 dpi both ways, colours used and important.
        Put(&out, 4,
            {recipe.compression, (uint32_t)recipe.pixels.size(), 2835, 2835, recipe.colorsUsed, 0});
        // Masks: inside headers of 52 bytes (56 with alpha) and more, after a
        // 40-byte header for compression 3 (three masks) and 6 (four).
        const uint32_t size = recipe.headerSize, compression = recipe.compression;
        int masks = size >= 56 ? 4 : size >= 52 ? 3 : 0;
        for (int i = 0; i < masks; ++i)
            Put(&out, 4, {recipe.masks[i]});
        out.resize(size, 0); // colour space, end points, gamma, intent, profile
        masks = size == 40 && compression == 3 ? 3 : size == 40 && compression == 6 ? 4 : 0;
        for (int i = 0; i < masks; ++i)
            Put(&out, 4, {recipe.masks[i]});
    }
    for (uint32_t colour : recipe.palette)
        Put(&out, recipe.headerSize == 12 ? 3 : 4, {colour & 0xFFFFFF}); // BGR(0)
    Append(&out, recipe.pixels);
    return out;
}

Bytes BuildBitmap(const BitmapRecipe& recipe)
{
    const Bytes dib = BuildDib(recipe);
    Bytes out = {'B', 'M'};
    Put(&out, 4,
        {14 + (uint32_t)dib.size(), 0, 14 + (uint32_t)(dib.size() - recipe.pixels.size())});
    Append(&out, dib);
    return out;
}

namespace
{
uint32_t PackChannel(uint32_t value, uint32_t mask)
{
    if (!mask)
        return 0;
    uint32_t shift = 0;
    while (!((mask >> shift) & 1))
        ++shift;
    return ((value * (mask >> shift) + 127) / 255) << shift;
}
} // namespace

Bytes BitmapRows(const Image& image, uint32_t bitCount, const uint32_t masks[4], bool topDown,
                 uint32_t align)
{
    const uint32_t stride = (image.width * bitCount / 8 + align - 1) / align * align;
    Bytes out;
    for (uint32_t r = 0; r < image.height; ++r)
    {
        const uint32_t* row = image.Row(topDown ? r : image.height - 1 - r);
        const size_t start = out.size();
        for (uint32_t x = 0; x < image.width; ++x)
        {
            const uint32_t p = row[x];
            Put(&out, (int)bitCount / 8,
                {bitCount == 24
                     ? p
                     : PackChannel(p >> 16 & 255, masks[0]) | PackChannel(p >> 8 & 255, masks[1]) |
                           PackChannel(p & 255, masks[2]) | PackChannel(p >> 24, masks[3])});
        }
        out.resize(start + stride, 0);
    }
    return out;
}

Bytes BitmapIndexRows(const std::vector<uint8_t>& indices, uint32_t width, uint32_t height,
                      uint32_t bitCount, bool topDown)
{
    const uint32_t stride = (width * bitCount + 31) / 32 * 4;
    Bytes out(stride * height, 0);
    for (uint32_t i = 0; i < width * height; ++i)
    {
        const uint32_t x = i % width, y = i / width, bit = x * bitCount;
        out[(topDown ? y : height - 1 - y) * stride + bit / 8] |=
            (uint8_t)(indices[i] << (8 - bitCount - bit % 8));
    }
    return out;
}

Bytes Bitmap24(const Image& image)
{
    return BuildBitmap(Bitmap(40, 24, (int32_t)image.width, (int32_t)image.height,
                              BitmapRows(image, 24, NoMasks, false)));
}

BitmapRecipe Bitmap(uint32_t headerSize, uint32_t bitCount, int32_t width, int32_t height,
                    Bytes pixels, std::vector<uint32_t> palette, uint32_t compression)
{
    const uint32_t colours = (uint32_t)palette.size();
    const uint32_t used =
        headerSize != 12 && bitCount <= 8 && colours < (1u << bitCount) ? colours : 0;
    return {headerSize, width, height, 1, bitCount, compression, used, {}, palette, pixels};
}

BitmapRecipe Masked(uint32_t headerSize, uint32_t bitCount, uint32_t compression, int32_t height,
                    const uint32_t masks[4], const Image& image)
{
    BitmapRecipe recipe = Bitmap(headerSize, bitCount, (int32_t)image.width, height,
                                 BitmapRows(image, bitCount, masks, height < 0), {}, compression);
    memcpy(recipe.masks, masks, sizeof(recipe.masks));
    return recipe;
}

// --- DDS and TGA ---------------------------------------------------------------

Bytes BuildDds(const DdsRecipe& recipe)
{
    Bytes out = Text("DDS ");
    // Size, flags (caps, height, width, pixel format, mip count), height,
    // width, pitch, depth, mip count, 11 reserved.
    Put(&out, 4,
        {124, 0x1007u | (recipe.mipCount ? 0x20000 : 0), recipe.height, recipe.width, 0, 0,
         recipe.mipCount});
    out.resize(out.size() + 44, 0);
    // The pixel format (size, flags, four-cc, bits, masks), caps (complex and
    // mipmap for a chain), 4 reserved.
    Put(&out, 4,
        {32, recipe.pixelFlags, recipe.fourCC, recipe.bits, recipe.masks[0], recipe.masks[1],
         recipe.masks[2], recipe.masks[3], 0x1000u | (recipe.mipCount > 1 ? 0x400008 : 0), 0, 0, 0,
         0});
    Append(&out, recipe.data);
    return out;
}

DdsRecipe Dds(uint32_t width, uint32_t height, uint32_t pixelFlags, uint32_t bits,
              const uint32_t masks[4], Bytes data, uint32_t mipCount)
{
    DdsRecipe recipe = {width, height, pixelFlags, 0, bits, {}, mipCount, std::move(data)};
    memcpy(recipe.masks, masks, sizeof(recipe.masks));
    return recipe;
}

DdsRecipe DdsBlocks(uint32_t width, uint32_t height, const char* fourCC, Bytes data,
                    uint32_t mipCount)
{
    DdsRecipe recipe = Dds(width, height, 0x4, 0, NoMasks, std::move(data), mipCount);
    memcpy(&recipe.fourCC, fourCC, 4);
    return recipe;
}

Bytes BuildTga(const TgaRecipe& recipe)
{
    Bytes out = {(uint8_t)recipe.id.size(), recipe.mapType, recipe.imageType};
    Put(&out, 2, {recipe.mapFirst, recipe.mapLength});
    out.push_back(recipe.mapBits);
    Put(&out, 2, {0, 0, recipe.width, recipe.height}); // origin, size
    out.insert(out.end(), {recipe.pixelBits, recipe.descriptor});
    Append(&out, recipe.id);
    Append(&out, recipe.map);
    Append(&out, recipe.data);
    if (recipe.attributesType >= 0)
    {
        const uint32_t extension = (uint32_t)out.size();
        Put(&out, 2, {495}); // its size; author, comments, dates and the rest stay zero
        out.resize(extension + 495, 0);
        out.back() = (uint8_t)recipe.attributesType;
        Put(&out, 4, {extension, 0}); // the footer: no developer area
        Append(&out, Text("TRUEVISION-XFILE.", {0}));
    }
    return out;
}

TgaRecipe Tga(uint8_t imageType, uint16_t width, uint16_t height, uint8_t pixelBits,
              uint8_t descriptor, Bytes data)
{
    return {imageType,       0, 0, 0, 0, width, height, pixelBits, descriptor, {}, {},
            std::move(data), -1};
}

// --- PNG ---------------------------------------------------------------------

PngRecipe Png(uint32_t width, uint32_t height, uint32_t depth, uint32_t colourType,
              std::vector<uint16_t> samples, std::vector<uint32_t> palette, Bytes transparency,
              bool interlaced)
{
    return {width, height, depth, colourType, interlaced, palette, transparency, samples};
}

uint32_t PngCrc(const uint8_t* data, size_t size)
{
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < size * 8; ++i)
    {
        if (i % 8 == 0)
            crc ^= data[i / 8];
        crc = crc & 1 ? 0xEDB88320u ^ (crc >> 1) : crc >> 1;
    }
    return crc ^ 0xFFFFFFFFu;
}

namespace
{
void Chunk(Bytes* out, const char* type, const Bytes& body)
{
    Put(out, -4, {(uint32_t)body.size()});
    const size_t start = out->size();
    Append(out, Text(type, body));
    Put(out, -4, {PngCrc(out->data() + start, out->size() - start)});
}

// zlib stream of stored blocks.
Bytes Stored(const Bytes& raw)
{
    Bytes out = {0x78, 0x01};
    size_t at = 0;
    do
    {
        const size_t n = raw.size() - at < 65535 ? raw.size() - at : 65535;
        out.push_back(at + n == raw.size() ? 1 : 0);
        Put(&out, 2, {(uint32_t)n, (uint32_t)(~n & 0xFFFF)});
        out.insert(out.end(), raw.begin() + at, raw.begin() + at + n);
        at += n;
    } while (at < raw.size());
    uint32_t a = 1, b = 0;
    for (uint8_t byte : raw)
    {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    Put(&out, -4, {b << 16 | a});
    return out;
}

// The filtered lines (filter 0) of the texels at (x0 + i dx, y0 + j dy).
void AppendLines(const PngRecipe& recipe, uint32_t x0, uint32_t y0, uint32_t dx, uint32_t dy,
                 Bytes* raw)
{
    static const uint32_t channelsOf[7] = {1, 0, 3, 1, 2, 0, 4};
    const uint32_t channels = channelsOf[recipe.colourType], depth = recipe.depth;
    for (uint32_t y = y0; y < recipe.height && x0 < recipe.width; y += dy)
    {
        raw->push_back(0);
        uint32_t bits = 0, pending = 0;
        for (uint32_t x = x0; x < recipe.width; x += dx)
        {
            for (uint32_t c = 0; c < channels; ++c)
            {
                pending = pending << depth |
                          recipe.samples[((size_t)y * recipe.width + x) * channels + c];
                bits += depth;
                if (bits % 8 == 0)
                {
                    Put(raw, -(int)bits / 8, {pending});
                    bits = pending = 0;
                }
            }
        }
        if (bits)
            raw->push_back((uint8_t)(pending << (8 - bits)));
    }
}
} // namespace

Bytes BuildPng(const PngRecipe& recipe)
{
    Bytes out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Bytes header;
    Put(&header, -4, {recipe.width, recipe.height});
    header.insert(header.end(), {(uint8_t)recipe.depth, (uint8_t)recipe.colourType, 0, 0,
                                 (uint8_t)recipe.interlaced});
    Chunk(&out, "IHDR", header);
    if (!recipe.palette.empty())
    {
        Bytes plte, trns;
        bool translucent = false;
        for (uint32_t colour : recipe.palette)
        {
            Put(&plte, -3, {colour});
            trns.push_back((uint8_t)(colour >> 24));
            translucent |= colour >> 24 != 255;
        }
        Chunk(&out, "PLTE", plte);
        if (translucent)
            Chunk(&out, "tRNS", trns);
    }
    if (!recipe.transparency.empty())
        Chunk(&out, "tRNS", recipe.transparency);
    Bytes raw;
    // Adam7: the passes' first texel and step, across and down.
    static const uint32_t passes[7][4] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                                          {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
    static const uint32_t whole[1][4] = {{0, 0, 1, 1}};
    const uint32_t(*pass)[4] = recipe.interlaced ? passes : whole;
    for (int i = 0; i < (recipe.interlaced ? 7 : 1); ++i)
        AppendLines(recipe, pass[i][0], pass[i][1], pass[i][2], pass[i][3], &raw);
    Chunk(&out, "IDAT", Stored(raw));
    Chunk(&out, "IEND", Bytes());
    return out;
}

// --- real compressors ----------------------------------------------------------

namespace
{
void Collect(void* context, void* data, int size)
{
    Append((Bytes*)context, Bytes((uint8_t*)data, (uint8_t*)data + size));
}

Bytes RgbaBytes(const Image& image, int channels)
{
    Bytes rgba;
    for (uint32_t p : image.pixels)
        Put(&rgba, -channels, {channels == 4 ? p << 8 | p >> 24 : p});
    return rgba;
}
} // namespace

Bytes EncodePng(const Image& image, int channels)
{
    const Bytes rgba = RgbaBytes(image, channels);
    Bytes out;
    stbi_write_png_to_func(Collect, &out, (int)image.width, (int)image.height, channels,
                           rgba.data(), (int)image.width * channels);
    return out;
}

Bytes EncodeJpeg(const Image& image, int quality)
{
    const Bytes rgb = RgbaBytes(image, 3);
    Bytes out;
    stbi_write_jpg_to_func(Collect, &out, (int)image.width, (int)image.height, 3, rgb.data(),
                           quality);
    return out;
}

bool WriteFileBytes(const std::string& path, const Bytes& bytes)
{
    FILE* file = fopen(path.c_str(), "wb");
    if (!file)
        return false;
    const bool ok = fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return fclose(file) == 0 && ok;
}
} // namespace testimages
