// Files that must be refused: every sample cut at every length, headers that
// lie, sizes over the limit, colour indices outside their table, and bytes
// that no decoder knows. Each file is decoded from a buffer of exactly its
// size, so AddressSanitizer sees any read past its end.
#include <gtest/gtest.h>

#include <string.h>

#include <memory>

#include "d3dx/image/DecoderChain.h"
#include "tests/d3dx/SampleFiles.h"

using namespace testimages;
using namespace d3dximage;

namespace
{
DecodeStatus DecodeExactly(const uint8_t* data, size_t size,
                           const DecodeLimits& limits = DecodeLimits())
{
    std::unique_ptr<uint8_t[]> copy(new uint8_t[size ? size : 1]);
    if (size)
        memcpy(copy.get(), data, size);
    Image image;
    ImageInfo info;
    const DecodeStatus status = DecodeImageFile(copy.get(), size, limits, &image, &info);
    if (status != DecodeStatus::Ok)
    {
        EXPECT_TRUE(image.pixels.empty());
        EXPECT_EQ(info.width, 0u);
    }
    return status;
}

DecodeStatus DecodeExactly(const Bytes& file, const DecodeLimits& limits = DecodeLimits())
{
    return DecodeExactly(file.data(), file.size(), limits);
}

// Writes `count` bytes of `value` at `at`, little- or big-endian.
void SetBytes(Bytes* file, size_t at, uint32_t value, size_t count, bool bigEndian)
{
    if (at + count > file->size())
    {
        ADD_FAILURE() << "edit past the end of a sample";
        return;
    }
    for (size_t i = 0; i < count; ++i)
    {
        const size_t shift = 8 * (bigEndian ? count - 1 - i : i);
        file->data()[at + i] = (uint8_t)(value >> shift);
    }
}

void Set32(Bytes* file, size_t at, uint32_t value)
{
    SetBytes(file, at, value, 4, false);
}

void Set16(Bytes* file, size_t at, uint32_t value)
{
    SetBytes(file, at, value, 2, false);
}

void SetBe32(Bytes* file, size_t at, uint32_t value)
{
    SetBytes(file, at, value, 4, true);
}

Bytes Sample(const char* name)
{
    for (const SampleFile& sample : SampleFiles())
    {
        if (sample.name == name)
            return sample.bytes;
    }
    ADD_FAILURE() << "no sample " << name;
    return Bytes();
}

// PNG: the offset of a chunk's body, found by type.
size_t PngChunk(const Bytes& file, const char* type)
{
    for (size_t at = 8; at + 8 <= file.size();)
    {
        const uint32_t length =
            (uint32_t)file[at] << 24 | file[at + 1] << 16 | file[at + 2] << 8 | file[at + 3];
        if (!memcmp(&file[at + 4], type, 4))
            return at + 8;
        at += 12 + length;
    }
    return 0;
}

// Recomputes a PNG chunk's checksum after its body was changed.
void FixPngCrc(Bytes* file, size_t body)
{
    const uint32_t length = (uint32_t)(*file)[body - 8] << 24 | (*file)[body - 7] << 16 |
                            (*file)[body - 6] << 8 | (*file)[body - 5];
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = body - 4; i < body + length; ++i)
    {
        crc ^= (*file)[i];
        for (int k = 0; k < 8; ++k)
            crc = crc & 1 ? 0xEDB88320u ^ (crc >> 1) : crc >> 1;
    }
    SetBe32(file, body + length, crc ^ 0xFFFFFFFFu);
}
} // namespace

TEST(BadFiles, EverySampleCutAtEveryLengthIsRefused)
{
    for (const SampleFile& sample : SampleFiles())
    {
        ASSERT_EQ(DecodeExactly(sample.bytes), DecodeStatus::Ok) << sample.name;
        for (size_t length = 0; length < sample.bytes.size(); ++length)
        {
            const DecodeStatus status = DecodeExactly(sample.bytes.data(), length);
            if (sample.text && status == DecodeStatus::Ok)
                continue; // "... 25" is as valid as "... 255"
            EXPECT_NE(status, DecodeStatus::Ok) << sample.name << " cut to " << length;
        }
    }
}

