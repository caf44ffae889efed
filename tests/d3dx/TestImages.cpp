// Image file builders for the tests (see TestImages.h).
#include "tests/d3dx/TestImages.h"

#include <stdio.h>
#include <string.h>

#include <stb_image_write.h>

namespace testimages
{
Image Pattern(uint32_t width, uint32_t height, bool alpha)
{
    Image image;
    image.width = width;
    image.height = height;
    image.pixels.resize((size_t)width * height);
    for (uint32_t y = 0; y < height; ++y)
    {
        for (uint32_t x = 0; x < width; ++x)
        {
            const uint32_t a = alpha ? (x * 29 + y * 71 + 40) & 255 : 255;
            image.pixels[(size_t)y * width + x] =
                d3dximage::PackArgb(a, (x * 37 + y * 11) & 255, (x * 5 + y * 53 + 90) & 255,
                                    (255 - x * 13 - y * 7) & 255);
        }
    }
    return image;
}

Image FromTexels(uint32_t width, uint32_t height, const std::vector<uint32_t>& argb)
{
    Image image;
    image.width = width;
    image.height = height;
    image.pixels = argb;
    image.pixels.resize((size_t)width * height);
    return image;
}

void Put16(Bytes* out, uint32_t value)
{
    out->push_back((uint8_t)value);
    out->push_back((uint8_t)(value >> 8));
}

void Put32(Bytes* out, uint32_t value)
{
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

void PutBe32(Bytes* out, uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out->push_back((uint8_t)(value >> shift));
}

void Append(Bytes* out, const Bytes& more)
{
    out->insert(out->end(), more.begin(), more.end());
}

// --- bitmaps -----------------------------------------------------------------

Bytes BuildDib(const BitmapSpec& spec)
{
    Bytes out;
    Put32(&out, spec.headerSize);
    if (spec.headerSize == 12)
    {
        Put16(&out, (uint32_t)spec.width);
        Put16(&out, (uint32_t)spec.height);
        Put16(&out, spec.planes);
        Put16(&out, spec.bitCount);
    }
    else
    {
        Put32(&out, (uint32_t)spec.width);
        Put32(&out, (uint32_t)spec.height);
        Put16(&out, spec.planes);
        Put16(&out, spec.bitCount);
        Put32(&out, spec.compression);
        Put32(&out, (uint32_t)spec.pixels.size());
        Put32(&out, 2835); // 72 dpi
        Put32(&out, 2835);
        Put32(&out, spec.colorsUsed);
        Put32(&out, 0);
        if (spec.headerSize >= 52)
        {
            for (int i = 0; i < (spec.headerSize >= 56 ? 4 : 3); ++i)
                Put32(&out, spec.masks[i]);
        }
        while (out.size() < spec.headerSize)
            out.push_back(0); // colour space, end points, gamma, intent, profile
        if (spec.headerSize == 40 && (spec.compression == 3 || spec.compression == 6))
        {
            for (int i = 0; i < (spec.compression == 6 ? 4 : 3); ++i)
                Put32(&out, spec.masks[i]);
        }
    }
    for (uint32_t colour : spec.palette)
    {
        out.push_back((uint8_t)colour);
        out.push_back((uint8_t)(colour >> 8));
        out.push_back((uint8_t)(colour >> 16));
        if (spec.headerSize != 12)
            out.push_back(0);
    }
    Append(&out, spec.pixels);
    return out;
}

Bytes BuildBitmap(const BitmapSpec& spec)
{
    const Bytes dib = BuildDib(spec);
    const uint32_t offset = 14 + (uint32_t)(dib.size() - spec.pixels.size());
    Bytes out = {'B', 'M'};
    Put32(&out, 14 + (uint32_t)dib.size());
    Put32(&out, 0);
    Put32(&out, offset);
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
    const uint32_t top = mask >> shift;
    return ((value * top + 127) / 255) << shift;
}
} // namespace

Bytes BitmapRows(const Image& image, uint32_t bitCount, const uint32_t masks[4], bool topDown)
{
    const uint32_t stride = (image.width * bitCount + 31) / 32 * 4;
    Bytes out;
    for (uint32_t r = 0; r < image.height; ++r)
    {
        const uint32_t* row = image.Row(topDown ? r : image.height - 1 - r);
        const size_t start = out.size();
        for (uint32_t x = 0; x < image.width; ++x)
        {
            const uint32_t p = row[x];
            if (bitCount == 24)
            {
                out.push_back((uint8_t)p);
                out.push_back((uint8_t)(p >> 8));
                out.push_back((uint8_t)(p >> 16));
                continue;
            }
            const uint32_t v = PackChannel(p >> 16 & 255, masks[0]) |
                               PackChannel(p >> 8 & 255, masks[1]) |
                               PackChannel(p & 255, masks[2]) | PackChannel(p >> 24, masks[3]);
            if (bitCount == 16)
                Put16(&out, v);
            else
                Put32(&out, v);
        }
        out.resize(start + stride, 0);
    }
    return out;
}

Bytes BitmapIndexRows(const std::vector<uint8_t>& indices, uint32_t width, uint32_t height,
                      uint32_t bitCount, bool topDown)
{
    const uint32_t stride = (width * bitCount + 31) / 32 * 4;
    Bytes out;
    for (uint32_t r = 0; r < height; ++r)
    {
        const uint32_t y = topDown ? r : height - 1 - r;
        Bytes row(stride, 0);
        for (uint32_t x = 0; x < width; ++x)
        {
            const uint32_t bit = x * bitCount;
            row[bit / 8] |= (uint8_t)(indices[(size_t)y * width + x] << (8 - bitCount - bit % 8));
        }
        Append(&out, row);
    }
    return out;
}

Bytes Bitmap24(const Image& image)
{
    BitmapSpec spec;
    spec.width = (int32_t)image.width;
    spec.height = (int32_t)image.height;
    spec.bitCount = 24;
    spec.pixels = BitmapRows(image, 24, spec.masks, false);
    return BuildBitmap(spec);
}

// --- DDS ---------------------------------------------------------------------

Bytes BuildDds(const DdsSpec& spec)
{
    Bytes out = {'D', 'D', 'S', ' '};
    Put32(&out, 124);
    Put32(&out, 0x1007 | (spec.mipCount ? 0x20000 : 0)); // caps, height, width, format
    Put32(&out, spec.height);
    Put32(&out, spec.width);
    Put32(&out, 0);
    Put32(&out, 0);
    Put32(&out, spec.mipCount);
    for (int i = 0; i < 11; ++i)
        Put32(&out, 0);
    Put32(&out, 32);
    Put32(&out, spec.pixelFlags);
    Put32(&out, spec.fourCC);
    Put32(&out, spec.bits);
    for (uint32_t mask : spec.masks)
        Put32(&out, mask);
    Put32(&out, 0x1000 | (spec.mipCount > 1 ? 0x400008 : 0));
    for (int i = 0; i < 4; ++i)
        Put32(&out, 0);
    Append(&out, spec.data);
    return out;
}

// --- TGA ---------------------------------------------------------------------

Bytes BuildTga(const TgaSpec& spec)
{
    Bytes out = {(uint8_t)spec.id.size(), spec.mapType, spec.imageType};
    Put16(&out, spec.mapFirst);
    Put16(&out, spec.mapLength);
    out.push_back(spec.mapBits);
    Put16(&out, 0);
    Put16(&out, 0);
    Put16(&out, spec.width);
    Put16(&out, spec.height);
    out.push_back(spec.pixelBits);
    out.push_back(spec.descriptor);
    Append(&out, spec.id);
    Append(&out, spec.map);
    Append(&out, spec.data);
    return out;
}

// --- PNG ---------------------------------------------------------------------

namespace
{
uint32_t Crc(const uint8_t* data, size_t size)
{
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < size; ++i)
    {
        crc ^= data[i];
        for (int k = 0; k < 8; ++k)
            crc = crc & 1 ? 0xEDB88320u ^ (crc >> 1) : crc >> 1;
    }
    return crc ^ 0xFFFFFFFFu;
}

void Chunk(Bytes* out, const char* type, const Bytes& body)
{
    PutBe32(out, (uint32_t)body.size());
    const size_t start = out->size();
    out->insert(out->end(), type, type + 4);
    Append(out, body);
    PutBe32(out, Crc(out->data() + start, out->size() - start));
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
        Put16(&out, (uint32_t)n);
        Put16(&out, (uint32_t)(~n & 0xFFFF));
        out.insert(out.end(), raw.begin() + at, raw.begin() + at + n);
        at += n;
    } while (at < raw.size());
    uint32_t a = 1, b = 0;
    for (uint8_t byte : raw)
    {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    PutBe32(&out, b << 16 | a);
    return out;
}

uint32_t Channels(uint32_t colourType)
{
    static const uint32_t channels[7] = {1, 0, 3, 1, 2, 0, 4};
    return channels[colourType];
}

// The filtered lines (filter 0) of the texels at (x0 + i dx, y0 + j dy).
void AppendLines(const PngSpec& spec, uint32_t x0, uint32_t y0, uint32_t dx, uint32_t dy,
                 Bytes* raw)
{
    const uint32_t channels = Channels(spec.colourType);
    for (uint32_t y = y0; y < spec.height; y += dy)
    {
        if (x0 >= spec.width)
            return;
        raw->push_back(0);
        uint32_t bits = 0, pending = 0;
        for (uint32_t x = x0; x < spec.width; x += dx)
        {
            for (uint32_t c = 0; c < channels; ++c)
            {
                const uint32_t sample = spec.samples[((size_t)y * spec.width + x) * channels + c];
                if (spec.depth == 16)
                {
                    raw->push_back((uint8_t)(sample >> 8));
                    raw->push_back((uint8_t)sample);
                    continue;
                }
                pending = pending << spec.depth | sample;
                bits += spec.depth;
                if (bits == 8)
                {
                    raw->push_back((uint8_t)pending);
                    bits = pending = 0;
                }
            }
        }
        if (bits)
            raw->push_back((uint8_t)(pending << (8 - bits)));
    }
}
} // namespace

