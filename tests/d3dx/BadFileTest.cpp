// Files that must be refused: every sample cut at every length, headers that
// lie, sizes over the limit, colour indices outside their table, and bytes
// that no decoder knows. Each file is decoded from a buffer of exactly its
// size, so AddressSanitizer sees any read past its end.
#include <gtest/gtest.h>

#include <string.h>

#include <algorithm>
#include <memory>

#include "d3dx/image/DecoderChain.h"
#include "d3dx/image/JpegStructure.h"
#include "tests/d3dx/SampleFiles.h"

using namespace testimages;
using namespace d3dximage;

namespace
{
// Decodes from a buffer of exactly the file's size; a refused file leaves
// nothing behind.
DecodeStatus DecodeExactly(const Bytes& file, const DecodeLimits& limits = DecodeLimits())
{
    std::unique_ptr<uint8_t[]> copy(new uint8_t[file.size() + 1]);
    std::copy(file.begin(), file.end(), copy.get());
    Image image;
    ImageInfo info;
    const DecodeStatus status = DecodeImageFile(copy.get(), file.size(), limits, &image, &info);
    if (status != DecodeStatus::Ok)
    {
        EXPECT_TRUE(image.pixels.empty());
        EXPECT_EQ(info.width, 0u);
    }
    return status;
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

// An allocation gate that counts the texel stores asked for and refuses them.
int allocations = 0;
bool CountAndRefuse(uint64_t)
{
    ++allocations;
    return false;
}

// `file` with |size| bytes from `at` (from the end when negative) set to
// `value`: little-endian for a positive size, big-endian for a negative one.
Bytes Set(Bytes file, long at, uint32_t value, int size)
{
    const size_t count = (size_t)(size < 0 ? -size : size);
    const size_t from = at < 0 ? file.size() - (size_t)-at : (size_t)at;
    if (from + count > file.size())
        ADD_FAILURE() << "edit past the end of a sample";
    for (size_t i = 0; i < count && from + count <= file.size(); ++i)
        file[from + i] = (uint8_t)(value >> 8 * (size < 0 ? count - 1 - i : i));
    return file;
}

Bytes Set(const char* sample, long at, uint32_t value, int size = 4)
{
    return Set(Sample(sample), at, value, size);
}

// palette.png with a big-endian edit at `at` in the body of its `chunk` (at
// -4: the chunk's type) and the chunk's checksum made right again.
Bytes SetPng(const char* chunk, long at, uint32_t value, int size)
{
    Bytes file = Sample("palette.png");
    size_t body = 8;
    while (body + 8 <= file.size() && memcmp(&file[body + 4], chunk, 4))
        body += 12 + ((size_t)file[body + 2] << 8 | file[body + 3]);
    body += 8;
    file = Set(file, (long)body + at, value, -size);
    const size_t length = (size_t)file[body - 6] << 8 | file[body - 5];
    return Set(file, (long)(body + length), PngCrc(&file[body - 4], length + 4), -4);
}

// photo.jpg with a big-endian edit at `at` after its first marker 0xFF `code`.
Bytes SetJpeg(uint8_t code, size_t at, uint32_t value, int size = 1)
{
    Bytes file = Sample("photo.jpg");
    size_t i = 2;
    while (i + at < file.size() && !(file[i] == 0xFF && file[i + 1] == code))
        ++i;
    return Set(file, (long)(i + at), value, -size);
}

// photo.jpg whose first Huffman table has 257 codes (255 of 9 bits, 2 of 10)
// and all their symbols: nothing but the count is wrong. stb_image would
// write past its arrays.
Bytes Huffman257()
{
    Bytes file = Sample("photo.jpg");
    size_t at = 2;
    while (at + 21 < file.size() && !(file[at] == 0xFF && file[at + 1] == 0xC4))
        ++at;
    size_t symbols = 0;
    for (size_t bits = 0; bits < 16; ++bits)
        symbols += file[at + 5 + bits];
    Bytes table = {file[at + 4], 0, 0, 0, 0, 0, 0, 0, 0, 255, 2, 0, 0, 0, 0, 0, 0};
    table.resize(table.size() + 257, 0);
    file.erase(file.begin() + (long)at + 4, file.begin() + (long)(at + 4 + 17 + symbols));
    file.insert(file.begin() + (long)at + 4, table.begin(), table.end());
    return Set(file, (long)at + 2, (file[at + 2] << 8 | file[at + 3]) + 257 - (uint32_t)symbols,
               -2);
}
} // namespace

TEST(BadFiles, EverySampleCutAtEveryLengthIsRefused)
{
    for (const SampleFile& sample : SampleFiles())
    {
        ASSERT_EQ(DecodeExactly(sample.bytes), DecodeStatus::Ok) << sample.name;
        for (size_t length = 0; length < sample.bytes.size(); ++length)
        {
            const DecodeStatus status =
                DecodeExactly(Bytes(sample.bytes.begin(), sample.bytes.begin() + length));
            if (sample.text && status == DecodeStatus::Ok)
                continue; // "... 25" is as valid as "... 255"
            EXPECT_NE(status, DecodeStatus::Ok) << sample.name << " cut to " << length;
        }
    }
}

TEST(BadFiles, HeadersThatLieAreRefused)
{
    // rgb24.bmp is 4 x 3 at 24 bits, indexed8.bmp 8 x 2 of 4 colours; the
    // RLE stream of rle8.bmp starts after the 16-byte colour table.
    const long rle = 14 + 40 + 16;
    Bytes badChecksum = Sample("palette.png");
    badChecksum[8 + 8 + 13] ^= 1; // the header chunk's

    const struct
    {
        const char* what;
        Bytes file;
    } lies[] = {
        {"bmp rows start past the end", Set("rgb24.bmp", 10, 5000)},
        {"bmp rows start inside the header", Set("rgb24.bmp", 10, 20)},
        {"bmp header of 41 bytes", Set("rgb24.bmp", 14, 41)},
        {"bmp two planes", Set("rgb24.bmp", 26, 2, 2)},
        {"bmp 7 bits", Set("rgb24.bmp", 28, 7, 2)},
        {"bmp no bits", Set("rgb24.bmp", 28, 0, 2)},
        {"bmp RLE8 on 24 bits", Set("rgb24.bmp", 30, 1)},
        {"bmp embedded JPEG", Set("rgb24.bmp", 30, 4)},
        {"bmp width 0", Set("rgb24.bmp", 18, 0)},
        {"bmp negative width", Set("rgb24.bmp", 18, (uint32_t)-4)},
        {"bmp height 0", Set("rgb24.bmp", 22, 0)},
        {"bmp height -2^31", Set("rgb24.bmp", 22, 0x80000000u)},
        {"bmp more rows than data", Set("rgb24.bmp", 22, 4)},
        {"bmp wider than its data", Set("rgb24.bmp", 18, 5)},
        {"bmp 300 colours of 8 bits", Set("indexed8.bmp", 46, 300)},
        {"bmp split green mask", Set("rgb565.bmp", 58, 0x0701)},
        {"bmp 16-bit mask over 16 bits", Set("rgb565.bmp", 54, 0x1F800)},
        {"bmp all masks zero", Set(Set(Set("rgb565.bmp", 54, 0), 58, 0, 4), 62, 0, 4)},
        {"RLE8 run after the last line",
         BuildBitmap(Bitmap(40, 8, 2, -1, {0, 0, 1, 0, 0, 1}, {0}, 1))},
        {"RLE8 jump below the picture", Set("rle8.bmp", rle + 13, 3, 1)},
        {"RLE8 jump past the line", Set("rle8.bmp", rle + 12, 9, 1)},
        {"dds description of 100 bytes", Set("argb.dds", 4, 100)},
        {"dds pixel format of 30 bytes", Set("argb.dds", 76, 30)},
        {"dds width 0", Set("argb.dds", 16, 0)},
        {"dds unknown masks", Set("argb.dds", 92, 0xF0F0)},
        {"dds unknown four-cc", Set("dxt1.dds", 84, 0x31555555)},
        {"dds more levels than a chain", Set("dxt1.dds", 28, 5)},
        {"dds taller than its data", Set("dxt1.dds", 12, 8)},
        {"ppm largest 0", Text("P5 1 1 0\n", {0})},
        {"ppm largest 70000", Text("P5 1 1 70000\n", {0, 0})},
        {"ppm sample over the largest", Text("P5 2 1 9\n", {3, 10})},
        {"ppm text sample over the largest", Text("P2 1 1 9 10")},
        {"ppm no space before the data", Text("P5 1 1 9\x03")},
        {"tga run past the last texel", BuildTga(Tga(10, 3, 2, 24, 0, {0x86, 1, 2, 3}))},
        {"tga alpha of 33 bits", Set("rgb.tga", 16, 33, 1)},
        {"tga map entries past the end", Set("mapped-rle.tga", 5, 200, 2)},
        {"png bad checksum", badChecksum},
        {"png depth 3", SetPng("IHDR", 8, 3, 1)},
        {"png palette of 16 bits", SetPng("IHDR", 8, 16, 1)},
        {"png width 0", SetPng("IHDR", 0, 0, 4)},
        {"png interlace method 2", SetPng("IHDR", 12, 2, 1)},
        {"png without its palette", SetPng("PLTE", -4, 0x7A7A5445, 4)}, // "zzTE": ancillary
        {"png transparency past the palette",
         BuildPng(Png(2, 1, 8, 3, {0, 1}, {0xFF000000, 0xFFFFFFFF}, {1, 2, 3}))},
        {"png unknown critical chunk", SetPng("tRNS", -4, 0x58524E53, 4)}, // "XRNS"
        {"jpeg height 0", SetJpeg(0xC0, 5, 0, 2)},
        {"jpeg lossless frame", SetJpeg(0xC0, 1, 0xC3)},
        {"jpeg without its end mark", Set("photo.jpg", -1, 0, 1)},
    };
    for (const auto& l : lies)
        EXPECT_NE(DecodeExactly(l.file), DecodeStatus::Ok) << l.what;
}

TEST(BadFiles, JpegTablesThatStbImageWouldTrustAreRefusedByTheMarkerWalk)
{
    // A scan naming a table never defined (slot 3 for the first component)
    // makes stb_image read uninitialised memory, which no sanitizer here
    // sees; so the walk itself is checked too.
    const Bytes photo = Sample("photo.jpg");
    EXPECT_TRUE(CheckJpegStructure(photo.data(), photo.size(), DecodeLimits()));
    for (const Bytes& file : {SetJpeg(0xDA, 6, 0x33), Huffman257()})
    {
        EXPECT_FALSE(CheckJpegStructure(file.data(), file.size(), DecodeLimits()));
        EXPECT_NE(DecodeExactly(file), DecodeStatus::Ok);
    }
}

TEST(BadFiles, HugeSizesAreRefusedBeforeAllocating)
{
    // A grey DDS of 16384 x 1 decodes; 16385 x 1 (with its data) does not.
    const uint32_t grey[4] = {0xFF, 0, 0, 0};
    EXPECT_EQ(DecodeExactly(BuildDds(Dds(16384, 1, 0x20000, 8, grey, Bytes(16385, 7)))),
              DecodeStatus::Ok);
    EXPECT_EQ(DecodeExactly(BuildDds(Dds(16385, 1, 0x20000, 8, grey, Bytes(16385, 7)))),
              DecodeStatus::TooLarge);

    // Headers claiming huge sizes over a few bytes of data: sides over the
    // limit, pictures over the texel limit (64 under `tight`) and pictures
    // within both that the data cannot fill are refused from the header and
    // the file's size alone. The gate refuses every allocation and counts
    // them, so a decoder that allocates first shows without taking the memory.
    DecodeLimits tight;
    tight.maxPixels = 64;
    const BitmapRecipe bmp = Bitmap(40, 24, 100000, 1, Bytes(12, 0));
    const BitmapRecipe filled = Bitmap(40, 24, 16384, 16384, Bytes(12, 0));
    // Beyond the limits they are TooLarge, within them only the data is missing.
    const DecodeStatus large = DecodeStatus::TooLarge, cut = DecodeStatus::InvalidData;
    const struct
    {
        const char* what;
        Bytes file;
        DecodeLimits limits;
        DecodeStatus status;
    } huge[] = {
        {"bmp", BuildBitmap(bmp), DecodeLimits(), large},
        {"dib", BuildDib(bmp), DecodeLimits(), large},
        {"tga", BuildTga(Tga(2, 60000, 60000, 24, 0, Bytes(12, 0))), DecodeLimits(), large},
        // The PNM number reader stops at the side limit: not a size it reads.
        {"ppm", Text("P6 99999 1 255\n"), DecodeLimits(), cut},
        {"png over the texel limit", BuildPng(Png(9, 9, 8, 0, std::vector<uint16_t>(81, 0))), tight,
         large},
        {"dds over the texel limit", BuildDds(Dds(9, 9, 0x20000, 8, grey, Bytes(81, 0))), tight,
         large},
        {"ppm over the texel limit", Text("P5 9 9 255\n", Bytes(81, 0)), tight, large},
        {"jpeg over the texel limit", EncodeJpeg(Pattern(9, 9, false), 50), tight, large},
        {"bmp rows not in the file", BuildBitmap(filled), DecodeLimits(), cut},
        {"tga texels not in the file", BuildTga(Tga(2, 16384, 16384, 24, 0, Bytes(12, 0))),
         DecodeLimits(), cut},
        {"tga runs not in the file", BuildTga(Tga(10, 16384, 16384, 24, 0, Bytes(12, 0))),
         DecodeLimits(), cut},
        {"ppm samples not in the file", Text("P6 16384 16384 255\n", Bytes(12, 0)), DecodeLimits(),
         cut},
        {"pgm text samples not in the file", Text("P2 16384 16384 255 0 1 2 3"), DecodeLimits(),
         cut},
        {"ppm text samples not in the file", Text("P3 16384 16384 255 0 1 2 3"), DecodeLimits(),
         cut},
    };
    const AllocationGate previous = SetAllocationGate(CountAndRefuse);
    allocations = 0;
    EXPECT_EQ(DecodeExactly(Sample("rgb.tga")), DecodeStatus::OutOfMemory) << "the gate is asked";
    EXPECT_EQ(allocations, 1);
    for (const auto& h : huge)
    {
        allocations = 0;
        EXPECT_EQ(DecodeExactly(h.file, h.limits), h.status) << h.what;
        EXPECT_EQ(allocations, 0) << h.what << " allocated before it was refused";
    }
    SetAllocationGate(previous);
}

TEST(BadFiles, ColourIndicesOutsideTheirTableAreRefused)
{
    // 1 bit with a table of one colour, index 1 used; 4 bits with three
    // colours, index 3 used.
    const BitmapRecipe one = Bitmap(40, 1, 8, 1, {0x01, 0, 0, 0}, {0xFFFFFFFF});
    const BitmapRecipe four =
        Bitmap(40, 4, 2, 1, {0x23, 0, 0, 0}, {0xFF000000, 0xFF111111, 0xFF222222});
    const struct
    {
        const char* what;
        Bytes file;
    } files[] = {
        {"bmp 8 bits", Set("indexed8.bmp", -1, 4, 1)}, // the top row's last texel
        {"bmp 1 bit", BuildBitmap(one)},
        {"bmp 4 bits", BuildBitmap(four)},
        {"dib 4 bits", BuildDib(four)},
        {"RLE8", Set("rle8.bmp", 14 + 40 + 16 + 1, 4, 1)}, // the first run's index
        {"RLE4", Set("rle4.bmp", 14 + 40 + 16 + 1, 0x14, 1)},
        {"tga past the map", Set("mapped-rle.tga", -1, 4, 1)}, // entries 1..3
        {"tga below the map", Set("mapped-rle.tga", -1, 0, 1)},
        // Palette PNGs are decoded through a stand-in palette so that this is seen.
        {"png", BuildPng(Png(3, 1, 8, 3, {0, 1, 2}, {0xFF000000, 0xFFFFFFFF}))},
    };
    for (const auto& f : files)
        EXPECT_EQ(DecodeExactly(f.file), DecodeStatus::InvalidData) << f.what;
}

TEST(BadFiles, BytesNoDecoderKnowsAreNotRecognised)
{
    const char* texts[] = {"",   "hello", "GIF89a\x01\x00\x01\x00", "P4\n1 1\n\x80", "P7 ",
                           "BM", "DDS "};
    for (const char* text : texts)
        EXPECT_EQ(DecodeExactly(Text(text)), DecodeStatus::NotRecognised) << text;
    // A bitmap whose first two bytes are not "BM" is not taken for one.
    EXPECT_EQ(DecodeExactly(Set("rgb24.bmp", 0, 'X', 1)), DecodeStatus::NotRecognised);
}