TEST(BadFiles, HeadersThatLieAreRefused)
{
    const Bytes bmp = Sample("rgb24.bmp");     // 4 x 3, 24 bits, info header at 14
    const Bytes bmp8 = Sample("indexed8.bmp"); // 8 x 2, 4 colours
    const Bytes rle8 = Sample("rle8.bmp");
    const Bytes bmp16 = Sample("rgb565.bmp");
    const Bytes dds = Sample("argb.dds");
    const Bytes dxt = Sample("dxt1.dds");
    const Bytes tga = Sample("rgb.tga");
    const Bytes mapped = Sample("mapped-rle.tga");
    const Bytes png = Sample("palette.png");
    const Bytes jpeg = Sample("photo.jpg");
    const size_t rleData = 14 + 40 + 16;

    struct Lie
    {
        const char* what;
        Bytes file;
    };
    std::vector<Lie> lies;
    auto lie = [&](const char* what, Bytes file, void (*edit)(Bytes*))
    {
        edit(&file);
        lies.push_back({what, file});
    };
    lie("bmp rows start past the end", bmp, [](Bytes* f) { Set32(f, 10, 5000); });
    lie("bmp rows start inside the header", bmp, [](Bytes* f) { Set32(f, 10, 20); });
    lie("bmp header of 41 bytes", bmp, [](Bytes* f) { Set32(f, 14, 41); });
    lie("bmp two planes", bmp, [](Bytes* f) { Set16(f, 26, 2); });
    lie("bmp 7 bits", bmp, [](Bytes* f) { Set16(f, 28, 7); });
    lie("bmp no bits", bmp, [](Bytes* f) { Set16(f, 28, 0); });
    lie("bmp RLE8 on 24 bits", bmp, [](Bytes* f) { Set32(f, 30, 1); });
    lie("bmp embedded JPEG", bmp, [](Bytes* f) { Set32(f, 30, 4); });
    lie("bmp width 0", bmp, [](Bytes* f) { Set32(f, 18, 0); });
    lie("bmp negative width", bmp, [](Bytes* f) { Set32(f, 18, (uint32_t)-4); });
    lie("bmp height 0", bmp, [](Bytes* f) { Set32(f, 22, 0); });
    lie("bmp height -2^31", bmp, [](Bytes* f) { Set32(f, 22, 0x80000000u); });
    lie("bmp more rows than data", bmp, [](Bytes* f) { Set32(f, 22, 4); });
    lie("bmp wider than its data", bmp, [](Bytes* f) { Set32(f, 18, 5); });
    lie("bmp 300 colours of 8 bits", bmp8, [](Bytes* f) { Set32(f, 46, 300); });
    lie("bmp split green mask", bmp16, [](Bytes* f) { Set32(f, 58, 0x0701); });
    lie("bmp 16-bit mask over 16 bits", bmp16, [](Bytes* f) { Set32(f, 54, 0x1F800); });
    lie("bmp all masks zero", bmp16,
        [](Bytes* f) { Set32(f, 54, 0), Set32(f, 58, 0), Set32(f, 62, 0); });
    lie("RLE8 run past the line", rle8, [](Bytes* f) { (*f)[rleData] = 7; });
    lie("RLE8 absolute run past the line", rle8, [](Bytes* f) { (*f)[rleData + 3] = 4; });
    lie("RLE8 jump below the picture", rle8, [](Bytes* f) { (*f)[rleData + 13] = 3; });
    lie("RLE8 jump past the line", rle8, [](Bytes* f) { (*f)[rleData + 12] = 9; });
    lie("dds description of 100 bytes", dds, [](Bytes* f) { Set32(f, 4, 100); });
    lie("dds pixel format of 30 bytes", dds, [](Bytes* f) { Set32(f, 76, 30); });
    lie("dds width 0", dds, [](Bytes* f) { Set32(f, 16, 0); });
    lie("dds unknown masks", dds, [](Bytes* f) { Set32(f, 92, 0xF0F0); });
    lie("dds unknown four-cc", dxt, [](Bytes* f) { Set32(f, 84, 0x31555555); });
    lie("dds more levels than a chain", dxt, [](Bytes* f) { Set32(f, 28, 5); });
    lie("dds taller than its data", dxt, [](Bytes* f) { Set32(f, 12, 8); });
    lie("ppm largest 0", Bytes{'P', '5', ' ', '1', ' ', '1', ' ', '0', '\n', 0}, [](Bytes*) {});
    lie("ppm largest 70000",
        Bytes{'P', '5', ' ', '1', ' ', '1', ' ', '7', '0', '0', '0', '0', '\n', 0, 0},
        [](Bytes*) {});
    lie("ppm sample over the largest", Bytes{'P', '5', ' ', '2', ' ', '1', ' ', '9', '\n', 3, 10},
        [](Bytes*) {});
    lie("ppm text sample over the largest",
        Bytes{'P', '2', ' ', '1', ' ', '1', ' ', '9', ' ', '1', '0'}, [](Bytes*) {});
    lie("ppm no space before the data", Bytes{'P', '5', ' ', '1', ' ', '1', ' ', '9', 3},
        [](Bytes*) {});
    lie("tga run past the last texel", tga,
        [](Bytes* f)
        {
            (*f)[2] = 10;
            f->resize(18);
            Append(f, {0x86, 1, 2, 3});
        });
    lie("tga alpha of 33 bits", tga, [](Bytes* f) { (*f)[16] = 33; });
    lie("tga map entries past the end", mapped, [](Bytes* f) { Set16(f, 5, 200); });
    lie("png bad checksum", png, [](Bytes* f) { (*f)[PngChunk(*f, "IHDR") + 13] ^= 1; });
    lie("png depth 3", png,
        [](Bytes* f)
        {
            (*f)[PngChunk(*f, "IHDR") + 8] = 3;
            FixPngCrc(f, PngChunk(*f, "IHDR"));
        });
    lie("png palette of 16 bits", png,
        [](Bytes* f)
        {
            (*f)[PngChunk(*f, "IHDR") + 8] = 16;
            FixPngCrc(f, PngChunk(*f, "IHDR"));
        });
    lie("png width 0", png,
        [](Bytes* f)
        {
            SetBe32(f, PngChunk(*f, "IHDR"), 0);
            FixPngCrc(f, PngChunk(*f, "IHDR"));
        });
    lie("png without its palette", png,
        [](Bytes* f)
        {
            const size_t body = PngChunk(*f, "PLTE");
            memcpy(&(*f)[body - 4], "zzTE", 4); // an ancillary chunk now: ignored
            FixPngCrc(f, body);
        });
    lie("png transparency past the palette", png,
        [](Bytes* f)
        {
            const size_t body = PngChunk(*f, "PLTE");
            SetBe32(f, body - 8, 6); // two palette entries, three alphas
            f->erase(f->begin() + (long)body + 6, f->begin() + (long)body + 9);
            FixPngCrc(f, body);
        });
    lie("png unknown critical chunk", png,
        [](Bytes* f)
        {
            const size_t body = PngChunk(*f, "tRNS");
            memcpy(&(*f)[body - 4], "XRNS", 4);
            FixPngCrc(f, body);
        });
    lie("png interlace method 2", png,
        [](Bytes* f)
        {
            (*f)[PngChunk(*f, "IHDR") + 12] = 2;
            FixPngCrc(f, PngChunk(*f, "IHDR"));
        });
    lie("jpeg height 0", jpeg,
        [](Bytes* f)
        {
            for (size_t i = 2; i + 4 < f->size(); ++i)
            {
                if ((*f)[i] == 0xFF && ((*f)[i + 1] & 0xFC) == 0xC0)
                {
                    (*f)[i + 5] = 0;
                    (*f)[i + 6] = 0;
                    return;
                }
            }
        });
    lie("jpeg lossless frame", jpeg,
        [](Bytes* f)
        {
            for (size_t i = 2; i + 4 < f->size(); ++i)
            {
                if ((*f)[i] == 0xFF && ((*f)[i + 1] & 0xFC) == 0xC0)
                {
                    (*f)[i + 1] = 0xC3;
                    return;
                }
            }
        });
    lie("jpeg without its end mark", jpeg, [](Bytes* f) { f->back() = 0x00; });
    lie("jpeg scan naming an undefined table", jpeg,
        [](Bytes* f)
        {
            for (size_t i = 2; i + 6 < f->size(); ++i)
            {
                if ((*f)[i] == 0xFF && (*f)[i + 1] == 0xDA)
                {
                    (*f)[i + 6] = 0x33; // the first component's tables: slot 3, never defined
                    return;
                }
            }
        });
    lie("jpeg Huffman table of 257 codes", jpeg,
        [](Bytes* f)
        {
            for (size_t i = 2; i + 21 < f->size(); ++i)
            {
                if ((*f)[i] == 0xFF && (*f)[i + 1] == 0xC4)
                {
                    for (size_t bits = 0; bits < 16; ++bits)
                        (*f)[i + 5 + bits] = 0;
                    (*f)[i + 5 + 8] = 255; // 9-bit codes
                    (*f)[i + 5 + 9] = 2;   // 10-bit codes
                    return;
                }
            }
        });

    for (const Lie& l : lies)
        EXPECT_NE(DecodeExactly(l.file), DecodeStatus::Ok) << l.what;
}