Bytes BuildPng(const PngSpec& spec)
{
    Bytes out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Bytes header;
    PutBe32(&header, spec.width);
    PutBe32(&header, spec.height);
    header.push_back((uint8_t)spec.depth);
    header.push_back((uint8_t)spec.colourType);
    header.push_back(0);
    header.push_back(0);
    header.push_back(spec.interlaced ? 1 : 0);
    Chunk(&out, "IHDR", header);
    if (!spec.palette.empty())
    {
        Bytes plte, trns;
        bool translucent = false;
        for (uint32_t colour : spec.palette)
        {
            plte.push_back((uint8_t)(colour >> 16));
            plte.push_back((uint8_t)(colour >> 8));
            plte.push_back((uint8_t)colour);
            trns.push_back((uint8_t)(colour >> 24));
            translucent |= colour >> 24 != 255;
        }
        Chunk(&out, "PLTE", plte);
        if (translucent)
            Chunk(&out, "tRNS", trns);
    }
    if (!spec.transparency.empty())
        Chunk(&out, "tRNS", spec.transparency);
    Bytes raw;
    if (!spec.interlaced)
        AppendLines(spec, 0, 0, 1, 1, &raw);
    else
    {
        static const uint32_t passes[7][4] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8},
                                              {2, 0, 4, 4}, {0, 2, 2, 4}, {1, 0, 2, 2},
                                              {0, 1, 1, 2}};
        for (const auto& p : passes)
            AppendLines(spec, p[0], p[1], p[2], p[3], &raw);
    }
    Chunk(&out, "IDAT", Stored(raw));
    Chunk(&out, "IEND", Bytes());
    return out;
}

// --- real compressors ----------------------------------------------------------

namespace
{
void Collect(void* context, void* data, int size)
{
    Bytes* out = (Bytes*)context;
    out->insert(out->end(), (uint8_t*)data, (uint8_t*)data + size);
}

Bytes RgbaBytes(const Image& image, int channels)
{
    Bytes rgba;
    for (uint32_t p : image.pixels)
    {
        rgba.push_back((uint8_t)(p >> 16));
        rgba.push_back((uint8_t)(p >> 8));
        rgba.push_back((uint8_t)p);
        if (channels == 4)
            rgba.push_back((uint8_t)(p >> 24));
    }
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