TEST(BadFiles, SidesOver16384AreRefusedBeforeAllocating)
{
    // A grey DDS of 16384 x 1 decodes; 16385 x 1 (with its data) does not.
    DdsSpec wide;
    wide.width = 16384;
    wide.height = 1;
    wide.pixelFlags = 0x20000;
    wide.bits = 8;
    wide.masks[0] = 0xFF;
    wide.data = Bytes(16385, 7);
    EXPECT_EQ(DecodeExactly(BuildDds(wide)), DecodeStatus::Ok);
    wide.width = 16385;
    EXPECT_EQ(DecodeExactly(BuildDds(wide)), DecodeStatus::InvalidData);

    // Headers claiming huge sizes over a few bytes of data: every decoder
    // refuses them from the header alone (under a limit of 64 texels, any
    // allocation of the claimed size would be refused by the limit too).
    DecodeLimits tight;
    tight.maxPixels = 64;
    BitmapSpec bmp;
    bmp.width = 100000;
    bmp.height = 1;
    bmp.pixels = Bytes(12, 0);
    TgaSpec tga;
    tga.width = 60000;
    tga.height = 60000;
    tga.data = Bytes(12, 0);
    PngSpec png;
    png.width = 9;
    png.height = 9;
    png.colourType = 0;
    png.samples = std::vector<uint16_t>(81, 0);
    DdsSpec dds = wide;
    dds.width = dds.height = 9;
    dds.data = Bytes(81, 0);
    Bytes p5 = {'P', '5', ' ', '9', ' ', '9', ' ', '2', '5', '5', '\n'};
    Append(&p5, Bytes(81, 0));
    const Bytes nine = EncodeJpeg(Pattern(9, 9, false), 50);
    const struct
    {
        const char* what;
        Bytes file;
        DecodeLimits limits;
    } huge[] = {
        {"bmp", BuildBitmap(bmp), DecodeLimits()},
        {"dib", BuildDib(bmp), DecodeLimits()},
        {"tga", BuildTga(tga), DecodeLimits()},
        {"ppm", Bytes{'P', '6', ' ', '9', '9', '9', '9', '9', ' ', '1', ' ', '2', '5', '5', '\n'},
         DecodeLimits()},
        {"png over the texel limit", BuildPng(png), tight},
        {"dds over the texel limit", BuildDds(dds), tight},
        {"ppm over the texel limit", p5, tight},
        {"jpeg over the texel limit", nine, tight},
    };
    for (const auto& h : huge)
        EXPECT_EQ(DecodeExactly(h.file, h.limits), DecodeStatus::InvalidData) << h.what;
}

TEST(BadFiles, ColourIndicesOutsideTheirTableAreRefused)
{
    // An 8-bit bitmap of 4 colours with index 4 in its last texel.
    Bytes bmp8 = Sample("indexed8.bmp");
    bmp8.back() = 4; // the top row's last texel (bottom-up rows)
    // 1-bit with a table of one colour, index 1 used.
    BitmapSpec one;
    one.width = 8;
    one.height = 1;
    one.bitCount = 1;
    one.colorsUsed = 1;
    one.palette = {0xFFFFFFFF};
    one.pixels = {0x01, 0, 0, 0};
    BitmapSpec four = one;
    four.bitCount = 4;
    four.colorsUsed = 3;
    four.palette = {0xFF000000, 0xFF111111, 0xFF222222};
    four.width = 2;
    four.pixels = {0x23, 0, 0, 0};
    Bytes rle8 = Sample("rle8.bmp");
    rle8[14 + 40 + 16 + 1] = 4; // the first run's index
    Bytes rle4 = Sample("rle4.bmp");
    rle4[14 + 40 + 16 + 1] = 0x14;
    Bytes tga = Sample("mapped-rle.tga");
    tga[tga.size() - 1] = 4; // past entries 1..3
    Bytes tgaBelow = Sample("mapped-rle.tga");
    tgaBelow[tgaBelow.size() - 1] = 0; // below the first entry
    PngSpec png;
    png.width = 3;
    png.height = 1;
    png.depth = 8;
    png.colourType = 3;
    png.palette = {0xFF000000, 0xFFFFFFFF};
    png.samples = {0, 1, 2};

    const struct
    {
        const char* what;
        Bytes file;
    } files[] = {
        {"bmp 8 bits", bmp8},
        {"bmp 1 bit", BuildBitmap(one)},
        {"bmp 4 bits", BuildBitmap(four)},
        {"dib 4 bits", BuildDib(four)},
        {"RLE8", rle8},
        {"RLE4", rle4},
        {"tga past the map", tga},
        {"tga below the map", tgaBelow},
        {"png", BuildPng(png)},
    };
    for (const auto& f : files)
        EXPECT_EQ(DecodeExactly(f.file), DecodeStatus::InvalidData) << f.what;
}

TEST(BadFiles, BytesNoDecoderKnowsAreNotRecognised)
{
    const char* texts[] = {"",   "hello", "GIF89a\x01\x00\x01\x00", "P4\n1 1\n\x80", "P7 ",
                           "BM", "DDS "};
    for (const char* text : texts)
    {
        const Bytes file(text, text + strlen(text));
        EXPECT_EQ(DecodeExactly(file), DecodeStatus::NotRecognised) << text;
    }
    // A bitmap whose first two bytes are not "BM" is not taken for one.
    Bytes bmp = Sample("rgb24.bmp");
    bmp[0] = 'X';
    EXPECT_EQ(DecodeExactly(bmp), DecodeStatus::NotRecognised);
}
